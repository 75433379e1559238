#!/usr/bin/env bash
# How CTest starts a Windows test program: under Wine, in the prefix that
# scripts/wine-env.sh prepared (PP_WINE and WINEPREFIX come from there).
if [ -z "${PP_WINE:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-exec: run the Windows tests through scripts/test.sh (no Wine prefix set up)" >&2
  exit 1
fi
exec "$PP_WINE" "$@"
