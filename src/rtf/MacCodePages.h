// The Mac OS code pages of Greek, Turkish, Arabic and Hebrew, which the C library's iconv does not
// know: RTF from a Mac in those scripts names them with \ansicpg10006, 10081, 10004 and 10005 (or
// their \fcharset values 85, 86, 84 and 83).
#pragma once

#include <array>

// The characters of bytes 0x80-0xFF of one of those code pages (0 where a byte has none), or
// nullptr for any other code page.
const std::array<char16_t, 128>* macHighHalf(int codePage);
