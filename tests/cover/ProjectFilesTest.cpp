// A project on disk without a window: the rules for its name, writing its three files whole or
// not at all, and reading as much of it as can be read.
#include "cover/ProjectFiles.h"
#include "FileSizeLimit.h"
#include "ObeyFilePermissions.h"
#include "TestEnv.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "platform/FolderSwap.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QImage stripes() {
    QImage image(552, 472, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x / 8) % 2 ? qRgb(200, 30, 30) : qRgb(20, 40, 220));
    return image;
}

int bitsPerPixel(const QByteArray& bmp) {
    return uchar(bmp[28]) | uchar(bmp[29]) << 8;
}

TEST(ProjectName, IsTheLastComponentOfTheFolder) {
    EXPECT_EQ(Project::nameOfFolder(QStringLiteral("/covers/Summer Songs/")), "Summer Songs");
    EXPECT_EQ(Project::nameOfFolder(QStringLiteral("/covers/Summer Songs")), "Summer Songs");
    EXPECT_EQ(Project::nameOfFolder(QStringLiteral("/")), "");
    EXPECT_EQ(Project::nameOfFolder(QStringLiteral("/a/Dvořák – Live/")), "Dvořák – Live");
}

// Only what the file system here refuses is refused; what a Windows drive would refuse gets a
// note.
TEST(ProjectName, FolderNamesThatWorkAndWhyOthersDoNot) {
    const FileNameLimits ext4;
    const QString data = QStringLiteral("/home/user/.local/share/Sleevix/");
    const QString windows = QStringLiteral("Note: a Windows drive (FAT or NTFS, most USB sticks) ");
    const struct {
        QString name;
        QString refusal;
        QString note;
    } rows[] = {
        {"", "", ""},
        {"Velmora - Last Rose Of Summer 2002", "", ""},
        {"Ärzte – Bäst Of 日本語", "", ""},
        {"a.b", "", ""},
        {"..a", "", ""},
        {"AC:DC", "", windows + "takes no \":\" in a folder name."},
        {"Live: 2002", "", windows + "takes no \":\" in a folder name."},
        {"What?", "", windows + "takes no \"?\" in a folder name."},
        {"a|b", "", windows + "takes no \"|\" in a folder name."},
        {"Say \"hi\"", "", windows + "takes no \"\"\" in a folder name."},
        {"a\\b", "", windows + "takes no \"\\\" in a folder name."},
        {"tab\there", "", windows + "takes no tab or line break in a folder name."},
        {" leading and trailing ", "",
         windows + "drops a space or full stop at the end of a folder name."},
        {QString(51, u' '), "",
         windows + "drops a space or full stop at the end of a folder name."},
        {"Greatest Hits Vol.", "",
         windows + "drops a space or full stop at the end of a folder name."},
        {"con.txt", "",
         "Note: Windows keeps the name \"con\" for a device; a folder of that name "
         "cannot be copied there."},
        {"AC/DC", "it contains \"/\", which cannot stand in a folder name", ""},
        {".", "\".\" and \"..\" stand for the folder itself and the one above it", ""},
        {"..", "\".\" and \"..\" stand for the folder itself and the one above it", ""},
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), "it contains a zero character", ""},
        {QString(255, u'x'), "", ""},
        {QString(256, u'x'), "it is too long for the file system", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Project::folderNameProblem(row.name, data, ext4), row.refusal)
            << qPrintable(row.name);
        if (row.refusal.isEmpty()) {
            EXPECT_EQ(Project::portabilityNote(row.name), row.note) << qPrintable(row.name);
        }
    }
}

TEST(ProjectName, TooLongIsMeasuredAsTheFileSystemCounts) {
    const FileNameLimits small{30, 60};
    const QString data = QStringLiteral("/d/");
    // Ten letters of three bytes each fit in 30 bytes; eleven do not, though they are 11
    // characters only.
    EXPECT_EQ(Project::folderNameProblem(QString(10, QChar(0x65E5)), data, small), QString());
    EXPECT_EQ(Project::folderNameProblem(QString(11, QChar(0x65E5)), data, small),
              "it is too long for the file system");
    // "/d/" + 30 + "/Back.rtf" is 42 units; a deeper data folder pushes the path over 60.
    EXPECT_EQ(Project::folderNameProblem(QString(30, u'n'), data, small), QString());
    EXPECT_EQ(Project::folderNameProblem(QString(30, u'n'), QString(25, u'd') + u'/', small),
              "the path of its files would be too long for the file system");
}

TEST(ProjectName, TheRefusalGivesNameAndReasonInTheUsersLanguage) {
    const QString data = testenv::freshFolder(QStringLiteral("names"));
    EXPECT_EQ(testenv::errorOf([&] { Project::checkFolderName(QStringLiteral("AC/DC"), data); }),
              "\"AC/DC\" cannot be the name of a project folder: it contains \"/\", which cannot "
              "stand in a folder name.");
    testenv::useLanguage(QStringLiteral("NLD"));
    const QString dutch =
        testenv::errorOf([&] { Project::checkFolderName(QStringLiteral("AC/DC"), data); });
    const QString dutchDots =
        testenv::errorOf([&] { Project::checkFolderName(QStringLiteral(".."), data); });
    const QString dutchZero =
        testenv::errorOf([&] { Project::checkFolderName(QStringLiteral("a") + QChar(0), data); });
    testenv::useLanguage(QStringLiteral("ENU"));
    EXPECT_EQ(dutch, "\"AC/DC\" kan niet de naam van een projectmap zijn: er staat \"/\" in, dat "
                     "niet in een mapnaam mag staan.");
    EXPECT_TRUE(dutchDots.startsWith("\"..\" kan niet de naam van een projectmap zijn"))
        << qPrintable(dutchDots);
    EXPECT_TRUE(dutchZero.endsWith("er staat een nulteken in.")) << qPrintable(dutchZero);
}

class ProjectFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testenv::freshFolder(QStringLiteral("project")) + u'/';
        front_.loadFromFile(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg"), QSize(480, 480));
        back_.setImage(stripes());
    }
    QString folder_;
    Picture front_;
    Picture back_;
};

TEST_F(ProjectFilesTest, BackBmpIsA24BitWindowsBitmapWhateverTheBackWasReadFrom) {
    const QImage image = stripes();
    const struct {
        const char* format;
        QByteArray bytes;
    } sources[] = {{"gif", testenv::oneRedPixelGif()},
                   {"png", encoded(image.convertToFormat(QImage::Format_ARGB32), "png")},
                   {"jpeg", encoded(image, "jpeg")},
                   {"bmp", encoded(image.convertToFormat(QImage::Format_Indexed8), "bmp")}};
    for (const auto& source : sources) {
        Picture back;
        back.loadFromData(source.bytes, QString::fromLatin1(source.format));
        ASSERT_FALSE(back.isEmpty()) << source.format;
        Project::writeFiles(folder_, "{\\rtf1 list}", back, front_);
        const QByteArray bmp = contents(folder_ + QStringLiteral("Back.bmp"));
        ASSERT_TRUE(bmp.startsWith("BM")) << source.format;
        EXPECT_EQ(bitsPerPixel(bmp), 24) << source.format;
        Picture again;
        again.loadFromFile(folder_ + QStringLiteral("Back.bmp"));
        ASSERT_EQ(again.image().size(), back.image().size()) << source.format;
        const QPoint middle(back.image().width() / 2, back.image().height() / 2);
        EXPECT_EQ(again.image().pixel(middle), back.image().pixel(middle)) << source.format;
    }
    // The front keeps its own bytes, a JPEG byte for byte.
    EXPECT_EQ(contents(folder_ + QStringLiteral("Front.jpg")),
              contents(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg")));
    EXPECT_EQ(contents(folder_ + QStringLiteral("Back.rtf")), "{\\rtf1 list}");
}

TEST_F(ProjectFilesTest, AFullFileSystemLeavesEveryFileAsItWas) {
    for (const QString& name :
         {QStringLiteral("Back.rtf"), QStringLiteral("Back.bmp"), QStringLiteral("Front.jpg")})
        testenv::writeFile(folder_ + name, "old " + name.toLatin1());
    {
        // The list fits, the bitmap (about 780 KB) does not.
        FileSizeLimit limit(100 * 1024);
        const QString error = testenv::errorOf(
            [&] { Project::writeFiles(folder_, QByteArray(2000, 'r'), back_, front_); });
        EXPECT_EQ(error, "Cannot create file " + folder_ + "Back.bmp");
    }
    EXPECT_EQ(contents(folder_ + "Back.rtf"), "old Back.rtf") << "not half a project";
    EXPECT_EQ(contents(folder_ + "Back.bmp"), "old Back.bmp");
    EXPECT_EQ(contents(folder_ + "Front.jpg"), "old Front.jpg");
    EXPECT_EQ(QDir(folder_).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no leftovers";

    // A new folder that could not be filled is not left behind as an empty project.
    const QString fresh = folder_ + QStringLiteral("New Project/");
    {
        FileSizeLimit limit(100 * 1024);
        EXPECT_THROW(Project::writeFiles(fresh, "{\\rtf1}", back_, front_), AppError);
    }
    EXPECT_FALSE(QFileInfo::exists(fresh));
}

TEST_F(ProjectFilesTest, AReadOnlyDataFolderSaysWhichFileCannotBeMade) {
    const QString data = testenv::freshFolder(QStringLiteral("readonly")) + u'/';
    const QString existing = data + QStringLiteral("Old Project/");
    Project::writeFiles(existing, "{\\rtf1 old}", back_, front_);
    QFile::setPermissions(existing, QFile::ReadOwner | QFile::ExeOwner);
    QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner);
    QString intoNew, intoExisting;
    {
        ObeyFilePermissions obey;
        intoNew = testenv::errorOf(
            [&] { Project::writeFiles(data + QStringLiteral("New/"), "{\\rtf1}", back_, front_); });
        intoExisting =
            testenv::errorOf([&] { Project::writeFiles(existing, "{\\rtf1 new}", back_, front_); });
    }
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(existing, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The file first; the reason, when the disk shows one, on the line after it.
    EXPECT_EQ(intoNew.section(u'\n', 0, 0), "Cannot create file " + data + "New/Back.rtf");
    EXPECT_EQ(intoExisting.section(u'\n', 0, 0), "Cannot create file " + existing + "Back.rtf");
    EXPECT_EQ(contents(existing + "Back.rtf"), "{\\rtf1 old}");
    EXPECT_FALSE(QFileInfo::exists(data + "New"));
}

// A save keeps the folder's other files; a project file it does not write stays when the folder
// is the project itself and goes when another project is replaced; a copy that a killed
// whole-file save left goes.
TEST_F(ProjectFilesTest, WhatASaveKeepsOfTheFolderItReplaces) {
    Project::writeFiles(folder_, "{\\rtf1 old}", back_, front_);
    testenv::writeFile(folder_ + "notes.txt", "mine");
    testenv::writeFile(folder_ + "Back.rtf.Ab12Cd", "left by a kill");
    QDir().mkpath(folder_ + "Live/Disc 1");
    const Picture none;
    Project::writeFiles(folder_, "{\\rtf1 new}", none, none);
    EXPECT_EQ(contents(folder_ + "Back.rtf"), "{\\rtf1 new}");
    EXPECT_EQ(contents(folder_ + "Front.jpg"),
              contents(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg")));
    EXPECT_TRUE(contents(folder_ + "Back.bmp").startsWith("BM"));
    EXPECT_EQ(contents(folder_ + "notes.txt"), "mine");
    EXPECT_TRUE(QFileInfo(folder_ + "Live/Disc 1").isDir());
    EXPECT_FALSE(QFileInfo::exists(folder_ + "Back.rtf.Ab12Cd"));

    Project::writeFiles(folder_, "{\\rtf1 other}", none, none, Project::Unwritten::Remove);
    EXPECT_EQ(QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"Back.rtf", "Live", "notes.txt"}));
    EXPECT_EQ(QDir(folder_ + "..").entryList({".sleevix-*"}, QDir::AllEntries | QDir::Hidden),
              QStringList())
        << "nothing of the saves beside the project";
}

// What a save killed at each step leaves, and what the next save or read makes of it: one
// whole project (the old or the new), its other files back in it, the work folder gone.
TEST(ProjectSave, AHalfFinishedSaveIsFinishedOrUndone) {
    const struct {
        const char* step;
        const char* inProject; // the list in the project folder before, "" for no folder
        const char* inNew;     // in the work folder's "new", "" for none
        const char* inOld;     // in its "old", "" for none
        const char* notesIn;   // which folder holds the user's notes.txt
        const char* after;     // the list in the project folder after, "" for no folder
    } rows[] = {
        {"writing, before the swap", "old", "new", "", "project", "old"},
        {"after the swap, before the other files went back", "new", "old", "", "new", "new"},
        {"between the two renames of a file system that cannot swap", "", "new", "old", "old",
         "new"},
        {"after moving the old folder aside", "", "", "old", "old", "old"},
        {"a first save, before its folder was put in place", "", "new", "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        const QString data = testenv::freshFolder(QStringLiteral("half")) + u'/';
        const QString project = data + QStringLiteral("Disc");
        const QString work = data + QStringLiteral(".sleevix-save-Ab12Cd/");
        testenv::writeFile(work + "target", "Disc");
        const auto fill = [&](const QString& folder, const char* list) {
            if (*list)
                testenv::writeFile(folder + "/Back.rtf", list);
        };
        fill(project, row.inProject);
        fill(work + "new", row.inNew);
        fill(work + "old", row.inOld);
        const QString notesFolder = QString::fromLatin1(row.notesIn) == "project"
                                        ? project
                                        : work + QString::fromLatin1(row.notesIn);
        if (*row.notesIn)
            testenv::writeFile(notesFolder + "/notes.txt", "mine");

        Project::finishUnfinishedSaves(data);
        EXPECT_EQ(contents(project + "/Back.rtf"), *row.after ? row.after : "<missing>");
        if (*row.after) {
            EXPECT_EQ(contents(project + "/notes.txt"), *row.notesIn ? "mine" : "<missing>");
        }
        EXPECT_FALSE(QFileInfo::exists(work));
    }

    // A save still running in another program is left alone.
    const QString data = testenv::freshFolder(QStringLiteral("running")) + u'/';
    const QString work = data + QStringLiteral(".sleevix-save-Ab12Cd/");
    testenv::writeFile(work + "new/Back.rtf", "new");
    testenv::writeFile(work + "target", "Disc");
    FolderSwap::FolderLock running;
    ASSERT_TRUE(running.tryLock(work));
    Project::finishUnfinishedSaves(data);
    EXPECT_EQ(contents(work + "new/Back.rtf"), "new");
}

class ProjectReadTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        testenv::prepareWorkspace(QStringLiteral("read"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        folder_ = testenv::freshFolder(QStringLiteral("project")) + u'/';
        for (const char* name : {"Front.jpg", "Back.bmp", "Back.rtf"})
            QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/") + QLatin1String(name),
                        folder_ + QLatin1String(name));
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    QStringList read() {
        return Project::readFiles(folder_, *cover_, [this](const QString& file) {
            listsRead_ << file;
            if (!QFileInfo::exists(file))
                throw AppError(QStringLiteral("Cannot open file %1").arg(file));
        });
    }

    QString savedDir_;
    QString folder_;
    QStringList listsRead_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
};

TEST_F(ProjectReadTest, AMissingOrDamagedFileIsNamedAndTheOthersStillLoad) {
    testenv::writeFile(folder_ + "Front.jpg", "\xff\xd8\xff damaged");
    QFile::remove(folder_ + "Back.rtf");
    const QStringList failures = read();
    ASSERT_EQ(failures.size(), 2) << qPrintable(failures.join('\n'));
    EXPECT_TRUE(failures[0].startsWith(folder_ + "Front.jpg: JPEG error #"))
        << qPrintable(failures[0]);
    EXPECT_EQ(failures[1], "Cannot open file " + folder_ + "Back.rtf");
    EXPECT_TRUE(cover_->frontPicture().isEmpty());
    EXPECT_EQ(cover_->backPicture().image().size(), QSize(552, 472)) << "the back still loads";
    EXPECT_EQ(listsRead_, QStringList{folder_ + "Back.rtf"});

    // A whole project reads without a word.
    QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/Front.jpg"), folder_ + "Front.jpg.new");
    QFile::remove(folder_ + "Front.jpg");
    QFile::rename(folder_ + "Front.jpg.new", folder_ + "Front.jpg");
    testenv::writeFile(folder_ + "Back.rtf", "{\\rtf1 list}");
    EXPECT_EQ(read(), QStringList());
    EXPECT_FALSE(cover_->frontPicture().isEmpty());
}

TEST(ProjectFailure, NamesTheFileOnce) {
    EXPECT_EQ(Project::failureOf("/p/Front.jpg", "JPEG error #42"), "/p/Front.jpg: JPEG error #42");
    EXPECT_EQ(Project::failureOf("/p/Back.bmp", "Cannot open file /p/Back.bmp"),
              "Cannot open file /p/Back.bmp");
}

} // namespace
