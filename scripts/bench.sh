#!/usr/bin/env bash
# Sets up, builds the benchmarks (optimised, with the symbols a profiler needs, the same flags as
# the test build so the compiler cache serves both) and runs every one; each prints its figures beside
# its baseline measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" all
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLEEVIX_TESTS=OFF -DSLEEVIX_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" --benchmark_counters_tabular=true "$@"
done
