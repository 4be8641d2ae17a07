#!/usr/bin/env bash
# Sets up, builds the benchmarks (optimised as the program people run and the tests are, so that
# the compiler cache serves all three) and runs every one; each prints its figures
# beside its baseline measured in the same run. The print spooler with its "PDF" queue is started
# when it can be, for the memory of printing to it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" all
bash "$root/scripts/services/cups.sh" || true
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSLEEVIX_TESTS=OFF -DSLEEVIX_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" --benchmark_counters_tabular=true "$@"
done
