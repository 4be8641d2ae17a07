#!/usr/bin/env bash
# Makes the RTF files "written by another program" that the platform tests read: small documents
# built here as HTML, turned into RTF by LibreOffice Writer, with the plain text LibreOffice
# extracts from each RTF beside it. Run it again after changing a document; commit the results.
# Needs: libreoffice (Debian libreoffice-writer-nogui).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/rtf"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

cat >"$work/lo-tracklist.html" <<'HTML'
<html><head><meta charset="utf-8"></head><body>
<p align="center" style="font-family: Arial; font-size: 16pt"><b>Dvořák – Greatest Hits</b></p>
<p style="font-family: Arial; font-size: 12pt">1. Slavonic Dance No. 1 <span style="color: #ff0000">(live)</span> 3:12</p>
<p style="font-family: Arial; font-size: 12pt">2. <i>Humoresque</i> in G♭ 4:01</p>
<p style="font-family: Arial; font-size: 12pt">3. <u>Rusalka</u>: Song to the Moon 5:47</p>
<p style="font-family: Arial; font-size: 12pt">4. Zażółć gęślą jaźń – Œuvre 2:30</p>
</body></html>
HTML

cat >"$work/lo-scripts.html" <<'HTML'
<html><head><meta charset="utf-8"></head><body>
<p style="font-family: 'DejaVu Sans'; font-size: 11pt">Чайковский — Лебединое озеро</p>
<p style="font-family: 'DejaVu Sans'; font-size: 11pt">Ελληνικά: Θεοδωράκης</p>
<p style="font-family: 'DejaVu Sans'; font-size: 11pt">日本語のトラック「こんにちは」</p>
<p style="font-family: 'DejaVu Sans'; font-size: 11pt">中文曲目：你好世界</p>
<p style="font-family: 'DejaVu Sans'; font-size: 11pt">Emoji 🎵 and € £ ¥</p>
</body></html>
HTML

cat >"$work/lo-formatting.html" <<'HTML'
<html><head><meta charset="utf-8"></head><body>
<p style="font-family: 'Liberation Serif'; font-size: 10pt">small <span style="font-size: 20pt">big</span> <s>struck</s> x<sup>2</sup> H<sub>2</sub>O</p>
<p align="right" style="font-family: 'Liberation Serif'; font-size: 12pt"><span style="background: #ffff00">marked</span> right</p>
<p align="justify" style="font-family: 'Liberation Serif'; font-size: 12pt; margin-left: 1in">indented justified text {with braces} and a back\slash</p>
<p style="font-family: 'Liberation Mono'; font-size: 12pt"><b><i>bold italic</i></b> <span style="color: #0000ff">blue</span></p>
</body></html>
HTML

profile="file://$work/profile"
for html in "$work"/*.html; do
    soffice -env:UserInstallation="$profile" --headless --infilter="HTML (StarWriter)" \
        --convert-to rtf --outdir "$work" "$html" >/dev/null
done
for rtf in "$work"/*.rtf; do
    soffice -env:UserInstallation="$profile" --headless \
        --convert-to "txt:Text (encoded):UTF8" --outdir "$work" "$rtf" >/dev/null
    name=$(basename "$rtf" .rtf)
    cp "$rtf" "$out/$name.rtf"
    cp "$work/$name.txt" "$out/$name.txt"
done
ls -l "$out"
