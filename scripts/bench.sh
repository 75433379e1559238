#!/usr/bin/env bash
# The benchmark command: the watermark's picture routines, optimised (the
# native preset is a Debug build), timed against plain copies. Exits 2 when a
# goal is missed.
set -eu
cd "$(dirname "$0")/.."
mkdir -p build
if [ ! -f build/bench/CMakeCache.txt ]; then
  cmake --preset bench >build/bench.configure.log 2>&1 || { cat build/bench.configure.log; exit 1; }
fi
cmake --build build/bench -j2 --target watermark_bench
exec build/bench/uiplugin/watermark_bench
