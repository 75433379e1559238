#!/usr/bin/env bash
# Checks the shipped Windows binaries of a build folder: machine type,
# version resource, no MinGW runtime DLL among the imports, the plug-in's
# undecorated exports, and the same for the stand-ins that go with them.
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
exports() {  # file, names...
  local table; table=$("$objdump" -p "$1"); shift
  for name in "$@"; do
    grep -qE "\] $name\$" <<<"$table" || { echo "$name is not exported by name"; return 1; }
  done
}

for file in installer/Setup.exe uninstaller/Desinstalar.exe uiplugin/7404VXUI.dll; do
  path=$build/$file name=$(basename "$file")
  if [ ! -f "$path" ]; then echo "FAIL $arch $name: not built"; continue; fi
  check "$arch $name is $format" format_is "$path"
  check "$arch $name carries a version resource" has_utf16 "$path" VS_VERSION_INFO
  check "$arch $name names itself in it" has_utf16 "$path" "$name"
  check "$arch $name needs no MinGW runtime DLL" static_imports "$path"
  echo "SIZE $arch $name $(stat -c %s "$path") bytes"
done
check "$arch 7404VXUI.dll exports its entry points undecorated" exports "$build/uiplugin/7404VXUI.dll" \
  DllGetClassObject DllCanUnloadNow
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
