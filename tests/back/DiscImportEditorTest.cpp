// Importing an audio CD into the back-cover editor: the release the user picks is laid out (one
// undo takes it back); without MusicBrainz the CD-Text, or the times alone when the user agrees;
// no disc, a declined question or a Cancel leave the list as it was.
#include "back/BackTextEditor.h"
#include "back/DiscImport.h"
#include "back/EditorFixture.h"
#include "back/RichTextEdit.h"
#include "common/MusicBrainzTestServer.h"
#include "common/TestEnv.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "platform/AppError.h"

#include <QDir>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString KnownDisc = QStringLiteral("1 3 45075 150 15000 30000");   // two releases
const QString UnknownDisc = QStringLiteral("1 3 45150 150 15000 30000"); // 404
const QString StalledDisc = QStringLiteral("1 3 45375 150 15000 30000");

class StandInReader : public DiscReader {
public:
    explicit StandInReader(std::function<DiscContents()> read) : read_(std::move(read)) {}
    DiscContents read() override { return read_(); }

private:
    std::function<DiscContents()> read_;
};

class DiscImportEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        makeEditor(QStringLiteral("discimport"));
        back_->editor->setPlainText(QStringLiteral("kept"));
        DiscImport& disc = *back_->discImport;
        disc.useServer(server_.server(60000));
        disc.askYesNo = [this](const QString& question) {
            said_ << question;
            return answer_;
        };
        disc.tell = [this](const QString& message) { said_ << message; };
        disc.chooseRelease = [this](const QList<DiscRelease>& releases) {
            said_ << QStringLiteral("choose from %1").arg(releases.size());
            return choice_;
        };
    }

    void readDisc(const QString& toc, const CdText& cdText = {}) {
        back_->discImport->makeReader = [toc, cdText] {
            return std::make_unique<StandInReader>([toc, cdText] {
                return DiscContents{DiscToc::fromString(toc), cdText};
            });
        };
    }

    MusicBrainzTestServer server_{{{KnownDisc, QStringLiteral("two-releases.xml")},
                                   {UnknownDisc, QStringLiteral("404")},
                                   {StalledDisc, QStringLiteral("stall")}}};
    QStringList said_;
    bool answer_ = false;
    int choice_ = 1;
};

TEST_F(DiscImportEditorTest, TheChosenReleaseIsLaidOutAndOneUndoTakesItBack) {
    readDisc(KnownDisc);
    back_->importDisc();
    EXPECT_EQ(said_, QStringList{QStringLiteral("choose from 2")});
    const QString laidOut = back_->editor->toPlainText();
    EXPECT_TRUE(laidOut.startsWith(
        QStringLiteral("Various Artists \u2013 Zomerhits: De Collectie (disc 2 of 2) (2010)\n"
                       "1.\tStrand \u2013 Clouseau\t3:18\n")))
        << qPrintable(laidOut);
    back_->editor->undo();
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("kept"));

    choice_ = -1; // the choice cancelled
    back_->importDisc();
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("kept"));
}

TEST_F(DiscImportEditorTest, WithoutAnAnswerTheDiscItselfGivesTheListOrNothingChanges) {
    const CdText cdText{
        QStringLiteral("Blue"),
        QStringLiteral("Nina"),
        {QStringLiteral("Morning"), QStringLiteral("Noon"), QStringLiteral("Night")},
        {}};
    const QString notKnown = QStringLiteral("MusicBrainz does not know this disc.");
    const struct {
        std::function<void()> setUp;
        bool answer;
        QString said;     // what the user was told or asked, the first words
        QString error;    // the error shown instead
        QString listHead; // the list afterwards, its start
    } rows[] = {
        {[&] { readDisc(UnknownDisc, cdText); },
         false,
         notKnown + " The titles come from the disc's CD-Text.",
         {},
         "Nina \u2013 Blue\n1.\tMorning\t3:18"},
        {[&] { readDisc(UnknownDisc); },
         false,
         notKnown + " The disc has no CD-Text either.",
         {},
         "kept"},
        {[&] { readDisc(UnknownDisc); }, true, notKnown, {}, "1.\tTrack 1\t3:18\n2.\tTrack 2"},
        {[&] {
             back_->discImport->makeReader = [] {
                 return std::make_unique<StandInReader>([]() -> DiscContents {
                     throw AppError(QStringLiteral("There is no disc in the CD drive /dev/sr0."));
                 });
             };
         },
         false,
         {},
         "There is no disc in the CD drive /dev/sr0.",
         "kept"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.listHead.toStdString());
        back_->editor->setPlainText(QStringLiteral("kept"));
        said_.clear();
        answer_ = row.answer;
        row.setUp();
        EXPECT_EQ(testenv::errorOf([&] { back_->importDisc(); }).toStdString(),
                  row.error.toStdString());
        EXPECT_EQ(said_.size(), row.said.isEmpty() ? 0 : 1);
        EXPECT_TRUE(said_.value(0).startsWith(row.said)) << qPrintable(said_.value(0));
        EXPECT_TRUE(back_->editor->toPlainText().startsWith(row.listHead))
            << qPrintable(back_->editor->toPlainText());
    }
}

TEST_F(DiscImportEditorTest, CancelWhileTheServerStallsChangesNothing) {
    readDisc(StalledDisc);
    QTimer press;
    press.setInterval(100);
    QObject::connect(&press, &QTimer::timeout, back_.get(), [this] {
        if (auto* progress = back_->findChild<QProgressDialog*>())
            progress->cancel();
    });
    press.start();
    back_->importDisc();
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("kept"));
    EXPECT_TRUE(said_.isEmpty());
}

} // namespace
