#!/usr/bin/env bash
# How CTest starts a Windows test program: under Wine, in the prefix that
# scripts/wine-env.sh prepared for the program's own build (PP_WINE, the
# loader of the build's architecture, and WINEPREFIX come from there).
if [ -z "${PP_WINE:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-exec: run the Windows tests through scripts/test.sh (no Wine prefix set up)" >&2
  exit 1
fi
case $1 in
  "$PP_WINE_BUILD"/*) ;;
  *)
    echo "wine-exec: $1 is not of the build whose Wine was set up ($PP_WINE_BUILD)" >&2
    exit 1
    ;;
esac
exec "$PP_WINE" "$@"
