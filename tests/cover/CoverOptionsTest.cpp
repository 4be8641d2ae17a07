// A project's choices in Cover.ini: saved whole with the project when there is something to keep,
// read back into the cover, never a reason for a project not to open, and never a change to the
// front picture's own bytes.
#include "cover/CoverOptions.h"
#include "TestEnv.h"
#include "cover/Cover.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

// Options that differ from the defaults in what a test sets only.
CoverOptions optionsWith(FrontFill fill, QRectF crop = QRectF(), QColor background = Qt::white) {
    CoverOptions options;
    options.fill = fill;
    options.crop = crop;
    options.background = background;
    return options;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray jpeg(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    return bytes;
}

} // namespace

// What the file holds comes back as it was written; what a hand made or damaged, or a later
// version's unknown keys, falls back to the defaults field by field.
TEST(CoverOptions, ReadBackAsWrittenAndDefaultsForWhatCannotBeRead) {
    CoverOptions chosen;
    chosen.fill = FrontFill::Crop;
    chosen.crop = QRectF(0.1, 0.25, 0.8, 0.5);
    chosen.background = QColor(12, 34, 56);
    chosen.holeMm = 15;
    chosen.tracks = LabelTracks::Ring;
    chosen.labelCrop = QRectF(0, 0, 0.5, 0.5);
    chosen.labelSheet = QStringLiteral("My = sheet");
    EXPECT_EQ(readCoverOptions(coverOptionsText(chosen)), chosen);

    const struct {
        const char* text;
        CoverOptions expected;
    } rows[] = {
        {"", CoverOptions{}},
        {"[Front]\nFill=sideways\nCrop=0.5 0.5 0.9 0.9\nBackground=no colour\n", CoverOptions{}},
        {"[Front]\nCrop=nan 0 1 1\n[Label]\nHole=22\nTracks=spiral\nLater=1\n", CoverOptions{}},
        {"\xff\xfe garbage\n[Front\nFill=fit", CoverOptions{}},
        {"[front]\r\n fill = FIT \r\nbackground=#ff0000\r\n",
         optionsWith(FrontFill::Fit, QRectF(), QColor(255, 0, 0))},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readCoverOptions(QByteArray(row.text)), row.expected) << row.text;
}

// The crop stays square in the picture's pixels and inside the picture, whatever the fractions.
TEST(CoverOptions, CropIsASquareInsideThePicture) {
    EXPECT_EQ(cropSquare(QSize(600, 900), QRectF()), QRectF(0, 150, 600, 600));
    EXPECT_EQ(cropSquare(QSize(600, 900), QRectF(0.9, 0.9, 0.5, 0.3333)),
              QRectF(300, 600, 300, 300)); // pushed back inside
    const QImage shown = frontImage(QImage(600, 900, QImage::Format_RGB32),
                                    optionsWith(FrontFill::Crop, QRectF(0, 0, 0.5, 1.0 / 3)));
    EXPECT_EQ(shown.size(), QSize(300, 300));
    const CoverOptions fit = optionsWith(FrontFill::Fit, QRectF(), Qt::red);
    QImage portrait(100, 200, QImage::Format_RGB32);
    portrait.fill(Qt::blue);
    const QImage square = frontImage(portrait, fit);
    EXPECT_EQ(square.size(), QSize(200, 200));
    EXPECT_EQ(QColor(square.pixel(10, 100)), QColor(Qt::red));   // the background beside it
    EXPECT_EQ(QColor(square.pixel(100, 100)), QColor(Qt::blue)); // the whole picture between
}

// Saved with the project: Cover.ini only when there is a choice to keep (or one kept before),
// Front.jpg its own bytes; read back into the cover with the project.
TEST(CoverOptions, SavedWithTheProjectAndReadBackIntoTheCover) {
    const QString root = testenv::freshFolder(QStringLiteral("coverini"));
    const QString folder = root + QStringLiteral("/Project");
    Picture front;
    const QByteArray original = jpeg(QSize(300, 500));
    front.loadFromData(original, QStringLiteral("jpg"));
    const CoverOptions defaults;
    Project::writeFiles(folder, "{\\rtf1 list}", Picture(), front, &defaults);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Cover.ini")));

    CoverOptions cropped;
    cropped.fill = FrontFill::Crop;
    cropped.crop = QRectF(0, 0.2, 1, 0.6);
    Project::writeFiles(folder, "{\\rtf1 list}", Picture(), front, &cropped);
    EXPECT_EQ(contents(folder + QStringLiteral("/Cover.ini")), coverOptionsText(cropped));
    EXPECT_EQ(contents(folder + QStringLiteral("/Front.jpg")), original);

    Workspace workspace(testenv::startupFacts(), root);
    Cover cover(workspace);
    cover.drawTemplate();
    EXPECT_TRUE(Project::readFiles(folder, cover, {}).size() == 1); // no Back.bmp
    EXPECT_EQ(cover.coverOptions(), cropped);

    // Back to stretching: the file that is there is written again, not left saying "crop".
    Project::writeFiles(folder, "{\\rtf1 list}", Picture(), front, &defaults);
    EXPECT_EQ(readCoverOptions(contents(folder + QStringLiteral("/Cover.ini"))), defaults);
}
