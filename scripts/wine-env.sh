# Sourced: a private Wine prefix inside a build folder, ready for tests.
#   source scripts/wine-env.sh BUILD_DIR
# Sets WINEPREFIX and friends, creates the prefix on first use (virtual
# desktop, no crash dialog, no Mono or Gecko offers) and starts a persistent
# wineserver. Programs are started with "$PP_WINE program.exe".

pp_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$pp_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
# Wine's ANSI code page follows LANG; C.UTF-8 gives 1252, which Portuguese needs.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEARCH=win64

# Debian's "wine" front end starts the 32-bit loader first; the x86_64 test
# programs go straight to the 64-bit one.
if [ -x /usr/lib/wine/wine64 ]; then
  PP_WINE=/usr/lib/wine/wine64
else
  PP_WINE=$(command -v wine64 || command -v wine)
fi
export PP_WINE
if [ -x /usr/lib/wine/wineserver64 ]; then PP_WINESERVER=/usr/lib/wine/wineserver64; else PP_WINESERVER=wineserver; fi
export PP_WINESERVER

if [ ! -f "$WINEPREFIX/.pp-ready" ]; then
  rm -rf "$WINEPREFIX"
  "$PP_WINE" wineboot -i >/dev/null 2>&1
  cat > "$pp_build_dir/pp-prefix.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  "$PP_WINE" regedit /S "$pp_build_dir/pp-prefix.reg" >/dev/null 2>&1
  # Wine does not find the TrueType fonts of fonts-wine by itself here: without
  # Tahoma and Marlett dialogs fall back to bitmap fonts and the caption
  # buttons show letters.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$PP_WINESERVER" -w
  touch "$WINEPREFIX/.pp-ready"
fi
"$PP_WINESERVER" -p >/dev/null 2>&1 || true
# Start Wine's own background processes now, detached from any output pipe: a
# test runner would otherwise wait for them to close the pipes they inherited.
"$PP_WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
