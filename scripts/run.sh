#!/usr/bin/env bash
# Sets up, builds and starts Sleevix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" build
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DSLEEVIX_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target sleevix -j"$(nproc)"
exec "$root/build/release/sleevix" "$@"
