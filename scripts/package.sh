#!/usr/bin/env bash
# Makes the package as a shop receives it from a Windows build: the staged
# folder (the three programs, DRVCONFIG, the per-system folders, USBDrv, the
# help files, Uninstall.ini and the stand-ins the build puts in place), without
# the repository's notes, with SHA256SUMS, and a zip of it that is the same
# bytes every time the same build is packaged.
#   scripts/package.sh [BUILD_DIR]   (build/windows: the i686 deliverables;
#                                     build/windows64: their x86_64 twins)
# Builds what is missing through the build folder's preset. The folder is
# PP_PACKAGE_DIR of the build's cache (build/package/<name>), the zip
# <folder>.zip. Prints the folder, its file count and the zip's size.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
build=${build%/}

if [ ! -f "$build/CMakeCache.txt" ]; then
  preset=$(basename "$build")
  cmake --preset "$preset" -B "$build" >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
fi
# The stage is made anew: the Wine tests and the demo leave logs and settings
# in it, and none of that may reach a shop.
cmake -E rm -rf "$build/stage"
cmake --build "$build" -j2 --target stage >/dev/null

folder=$(sed -n 's/^PP_PACKAGE_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -n "$folder" ] || { echo "package: $build/CMakeCache.txt names no PP_PACKAGE_DIR" >&2; exit 1; }
case $folder in
  */build/package/?*) ;;
  *) echo "package: refusing to replace $folder (not under build/package)" >&2; exit 1 ;;
esac
rm -rf "$folder" "$folder.zip"
mkdir -p "$(dirname "$folder")"
cp -r "$build/stage" "$folder"
# The notes on the sample package are the repository's, not the shop's.
find "$folder" -name README.md -delete

# Every file's checksum, by its path inside the folder, in byte order of the
# paths; the list itself is left out.
sums=$(cd "$folder" && find . -type f ! -path ./SHA256SUMS -printf '%P\n' | LC_ALL=C sort |
  tr '\n' '\0' | xargs -0 sha256sum)
printf '%s\n' "$sums" >"$folder/SHA256SUMS"
(cd "$folder" && sha256sum --quiet --strict -c SHA256SUMS)

# The zip holds the folder under its own name, entries sorted, every time
# stamp and permission fixed, so that the same files give the same zip.
python3 - "$folder" <<'EOF'
import os, sys, zipfile
folder = sys.argv[1]
name = os.path.basename(folder)
paths = []
for root, _, files in os.walk(folder):
    for f in files:
        paths.append(os.path.relpath(os.path.join(root, f), folder).replace(os.sep, "/"))
with zipfile.ZipFile(folder + ".zip.tmp", "w") as z:
    for path in sorted(paths, key=lambda p: p.encode()):
        entry = zipfile.ZipInfo(name + "/" + path, date_time=(1980, 1, 1, 0, 0, 0))
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0
        entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
        with open(os.path.join(folder, path), "rb") as f:
            z.writestr(entry, f.read(), compresslevel=9)
os.replace(folder + ".zip.tmp", folder + ".zip")
EOF

echo "package: ${folder#"$PWD/"}/ ($(find "$folder" -type f | wc -l) files)" \
  "and ${folder#"$PWD/"}.zip ($(stat -c %s "$folder.zip") bytes)"
