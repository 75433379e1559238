#!/usr/bin/env bash
# The test command: native tests, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer and under ThreadSanitizer, a short fuzz run, the Windows builds and their
# checks, a second i686 build compared byte for byte, the package, a signed
# copy of it checked, and the Windows tests under Wine. Ends with "N passed, M failed".
set -u
cd "$(dirname "$0")/.."
passed=0 failed=0 skipped_total=0 wine_line=
fuzz_seconds=${PP_FUZZ_SECONDS:-10}

say() { printf '\n== %s\n' "$*"; }
broken() { echo "FAILED: $*"; failed=$((failed + 1)); }
summary() {
  echo
  [ -n "$wine_line" ] && echo "$wine_line"
  if [ "$skipped_total" -gt 0 ]; then echo "$passed passed, $failed failed, $skipped_total skipped"; else echo "$passed passed, $failed failed"; fi
  [ "$failed" -eq 0 ]
  exit $?
}

# Adds up the GoogleTest reports of a build; a test program that left no
# report (it crashed or never ran) counts as one failure.
count_results() {
  local build=$1 name report tests failures errors disabled skipped
  for name in $(ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p'); do
    report=$build/test-results/$name.xml
    if [ ! -f "$report" ]; then
      broken "$name left no report"
      continue
    fi
    read -r tests failures errors disabled skipped < <(sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \4 \3/p' "$report" | head -1; true)
    skipped=$(grep -c '<skipped' "$report" || true)
    skipped_total=$((skipped_total + skipped))
    # Every skipped case says why.
    sed -n 's/.*<skipped message="\([^"]*\)".*/SKIPPED ('"$name"'): \1/p' "$report"
    passed=$((passed + ${tests:-0} - ${failures:-0} - ${errors:-0} - ${disabled:-0} - skipped))
    failed=$((failed + ${failures:-0} + ${errors:-0}))
  done
}

build() {  # preset
  if [ ! -f "build/$1/CMakeCache.txt" ]; then
    cmake --preset "$1" >"build/$1.configure.log" 2>&1 || { cat "build/$1.configure.log"; return 1; }
  fi
  cmake --build --preset "$1"
}

run_native() {  # preset
  say "$1: build and test"
  local start=$SECONDS
  if ! build "$1"; then broken "$1 does not build"; return; fi
  rm -f "build/$1"/test-results/*.xml
  ctest --test-dir "build/$1" -j2 --output-on-failure --timeout 300
  # What the fault and crash sweeps did, run by run, and how they ended (read before
  # counting: listing the tests starts a new log).
  [ "$1" = native ] && grep -hE '^(fault|crash) sweep:' "build/$1/Testing/Temporary/LastTest.log"
  count_results "build/$1"
  echo "($1: $((SECONDS - start)) s)"
}

mkdir -p build
say "packages"
if ! bash scripts/install-packages.sh; then broken "the build and test packages could not be installed"; summary; fi

run_native native
UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 run_native native-asan
TSAN_OPTIONS=halt_on_error=1 run_native native-tsan

say "fuzz: ${fuzz_seconds} s per target"
if build fuzz; then
  for target in build/fuzz/platform/profile_text_fuzz build/fuzz/installer/device_entry_fuzz \
      build/fuzz/uiplugin/command_text_fuzz build/fuzz/uiplugin/devmode_fuzz \
      build/fuzz/uiplugin/logo_bitmap_fuzz build/fuzz/uiplugin/watermark_picture_fuzz; do
    if "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 >"$target.log" 2>&1; then
      echo "PASS $(basename "$target") ($(grep -o 'Done [0-9]* runs' "$target.log"))"
      passed=$((passed + 1))
    else
      tail -30 "$target.log"
      broken "$(basename "$target") found a crash"
    fi
  done
else
  broken "the fuzz targets do not build"
fi

windows_built=
for preset in windows:i686 windows64:x86_64; do
  say "${preset%%:*}: build and check the binaries"
  start=$SECONDS
  if ! build "${preset%%:*}"; then broken "${preset%%:*} does not build"; continue; fi
  [ "${preset%%:*}" = windows ] && windows_built=1
  while read -r verdict rest; do
    case $verdict in
      PASS) passed=$((passed + 1)); echo "PASS $rest" ;;
      FAIL) broken "$rest" ;;
      *) echo "$verdict $rest" ;;
    esac
  done < <(bash scripts/check-binaries.sh "build/${preset%%:*}" "${preset##*:}")
  echo "(${preset%%:*}: $((SECONDS - start)) s)"
done

# Two builds of the i686 deliverables in different folders give the same
# bytes: build/repro is built again from clean each run, only the three
# deliverables, and compared with build/windows.
repro_check() {
  local file
  if [ ! -f build/repro/CMakeCache.txt ]; then
    if ! cmake --preset windows -B build/repro >build/repro.configure.log 2>&1; then
      cat build/repro.configure.log
      broken "build/repro cannot be configured"
      return
    fi
  fi
  cmake --build build/repro --target clean >/dev/null
  if ! cmake --build build/repro -j2 --target Setup Desinstalar 7404VXUI >build/repro.log 2>&1; then
    tail -30 build/repro.log
    broken "the i686 deliverables do not build in build/repro"
    return
  fi
  for file in installer/Setup.exe uninstaller/Desinstalar.exe uiplugin/7404VXUI.dll; do
    if cmp "build/windows/$file" "build/repro/$file"; then
      echo "PASS i686 $(basename "$file") is byte for byte the same in a second build folder"
      passed=$((passed + 1))
    else
      broken "i686 $(basename "$file") differs between build/windows and build/repro"
    fi
  done
}
say "windows: reproducible build (a second build in build/repro)"
start=$SECONDS
if [ -n "$windows_built" ]; then repro_check; else broken "no i686 build to compare with build/repro"; fi
echo "(repro: $((SECONDS - start)) s)"

# The Wine tests run the i686 deliverables where the machine runs 32-bit code;
# elsewhere their x86_64 twins, built from the same sources, stand in. Setup's
# and Desinstalar's tests run from the package made of that build.
if bash scripts/runs-32bit.sh; then
  wine_build=windows what="the i686 deliverables" why=
else
  wine_build=windows64 what="the x86_64 twins" why=": this machine runs no 32-bit code"
fi
say "$wine_build: package"
package_folder=
if [ -f "build/$wine_build/build.ninja" ] && out=$(bash scripts/package.sh "build/$wine_build"); then
  echo "$out"
  package_folder=$(sed -n 's|^package: \(.*\)/ (.*|\1|p' <<<"$out")
  echo "PASS package of build/$wine_build, its SHA256SUMS verified"
  passed=$((passed + 1))
else
  broken "no package could be made of build/$wine_build"
fi
# A signed release: the same build packaged again with a throwaway
# certificate into build/package-signed, every signature verified, and the
# unsigned package the Wine tests run left as it was.
say "$wine_build: signed package"
if [ -n "$package_folder" ]; then
  while read -r verdict rest; do
    case $verdict in
      PASS) passed=$((passed + 1)); echo "PASS $rest" ;;
      FAIL) broken "$rest" ;;
      *) echo "$verdict $rest" ;;
    esac
  done < <(bash scripts/check-signatures.sh "build/$wine_build")
else
  broken "no unsigned package of build/$wine_build to sign"
fi
say "$wine_build: tests under Wine"
start=$SECONDS
if [ -f "build/$wine_build/build.ninja" ]; then
  rm -f "build/$wine_build"/test-results/*.xml "build/$wine_build"/screenshots/* "build/$wine_build"/screenshots/*/*
  PP_PACKAGE_READY=1 xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/run-wine-tests.sh "build/$wine_build"
  if [ $? -eq 125 ]; then
    wine_line="Wine tests could not run $what: Wine did not start"
    broken "Wine did not start in build/$wine_build/wineprefix"
  else
    wine_line="Wine tests ran $what, Setup and Desinstalar from ${package_folder:-no package}$why"
  fi
  count_results "build/$wine_build"
  for picture in "build/$wine_build"/screenshots/*.bmp "build/$wine_build"/screenshots/*/*.bmp; do
    [ -f "$picture" ] && /usr/bin/convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
  done
  echo "$wine_line"
  echo "(Wine: $((SECONDS - start)) s; screenshots in build/$wine_build/screenshots)"
else
  wine_line="Wine tests could not run $what: build/$wine_build was not built"
  broken "no Windows test build to run"
fi

summary
