#!/usr/bin/env bash
# Checks the shipped Windows binaries of a build folder: machine type,
# version resource, no MinGW runtime DLL among the imports, no winpthreads
# object in the link map, the plug-in's undecorated exports, and the
# imports and exports of the stand-ins that go with them; for
# Setup and Desinstalar also that they import only KnownDLLs and carry the
# application manifest they run with.
# Prints one "PASS name" or "FAIL name: why" per check and the size of each
# binary.
#   scripts/check-binaries.sh BUILD_DIR i686|x86_64
set -u
build=$1 arch=$2
objdump=${arch}-w64-mingw32-objdump
[ "$arch" = i686 ] && format=pei-i386 || format=pei-x86-64

check() {  # name, command...
  local name=$1; shift
  if out=$("$@" 2>&1); then echo "PASS $name"; else echo "FAIL $name: $out"; fi
}
has_utf16() {  # file, ASCII text stored as UTF-16LE in it
  local pattern
  pattern=$(printf '%s' "$2" | sed 's/./&\\x00/g')
  LC_ALL=C grep -qaiP "$pattern" "$1" || { echo "no \"$2\" in $1"; return 1; }
}
format_is() { "$objdump" -f "$1" | grep -q "file format $format" || { echo "$1 is not $format"; return 1; }; }
static_imports() {
  local bad
  bad=$("$objdump" -p "$1" | sed -n 's/.*DLL Name: //p' | grep -i -E 'libstdc|libgcc|libwinpthread|msvcp' || true)
  [ -z "$bad" ] || { echo "imports $bad"; return 1; }
}
# No object of winpthreads, the POSIX thread library, among those the linker
# took into a binary (its map, which the build writes beside it): the
# runtime's locks are Win32's own, and the workers' threads the system's.
no_winpthreads() {
  local members
  [ -f "$1.map" ] || { echo "no link map $1.map"; return 1; }
  members=$(grep -oE 'lib(win)?pthread[^ /()]*\.a\([^)]*\)' "$1.map" | sort -u | tr '\n' ' ')
  [ -z "$members" ] || { echo "links $members"; return 1; }
}
exports() {  # file, names...
  local table; table=$("$objdump" -p "$1"); shift
  for name in "$@"; do
    grep -qE "\] $name\$" <<<"$table" || { echo "$name is not exported by name"; return 1; }
  done
}

# The RT_MANIFEST resource (type 24) of id $2 (default 1: a program's
# application manifest, the one the system reads when it starts the program),
# cut out of the file at the address and size the resource directory gives;
# nothing when there is none. The directory's levels (type, name, language)
# show as indentation in objdump's listing.
manifest() {
  local file=$1 id leaf rva size base vma fileoff
  id=$(printf '0x%06x' "${2:-1}")
  leaf=$("$objdump" -p "$file" | awk -v wanted="$id" '
    /^The \.rsrc Resource Directory section/ { inside = 1; next }
    !inside { next }
    { rest = $0; sub(/^[0-9a-f]+/, "", rest); match(rest, /^ */); depth = RLENGTH }
    /Name Table:/ && !name_depth { want_name = 1 }
    /Entry: / {
      id = ""; if (match(rest, /ID: 0x[0-9a-f]+/)) id = substr(rest, RSTART + 4, RLENGTH - 4)
      if (!type_depth) type_depth = depth
      if (want_name && !name_depth) name_depth = depth
      if (depth == type_depth) { type = id; name = "" } else if (depth == name_depth) name = id
    }
    /Leaf: Addr: / && type == "0x000018" && name == wanted {
      match(rest, /Addr: 0x[0-9a-f]+/); addr = substr(rest, RSTART + 8, RLENGTH - 8)
      match(rest, /Size: 0x[0-9a-f]+/); print addr, substr(rest, RSTART + 8, RLENGTH - 8); exit
    }')
  [ -n "$leaf" ] || return 0
  read -r rva size <<<"$leaf"
  base=$("$objdump" -p "$file" | awk '$1 == "ImageBase" { print $2 }')
  read -r vma fileoff < <("$objdump" -h "$file" | awk '$2 == ".rsrc" { print $4, $6 }')
  tail -c +$((0x$rva - (0x$vma - 0x$base) + 0x$fileoff + 1)) "$file" | head -c $((0x$size))
}
q="[\"']"  # the quotation mark around an attribute's value, either kind
# Whether the manifest text on stdin holds an element named `$1` (with any
# namespace prefix) whose attributes match each of the further patterns.
has_element() {
  local element=$1 tag attribute; shift
  while IFS= read -r tag; do
    for attribute in "$@"; do
      grep -qiP "\s$attribute" <<<"$tag" || continue 2
    done
    return 0
  done < <(tr '\r\n\t' '   ' | grep -oP "<(\w+:)?$element\b[^>]*>")
  return 1
}
common_controls_6() {  # manifest text: its dependency on the version-6 common controls
  tr '\r\n\t' '   ' <<<"$1" | grep -oP '<(\w+:)?dependentAssembly\b.*?</(\w+:)?dependentAssembly>' |
    has_element assemblyIdentity "name\s*=\s*${q}Microsoft\.Windows\.Common-Controls$q" \
      "version\s*=\s*${q}6\.0\.0\.0$q" "publicKeyToken\s*=\s*${q}6595b64144ccf1df$q"
}
# A program that runs with administrator rights from any folder imports only
# the system's KnownDLLs (Windows 7's list): any other library named in its
# import table is looked for in the program's own folder first. COMCTL32 is
# loaded from the side-by-side store only when the manifest asks for the
# version-6 common controls.
known_imports() {
  local known=' advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll'
  known="$known rpcrt4.dll setupapi.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll "
  local dll bad=
  for dll in $("$objdump" -p "$1" | sed -n 's/.*DLL Name: //p'); do
    case $known in *" ${dll,,} "*) continue ;; esac
    if [ "${dll,,}" = comctl32.dll ]; then
      common_controls_6 "$(manifest "$1")" && continue
      dll="$dll (without a manifest dependency on Microsoft.Windows.Common-Controls 6.0.0.0)"
    fi
    bad="$bad $dll"
  done
  [ -z "$bad" ] || { echo "imports libraries that are no KnownDLLs:$bad"; return 1; }
}
# The manifest: administrator rights in the asm.v2 trustInfo form (which
# Windows XP also reads), the version-6 common controls, Vista and 7 named as
# supported systems, and the program's own identity, where it names a
# processor, naming this build's (a wrong one stops the program from starting).
administrator_manifest() {
  local text flat missing= processor compatibility identity os
  [ "$arch" = i686 ] && processor=x86 || processor=amd64
  text=$(manifest "$1")
  [ -n "$text" ] || { echo "no RT_MANIFEST resource of id 1"; return 1; }
  flat=$(tr '\r\n\t' '   ' <<<"$text")
  grep -qP "<(\w+:)?trustInfo\s[^>]*xmlns(:\w+)?\s*=\s*${q}urn:schemas-microsoft-com:asm\.v2$q[^>]*>\s*<(\w+:)?security\s*>\s*<(\w+:)?requestedPrivileges\s*>\s*<(\w+:)?requestedExecutionLevel\s" <<<"$flat" &&
    has_element requestedExecutionLevel "level\s*=\s*${q}requireAdministrator$q" "uiAccess\s*=\s*${q}false$q" <<<"$flat" ||
    missing="$missing; requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\" in an urn:schemas-microsoft-com:asm.v2 trustInfo"
  common_controls_6 "$text" || missing="$missing; the dependency on Microsoft.Windows.Common-Controls 6.0.0.0"
  compatibility=$(grep -oP "<(\w+:)?compatibility\s[^>]*urn:schemas-microsoft-com:compatibility\.v1.*?</(\w+:)?compatibility>" <<<"$flat")
  for os in 'Vista {e2011457-1546-43c5-a5fe-008deee3d3f0}' '7 {35138b9a-5d96-4fbd-8e2d-a2440225f93a}'; do
    has_element supportedOS "Id\s*=\s*$q\Q${os#* }\E$q" <<<"$compatibility" ||
      missing="$missing; supportedOS ${os#* } (Windows ${os%% *})"
  done
  # The first assemblyIdentity is the program's own.
  identity=$(grep -oP '^.*?<(\w+:)?assemblyIdentity\b[^>]*>' <<<"$flat" | grep -oP '<(\w+:)?assemblyIdentity\b[^>]*>$')
  if grep -qiP 'processorArchitecture\s*=' <<<"$identity" &&
    ! grep -qiP "processorArchitecture\s*=\s*$q$processor$q" <<<"$identity"; then
    missing="$missing; processorArchitecture=\"$processor\" in the program's own assemblyIdentity"
  fi
  [ -z "$missing" ] || { echo "the manifest lacks ${missing#; }"; return 1; }
}

# The plug-in is loaded into every program that shows a print dialog for the
# printer: its i686 build stays within 256 KiB; Setup.exe and Desinstalar.exe,
# downloaded and run once, within 280,000 and 128 KiB.
within_size() {
  local size
  size=$(stat -c %s "$1")
  [ "$size" -le "$2" ] || { echo "$size bytes, over $2"; return 1; }
}
declare -A size_goal=([Setup.exe]=280000 [Desinstalar.exe]=131072 [7404VXUI.dll]=262144)

for file in installer/Setup.exe uninstaller/Desinstalar.exe uiplugin/7404VXUI.dll; do
  path=$build/$file name=$(basename "$file")
  if [ ! -f "$path" ]; then echo "FAIL $arch $name: not built"; continue; fi
  check "$arch $name is $format" format_is "$path"
  check "$arch $name carries a version resource" has_utf16 "$path" VS_VERSION_INFO
  check "$arch $name names itself in it" has_utf16 "$path" "$name"
  check "$arch $name needs no MinGW runtime DLL" static_imports "$path"
  check "$arch $name links no winpthreads object" no_winpthreads "$path"
  if [ "$name" != 7404VXUI.dll ]; then
    check "$arch $name imports only KnownDLLs" known_imports "$path"
    check "$arch $name carries its administrator manifest" administrator_manifest "$path"
  fi
  if [ "$arch" = i686 ]; then
    check "$arch $name is at most ${size_goal[$name]} bytes" within_size "$path" "${size_goal[$name]}"
  fi
  echo "SIZE $arch $name $(stat -c %s "$path") bytes (goal for i686: ${size_goal[$name]})"
done
check "$arch 7404VXUI.dll exports its entry points undecorated" exports "$build/uiplugin/7404VXUI.dll" \
  DllGetClassObject DllCanUnloadNow
# The plug-in's manifest is made active when its pages first need it, not by
# the system loader at every load (which takes the manifest of id 2 and binds
# the common-controls imports through it): id 3, and no COMCTL32 import.
lazy_manifest() {
  [ -z "$(manifest "$1" 2)" ] || { echo "a manifest of id 2, which the loader applies at every load"; return 1; }
  common_controls_6 "$(manifest "$1" 3)" || { echo "no manifest of id 3 asking for the common controls 6.0"; return 1; }
  ! "$objdump" -p "$1" | grep -qi 'DLL Name: comctl32' || { echo "imports COMCTL32"; return 1; }
}
check "$arch 7404VXUI.dll leaves its activation context to its pages" lazy_manifest "$build/uiplugin/7404VXUI.dll"
# The stand-in configuration module, as the spooler looks it up.
check "$arch UNIDRVUI.dll exports the driver's entry points undecorated" exports "$build/tools/UNIDRVUI.dll" \
  DrvDocumentPropertySheets DrvDevicePropertySheets DrvDeviceCapabilities DevQueryPrintEx
check "$arch UNIDRVUI.dll needs no MinGW runtime DLL" static_imports "$build/tools/UNIDRVUI.dll"
echo "SIZE $arch UNIDRVUI.dll $(stat -c %s "$build/tools/UNIDRVUI.dll") bytes"
# The stand-in USB library, as Setup binds it by name.
check "$arch MdUsbInt.dll exports its entry points undecorated" exports "$build/tools/MdUsbInt.dll" \
  OpenDeviceX GetDescriptor uWrite CloseDevice
check "$arch MdUsbInt.dll needs no MinGW runtime DLL" static_imports "$build/tools/MdUsbInt.dll"
echo "SIZE $arch MdUsbInt.dll $(stat -c %s "$build/tools/MdUsbInt.dll") bytes"
check "$arch Install.exe needs no MinGW runtime DLL" static_imports "$build/tools/Install.exe"
echo "SIZE $arch Install.exe $(stat -c %s "$build/tools/Install.exe") bytes"
# The stand-in monitors, monitor user interfaces and print processor, as the
# spooler binds their entry points by name.
for monitor in KTRCOMMN KTRUSBMN KTRLMON; do
  check "$arch $monitor.DLL exports InitializePrintMonitor2 undecorated" exports "$build/tools/$monitor.DLL" \
    InitializePrintMonitor2
done
for ui in KTRCOMUI KTRUSBUI; do
  check "$arch $ui.DLL exports InitializePrintMonitorUI undecorated" exports "$build/tools/$ui.DLL" \
    InitializePrintMonitorUI
done
check "$arch KTRPROC.DLL exports the print-processor entry points undecorated" exports "$build/tools/KTRPROC.DLL" \
  EnumPrintProcessorDatatypesW OpenPrintProcessor PrintDocumentOnPrintProcessor ClosePrintProcessor \
  ControlPrintProcessor GetPrintProcessorCapabilities
for dll in KTRCOMMN KTRUSBMN KTRLMON KTRCOMUI KTRUSBUI KTRPROC; do
  check "$arch $dll.DLL carries a version resource naming it" has_utf16 "$build/tools/$dll.DLL" "$dll.DLL"
  check "$arch $dll.DLL needs no MinGW runtime DLL" static_imports "$build/tools/$dll.DLL"
  echo "SIZE $arch $dll.DLL $(stat -c %s "$build/tools/$dll.DLL") bytes"
done
