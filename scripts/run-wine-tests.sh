#!/usr/bin/env bash
# Runs a Windows build's CTest suite under Wine, inside the caller's X display
# (xvfb-run), with one persistent wineserver for the whole run.
#   scripts/run-wine-tests.sh BUILD_DIR
# Exit status 125 when Wine cannot start at all (its message is printed).
set -u
source "$(dirname "$0")/wine-env.sh" "$1" || exit 125
ctest --test-dir "$1" --output-on-failure --timeout 300
status=$?
"$PP_WINESERVER" -k >/dev/null 2>&1 || true
exit $status
