// The RTF reader: text, code pages, formatting, pictures, RTF as Word, WordPad and TextEdit write
// it, and damaged or hostile input.
#include "rtf/RtfTestUtil.h"

#include <QBuffer>
#include <QImage>
#include <QTextDocument>
#include <gtest/gtest.h>

using rtftest::describe;
using rtftest::read;
using rtftest::text;

namespace {

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, GivesTheText) {
    const TextCase& c = GetParam();
    EXPECT_EQ(text(*read(c.rtf)).toStdU16String(), c.expected.toStdU16String());
}

// Reading through a device that hands out 3 bytes at a time splits every kind of token across
// blocks; the document must not change.
TEST_P(RtfText, GivesTheSameTextThroughASlowDevice) {
    const TextCase& c = GetParam();
    rtftest::TrickleDevice device(c.rtf, 3);
    device.open(QIODevice::ReadOnly);
    QTextDocument doc;
    RtfReader::read(&device, &doc);
    EXPECT_EQ(text(doc).toStdU16String(), c.expected.toStdU16String());
}

QString u16(std::u16string_view s) {
    return QString::fromUtf16(s.data(), s.size());
}

const TextCase textCases[] = {
    {"Escapes", R"({\rtf1 a\{b\}c\\d})", "a{b}c\\d"},
    {"SpecialSymbols", R"({\rtf1 a\~b\-c\_d})", u16(u"a\u00A0b\u00ADc\u2011d")},
    {"NamedCharacters", R"({\rtf1\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
     u16(u"\u2014\u2013\u2022\u2018\u2019\u201C\u201D")},
    {"UnicodeSkipsOneFallback", R"({\rtf1\uc1 caf\u233?s})", u16(u"caf\u00E9s")},
    {"UnicodeSkipsTwoFallbacks", R"({\rtf1\uc2\u24180\'94\'4e x})", u16(u"\u5E74 x")},
    {"UnicodeWithoutFallback", R"({\rtf1\uc0\u233 x})", u16(u"\u00E9x")},
    {"UcIsScopedToItsGroup", R"({\rtf1{\uc2\u233 ab}\u233 ab})", u16(u"\u00E9\u00E9b")},
    {"NegativeUnicode", R"({\rtf1\u-3913?})", u16(u"\uF0B7")},
    {"SurrogatePair", R"({\rtf1\u-10179?\u-9047?})", u16(u"\U0001F4A9")},
    {"LoneHighSurrogate", R"({\rtf1\u-10179?x})", u16(u"\uFFFDx")},
    {"LoneLowSurrogate", R"({\rtf1\u-9047?x})", u16(u"\uFFFDx")},
    {"TwoHighSurrogates", R"({\rtf1\u-10179?\u-10179?\u-9047?})", u16(u"\uFFFD\U0001F4A9")},
    {"UnicodeOutOfRange", R"({\rtf1\u70000?x})", u16(u"\uFFFDx")},
    {"UnicodeControlCharacterDropped", R"({\rtf1 a\u0?\u7?b})", "ab"},
    {"UnicodeWithoutNumber", R"({\rtf1 a\u b})", "ab"},
    {"CodePage1250", R"({\rtf1\ansi\ansicpg1250 \'b9\'9c\'bf})", u16(u"\u0105\u015B\u017C")},
    {"CodePage1251", R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})", u16(u"\u041F\u0440\u0438")},
    {"CodePage1252", R"({\rtf1\ansi\ansicpg1252 \'e9\'80})", u16(u"\u00E9\u20AC")},
    {"CodePage932FromFontCharset",
     R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'82\'b1\'83e!})",
     u16(u"\u3053\u30C6!")},
    {"CodePage936", R"({\rtf1\ansi\ansicpg936 \'c4\'e3\'ba\'c3})", u16(u"\u4F60\u597D")},
    {"CodePage65001", R"({\rtf1\ansi\ansicpg65001 \'c3\'a9 \'e2\'82\'ac})", u16(u"\u00E9 \u20AC")},
    {"RawEightBitBytes", "{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}", u16(u"\u041F\u0440\u0438")},
    {"FontCharsetBeforeDocumentCodePage",
     R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}}\f1\'c0\f0\'c0})",
     u16(u"\u0410\u00C0")},
    {"DefaultCharsetUsesDocumentCodePage",
     R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset1 A;}}\f0\'b9})", u16(u"\u0105")},
    {"CodePageThatDoesNotExist", R"({\rtf1\ansi\ansicpg99999 \'e9})", u16(u"\u00E9")},
    {"CodePageNegative", R"({\rtf1\ansi\ansicpg-5 \'e9})", u16(u"\u00E9")},
    {"IgnorableDestination", R"({\rtf1 a{\*\foo bar{\b baz}}b})", "ab"},
    {"UnknownControlWordsIgnored", R"({\rtf1 a\foo123 b\bar c\x-5 d})", "abcd"},
    {"FieldShowsItsResult", R"({\rtf1{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}}!})",
     "link!"},
    {"FieldInstructionWithoutStar", R"({\rtf1{\field{\fldinst PAGE}{\fldrslt 3}}})", "3"},
    {"BinInIgnorableDestination", R"({\rtf1 a{\*\x\bin3 }}}}b})", "ab"},
    {"BinInText", R"({\rtf1 a\bin2 {}b})", "ab"},
    {"ParagraphsTrailingParEndsLast", R"({\rtf1 a\par b\par})", "a\nb"},
    {"EmptyParagraphKept", R"({\rtf1 a\par\par b})", "a\n\nb"},
    {"BackslashNewlineIsParagraph", "{\\rtf1 a\\\nb}", "a\nb"},
    {"LineAndTab", R"({\rtf1 a\line b\tab c})", u16(u"a\u2028b\tc")},
    {"NewlinesIgnoredRawTabKept", "{\\rtf1 a\r\nb\tc}", "ab\tc"},
    {"HiddenTextNotShown", R"({\rtf1 a{\v hidden}b\v c\v0 d})", "abd"},
    {"HeadersFootnotesCommentsSkipped",
     R"({\rtf1{\header H}a{\footnote F}b{\*\annotation C}c{\info{\title T}}})", "abc"},
    {"UnicodeGroupOfUpr", R"({\rtf1{\upr{ansi}{\*\ud{uni}}}})", "uni"},
    {"TableCellsAsTabs", R"({\rtf1\trowd\cellx1000\cellx2000 a\cell b\cell\row c})", "a\tb\nc"},
    {"ListTextShown", R"({\rtf1{\listtext 1.\tab}One\par})", "1.\tOne"},
    {"OldStyleNumberingSkipped", R"({\rtf1{\*\pn\pnlvlblt{\pntxtb X}}{\pn{\pntxtb Y}}One})", "One"},
    {"NonShapePictureSkipped",
     R"({\rtf1 a{\*\shppict{\pict\wmetafile8 0102}}{\nonshppict{\pict\wmetafile8 0102}}b})",
     u16(u"ab")},
    {"MetafileSkippedCleanly", R"({\rtf1 a{\pict\wmetafile8\picw10\pich10 0102030405}b})", "ab"},
    {"ObjectShowsItsResult",
     R"({\rtf1{\object\objemb{\*\objclass Paint}{\*\objdata 0102}{\result R}}})", "R"},
    {"TextAfterClosingBraceIgnored", R"({\rtf1 a}b)", "a"},
    // TextEdit on a Japanese Mac: Mac Japanese code page and charset; was read as Mac Roman.
    {"MacJapaneseDocument",
     R"({\rtf1\mac\ansicpg10001\cocoartf2639{\fonttbl\f0\fnil\fcharset78 HiraginoSans-W3;})"
     R"(\f0 \'83\'56\'83\'93\'83\'5a\'83\'54\'83\'43\'83\'55\'81\'5b})",
     u16(u"\u30B7\u30F3\u30BB\u30B5\u30A4\u30B6\u30FC")},
    {"MacJapaneseFontInAnAnsiDocument",
     R"({\rtf1\ansi{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset78 Osaka;}}\f1\'82\'b1\f0\'e9})",
     u16(u"\u3053\u00E9")},
    {"MacTraditionalChinese", R"({\rtf1\mac\ansicpg10002 \'a4\'a4})", u16(u"\u4E2D")},
    {"MacSimplifiedChinese", R"({\rtf1\mac\ansicpg10008 \'d6\'d0})", u16(u"\u4E2D")},
    {"MacKorean", R"({\rtf1\mac\ansicpg10003 \'c7\'d1})", u16(u"\uD55C")},
    {"MacCyrillicCharset", R"({\rtf1\mac{\fonttbl{\f0\fcharset89 B;}}\f0\'8f\'f0\'e8})",
     u16(u"\u041F\u0440\u0438")},
    {"MacCentralEuropean", R"({\rtf1\mac\ansicpg10029 \'88})", u16(u"\u0105")},
    // Mac code pages the C library lacks, by \ansicpg and by a font's \fcharset.
    {"MacGreek", R"({\rtf1\mac\ansicpg10006 \'ba\'e1\'ec\'e8\'ed\'db\'f2\'e1 \'eb\'de\'f3\'ed\'e5})",
     u16(u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \u03BA\u03CC\u03C3\u03BC\u03B5")},
    {"MacTurkish", R"({\rtf1\mac\ansicpg10081 G\'9fnayd\'ddn, \'dcstanbul \'df\'dd\'db})",
     u16(u"G\u00FCnayd\u0131n, \u0130stanbul \u015F\u0131\u011F")},
    {"MacArabic", R"({\rtf1\mac\ansicpg10004 \'e5\'d1\'cd\'c8\'c7\'a0\'c8\'c7\'e4\'d9\'c7\'e4\'e5\'bf})",
     u16(u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645\u061F")},
    {"MacHebrew", R"({\rtf1\mac\ansicpg10005 \'f9\'ec\'e5\'ed \'f2\'e5\'ec\'ed\'a6})",
     u16(u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD\u20AA")},
    {"MacGreekCharset", R"({\rtf1\ansi{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset85 B;}}\f1\'e1\f0\'e1})",
     u16(u"\u03B1\u00E1")},
    {"MacTurkishCharset", R"({\rtf1\ansi{\fonttbl{\f0\fcharset86 B;}}\f0\'dd})", u16(u"\u0131")},
    {"MacArabicCharset", R"({\rtf1\ansi{\fonttbl{\f0\fcharset84 B;}}\f0\'c7})", u16(u"\u0627")},
    {"MacHebrewCharset", R"({\rtf1\ansi{\fonttbl{\f0\fcharset83 B;}}\f0\'e0})", u16(u"\u05D0")},
    // The mark of a footnote shows its number; the footnote's own text stays out.
    {"FootnoteMarksAreNumbered",
     R"({\rtf1\ansi C\'f4t\'e9{\super\chftn}{\footnote\pard{\super\chftn} One.} and )"
     R"(more{\super\chftn}{\footnote{\super\chftn} Two.}})",
     u16(u"C\u00F4t\u00E91 and more2")},
    // Endnotes count on their own, in the style the document asks for; a footnote between them
    // keeps its own number.
    {"EndnoteMarksCountApartInLowerRoman",
     R"({\rtf1\ansi\fet2\aenddoc\aftnnrlc a{\super\chftn}{\footnote\ftnalt{\super\chftn} E1})"
     R"( b{\super\chftn}{\footnote{\super\chftn} F1} c{\super\chftn}{\footnote\ftnalt E2})"
     R"( d{\super\chftn}{\footnote\ftnalt E3} end})",
     u16(u"ai b1 cii diii end")},
    {"EndnotesOnlyDocument",
     R"({\rtf1\ansi\fet1\aftnnauc\aftnstart3 x{\chftn}{\footnote\ftnalt E} y{\chftn}{\footnote E}})",
     u16(u"xC yD")},
    {"FootnotesInChicagoStyle",
     R"({\rtf1\ftnnchi a{\chftn}{\footnote F} b{\chftn}{\footnote F} c{\chftn}{\footnote F})"
     R"( d{\chftn}{\footnote F} e{\chftn}{\footnote F}})",
     u16(u"a* b\u2020 c\u2021 d\u00A7 e**")},
};

INSTANTIATE_TEST_SUITE_P(Reader, RtfText, ::testing::ValuesIn(textCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Damaged and hostile input: a best-effort read, never a crash, a hang or runaway memory.
const TextCase badCases[] = {
    {"TruncatedInText", R"({\rtf1 abc\b def)", "abcdef"},
    {"TruncatedInHexEscape", R"({\rtf1 ab\')", "ab"},
    {"TruncatedAfterHalfHexEscape", R"({\rtf1 ab\'4)", "ab"},
    {"TruncatedInControlWord", R"({\rtf1 ab\pa)", "ab"},
    {"TruncatedInUnicode", R"({\rtf1 ab\u)", "ab"},
    {"TruncatedInFontTable", R"({\rtf1{\fonttbl{\f0\fcharset0 Ari)", ""},
    {"TruncatedInPicture", R"({\rtf1 a{\pict\pngblip 89504e47)", "a"},
    {"TruncatedInDoubleByteCharacter", R"({\rtf1\ansi\ansicpg932 a\'82)", u16(u"a\uFFFD")},
    {"MissingClosingBraces", R"({\rtf1 {a{b{c)", "abc"},
    {"ExtraClosingBraces", R"({\rtf1 a}}}b}c)", "a"},
    {"BrokenHexEscape", R"({\rtf1 a\'zzb})", "azzb"},
    {"BinLargerThanFile", R"({\rtf1 a\bin999999999 bc})", "a"},
    {"BinNegative", R"({\rtf1 a\bin-5 b})", "ab"},
    {"HugeNumbers",
     R"({\rtf1\fs99999999999999999999 a\li-99999999999999 b\uc999999999 c\cf88888888888 d})",
     "abcd"},
    {"HugeUnicodeNumber", R"({\rtf1 a\u99999999999999999 bc})", u16(u"a\uFFFDc")},
    {"NegativeColourAndFontNumbers", R"({\rtf1\f-3\cf-7\highlight-2 a})", "a"},
    {"ControlCharacterEscapes", R"({\rtf1 a\'1eb\'09c\'00})", "ab\tc"},
    {"NulAndControlBytes",
     QByteArray("{\\rtf1 a\0b\x01\x1f"
                "c}",
                14),
     "abc"},
    {"OnlyTheHeader", R"({\rtf)", ""},
    {"HeaderAfterMarkAndBlanks", "\xEF\xBB\xBF \r\n{\\rtf1 x}", "x"},
    {"StarWithoutWord", R"({\rtf1 a{\* b}c})", "ac"},
    {"PictureNotPng", R"({\rtf1 a{\pict\pngblip 00112233445566778899}b})", "ab"},
};

INSTANTIATE_TEST_SUITE_P(BadInput, RtfText, ::testing::ValuesIn(badCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReaderBadInput, HundredThousandNestedGroupsKeepTheirText) {
    const int depth = 100000;
    QByteArray rtf = "{\\rtf1 a";
    rtf += QByteArray(depth, '{') + "\\b x" + QByteArray(depth, '}') + "y}";
    const auto doc = read(rtf);
    EXPECT_EQ(text(*doc), "axy");
    // The groups deeper than the limit share the deepest state; the outer text is not bold.
    EXPECT_EQ(describe(*doc).count("{b"), 0) << qPrintable(describe(*doc));
}

TEST(RtfReaderBadInput, HundredThousandOpenGroupsNeverClosed) {
    QByteArray rtf = "{\\rtf1 a";
    for (int i = 0; i < 100000; ++i)
        rtf += "{\\i ";
    rtf += "end";
    EXPECT_EQ(text(*read(rtf)), "aend");
}

// Every code page number a file can name, each once: each unknown one is looked up once and
// read as 1252, so such a file reads as fast as any other.
TEST(RtfReaderBadInput, EveryCodePageNumberOnce) {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int cp = 0; cp < 66000; cp += 1)
        rtf += "{\\ansicpg" + QByteArray::number(cp) + "\\'e9}";
    rtf += "}";
    const QString text = rtftest::text(*read(rtf));
    EXPECT_EQ(text.size(), 66000);
    EXPECT_EQ(text.count(QChar(0x00E9)) > 60000, true);
}

TEST(RtfReaderBadInput, HugeControlWordIsSkipped) {
    const QByteArray rtf = "{\\rtf1 a\\" + QByteArray(1000000, 'z') + "9999999999999999 b}";
    EXPECT_EQ(text(*read(rtf)), "ab");
}

TEST(RtfReaderBadInput, NonRtfIsRefusedAndTheDocumentKept) {
    const QByteArray cases[] = {
        QByteArray(),           QByteArray("plain text, not rtf"),
        QByteArray("{\\rt"),    QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
        QByteArray(4096, '\0'),
    };
    for (const QByteArray& bytes : cases) {
        QTextDocument doc;
        doc.setPlainText("kept");
        try {
            RtfReader::read(bytes, &doc);
            ADD_FAILURE() << "read " << bytes.left(20).toHex().constData();
        } catch (const RtfFormatError& e) {
            EXPECT_EQ(e.message(), "Failed to Load Stream");
        }
        EXPECT_EQ(doc.toPlainText(), "kept");
        EXPECT_FALSE(RtfReader::looksLikeRtf(bytes));
    }
}

TEST(RtfReaderDevice, FailingDeviceGivesFailedToLoadStream) {
    QByteArray rtf = "{\\rtf1 ";
    rtf += QByteArray(200000, 'a') + "}";
    for (qint64 failAfter : {qint64(10), qint64(70000), qint64(150000)}) {
        rtftest::FailDevice device(rtf, failAfter);
        device.open(QIODevice::ReadOnly);
        QTextDocument doc;
        try {
            RtfReader::read(&device, &doc);
            ADD_FAILURE() << "no error after " << failAfter << " bytes";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), "Failed to Load Stream");
        }
    }
}

TEST(RtfReaderDevice, UnopenedDeviceGivesFailedToLoadStream) {
    QBuffer device;
    QTextDocument doc;
    EXPECT_THROW(RtfReader::read(&device, &doc), AppError);
}

// ---------------------------------------------------------------------------------------------
// Formatting.

struct FormatCase {
    const char* name;
    QByteArray rtf;
    QString expected; // rtftest::describe
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class RtfFormatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(RtfFormatting, GivesParagraphsAndRuns) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(describe(*read(c.rtf)).toStdString(), c.expected.toStdString());
}

const FormatCase formatCases[] = {
    {"CharacterFormatting",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;)"
     R"(\red0\green128\blue0;}\f0\fs20 a\b b\i c\b0\i0\ul d\ulnone\strike e\strike0)"
     R"(\f1\fs30\cf1 f\cf0\highlight2 g\plain h\super i\nosupersub\uld j\ul0 k})",
     "left: [a]{Arial,10.0pt} [b]{Arial,10.0pt,b} [c]{Arial,10.0pt,b,i} [d]{Arial,10.0pt,u1} "
     "[e]{Arial,10.0pt,s} [f]{Courier New,15.0pt,fg#ff0000} [g]{Courier New,15.0pt,bg#008000} "
     "[h]{Arial,12.0pt} [i]{Arial,12.0pt,super} [j]{Arial,12.0pt,u3} [k]{Arial,12.0pt}"},
    {"GroupsRestoreFormatting", R"({\rtf1 a{\b b{\i c}d}e})",
     "left: [a]{12.0pt} [b]{12.0pt,b} [c]{12.0pt,b,i} [d]{12.0pt,b} [e]{12.0pt}"},
    {"ParagraphFormatting",
     R"({\rtf1\pard\qc\li720\ri360\fi-360\sb120\sa240 a\par\pard\qr b\par\pard\qj\sl360\slmult1)"
     R"( c\par\pard\sl-300 d\par\pard\sl300\slmult0 e\par})",
     "center li=48.0 ri=24.0 fi=-24.0 sb=8.0 sa=16.0: [a]{12.0pt}\n"
     "right: [b]{12.0pt}\n"
     "justify sl=150.0/1: [c]{12.0pt}\n"
     "left sl=20.0/2: [d]{12.0pt}\n"
     "left sl=20.0/3: [e]{12.0pt}"},
    {"ParagraphFormattingKeptUntilPard", R"({\rtf1\qc a\par b\par\pard c})",
     "center: [a]{12.0pt}\ncenter: [b]{12.0pt}\nleft: [c]{12.0pt}"},
    {"TabStops", R"({\rtf1\pard\tx720\tqr\tx4320\tqc\tx5000 a\tab b\par})",
     "left tab=48.0/0 tab=288.0/1 tab=333.3/2: [a\tb]{12.0pt}"},
    {"ColourTableAutoEntry", R"({\rtf1{\colortbl;\red0\green0\blue255;}\cf0 a\cf1 b\cf9 c})",
     "left: [a]{12.0pt} [b]{12.0pt,fg#0000ff} [c]{12.0pt}"},
    {"ColourTableWithoutAutoEntry",
     R"({\rtf1{\colortbl\red0\green0\blue0;\red255\green0\blue0;}\cf0 a\cf1 b})",
     "left: [a]{12.0pt,fg#000000} [b]{12.0pt,fg#ff0000}"},
    {"DefaultFont", R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Verdana;}}a})",
     "left: [a]{Verdana,12.0pt}"},
    {"CocoaFontTableWithoutGroups",
     R"({\rtf1{\fonttbl\f0\fswiss\fcharset0 Helvetica;\f1\fnil Menlo;}\f1 a\f0 b})",
     "left: [a]{Menlo,12.0pt} [b]{Helvetica,12.0pt}"},
    {"CodePageVariantsOfAFont",
     R"({\rtf1{\fonttbl{\f0\fcharset238 Arial CE;}{\f1\fcharset204 Times New Roman CYR;})"
     R"({\f2\fcharset0 Brand CE;}}\f0 a\f1 b\f2 c})",
     "left: [a]{Arial,12.0pt} [b]{Times New Roman,12.0pt} [c]{Brand CE,12.0pt}"},
    {"EmptyParagraphKeepsItsSize", R"({\rtf1\fs40 a\par\par b})",
     "left: [a]{20.0pt}\nleft:\nleft: [b]{20.0pt}"},
};

INSTANTIATE_TEST_SUITE_P(Reader, RtfFormatting, ::testing::ValuesIn(formatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReaderFormatting, EmptyParagraphHasTheFontOfItsMark) {
    const auto doc = read(R"({\rtf1\fs40 a\par\par b})");
    EXPECT_DOUBLE_EQ(doc->begin().next().charFormat().fontPointSize(), 20.0);
}

TEST(RtfReaderFormatting, DefaultTabWidth) {
    const auto doc = read(R"({\rtf1\deftab1440 a})");
    EXPECT_DOUBLE_EQ(doc->defaultTextOption().tabStopDistance(), 96.0);
}

// ---------------------------------------------------------------------------------------------
// Pictures.

QByteArray pngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QImage imageAt(const QTextDocument& doc, int index) {
    int seen = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat() && seen++ == index)
                return doc
                    .resource(QTextDocument::ImageResource,
                              QUrl(it.fragment().charFormat().toImageFormat().name()))
                    .value<QImage>();
    return {};
}

TEST(RtfReaderPictures, PngInHexAndInBinAndJpegAreShown) {
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QByteArray png = pngOf(red);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImage blue(8, 8, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        blue.save(&buffer, "JPEG");
    }
    QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450\n" +
                     png.toHex() + "\n}b{\\pict\\pngblip\\picscalex50\\picscaley200\\bin" +
                     QByteArray::number(png.size()) + " " + png + "}c{\\pict\\jpegblip " +
                     jpeg.toHex() + "}}";
    const auto doc = read(rtf);
    EXPECT_EQ(describe(*doc).toStdString(),
              QStringLiteral("left: [a]{12.0pt} [\uFFFC]{image 40.0x30.0} [b]{12.0pt} "
                             "[\uFFFC]{image 2.0x6.0} [c]{12.0pt} [\uFFFC]{image 8.0x8.0}")
                  .toStdString());
    const QImage first = imageAt(*doc, 0);
    ASSERT_EQ(first.size(), QSize(4, 3));
    EXPECT_EQ(first.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(imageAt(*doc, 1).size(), QSize(4, 3));
    const QImage third = imageAt(*doc, 2);
    ASSERT_EQ(third.size(), QSize(8, 8));
    EXPECT_LT(qRed(third.pixel(4, 4)), 40);
    EXPECT_GT(qBlue(third.pixel(4, 4)), 200);
}

// ---------------------------------------------------------------------------------------------
// RTF as other programs write it, typed here byte for byte in their style.

TEST(RtfReaderOtherPrograms, WordStyle) {
    const QByteArray rtf =
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff0\\deff0\\stshfdbch0\\deflang1033"
        "\\deflangfe1033{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose "
        "02020603050405020304}Times New Roman;}{\\f1\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose "
        "020b0604020202020204}Arial;}}\r\n{\\colortbl;\\red0\\green0\\blue0;"
        "\\red255\\green0\\blue0;}"
        "\r\n{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
        "\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af0\\afs24\\alang1025 \\ltrch\\fcs0 "
        "\\fs24\\lang1033\\langfe1033\\cgrid\\langnp1033\\langfenp1033 \\snext0 \\sqformat "
        "\\spriority0 Normal;}}{\\*\\generator Microsoft Word 15.0;}{\\info{\\title Hits}"
        "{\\author Me}}\\paperw11906\\paperh16838\\margl1417\\margr1417\r\n\\pard\\plain "
        "\\ltrpar\\qc \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\rin0\\lin0\\itap0 "
        "\\rtlch\\fcs1 "
        "\\af1\\afs32 \\ltrch\\fcs0 \\b\\f1\\fs32\\insrsid123 Greatest Hits\\par \\pard\\plain "
        "\\ltrpar\\ql \\li360\\ri0\\widctlpar\\tqr\\tx5000\\rin0\\lin360\\itap0 \\rtlch\\fcs1 "
        "\\af0\\afs24 \\ltrch\\fcs0 \\f0\\fs24 1. Intro\\tab 3:12\\par 2. {\\cf2 R\\'e9d}  "
        "Song\\tab 4:01\\par }";
    EXPECT_EQ(
        describe(*read(rtf)).toStdString(),
        "center sa=13.3 sl=115.0/1: [Greatest Hits]{Arial,16.0pt,b}\n"
        "left li=24.0 tab=333.3/1: [1. Intro\t3:12]{Times New Roman,12.0pt}\n"
        "left li=24.0 tab=333.3/1: [2. ]{Times New Roman,12.0pt} "
        "[R\u00e9d]{Times New Roman,12.0pt,fg#ff0000} [  Song\t4:01]{Times New Roman,12.0pt}");
}

TEST(RtfReaderOtherPrograms, WordPadStyle) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil"
        "\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset238 Calibri;}}\r\n{\\colortbl ;\\red0\\green77"
        "\\blue187;}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\sa200"
        "\\sl276\\slmult1\\cf1\\b\\f0\\fs22\\lang9 Track \\cf0\\b0\\i one\\i0\\par\r\n\\f1 "
        "Dvo\\'f8\\'e1k\\f0\\lang1029\\par\r\n}\r\n\0";
    EXPECT_EQ(
        describe(*read(rtf)).toStdString(),
        "left sa=13.3 sl=115.0/1: [Track ]{Calibri,11.0pt,b,fg#004dbb} [one]{Calibri,11.0pt,i}\n"
        "left sa=13.3 sl=115.0/1: [Dvo\u0159\u00e1k]{Calibri,11.0pt}");
}

TEST(RtfReaderOtherPrograms, TextEditStyle) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\cocoartf2639\n\\cocoatextscaling0\\cocoaplatform0{\\fonttbl"
        "\\f0\\fswiss\\fcharset0 Helvetica;\\f1\\fswiss\\fcharset0 Helvetica-Bold;}\n{\\colortbl;"
        "\\red255\\green255\\blue255;\\red251\\green0\\blue7;}\n{\\*\\expandedcolortbl;;\\cssrgb"
        "\\c100000\\c0\\c0;}\n\\paperw11900\\paperh16840\\margl1440\\margr1440\\vieww11520"
        "\\viewh8400\\viewkind0\n\\pard\\tx566\\tx1133\\pardirnatural\\qc\\partightenfactor0\n\n"
        "\\f1\\b\\fs28 \\cf0 Caf\\'e9 Songs\\\n\\pard\\tx566\\pardirnatural\\partightenfactor0\n\n"
        "\\f0\\b0\\fs24 \\cf2 One\\cf0 \t\\uc0\\u8364 2\\\n}";
    EXPECT_EQ(describe(*read(rtf)).toStdString(),
              "center tab=37.7/0 tab=75.5/0: [Caf\u00e9 Songs]{Helvetica-Bold,14.0pt,b}\n"
              "left tab=37.7/0: [One]{Helvetica,12.0pt,fg#fb0007} [\t\u20ac2]{Helvetica,12.0pt}");
}

} // namespace
