#!/usr/bin/env bash
# The benchmark command: the watermark's picture routines, optimised (the
# native preset is a Debug build), timed against plain copies; and the
# plug-in's load cost under Wine against an empty library's. Exits 2 when a
# goal is missed.
set -eu
cd "$(dirname "$0")/.."
mkdir -p build
bash scripts/install-packages.sh
if [ ! -f build/bench/CMakeCache.txt ]; then
  cmake --preset bench >build/bench.configure.log 2>&1 || { cat build/bench.configure.log; exit 1; }
fi
cmake --build build/bench -j2 --target watermark_bench
status=0
build/bench/uiplugin/watermark_bench || status=$?

# The plug-in's load cost under Wine: the packaged i686 library beside an
# empty library made with the same toolchain, each loaded by a fresh process
# that already holds the system libraries of a print dialog. The runs
# alternate, so that a slower moment of the machine falls on both.
echo
echo "load cost: LoadLibrary + DllGetClassObject + Release + FreeLibrary under Wine"
if ! bash scripts/runs-32bit.sh; then
  echo "  not measured: this machine runs no 32-bit code, and the goal is the i686 plug-in's"
  exit 1
fi
bash scripts/package.sh build/windows >build/bench-package.log 2>&1 || { cat build/bench-package.log; exit 1; }
package_folder=$(sed -n 's|^package: \(.*\)/ (.*|\1|p' build/bench-package.log)
cmake --build build/windows -j2 --target load_cost empty_plugin >build/bench-load.log 2>&1 ||
  { cat build/bench-load.log; exit 1; }
source scripts/wine-env.sh build/windows || exit 1
plugin=$package_folder/win7/7404VXUI.DLL
[ -f "$plugin" ] || { echo "  no packaged plug-in at $plugin"; exit 1; }
runs=${PP_BENCH_RUNS:-21}
ours=() empty=()
for _ in $(seq "$runs"); do
  ours+=("$("$PP_WINE" build/windows/tools/load_cost.exe "$plugin")") || exit 1
  empty+=("$("$PP_WINE" build/windows/tools/load_cost.exe build/windows/tools/empty_plugin.dll)") || exit 1
done
"$PP_WINESERVER" -k >/dev/null 2>&1 || true
# Median and minimum of a list of microseconds.
summary() { printf '%s\n' "$@" | tr -d '\r' | sort -g | awk '{ v[NR] = $1 } END { printf "%.0f %.0f\n", v[int((NR + 1) / 2)], v[1] }'; }
read -r ours_median ours_min < <(summary "${ours[@]}")
read -r empty_median empty_min < <(summary "${empty[@]}")
ratio=$(awk -v a="$ours_median" -v b="$empty_median" 'BEGIN { printf "%.2f", a / b }')
printf '  %-28s median %6s us, minimum %6s us (%s runs)\n' "7404VXUI.DLL ($(stat -c %s "$plugin") bytes)" \
  "$ours_median" "$ours_min" "$runs"
printf '  %-28s median %6s us, minimum %6s us (%s runs)\n' \
  "empty library ($(stat -c %s build/windows/tools/empty_plugin.dll) bytes)" "$empty_median" "$empty_min" "$runs"
if awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }'; then
  echo "  ratio of the medians $ratio (goal at most 1.5): met"
else
  echo "  ratio of the medians $ratio (goal at most 1.5): MISSED"
  [ "$status" -ne 0 ] || status=2
fi
exit $status
