// Which file of a drop the front, back and editor take: the first local file (no folder) with an
// extension the target reads, never a move, and an error that names the file.
#include "cover/DroppedFiles.h"
#include "common/TestEnv.h"
#include "platform/Picture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QStringList Pictures{"jpg", "jpeg", "png", "bmp"};

DroppedItem file(const QString& path) {
    return {path, false};
}

TEST(DroppedFiles, TheFirstFileWithAnExtensionTheTargetReadsIsTaken) {
    EXPECT_EQ(usableDroppedFile({file("/p/a.jpg")}, Pictures), "/p/a.jpg");
    EXPECT_EQ(usableDroppedFile({file("/p/PHOTO.JPG")}, Pictures), "/p/PHOTO.JPG")
        << "a camera's upper-case extension";
    // Several files: the unusable ones before the first usable one are passed over, and only
    // the first usable one is taken.
    EXPECT_EQ(usableDroppedFile(
                  {file("/p/notes.rtf"), file("/p/song.mp3"), file("/p/b.png"), file("/p/c.jpg")},
                  Pictures),
              "/p/b.png");
    EXPECT_EQ(usableDroppedFile({file("/p/list.rtf"), file("/p/b.png")}, listFileExtensions()),
              "/p/list.rtf");
    EXPECT_EQ(usableDroppedFile({file("/p/tracks.TXT")}, listFileExtensions()), "/p/tracks.TXT");
}

TEST(DroppedFiles, FoldersAddressesAndUnknownFilesAreRefused) {
    EXPECT_EQ(usableDroppedFile({}, Pictures), "");
    EXPECT_EQ(usableDroppedFile({{"/p/holiday.jpg", true}}, Pictures), "")
        << "a folder named like a picture";
    EXPECT_EQ(usableDroppedFile({{"", false}}, Pictures), "") << "a web address";
    EXPECT_EQ(usableDroppedFile({file("/p/README"), file("/p/.jpg.")}, Pictures), "")
        << "no extension";
    EXPECT_EQ(usableDroppedFile({file("/p/a.jpg")}, listFileExtensions()), "")
        << "a picture is no list";
    EXPECT_EQ(usableDroppedFile({file("/p/a.rtf")}, Pictures), "") << "a list is no picture";
    // A folder among files does not stop the search.
    EXPECT_EQ(usableDroppedFile({{"/p/Pictures", true}, file("/p/a.bmp")}, Pictures), "/p/a.bmp");
}

TEST(DroppedFiles, LocalFilesAndFoldersAreToldApart) {
    const QString folder = testenv::freshFolder(QStringLiteral("drop"));
    QDir(folder).mkdir(QStringLiteral("cover.jpg"));
    testenv::writeFile(folder + "/front.jpg", "x");
    const QList<DroppedItem> items = droppedItems(
        {QUrl::fromLocalFile(folder + "/cover.jpg"), QUrl::fromLocalFile(folder + "/front.jpg"),
         QUrl(QStringLiteral("https://www.sleevix.example/front.jpg"))});
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[0].isFolder);
    EXPECT_FALSE(items[1].isFolder);
    EXPECT_EQ(items[1].path, folder + "/front.jpg");
    EXPECT_TRUE(items[2].path.isEmpty()) << "not a local file";
    EXPECT_EQ(usableDroppedFile(items, Pictures), folder + "/front.jpg");
}

// A file manager that offers a move would delete the user's photo once the drop is taken.
TEST(DroppedFiles, ADropIsTakenAsACopyNeverAsAMove) {
    EXPECT_EQ(safeDropAction(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(safeDropAction(Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
    EXPECT_EQ(safeDropAction(Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_EQ(safeDropAction(Qt::IgnoreAction), Qt::IgnoreAction);
}

TEST(DroppedFiles, TheErrorOfAFileThatCannotBeReadNamesIt) {
    EXPECT_EQ(droppedFileError("/p/broken.jpg", "JPEG error #9"),
              "/p/broken.jpg cannot be read:\nJPEG error #9");
    EXPECT_EQ(droppedFileError("/p/gone.jpg", "Cannot open file /p/gone.jpg"),
              "Cannot open file /p/gone.jpg")
        << "named once only";
}

TEST(DroppedFiles, PicturesTheReaderReadsIncludeTheCommonOnes) {
    const QStringList readable = Picture::readableExtensions();
    for (const char* extension : {"jpg", "jpeg", "jfif", "bmp", "png", "gif"})
        EXPECT_TRUE(readable.contains(QLatin1String(extension))) << extension;
    EXPECT_FALSE(readable.contains(QStringLiteral("rtf")));
}

} // namespace
