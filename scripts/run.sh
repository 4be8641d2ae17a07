#!/usr/bin/env bash
# Sets up, builds and starts Sleevix. The build in build/release is complete: `cmake --install
# build/release` works right after.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/release-build.sh"
release_build build
exec "$release/sleevix" "$@"
