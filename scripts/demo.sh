#!/usr/bin/env bash
# The demo: builds everything and runs Setup.exe under Wine on the bundled
# sample package. With a display the wizard opens for you; without one it runs
# inside Xvfb and a picture of the wizard is saved to build/demo/setup.png.
# Fails, with what Wine printed, when the wizard does not appear.
set -eu
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${PP_DEMO_IN_XVFB:-}" ]; then
  bash scripts/install-packages.sh
  exec env PP_DEMO_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
fi

[ -n "${PP_DEMO_IN_XVFB:-}" ] || bash scripts/install-packages.sh
mkdir -p build/demo
for preset in windows windows64; do
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# The i686 Setup.exe is what ships. Wine runs it where the machine runs 32-bit
# code; elsewhere its x86_64 twin, built from the same sources, stands in.
if bash scripts/runs-32bit.sh; then
  build=build/windows
  echo "demo: running the i686 Setup.exe, the deliverable"
else
  build=build/windows64
  echo "demo: running the x86_64 twin of Setup.exe: this machine runs no 32-bit code"
fi
source scripts/wine-env.sh "$build" || { echo "demo: FAILED: Wine cannot start" >&2; exit 1; }

# Wine's own default version (Windows 7), whatever a test set for Setup.exe.
"$PP_WINE" reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f >/dev/null 2>&1 || true

caption="Setup do Driver da Impressora"
demo=$PWD/build/demo
rm -f "$demo/setup.bmp" "$demo/setup.png"
setup_log=$demo/setup-wine.log
(cd "$build/stage" && exec "$PP_WINE" Setup.exe) >"$setup_log" 2>&1 </dev/null &
setup=$!
# Shows a log indented, or says that it is empty.
show() { if [ -s "$1" ]; then sed 's/^/  /' "$1" >&2; else echo "  (nothing)" >&2; fi; }

# Waits for the wizard while Setup runs; a Setup that ends first (Wine could
# not start it, or it stopped with a message) ends the wait at once.
watch_args=("$caption" 30000)
[ -n "${PP_DEMO_IN_XVFB:-}" ] && watch_args+=("Z:$demo/setup.bmp")
"$PP_WINE" "$build/tools/wait_for_window.exe" "${watch_args[@]}" >"$demo/wait.log" 2>&1 </dev/null &
watcher=$!
while kill -0 "$watcher" 2>/dev/null && kill -0 "$setup" 2>/dev/null; do sleep 0.2; done
if kill -0 "$watcher" 2>/dev/null; then
  status=0
  wait "$setup" || status=$?
  kill "$watcher" 2>/dev/null || true
  wait "$watcher" 2>/dev/null || true
  echo "demo: FAILED: Setup.exe ended (exit status $status) before its wizard appeared; Wine printed:" >&2
  show "$setup_log"
  "$PP_WINESERVER" -k >/dev/null 2>&1 || true
  exit 1
fi
if ! wait "$watcher"; then
  echo "demo: FAILED: the wizard \"$caption\" did not appear:" >&2
  show "$demo/wait.log"
  echo "demo: Setup.exe under Wine printed:" >&2
  show "$setup_log"
  "$PP_WINESERVER" -k >/dev/null 2>&1 || true
  exit 1
fi

if [ -z "${PP_DEMO_IN_XVFB:-}" ]; then
  echo "demo: the wizard is open; the demo ends when Setup ends"
  wait "$setup" || true
else
  "$PP_WINESERVER" -k >/dev/null 2>&1 || true
  wait "$setup" 2>/dev/null || true
  /usr/bin/convert "$demo/setup.bmp" "$demo/setup.png"
  rm -f "$demo/setup.bmp"
  echo "demo: the wizard appeared; its picture is in build/demo/setup.png"
fi
"$PP_WINESERVER" -k >/dev/null 2>&1 || true
