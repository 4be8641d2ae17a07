#include "rtf/RtfNoteNumbers.h"

#include <algorithm>
#include <utility>

namespace {

bool endsWith(std::string_view word, std::string_view end) {
    return word.size() >= end.size() && word.substr(word.size() - end.size()) == end;
}

QString roman(int n) {
    static const std::pair<int, const char*> digits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},   {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& [value, text] : digits)
        for (; n >= value; n -= value)
            out += QLatin1String(text);
    return out;
}

// a … z, then aa … zz, then aaa …, as word processors count notes with letters.
QString letters(int n, char16_t first) {
    const int round = (n - 1) / 26 + 1;
    return QString(std::min(round, 100), QChar(char16_t(first + (n - 1) % 26)));
}

} // namespace

RtfNoteStyle rtfNoteStyle(std::string_view word) {
    if (endsWith(word, "nalc"))
        return RtfNoteStyle::LowerAlpha;
    if (endsWith(word, "nauc"))
        return RtfNoteStyle::UpperAlpha;
    if (endsWith(word, "nrlc"))
        return RtfNoteStyle::LowerRoman;
    if (endsWith(word, "nruc"))
        return RtfNoteStyle::UpperRoman;
    if (endsWith(word, "nchi"))
        return RtfNoteStyle::Chicago;
    return RtfNoteStyle::Arabic;
}

QString rtfNoteNumber(int n, RtfNoteStyle style) {
    if (n < 1)
        return QString::number(n);
    switch (style) {
    case RtfNoteStyle::Arabic:
        break;
    case RtfNoteStyle::LowerAlpha:
        return letters(n, u'a');
    case RtfNoteStyle::UpperAlpha:
        return letters(n, u'A');
    case RtfNoteStyle::LowerRoman:
        return n <= 3999 ? roman(n) : QString::number(n);
    case RtfNoteStyle::UpperRoman:
        return n <= 3999 ? roman(n).toUpper() : QString::number(n);
    case RtfNoteStyle::Chicago: {
        static const char16_t symbols[] = {u'*', u'\u2020', u'\u2021', u'\u00A7'};
        const int round = (n - 1) / 4 + 1;
        return QString(std::min(round, 100), QChar(symbols[(n - 1) % 4]));
    }
    }
    return QString::number(n);
}
