#!/usr/bin/env bash
# Sets the DPI of the Wine prefix the caller's environment names (source
# scripts/wine-env.sh first), for programs started from then on:
#   scripts/wine-dpi.sh DPI                  sets it and leaves it so
#   scripts/wine-dpi.sh DPI PROGRAM ARGS...  runs the Windows PROGRAM under
#                                            Wine at DPI, then puts 96 back
#                                            whatever became of it; exits
#                                            with the program's status
# Wine 8 reads LogPixels when a process starts: HKCU\Control Panel\Desktop
# first, then the current hardware profile's font key; both are written.
set -u
: "${PP_WINE:?source scripts/wine-env.sh BUILD_DIR first}"
pp_set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    "$PP_WINE" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || {
      echo "wine-dpi: LogPixels could not be set to $1 under $key" >&2
      return 1
    }
  done
}
dpi=${1:?usage: wine-dpi.sh DPI [PROGRAM ARGS...]}
shift
pp_set_dpi "$dpi" || exit 1
[ $# -eq 0 ] && exit 0
trap 'pp_set_dpi 96; exit 1' INT TERM
"$PP_WINE" "$@"
status=$?
pp_set_dpi 96
exit $status
