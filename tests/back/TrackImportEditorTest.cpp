// Importing a track list into the back-cover editor: it replaces the list as one undo step, asks
// before it replaces unsaved changes, offers the album's picture for the front, and a Cancel
// while the files are read changes nothing.
#include "app/MainWindow.h"
#include "back/BackTextEditor.h"
#include "back/EditorFixture.h"
#include "back/RichTextEdit.h"
#include "common/TestEnv.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TrackImportEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        makeEditor(QStringLiteral("trackimport"));
        back_->askYesNo = [this](const QString& question) {
            questions_ << question;
            return answers_.isEmpty() ? false : answers_.takeFirst();
        };
        folder_ = testenv::freshFolder(QStringLiteral("music"));
    }

    QString cueSheet() {
        return testenv::writeFile(folder_ + QStringLiteral("/album.cue"),
                                  "PERFORMER \"Nina\"\nTITLE \"Blue\"\nFILE \"a.wav\" WAVE\n"
                                  "TRACK 01 AUDIO\nTITLE \"Morning\"\nINDEX 01 00:00:00\n"
                                  "TRACK 02 AUDIO\nTITLE \"Evening\"\nINDEX 01 03:10:00\n");
    }

    QString folder_;
    QStringList questions_;
    QList<bool> answers_;
};

TEST_F(TrackImportEditorTest, AsksBeforeReplacingChangesAndUndoesInOneStep) {
    back_->editor->setPlainText(QStringLiteral("my own list"));
    back_->editor->document()->setModified(true);
    ws_->setUnsavedChanges(true);

    answers_ = {false};
    back_->importTracks(cueSheet());
    EXPECT_EQ(questions_.size(), 1);
    EXPECT_TRUE(questions_.value(0).contains(QStringLiteral("2 tracks")));
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("my own list"));

    answers_ = {true};
    back_->importTracks(cueSheet());
    const QString laidOut = back_->editor->toPlainText();
    EXPECT_TRUE(
        laidOut.startsWith(QStringLiteral("Nina \u2013 Blue\n1.\tMorning\t3:10\n2.\tEvening")))
        << qPrintable(laidOut);
    // What Copy to Back Cover takes: the heading names the project.
    EXPECT_EQ(back_->editor->displayedLines().value(0), QStringLiteral("Nina \u2013 Blue"));

    back_->editor->undo();
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("my own list"));
}

TEST_F(TrackImportEditorTest, OffersTheAlbumPictureForTheFront) {
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(folder_ + QStringLiteral("/cover.jpg")));
    testenv::writeFile(folder_ + QStringLiteral("/list.txt"), "1. One 1:00\n");
    // A text list has no picture; an audio folder's cover.jpg is offered (answered no, then yes).
    back_->importTracks(folder_ + QStringLiteral("/list.txt"));
    EXPECT_TRUE(questions_.isEmpty());
    EXPECT_TRUE(cover_->frontPicture().isEmpty());

    // A silent WAV written by hand: 44-byte header, one second of 8-bit mono at 8000 Hz.
    QByteArray wav("RIFF");
    const auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    const auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    wav += le32(36 + 8000) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000) + le32(8000) +
           le16(1) + le16(8) + "data" + le32(8000) + QByteArray(8000, char(0x80));
    testenv::writeFile(folder_ + QStringLiteral("/01 - Only Song.wav"), wav);
    answers_ = {true, true}; // replace the list just imported, take the picture
    back_->importTracks(folder_);
    ASSERT_EQ(questions_.size(), 2);
    EXPECT_TRUE(questions_[1].contains(QStringLiteral("cover.jpg")));
    ASSERT_FALSE(cover_->frontPicture().isEmpty());
    EXPECT_GT(cover_->frontPicture().image().pixelColor(20, 20).red(), 200);
    EXPECT_TRUE(back_->editor->toPlainText().contains(QStringLiteral("1.\tOnly Song\t0:01")));
}

TEST_F(TrackImportEditorTest, CancelWhileReadingChangesNothing) {
    back_->editor->setPlainText(QStringLiteral("kept"));
    for (int i = 0; i < 1500; ++i)
        testenv::writeFile(folder_ +
                               QStringLiteral("/%1 - Song.mp3").arg(i, 4, 10, QLatin1Char('0')),
                           QByteArray(4096, 'x'));
    // The progress window's Cancel, pressed as soon as the window exists.
    QTimer press;
    press.setInterval(5);
    QObject::connect(&press, &QTimer::timeout, back_.get(), [this] {
        if (auto* progress = back_->findChild<QProgressDialog*>())
            progress->cancel();
    });
    press.start();
    back_->importTracks(folder_);
    EXPECT_EQ(back_->editor->toPlainText(), QStringLiteral("kept"));
    EXPECT_TRUE(questions_.isEmpty());
}

// The album names the project: the spine text becomes "Artist - Album", unless the user typed one
// in the main window's field (applied or not) or the list names no album.
struct SpineRow {
    const char* name;
    bool fromCueSheet;
    std::function<void(MainWindow&)> beforeImport;
    const char* spineAfter;
};

const SpineRow spineRows[] = {
    {"ProjectNameGivesWay", true, [](MainWindow&) {}, "Nina - Blue"},
    {"TypedAndAppliedStays", true,
     [](MainWindow& main) {
         main.spineTextEdit->clear();
         QTest::keyClicks(main.spineTextEdit, QStringLiteral("My Mix"));
         main.applySpineTextButton->click();
     },
     "My Mix"},
    {"TypedNotAppliedStays", true,
     [](MainWindow& main) { QTest::keyClicks(main.spineTextEdit, QStringLiteral(" 2")); },
     "Old Project 2"},
    {"EmptiedFieldGivesWay", true,
     [](MainWindow& main) {
         main.spineTextEdit->selectAll();
         QTest::keyClick(main.spineTextEdit, Qt::Key_Delete);
     },
     "Nina - Blue"},
    {"ListWithoutAlbumLeavesIt", false, [](MainWindow&) {}, "Old Project"},
};

class ImportSpine : public TrackImportEditorTest, public ::testing::WithParamInterface<SpineRow> {};

TEST_P(ImportSpine, SpineTextFollowsTheAlbumUnlessTheUserTypedOne) {
    const SpineRow& row = GetParam();
    MainWindow main(*ws_, *cover_);
    main.spineTextEdit->setText(QStringLiteral("Old Project"));
    main.applySpineText();
    row.beforeImport(main);
    ws_->setUnsavedChanges(false);
    back_->importTracks(
        row.fromCueSheet ? cueSheet()
                         : testenv::writeFile(folder_ + QStringLiteral("/l.txt"), "1. One 1:00\n"));
    EXPECT_EQ(main.spineTextEdit->text(), QString::fromUtf8(row.spineAfter));
    if (main.spineTextEdit->text() == QStringLiteral("Nina - Blue")) {
        EXPECT_EQ(cover_->spineText(), QStringLiteral("Nina - Blue"));
        EXPECT_TRUE(ws_->hasUnsavedChanges());
    }
}

INSTANTIATE_TEST_SUITE_P(Import, ImportSpine, ::testing::ValuesIn(spineRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
