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

# A track list typed as a table: number, title and right-aligned duration across the full width
# of an A4 page with 2 cm margins (Writer's flat XML, so that the column widths are exact).
cat >"$work/lo-table.fodt" <<'FODT'
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:automatic-styles>
  <style:style style:name="Tracks" style:family="table">
   <style:table-properties style:width="17cm" table:align="margins"/>
  </style:style>
  <style:style style:name="Tracks.A" style:family="table-column">
   <style:table-column-properties style:column-width="1.5cm"/>
  </style:style>
  <style:style style:name="Tracks.B" style:family="table-column">
   <style:table-column-properties style:column-width="12.5cm"/>
  </style:style>
  <style:style style:name="Tracks.C" style:family="table-column">
   <style:table-column-properties style:column-width="3cm"/>
  </style:style>
  <style:style style:name="Right" style:family="paragraph">
   <style:paragraph-properties fo:text-align="end"/>
  </style:style>
  <style:style style:name="Heading" style:family="paragraph">
   <style:paragraph-properties fo:text-align="center"/>
   <style:text-properties fo:font-weight="bold"/>
  </style:style>
 </office:automatic-styles>
 <office:body>
  <office:text>
   <text:p text:style-name="Heading">Smetana – Má vlast</text:p>
   <table:table table:name="Tracks" table:style-name="Tracks">
    <table:table-column table:style-name="Tracks.A"/>
    <table:table-column table:style-name="Tracks.B"/>
    <table:table-column table:style-name="Tracks.C"/>
    <table:table-row>
     <table:table-cell><text:p>1</text:p></table:table-cell>
     <table:table-cell><text:p>Vyšehrad</text:p></table:table-cell>
     <table:table-cell><text:p text:style-name="Right">14:52</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell><text:p>2</text:p></table:table-cell>
     <table:table-cell><text:p>Vltava (Die Moldau)</text:p></table:table-cell>
     <table:table-cell><text:p text:style-name="Right">12:10</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell><text:p>3</text:p></table:table-cell>
     <table:table-cell><text:p>Šárka</text:p></table:table-cell>
     <table:table-cell><text:p text:style-name="Right">9:37</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell><text:p>4</text:p></table:table-cell>
     <table:table-cell><text:p>Z českých luhů a hájů</text:p></table:table-cell>
     <table:table-cell><text:p text:style-name="Right">13:02</text:p></table:table-cell>
    </table:table-row>
   </table:table>
   <text:p>Total 49:41</text:p>
  </office:text>
 </office:body>
</office:document>
FODT

profile="file://$work/profile"
for html in "$work"/*.html; do
    soffice -env:UserInstallation="$profile" --headless --infilter="HTML (StarWriter)" \
        --convert-to rtf --outdir "$work" "$html" >/dev/null
done
soffice -env:UserInstallation="$profile" --headless --convert-to rtf --outdir "$work" \
    "$work/lo-table.fodt" >/dev/null
for rtf in "$work"/*.rtf; do
    soffice -env:UserInstallation="$profile" --headless \
        --convert-to "txt:Text (encoded):UTF8" --outdir "$work" "$rtf" >/dev/null
    name=$(basename "$rtf" .rtf)
    cp "$rtf" "$out/$name.rtf"
    cp "$work/$name.txt" "$out/$name.txt"
done
ls -l "$out"
