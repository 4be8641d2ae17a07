// RTF and LibreOffice Writer, both ways: files LibreOffice wrote (tests/data/rtf, made by
// tests/data/make-rtf-data.sh) read with their text and formatting, and what Sleevix writes opened
// by LibreOffice with the same text and formatting (skipped when LibreOffice is not installed).
#include "common/TestEnv.h"
#include "rtf/RtfTestUtil.h"
#include "rtf/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextCursor>
#include <gtest/gtest.h>

using rtftest::describe;
using rtftest::read;

namespace {

QByteArray dataFile(const QString& name) {
    QFile file(testenv::sourcePath("tests/data/rtf/" + name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString normalised(QString s) {
    s.remove(QChar(0xFEFF));
    s.replace(QChar(0x00A0), u' ');
    s.remove(QChar(0xFFFC));
    return s.normalized(QString::NormalizationForm_C).simplified();
}

struct LoFile {
    const char* name;
    const char* described; // rtftest::describe of the document read
};

void PrintTo(const LoFile& f, std::ostream* os) {
    *os << f.name;
}

class RtfFromLibreOffice : public ::testing::TestWithParam<LoFile> {};

TEST_P(RtfFromLibreOffice, ReadsTextAndFormatting) {
    const QString name = QString::fromLatin1(GetParam().name);
    const QByteArray rtf = dataFile(name + ".rtf");
    ASSERT_FALSE(rtf.isEmpty()) << "missing tests/data/rtf/" << GetParam().name << ".rtf";
    const auto doc = read(rtf);
    EXPECT_EQ(normalised(doc->toPlainText()).toStdString(),
              normalised(QString::fromUtf8(dataFile(name + ".txt"))).toStdString());
    EXPECT_EQ(describe(*doc).toStdString(), std::string(GetParam().described));
}

const LoFile loFiles[] = {
    {"lo-tracklist", "center sa=9.3 sl=115.0/1: [Dvořák – Greatest Hits]{Arial,16.0pt,b}\n"
                     "left sa=9.3 sl=115.0/1: [1. Slavonic Dance No. 1 ]{Arial,12.0pt} "
                     "[(live)]{Arial,12.0pt,fg#ff0000} [ 3:12]{Arial,12.0pt}\n"
                     "left sa=9.3 sl=115.0/1: [2. ]{Arial,12.0pt} [Humoresque]{Arial,12.0pt,i} "
                     "[ in G♭ 4:01]{Arial,12.0pt}\n"
                     "left sa=9.3 sl=115.0/1: [3. ]{Arial,12.0pt} [Rusalka]{Arial,12.0pt,u1} "
                     "[: Song to the Moon 5:47]{Arial,12.0pt}\n"
                     "left sa=9.3 sl=115.0/1: [4. Zażółć gęślą jaźń – Œuvre 2:30]{Arial,12.0pt}"},
    {"lo-scripts", "left sa=9.3 sl=115.0/1: [Чайковский — Лебединое озеро]{DejaVu Sans,11.0pt}\n"
                   "left sa=9.3 sl=115.0/1: [Ελληνικά: Θεοδωράκης]{DejaVu Sans,11.0pt}\n"
                   "left sa=9.3 sl=115.0/1: [日本語のトラック「こんにちは」]{DejaVu Sans,11.0pt}\n"
                   "left sa=9.3 sl=115.0/1: [中文曲目：你好世界]{DejaVu Sans,11.0pt}\n"
                   "left sa=9.3 sl=115.0/1: [Emoji 🎵 and € £ ¥]{DejaVu Sans,11.0pt}"},
    {"lo-formatting",
     "left sa=9.3 sl=115.0/1: [small ]{Liberation Serif,10.0pt} [big]{Liberation Serif,20.0pt} "
     "[ ]{Liberation Serif,10.0pt} [struck]{Liberation Serif,10.0pt,s} "
     "[ x]{Liberation Serif,10.0pt} [2]{Liberation Serif,10.0pt,super} "
     "[ H]{Liberation Serif,10.0pt} [2]{Liberation Serif,10.0pt,sub} [O]{Liberation Serif,10.0pt}\n"
     "right sa=9.3 sl=115.0/1: [marked]{Liberation Serif,12.0pt,bg#ffff00} "
     "[ right]{Liberation Serif,12.0pt}\n"
     "justify li=96.0 sa=9.3 sl=115.0/1: [indented justified text {with braces} and a "
     "back\\slash]{Liberation Serif,12.0pt}\n"
     "left sa=9.3 sl=115.0/1: [bold italic]{Liberation Mono,12.0pt,b,i} "
     "[ ]{Liberation Mono,12.0pt} [blue]{Liberation Mono,12.0pt,fg#0000ff}"},
};

INSTANTIATE_TEST_SUITE_P(DataFiles, RtfFromLibreOffice, ::testing::ValuesIn(loFiles),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// ---------------------------------------------------------------------------------------------
// What Sleevix writes, opened by LibreOffice.

class LibreOffice {
public:
    LibreOffice() : program_(QStandardPaths::findExecutable("soffice")) {
        profile_ = testenv::freshFolder("lo-profile");
    }
    bool available() const { return !program_.isEmpty(); }

    // Converts a file with LibreOffice; returns the path of the result, empty on failure.
    QString convert(const QString& file, const QString& format, const QString& extension) {
        const QString out = testenv::freshFolder("lo-out");
        QProcess p;
        p.start(program_, {"-env:UserInstallation=file://" + profile_, "--headless", "--convert-to",
                           format, "--outdir", out, file});
        if (!p.waitForFinished(180000) || p.exitCode() != 0)
            return {};
        const QString result = out + "/" + QFileInfo(file).completeBaseName() + "." + extension;
        return QFileInfo::exists(result) ? result : QString();
    }

private:
    QString program_;
    QString profile_;
};

std::unique_ptr<QTextDocument> typedTrackList() {
    auto doc = std::make_unique<QTextDocument>();
    QFont font("Arial");
    font.setPixelSize(17);
    doc->setDefaultFont(font);
    QTextCursor c(doc.get());
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centre);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("Smetana – Má vlast", bold);
    QTextBlockFormat tracks;
    tracks.setTabPositions({QTextOption::Tab(300, QTextOption::RightTab)});
    c.insertBlock(tracks, QTextCharFormat());
    c.insertText("1. Vyšehrad\t");
    QTextCharFormat red;
    red.setForeground(QColor(200, 0, 0));
    c.insertText("14:52", red);
    c.insertBlock(tracks, QTextCharFormat());
    QTextCharFormat italic;
    italic.setFontItalic(true);
    c.insertText("2. Vltava", italic);
    c.insertText("\t12:10 – Молдау 日本", QTextCharFormat());
    return doc;
}

TEST(RtfToLibreOffice, OpensWithTheSameTextAndFormatting) {
    LibreOffice lo;
    if (!lo.available())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; "
                        "apt-get install libreoffice-writer-nogui to run this test";
    const auto doc = typedTrackList();
    const QString folder = testenv::freshFolder("lo-in");
    QFile file(folder + "/Back.rtf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    RtfWriter::write(doc.get(), &file);
    file.close();

    // The text, as LibreOffice extracts it.
    const QString txt = lo.convert(file.fileName(), "txt:Text (encoded):UTF8", "txt");
    ASSERT_FALSE(txt.isEmpty()) << "LibreOffice could not convert the file to text";
    QFile txtFile(txt);
    ASSERT_TRUE(txtFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(normalised(QString::fromUtf8(txtFile.readAll())).toStdString(),
              normalised(doc->toPlainText()).toStdString());

    // Through LibreOffice's own format and back to RTF: the formatting is still there.
    const QString odt = lo.convert(file.fileName(), "odt", "odt");
    ASSERT_FALSE(odt.isEmpty());
    const QString back = lo.convert(odt, "rtf", "rtf");
    ASSERT_FALSE(back.isEmpty());
    QFile backFile(back);
    ASSERT_TRUE(backFile.open(QIODevice::ReadOnly));
    const auto again = read(backFile.readAll());
    const QString described = describe(*again);
    EXPECT_TRUE(described.startsWith("center")) << qPrintable(described);
    EXPECT_TRUE(described.contains("[Smetana – Má vlast]{Arial,13.0pt,b}"))
        << qPrintable(described);
    EXPECT_TRUE(described.contains("tab=300.0/1")) << qPrintable(described);
    EXPECT_TRUE(described.contains("[14:52]{Arial,13.0pt,fg#c80000}")) << qPrintable(described);
    EXPECT_TRUE(described.contains("[2. Vltava]{Arial,13.0pt,i}")) << qPrintable(described);
    EXPECT_EQ(normalised(again->toPlainText()).toStdString(),
              normalised(doc->toPlainText()).toStdString());
}

} // namespace
