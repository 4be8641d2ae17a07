// How a footnote's or an endnote's mark reads: its counter in the style the document asks for
// (\ftnnar, \ftnnalc, \ftnnauc, \ftnnrlc, \ftnnruc, \ftnnchi and the same with \aftn for
// endnotes).
#pragma once

#include <QString>
#include <string_view>

enum class RtfNoteStyle { Arabic, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, Chicago };

// The style a numbering word names, by its ending ("…nar", "…nrlc", …); Arabic for others.
RtfNoteStyle rtfNoteStyle(std::string_view word);

// The mark of note number n (1 and up): "3", "c", "C", "iii", "III", or Chicago's "*", "†",
// "‡", "§" repeated for each round ("**" is the fifth). Roman numerals beyond 3999 and numbers
// below 1 read as Arabic.
QString rtfNoteNumber(int n, RtfNoteStyle style);
