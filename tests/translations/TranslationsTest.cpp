// The Dutch texts: every text the code passes through tr() or translate() has its finished Dutch
// form in translations/sleevix_nl.ts, the built-in translations say exactly what that file says,
// and a text handed to a control without translation is one that reads the same in both
// languages. A Dutch user must never meet an English text by accident.
#include "common/TestEnv.h"
#include "controls/ColourButton.h"
#include "dialogs/TextInputDialog.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

// Texts that read the same in Dutch and English, and so are shown without translation.
const QSet<QString> SameInBothLanguages = {
    QStringLiteral("OK"),
    QStringLiteral("Help"),
    QStringLiteral("Mail"),
    QStringLiteral("Home"),
    QStringLiteral("&Instellingen"),
    QStringLiteral("Printer:"),
    QStringLiteral(" Update "),
    QStringLiteral("Deze tekst komt op de Splines"),
    QStringLiteral(" - Tekst achterkant"),
    QStringLiteral("Informatie"),
    QStringLiteral("Toon auteur"),
    // The first captions of the question and input windows, replaced before they show.
    QStringLiteral("YesNoDlg"),
    QStringLiteral("BrowseForm"),
    // The browse dialog's OK button and file count read so in both languages.
    QStringLiteral("Ok"),
    QStringLiteral("  %1 bestanden"),
    QStringLiteral("AskDlg"),
    QStringLiteral("Ja"),
    QStringLiteral("Nee"),
    QStringLiteral("Annuleren"),
    // The update window's captions that the program has always shown in both languages.
    QStringLiteral("Download nu"),
    QStringLiteral("Download later"),
    QStringLiteral("Download Later"),
    QStringLiteral(" - Update"),
};

struct Message {
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty for a finished translation

    QString key() const { return context + QLatin1Char('|') + source + QLatin1Char('|') + comment; }
};

// The text of the element the reader stands on, with the characters that XML cannot hold
// (<byte value="xd"/>) put back.
QString elementText(QXmlStreamReader& xml) {
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == QLatin1String("byte")) {
                // "xd": a character by its hexadecimal number
                const QString value = xml.attributes().value(QLatin1String("value")).toString();
                text += QChar(value.mid(value.startsWith(u'x') ? 1 : 0).toUInt(nullptr, 16));
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return text;
}

QList<Message> readTs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    QList<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            Message m;
            m.context = context;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    m.source = elementText(xml);
                } else if (xml.name() == QLatin1String("comment")) {
                    m.comment = elementText(xml);
                } else if (xml.name() == QLatin1String("translation")) {
                    m.type = xml.attributes().value(QLatin1String("type")).toString();
                    m.translation = elementText(xml);
                } else {
                    xml.skipCurrentElement();
                }
            }
            messages << m;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

QString committedTs() {
    return testenv::sourcePath(QStringLiteral("translations/sleevix_nl.ts"));
}

// The texts lupdate finds in src/ now.
QList<Message> extractedTexts() {
    const QString ts = testenv::freshFolder(QStringLiteral("lupdate")) + "/extracted_nl.ts";
    QProcess lupdate;
    lupdate.start(QStringLiteral(SLEEVIX_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-target-language"), QStringLiteral("nl_NL"),
                   testenv::sourcePath(QStringLiteral("src")), QStringLiteral("-ts"), ts});
    if (!lupdate.waitForFinished(120000) || lupdate.exitCode() != 0) {
        ADD_FAILURE() << "lupdate failed: " << lupdate.readAllStandardError().toStdString();
        return {};
    }
    return readTs(ts);
}

// "%1", "%2", ... in a text, in order of their number.
QStringList placeholders(const QString& text) {
    QStringList found;
    static const QRegularExpression number(QStringLiteral("%\\d+"));
    for (const QRegularExpressionMatch& m : number.globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

std::string describe(const Message& m) {
    return (m.context + QStringLiteral(": \"") + m.source + QLatin1Char('"')).toStdString();
}

TEST(Translations, EveryTextInTheCodeHasItsFinishedDutchText) {
    const QList<Message> extracted = extractedTexts();
    ASSERT_GT(extracted.size(), 50) << "lupdate found hardly any text in src/";
    QHash<QString, Message> committed;
    for (const Message& m : readTs(committedTs()))
        committed.insert(m.key(), m);

    QSet<QString> inCode;
    for (const Message& m : extracted) {
        inCode.insert(m.key());
        const auto it = committed.constFind(m.key());
        if (it == committed.cend()) {
            ADD_FAILURE() << "no Dutch text for " << describe(m);
            continue;
        }
        EXPECT_TRUE(it->type.isEmpty())
            << describe(m) << " is " << it->type.toStdString() << " in the .ts";
        EXPECT_FALSE(it->translation.isEmpty()) << "empty Dutch text for " << describe(m);
        if (it->translation == m.source) {
            EXPECT_TRUE(SameInBothLanguages.contains(m.source))
                << describe(m) << " is left English: translate it or list it as the same in "
                << "both languages";
        }
        EXPECT_EQ(placeholders(it->translation), placeholders(m.source))
            << "the Dutch text of " << describe(m) << " loses or adds a %-number";
    }
    // An entry the code no longer uses would hide a text whose English was changed.
    for (const Message& m : std::as_const(committed))
        EXPECT_TRUE(inCode.contains(m.key())) << describe(m) << " is no longer in the code";
}

// What `cmake --build … --target update_translations` would do, done on a copy of the .ts: lupdate
// with the build's options must find nothing to add (a text without its Dutch), nothing left
// unfinished and nothing to drop.
TEST(Translations, UpdatingACopyOfTheTsChangesNothing) {
    const QString copy = testenv::freshFolder(QStringLiteral("lupdate-copy")) + "/sleevix_nl.ts";
    ASSERT_TRUE(QFile::copy(committedTs(), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.start(QStringLiteral(SLEEVIX_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-no-obsolete"), testenv::sourcePath(QStringLiteral("src")),
                   QStringLiteral("-ts"), copy});
    ASSERT_TRUE(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0)
        << "lupdate failed or took over two minutes: "
        << lupdate.readAllStandardError().toStdString();
    const QList<Message> committed = readTs(committedTs());
    const QList<Message> updated = readTs(copy);
    QStringList unfinished;
    for (const Message& m : updated)
        if (!m.type.isEmpty() || m.translation.isEmpty())
            unfinished << QString::fromStdString(describe(m));
    EXPECT_EQ(unfinished.size(), 0) << "unfinished or missing Dutch texts:\n"
                                    << unfinished.join(u'\n').toStdString();
    EXPECT_EQ(updated.size(), committed.size()) << "texts the code no longer has, or new ones";
}

// Each text the code hands straight to a control (caption, button, label, hint) without
// translation must be one that reads the same in both languages.
TEST(Translations, UntranslatedControlTextsReadTheSameInBothLanguages) {
    static const QRegularExpression call(QStringLiteral(
        "\\b(?:setText|setWindowTitle|setToolTip|setTitle|setNameFilter|setPlaceholderText|"
        "setStatusTip|setWhatsThis|setLabelText)\\s*\\(|"
        "\\bnew\\s+(?:ColourButton|QPushButton|QLabel|QCheckBox|QGroupBox|QRadioButton)\\s*\\("));
    static const QRegularExpression literal(
        QStringLiteral("(?:QStringLiteral|QLatin1String|QString::fromUtf8|QString::fromLatin1)"
                       "\\(\\s*\"((?:[^\"\\\\]|\\\\.)*)\"\\s*\\)"));
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    int calls = 0;
    QDirIterator files(testenv::sourcePath(QStringLiteral("src")), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString code = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : call.globalMatch(code)) {
            ++calls;
            // The arguments, up to the parenthesis that closes the call.
            qsizetype end = m.capturedEnd();
            for (int depth = 1; end < code.size() && depth > 0; ++end)
                depth += code[end] == u'(' ? 1 : code[end] == u')' ? -1 : 0;
            const QString arguments = code.mid(m.capturedEnd(), end - m.capturedEnd());
            for (const QRegularExpressionMatch& text : literal.globalMatch(arguments)) {
                QString shown = text.captured(1);
                shown.replace(QStringLiteral("\\\""), QStringLiteral("\""));
                if (shown.contains(letter)) {
                    EXPECT_TRUE(SameInBothLanguages.contains(shown))
                        << path.mid(path.lastIndexOf(u'/') + 1).toStdString() << ": \""
                        << shown.toStdString() << "\" goes to a control untranslated";
                }
            }
        }
    }
    EXPECT_GT(calls, 50) << "the scan found hardly any control texts in src/";
}

// What the program loads is what the .ts says: each Dutch text comes out of the built-in
// translations exactly, and English speakers get the text in the code.
TEST(Translations, BuiltInDutchTextsAreThoseOfTheTsFile) {
    const QList<Message> messages = readTs(committedTs());
    ASSERT_FALSE(messages.isEmpty());
    testenv::useLanguage(QStringLiteral("NLD"));
    for (const Message& m : messages)
        EXPECT_EQ(QCoreApplication::translate(qPrintable(m.context), m.source.toUtf8().constData(),
                                              m.comment.isEmpty() ? nullptr
                                                                  : m.comment.toUtf8().constData())
                      .toStdString(),
                  m.translation.toStdString())
            << describe(m);
    testenv::useLanguage(QStringLiteral("ENU"));
    for (const Message& m : messages)
        EXPECT_EQ(QCoreApplication::translate(qPrintable(m.context), m.source.toUtf8().constData(),
                                              m.comment.isEmpty() ? nullptr
                                                                  : m.comment.toUtf8().constData())
                      .toStdString(),
                  m.source.toStdString())
            << describe(m);
}

TEST(Translations, InputWindowCancelsInTheUsersLanguage) {
    testenv::useLanguage(QStringLiteral("NLD"));
    TextInputDialog dutch;
    EXPECT_EQ(dutch.cancelButton->text(), "Annuleren");
    EXPECT_EQ(dutch.okButton->text(), "OK");
    testenv::useLanguage(QStringLiteral("ENU"));
    TextInputDialog english;
    EXPECT_EQ(english.cancelButton->text(), "Cancel");
    EXPECT_EQ(english.okButton->text(), "OK");
}

} // namespace
