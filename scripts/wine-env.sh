# Sourced: a private Wine prefix inside a Windows build folder, ready for tests.
#   source scripts/wine-env.sh BUILD_DIR || exit 1
# Sets WINEPREFIX and friends, creates the prefix on first use (virtual
# desktop, no crash dialog, no Mono or Gecko offers) and starts a persistent
# wineserver. Programs are started with "$PP_WINE program.exe".
#
# The build's architecture chooses the Wine: the i686 build runs under the
# 32-bit loader in a win32 prefix, the x86_64 build under the 64-bit loader in
# a win64 prefix. The prefix remembers which architecture and which Wine made
# it and is made anew when either changes. PP_WINE_LOADER names another Wine
# loader to use instead.
# Returns non-zero, with Wine's own words, when Wine cannot start.

pp_build_dir=$(cd "$1" && pwd -P) || return 1
if grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-i686' "$pp_build_dir/CMakeCache.txt" 2>/dev/null; then
  export WINEARCH=win32
  PP_WINE=/usr/lib/wine/wine
elif grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-x86_64' "$pp_build_dir/CMakeCache.txt" 2>/dev/null; then
  export WINEARCH=win64
  PP_WINE=/usr/lib/wine/wine64
else
  echo "wine-env: $1 is not a configured i686 or x86_64 Windows build" >&2
  return 1
fi
PP_WINE=${PP_WINE_LOADER:-$PP_WINE}
export PP_WINE PP_WINE_BUILD=$pp_build_dir
export WINEPREFIX="$pp_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
# Wine's ANSI code page follows LANG; C.UTF-8 gives 1252, which Portuguese needs.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
if [ -x /usr/lib/wine/wineserver64 ]; then PP_WINESERVER=/usr/lib/wine/wineserver64; else PP_WINESERVER=wineserver; fi
export PP_WINESERVER

# Prints what Wine said (the file $1) after a line saying what failed ($2).
pp_wine_failed() {
  echo "wine-env: $2" >&2
  if [ -s "$1" ]; then sed 's/^/  /' "$1" >&2; else echo "  (Wine printed nothing)" >&2; fi
  return 1
}

pp_wine_log="$pp_build_dir/wine-start.log"
if ! pp_wine_version=$("$PP_WINE" --version 2>"$pp_wine_log"); then
  pp_wine_failed "$pp_wine_log" "Wine cannot start: \"$PP_WINE --version\" failed ($WINEARCH prefix for $1)"
  return 1
fi
pp_prefix_made_by="$WINEARCH $pp_wine_version $PP_WINE"
if [ "$(cat "$WINEPREFIX/.pp-ready" 2>/dev/null)" != "$pp_prefix_made_by" ]; then
  "$PP_WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  if ! "$PP_WINE" wineboot -i >"$pp_wine_log" 2>&1 </dev/null; then
    pp_wine_failed "$pp_wine_log" "Wine could not make the $WINEARCH prefix $WINEPREFIX with $PP_WINE"
    return 1
  fi
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
  echo "$pp_prefix_made_by" > "$WINEPREFIX/.pp-ready"
fi
"$PP_WINESERVER" -p >/dev/null 2>&1 || true
# Start Wine's own background processes now, detached from any output pipe: a
# test runner would otherwise wait for them to close the pipes they inherited.
# This is also the proof that Wine runs programs in the prefix.
if ! "$PP_WINE" cmd /c exit >"$pp_wine_log" 2>&1 </dev/null; then
  pp_wine_failed "$pp_wine_log" "Wine cannot start a program in $WINEPREFIX with $PP_WINE"
  return 1
fi
