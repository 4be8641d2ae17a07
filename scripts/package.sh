#!/usr/bin/env bash
# Sets up, builds Sleevix optimised (reusing the build run.sh made, in build/release) and makes its
# Debian package in build/package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/release-build.sh"
release_build build package
out="$root/build/package"
mkdir -p "$out"
step "package" bash -c "cd '$release' && cpack -G DEB -B '$out' >'$out/cpack.log' ||
    { cat '$out/cpack.log'; exit 1; }"
ls "$out"/sleevix_*.deb
