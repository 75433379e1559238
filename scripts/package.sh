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
# <folder>.zip. Prints whether and with which certificate it signed, then the
# folder, its file count and the zip's size.
#
# Signing a release (with osslsigncode, before SHA256SUMS and the zip are
# written, so both cover the signed files):
#   PP_SIGN_PFX=cert.pfx            the certificate with its private key (PKCS#12)
#   PP_SIGN_PASSWORD_FILE=pass.txt  a file holding its password (line breaks at
#                                   its end are not part of it)
#   PP_SIGN_TIMESTAMP_URL=http://.. optional, an Authenticode time-stamp server
# sign Setup.exe, Desinstalar.exe and every 7404VXUI.DLL. Without PP_SIGN_PFX
# the package is unsigned and the same bytes every time. A signing failure
# ends the command with osslsigncode's message and leaves no package.
#   PP_PACKAGE_OUT=DIR  writes <DIR>/<name>/ and <DIR>/<name>.zip instead of
#                       build/package/... (DIR inside the repository's build/)
# Paths in these variables are taken from the caller's folder.
set -euo pipefail
absolute() { [ -z "$1" ] || realpath -m -- "$1"; }
sign_pfx=$(absolute "${PP_SIGN_PFX:-}")
sign_password_file=$(absolute "${PP_SIGN_PASSWORD_FILE:-}")
sign_timestamp_url=${PP_SIGN_TIMESTAMP_URL:-}
package_out=$(absolute "${PP_PACKAGE_OUT:-}")
cd "$(dirname "$0")/.."
build=${1:-build/windows}
build=${build%/}
case $package_out in
  "" | "$(pwd -P)"/build/?*) ;;
  *) echo "package: refusing to write into $package_out (PP_PACKAGE_OUT is not inside $(pwd -P)/build)" >&2; exit 1 ;;
esac

if [ -n "$sign_pfx" ] || [ -n "$sign_password_file" ] || [ -n "$sign_timestamp_url" ]; then
  [ -n "$sign_pfx" ] && [ -n "$sign_password_file" ] ||
    { echo "package: PP_SIGN_PFX and PP_SIGN_PASSWORD_FILE go together (PP_SIGN_TIMESTAMP_URL needs both)" >&2; exit 1; }
  for file in "$sign_pfx" "$sign_password_file"; do
    [ -r "$file" ] || { echo "package: cannot read $file" >&2; exit 1; }
  done
  if ! command -v osslsigncode >/dev/null || ! command -v openssl >/dev/null; then
    bash scripts/install-packages.sh
  fi
fi

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
[ -z "$package_out" ] || folder=$package_out/$(basename "$folder")
rm -rf "$folder" "$folder.zip" "$folder".signing.*
mkdir -p "$(dirname "$folder")"
cp -r "$build/stage" "$folder"
# The notes on the sample package are the repository's, not the shop's.
find "$folder" -name README.md -delete

# This project's programs are signed in place, each into a scratch copy first;
# the folder gets the signed files only once all of them are signed, and any
# failure before that removes the folder: never a half-signed package.
if [ -n "$sign_pfx" ]; then
  signed=("$folder/Setup.exe" "$folder/Desinstalar.exe")
  while IFS= read -r -d '' dll; do signed+=("$dll"); done < <(find "$folder" -iname 7404VXUI.DLL -print0 | LC_ALL=C sort -z)
  scratch=$(mktemp -d "$folder.signing.XXXXXX")
  trap 'rm -rf "$folder" "$scratch"' EXIT
  timestamp=()
  [ -z "$sign_timestamp_url" ] || timestamp=(-t "$sign_timestamp_url")
  for i in "${!signed[@]}"; do
    if ! out=$(osslsigncode sign -pkcs12 "$sign_pfx" -readpass "$sign_password_file" -h sha256 \
        "${timestamp[@]}" -in "${signed[$i]}" -out "$scratch/$i" 2>&1); then
      echo "package: osslsigncode could not sign ${signed[$i]#"$folder/"}; no package was made:" >&2
      printf '%s\n' "$out" >&2
      exit 1
    fi
  done
  # The signer's name for the record, read with the password as osslsigncode
  # takes it (the file less the line breaks at its end); -legacy reads the
  # older PKCS#12 ciphers that OpenSSL 3 leaves out by default.
  password=$(<"$sign_password_file")
  while [[ $password == *[$'\r\n'] ]]; do password=${password%?}; done
  signer() {
    printf '%s\n' "$password" |
      openssl pkcs12 -in "$sign_pfx" -passin stdin -nokeys -clcerts "$@" | openssl x509 -noout -subject
  }
  if ! subject=$(signer 2>/dev/null) && ! subject=$(signer -legacy 2>&1); then
    echo "package: openssl cannot read the signer's certificate in $sign_pfx; no package was made:" >&2
    printf '%s\n' "$subject" >&2
    exit 1
  fi
  unset password
  subject=${subject#subject=}
  # cp onto the existing files keeps their permissions.
  for i in "${!signed[@]}"; do cp "$scratch/$i" "${signed[$i]}"; done
  rm -rf "$scratch"
  trap - EXIT
  echo "package: signed ${#signed[@]} files (Setup.exe, Desinstalar.exe, $((${#signed[@]} - 2)) x 7404VXUI.DLL)" \
    "with \"$subject\" from ${sign_pfx#"$PWD/"}${sign_timestamp_url:+, time-stamped by $sign_timestamp_url}"
else
  echo "package: unsigned (no PP_SIGN_PFX given)"
fi

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
