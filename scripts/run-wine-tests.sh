#!/usr/bin/env bash
# Runs a Windows build's CTest suite under Wine, inside the caller's X display
# (xvfb-run), with one persistent wineserver for the whole run.
#   scripts/run-wine-tests.sh BUILD_DIR
# Exit status 125 when Wine cannot start at all (its message is printed).
set -u
# Setup's and Desinstalar's tests run the programs from the packaged folder; it
# is made anew here unless the caller has just made it (PP_PACKAGE_READY=1).
if [ "${PP_PACKAGE_READY:-}" != 1 ]; then
  bash "$(dirname "$0")/package.sh" "$1" || exit 1
fi
source "$(dirname "$0")/wine-env.sh" "$1" || exit 125
ctest --test-dir "$1" --output-on-failure --timeout 300
status=$?
# What the text-fit and keyboard checks found, program by program and DPI by
# DPI (read at once: listing the tests starts a new log).
grep -hE '^(text fit|keyboard):' "$1/Testing/Temporary/LastTest.log"
"$PP_WINESERVER" -k >/dev/null 2>&1 || true
exit $status
