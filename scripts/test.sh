#!/usr/bin/env bash
# Sets up, builds everything with the tests and runs every test (offscreen).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Everything but the benchmarks' reference programs (gLabels would bring GTK for nothing).
"$root/scripts/setup.sh" print rtf test translations update package
build="$root/build/test"
# Optimised like the program people run, without debugging information: with it the test
# programs and their objects take some 7 GB, more than a build machine may have free.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSLEEVIX_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
# Services some tests need (a print spooler); each start script says why when it cannot start.
for service in "$root"/scripts/services/*.sh; do
    [ -e "$service" ] && bash "$service" || true
done
export QT_QPA_PLATFORM=offscreen
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
cd "$build"
# A test that fails is run once more before the run counts as failed: a few window and process
# tests depend on timing a loaded build machine can upset; a real fault fails both times, and the
# first failure stays in the output.
ctest --output-on-failure -j"$(nproc)" --timeout 600 --repeat until-pass:2
