#!/usr/bin/env bash
# cmake --install into a fresh prefix: the program, the sample project, the menu entry, the
# icons and the AppStream file land where a desktop looks for them, the entry and the AppStream
# file pass the freedesktop.org validators, and the program started through the entry's Exec line
# finds its sample files and its music module.
# Usage: check-install.sh <build folder> <version text>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
build=$1
version=$2
id=org.sleevix.Sleevix
prefix=$(mktemp -d)/usr
trap 'rm -rf "$(dirname "$prefix")"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for f in bin/sleevix share/sleevix/Front.jpg share/sleevix/Back.bmp share/sleevix/Back.rtf \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png share/man/man1/sleevix.1.gz; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/sleevix" ] || fail "the program is not executable"
for size in 48 256; do
    [ "$(png_size "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png")" = "${size}x${size}" ] ||
        fail "the ${size} px icon is $(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png")"
done

entry="$prefix/share/applications/$id.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses $id.desktop"
# Hints are not errors: two main categories (Graphics and Office) are meant.
if desktop-file-validate "$entry" | grep -v 'contains more than one main category' | grep -q .; then
    fail "desktop-file-validate has more to say about $id.desktop"
fi
for key in 'Name\[nl\]' 'GenericName\[nl\]' 'Comment\[nl\]' GenericName Comment; do
    grep -q "^$key=" "$entry" || fail "the entry has no $key"
done
grep -q '^Categories=Graphics;Office;$' "$entry" || fail "the entry's categories"
grep -q '^MimeType=.*image/jpeg' "$entry" || fail "the entry does not offer to open JPEG photos"
grep -q "^Icon=$id\$" "$entry" || fail "the entry's icon is not the installed one"

set +e
verdict=$(timeout 60 appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1)
status=$?
set -e
echo "$verdict"
[ $status -eq 0 ] || fail "appstreamcli refuses the AppStream file (status $status)"
echo "$verdict" | grep -E '^(E|W): ' && fail "appstreamcli warns about the AppStream file"
# The addresses a user reaches are the project's own, not placeholders.
grep -rlI '\.example\b' "$prefix/share" && fail "an installed file holds a placeholder address"
grep -q '<screenshot' "$prefix/share/metainfo/$id.metainfo.xml" || fail "no screenshot"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the AppStream release is not the program's version $version"

# The manual page names every option the program's --help names.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$(dirname "$prefix")" timeout 60 "$prefix/bin/sleevix" --help) ||
    fail "sleevix --help failed or took over 60 s"
manual=$(zcat "$prefix/share/man/man1/sleevix.1.gz" | sed 's/\\-/-/g')
for option in $(echo "$help" | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    echo "$manual" | grep -q -- "$option" || fail "the manual page does not name $option"
done

# The installed program reads music through its installed module: a cue sheet's list on the back.
work=$(dirname "$prefix")
printf 'TITLE "Blue Hours"\nFILE "a.flac" WAVE\nTRACK 01 AUDIO\nTITLE "Morning Light"\nINDEX 01 00:00:00\n' \
    >"$work/album.cue"
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work" timeout 60 "$prefix/bin/sleevix" \
    --export-pdf "$work/cover.pdf" --tracks "$work/album.cue" "$prefix/share/sleevix" ||
    fail "the installed program cannot export with a cue sheet's list"
pdftotext "$work/cover.pdf" - | grep -q "Morning Light" || fail "the cue sheet's list is not printed"

start_installed "$prefix" "$entry"
