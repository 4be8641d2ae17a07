// The RTF writer: what it writes for text and formatting, that reading its output gives the same
// document and writing that again the same bytes, and every failure of the device it writes to.
#include "rtf/RtfWriter.h"
#include "rtf/RtfTestUtil.h"

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using rtftest::describe;
using rtftest::read;
using rtftest::text;

namespace {

// A track list as the editor holds it: its default font Arial 17 px, a centred bold title,
// a colour, tabs with a right tab stop, non-ASCII text and a picture.
std::unique_ptr<QTextDocument> trackList() {
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    doc->setDefaultFont(font);
    QTextCursor c(doc.get());
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(8);
    c.setBlockFormat(title);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(16);
    c.insertText(QStringLiteral("Dvořák – Symphonies {live}"), bold);

    QTextBlockFormat track;
    track.setLeftMargin(24);
    track.setTextIndent(-12);
    track.setLineHeight(115, QTextBlockFormat::ProportionalHeight);
    QTextOption::Tab right(333.0, QTextOption::RightTab);
    track.setTabPositions({right});
    c.insertBlock(track, QTextCharFormat());
    c.insertText(QStringLiteral("1. Allegro\t"));
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontItalic(true);
    c.insertText(QStringLiteral("12:05"), red);
    c.insertBlock(track, QTextCharFormat());
    QTextCharFormat mono;
    mono.setFontFamilies({QStringLiteral("Courier New")});
    mono.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    mono.setBackground(QColor(255, 255, 0));
    c.insertText(QStringLiteral("2. Чайковский \\ 日本 \U0001F3B5"), mono);
    c.insertText(QString(QChar(QChar::LineSeparator)) + "next line\u00A0end");
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    doc->addResource(QTextDocument::ImageResource, QUrl("pic://1"), image);
    QTextImageFormat pic;
    pic.setName("pic://1");
    pic.setWidth(12);
    pic.setHeight(8);
    c.insertImage(pic);
    QTextCharFormat strike;
    strike.setFontStrikeOut(true);
    strike.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText("x", strike);
    return doc;
}

TEST(RtfWriter, WritesTheHeaderAndTablesWordProcessorsExpect) {
    const QByteArray rtf = RtfWriter::toRtf(trackList().get());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1")) << rtf.left(60).data();
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 "
                             "Courier New;}}"))
        << rtf.data();
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}"))
        << rtf.data();
    EXPECT_TRUE(rtf.trimmed().endsWith("}"));
}

struct Piece {
    const char* name;
    QString text;
    QByteArray rtf;
};

void PrintTo(const Piece& p, std::ostream* os) {
    *os << p.name;
}

class RtfWriterText : public ::testing::TestWithParam<Piece> {};

TEST_P(RtfWriterText, WritesCharactersAsRtf) {
    QTextDocument doc;
    doc.setPlainText(GetParam().text);
    const QByteArray rtf = RtfWriter::toRtf(&doc);
    EXPECT_TRUE(rtf.contains(GetParam().rtf)) << rtf.data();
    EXPECT_EQ(text(*read(rtf)), GetParam().text);
}

const Piece pieces[] = {
    {"Ascii", "Track 1", " Track 1\\par"},
    {"Latin", "Caf\u00e9", "Caf\\u233\\'3f"},
    {"Euro", "\u20ac", "\\u8364\\'3f"},
    {"AboveSignedRange", "\uff21", "\\u-223\\'3f"},
    {"Emoji", "\U0001F3B5", "\\u-10180\\'3f\\u-8267\\'3f"},
    {"Tab", "a\tb", "a\\tab b"},
    {"Braces", "{x}\\", "\\{x\\}\\\\"},
    {"NoBreakSpace", "a\u00a0b", "a\\~b"},
    {"Paragraphs", "a\nb", "a\\par\r\n\\pard\\plain\\f0"},
};

INSTANTIATE_TEST_SUITE_P(Writer, RtfWriterText, ::testing::ValuesIn(pieces),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfWriter, ReadingTheOutputGivesTheSameDocument) {
    const auto original = trackList();
    const QByteArray rtf = RtfWriter::toRtf(original.get());
    const auto again = read(rtf);
    EXPECT_EQ(text(*again), text(*original));
    // The runs of the two documents: the same text, weights, colours, alignment, indents, tabs.
    const QString described = describe(*again);
    EXPECT_TRUE(described.startsWith("center sa=8.0: [Dvořák – Symphonies {live}]{Arial,16.0pt,b}"))
        << qPrintable(described);
    EXPECT_TRUE(
        described.contains("left li=24.0 fi=-12.0 sl=115.0/1 tab=333.0/1: "
                           "[1. Allegro\t]{Arial,13.0pt} [12:05]{Arial,13.0pt,i,fg#ff0000}"))
        << qPrintable(described);
    EXPECT_TRUE(described.contains("{Courier New,13.0pt,u1,bg#ffff00}")) << qPrintable(described);
    EXPECT_TRUE(described.contains("[\uFFFC]{image 12.0x8.0} [x]{Arial,13.0pt,s,super}"))
        << qPrintable(described);
}

TEST(RtfWriter, WriteReadWriteIsAFixedPoint) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    const QByteArray first = RtfWriter::toRtf(trackList().get());
    auto doc = read(first);
    doc->setDefaultFont(font);
    const QByteArray second = RtfWriter::toRtf(doc.get());
    EXPECT_EQ(second.toStdString(), first.toStdString());
}

TEST(RtfWriter, PictureSurvivesAsPng) {
    const auto doc = read(RtfWriter::toRtf(trackList().get()));
    QImage found;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                found = doc->resource(QTextDocument::ImageResource,
                                      QUrl(it.fragment().charFormat().toImageFormat().name()))
                            .value<QImage>();
    ASSERT_EQ(found.size(), QSize(6, 4));
    EXPECT_EQ(found.pixel(3, 2), qRgb(0, 0, 255));
}

TEST(RtfWriter, EmptyDocumentIsValidRtf) {
    QTextDocument doc;
    const QByteArray rtf = RtfWriter::toRtf(&doc);
    EXPECT_TRUE(RtfReader::looksLikeRtf(rtf));
    EXPECT_EQ(text(*read(rtf)), "");
}

// The device takes only so many bytes: every cut must end in the error, never in silence.
TEST(RtfWriter, FailingDeviceGivesFailedToSaveStream) {
    auto doc = trackList();
    QTextCursor c(doc.get());
    c.movePosition(QTextCursor::End);
    for (int i = 0; i < 3000; ++i)
        c.insertText(QStringLiteral("%1. A long song title with some words\n").arg(i));
    const QByteArray whole = RtfWriter::toRtf(doc.get());
    ASSERT_GT(whole.size(), 3 * 64 * 1024);
    for (qint64 failAfter : {qint64(0), qint64(1), qint64(100), qint64(65536), qint64(100000),
                             qint64(whole.size() - 1)}) {
        rtftest::FailDevice device(failAfter);
        device.open(QIODevice::WriteOnly);
        try {
            RtfWriter::write(doc.get(), &device);
            ADD_FAILURE() << "no error with a device that fails after " << failAfter;
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), "Failed to Save Stream");
        }
    }
    rtftest::FailDevice enough(whole.size());
    enough.open(QIODevice::WriteOnly);
    RtfWriter::write(doc.get(), &enough);
    EXPECT_EQ(enough.data(), whole);
}

TEST(RtfWriter, DeviceNotOpenForWritingGivesFailedToSaveStream) {
    QTextDocument doc;
    QBuffer device;
    device.open(QIODevice::ReadOnly);
    EXPECT_THROW(RtfWriter::write(&doc, &device), AppError);
}

} // namespace
