#!/usr/bin/env bash
# Installing into a prefix the user may not write to fails with cmake's own error, which names
# the folder, and leaves nothing behind.
# Usage: check-unwritable-prefix.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
build=$1
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT
chmod 755 "$top"
mkdir "$top/locked"
chmod 555 "$top/locked"
prefix="$top/locked/usr"

# root may write anywhere: the install then runs as the unprivileged user nobody.
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env)
else
    as_user=()
fi
set +e
output=$("${as_user[@]}" env PATH="$PATH" cmake --install "$build" --prefix "$prefix" 2>&1)
status=$?
set -e
echo "$output"
[ $status -ne 0 ] || fail "the install into a folder without write permission reported success"
echo "$output" | grep -q "CMake Error" || fail "no error from cmake"
echo "$output" | grep -q "$prefix" || fail "the error does not name the folder"
echo "$output" | grep -qi "administrative privileges\|permission denied" ||
    fail "the error does not say that permission is missing"
[ -z "$(find "$top/locked" -mindepth 1)" ] || fail "the failed install left files behind"
