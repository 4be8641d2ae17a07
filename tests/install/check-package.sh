#!/usr/bin/env bash
# cpack -G DEB: the package holds the installed files under /usr and nothing else, carries the
# program's version in Debian's form and the shared libraries' packages as dependencies, lintian
# has nothing to say about it (neither errors nor warnings), update-mime writes no mailcap entry
# for it, and the program unpacked from it starts through the menu entry's Exec line with the
# sample project.
# Usage: check-package.sh <build folder> <Debian version>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
build=$1
version=$2
id=org.sleevix.Sleevix
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) ||
    { cat "$out/cpack.log"; fail "cpack -G DEB failed"; }
arch=$(dpkg --print-architecture)
deb="$out/sleevix_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$out"/*.deb 2>/dev/null)"

echo "== dpkg-deb -c $(basename "$deb")"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
files=$(echo "$contents" | awk '$1 !~ /^d/ {print $NF}' | sed 's|^\./|/|' | sort)
expected=$(printf '%s\n' /usr/bin/sleevix /usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/sleevix/libsleevix-music.so /usr/share/sleevix/Front.jpg /usr/share/sleevix/Back.bmp \
    /usr/share/sleevix/Back.rtf /usr/share/applications/$id.desktop \
    /usr/share/metainfo/$id.metainfo.xml /usr/share/icons/hicolor/scalable/apps/$id.svg \
    /usr/share/icons/hicolor/48x48/apps/$id.png /usr/share/icons/hicolor/256x256/apps/$id.png \
    /usr/share/man/man1/sleevix.1.gz /usr/share/doc/sleevix/copyright \
    /usr/share/doc/sleevix/changelog.Debian.gz /usr/share/lintian/overrides/sleevix \
    /usr/lib/mime/packages/$id | sort)
[ "$files" = "$expected" ] || fail "the package's files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$files"))"
echo "$contents" | awk '{print $2}' | grep -qv '^root/root$' && fail "files not owned by root"
echo "$contents" | grep -q ' \./usr/bin/sleevix$' &&
    echo "$contents" | grep ' \./usr/bin/sleevix$' | grep -q '^-rwxr-xr-x' ||
    fail "the program is not installed executable"

echo "== dpkg-deb -I"
dpkg-deb -I "$deb"
[ "$(dpkg-deb -f "$deb" Package)" = sleevix ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 libjpeg62-turbo libc6 \
    qt6-qpa-plugins fonts-dejavu-core fonts-liberation2; do
    echo "$depends" | grep -q "\b$dependency\b" || fail "no dependency on $dependency"
done
# The strip leaves no debugging sections in the program.
dpkg-deb -x "$deb" "$out/root"
file "$out/root/usr/bin/sleevix" | grep -q 'stripped' && ! file "$out/root/usr/bin/sleevix" |
    grep -q 'not stripped' || fail "the program in the package is not stripped"

echo "== lintian $(basename "$deb")"
command -v lintian >/dev/null || fail "lintian is not installed (bash scripts/setup.sh package)"
# lintian's own time limit: it unpacks and reads the whole package.
set +e
findings=$(timeout -k 5 300 lintian --fail-on none "$deb" 2>&1)
status=$?
set -e
echo "$findings"
[ $status -eq 0 ] || fail "lintian did not finish (status $status)"
echo "$findings" | grep -E '^(E|W): ' && fail "lintian reports errors or warnings"
zcat "$out/root/usr/share/doc/sleevix/changelog.Debian.gz" >"$out/changelog"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Version)" = "$version" ] ||
    fail "the changelog's newest entry is not version $version"

# update-mime skips a desktop entry whose name has a file of its own in /usr/lib/mime/packages;
# that file holds no mailcap line.
grep -v '^#' "$out/root/usr/lib/mime/packages/$id" | grep -q . &&
    fail "the package writes mailcap entries"

start_installed "$out/root/usr" "$out/root/usr/share/applications/$id.desktop"
