#include "platform/SaveWhole.h"
#include "FileSizeLimit.h"
#include "TestEnv.h"
#include "back/RichTextEdit.h"
#include "platform/AppError.h"
#include "platform/Picture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(SaveFileWhole, AWriteThatFailsHalfWayLeavesTheOldFile) {
    const QString path =
        testenv::writeFile(testenv::freshFolder() + QStringLiteral("/Back.bmp"), "old picture");
    const QByteArray big(64 * 1024, 'x');
    {
        FileSizeLimit limit(16 * 1024);
        EXPECT_FALSE(saveFileWhole(path, big));
    }
    EXPECT_EQ(contents(path), "old picture");
    EXPECT_TRUE(saveFileWhole(path, big));
    EXPECT_EQ(contents(path), big);
}

TEST(SaveFileWhole, APictureSaveOnAFullDiskSaysSoAndKeepsTheProjectFile) {
    QImage image(552, 472, QImage::Format_RGB32);
    image.fill(Qt::gray);
    Picture picture;
    picture.setImage(image);
    const QString path =
        testenv::writeFile(testenv::freshFolder() + QStringLiteral("/Back.bmp"), "old");
    {
        FileSizeLimit limit(100 * 1024); // the bitmap needs about 780 KB
        EXPECT_THROW(picture.saveToFile(path), AppError);
    }
    EXPECT_EQ(contents(path), "old");
}

TEST(SaveFileWhole, AListSavedOnAFullDiskKeepsTheOldBackRtf) {
    const QString path =
        testenv::writeFile(testenv::freshFolder() + QStringLiteral("/Back.rtf"), "{\\rtf1 old}");
    RichTextEdit editor;
    editor.setPlainText(QString(40000, u'x'));
    {
        FileSizeLimit limit(8 * 1024);
        EXPECT_THROW(editor.saveToFile(path), AppError);
    }
    EXPECT_EQ(contents(path), "{\\rtf1 old}");
}

} // namespace
