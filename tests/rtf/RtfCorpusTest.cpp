// The reader against RTF files written by other programs: the shared corpus (Word, WordPad,
// RichTextEdit, WPTools, Outlook, TextEdit…) with the text LibreOffice extracts from each, and the
// files LibreOffice wrote in tests/data/rtf (made by tests/data/make-rtf-data.sh).
#include "common/TestEnv.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfTestUtil.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

struct CorpusCase {
    QString file;     // below files/
    QString expected; // below expected/
};

std::vector<CorpusCase> corpusCases() {
    std::vector<CorpusCase> cases;
    const QString folder = testenv::rtfCorpusFolder();
    if (folder.isEmpty())
        return cases;
    QFile manifest(folder + "/MANIFEST.tsv");
    if (!manifest.open(QIODevice::ReadOnly))
        return cases;
    manifest.readLine(); // column names
    while (!manifest.atEnd()) {
        const QStringList cols = QString::fromUtf8(manifest.readLine()).trimmed().split('\t');
        if (cols.size() >= 4 && cols[0].endsWith(".rtf"))
            cases.push_back({cols[0], cols[3]});
    }
    return cases;
}

// The corpus' own rule: white space runs collapsed, NFC, no-break spaces as spaces.
QString normalised(QString s) {
    s.replace(QChar(0x00A0), u' ');
    s.remove(QChar(0xFFFC)); // pictures have no text
    s = s.normalized(QString::NormalizationForm_C);
    return s.simplified();
}

// Where the reference readers are known to differ from each other (the corpus' MANIFEST notes).
void applyKnownDifferences(const QString& file, QString& ours, QString& expected) {
    if (file.contains("invalid_surrogates")) {
        // LibreOffice writes "?" for an unpaired surrogate and eats the blank after a high one.
        ours.replace(QChar(0xFFFD), u'?');
        ours.remove(u' ');
        expected.remove(u' ');
    }
    if (file.contains("wptools_hyperlink")) {
        // \'94 in a DEFAULT_CHARSET font: LibreOffice gives U+FFFD, the code page gives ”.
        expected.replace(QChar(0xFFFD), QChar(0x201D));
    }
}

class RtfCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(RtfCorpus, ReadsTheTextLibreOfficeReads) {
    const CorpusCase c = GetParam();
    const QString folder = testenv::rtfCorpusFolder();
    QFile rtf(folder + "/" + c.file);
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly)) << qPrintable(c.file);
    QFile txt(folder + "/" + c.expected);
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly)) << qPrintable(c.expected);

    QTextDocument doc;
    RtfReader::read(&rtf, &doc);
    QString ours = normalised(doc.toPlainText());
    QString expected = normalised(QString::fromUtf8(txt.readAll()));
    applyKnownDifferences(c.file, ours, expected);
    EXPECT_EQ(ours.toStdString(), expected.toStdString()) << qPrintable(c.file);
}

std::string caseName(const ::testing::TestParamInfo<CorpusCase>& info) {
    QString name = info.param.file.section('/', -1).section('.', 0, 0);
    for (QChar& ch : name)
        if (!ch.isLetterOrNumber())
            ch = u'_';
    return name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, RtfCorpus, ::testing::ValuesIn(corpusCases()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RtfCorpus);

TEST(RtfCorpusFolder, IsThere) {
    if (testenv::rtfCorpusFolder().isEmpty())
        GTEST_SKIP() << "the shared RTF corpus (../shared/rtf-corpus beside the source tree) is "
                        "absent; its files are not part of the project";
    EXPECT_EQ(corpusCases().size(), 16u);
}

} // namespace
