#!/usr/bin/env bash
# Installs the Debian packages named in scripts/packages/*.txt that are missing.
# Usage: scripts/setup.sh [all | LIST...]   (LIST: a file name in packages/ without .txt, e.g.
# build for only what the program needs; build is always included)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- all
lists=("$here/packages/build.txt")
for which in "$@"; do
    if [ "$which" = all ]; then
        for f in "$here"/packages/*.txt; do [ "$f" = "$here/packages/build.txt" ] || lists+=("$f"); done
    elif [ -f "$here/packages/$which.txt" ]; then
        lists+=("$here/packages/$which.txt")
    else
        echo "No package list $which in $here/packages" >&2
        exit 1
    fi
done
missing=()
for pkg in $(grep -h -v '^#' "${lists[@]}" | tr -s ' \t' '\n' | grep -v '^$' | sort -u); do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Missing packages. Run this once, then try again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
