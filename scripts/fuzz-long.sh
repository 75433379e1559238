#!/usr/bin/env bash
# The long fuzz run: every fuzz target for a given time (default 10 minutes
# each), one after the other, each keeping its corpus in build/fuzz-corpus/.
#   bash scripts/fuzz-long.sh [SECONDS_PER_TARGET]
# Prints per target the executions and what was found; a finding leaves its
# input beside the corpus (build/fuzz-corpus/<target>-crash-*) and makes the
# command end non-zero.
set -u
cd "$(dirname "$0")/.."
seconds=${1:-600}
mkdir -p build
bash scripts/install-packages.sh >build/fuzz-long.packages.log 2>&1 || {
  cat build/fuzz-long.packages.log
  echo "fuzz-long: the packages could not be installed"
  exit 1
}
if [ ! -f build/fuzz/CMakeCache.txt ]; then
  cmake --preset fuzz >build/fuzz.configure.log 2>&1 || { cat build/fuzz.configure.log; exit 1; }
fi
cmake --build --preset fuzz >build/fuzz-long.build.log 2>&1 || { tail -40 build/fuzz-long.build.log; exit 1; }

targets=$(find build/fuzz -maxdepth 2 -type f -name '*_fuzz' -perm -u+x | sort)
[ -n "$targets" ] || { echo "fuzz-long: no fuzz target was built"; exit 1; }
findings=0
printf '%-24s %14s %10s  %s\n' target executions "exec/s" result
for target in $targets; do
  name=$(basename "$target")
  corpus=build/fuzz-corpus/$name
  mkdir -p "$corpus"
  log=build/fuzz-corpus/$name.log
  "$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz-corpus/$name-" \
    >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    result="no finding ($(find "$corpus" -type f | wc -l) inputs in the corpus)"
  else
    result="FINDING: $(grep -m1 -o 'ERROR: [A-Za-z]*Sanitizer: [^ ]*\|deadly signal\|Test unit written to .*' "$log" || echo "exit $status")"
    findings=$((findings + 1))
  fi
  printf '%-24s %14s %10s  %s\n' "$name" "${runs:-?}" "${speed:-?}" "$result"
done
echo "$(echo "$targets" | wc -l) targets, ${seconds} s each, $findings with findings"
[ "$findings" -eq 0 ]
