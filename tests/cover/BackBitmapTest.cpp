// The back picture is read from its file with the program's own bitmap reader when the file is
// the kind the program saves, and with the toolkit's reader otherwise: either way the cover gets
// the pixels the toolkit reads from that file, and a damaged file is refused as before.
#include "TestEnv.h"
#include "cover/Cover.h"
#include "cover/CoverLayout.h"
#include "cover/Workspace.h"
#include "platform/AppError.h"
#include "support/Support.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A picture with a different colour in every pixel's neighbourhood, so that a row or colour
// channel out of place shows.
QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 5 % 256, (x + y) * 3 % 256));
    return image;
}

QByteArray bitmapOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The same 24-bit bitmap stored top row first (a negative height), as some programs write it.
QByteArray topDown(QByteArray bytes) {
    const qint32 height = qFromLittleEndian<qint32>(bytes.constData() + 22);
    const qint32 at = qFromLittleEndian<qint32>(bytes.constData() + 10);
    const qsizetype stride = (bytes.size() - at) / height;
    QByteArray rows;
    for (qint32 y = height - 1; y >= 0; --y)
        rows += bytes.mid(at + y * stride, stride);
    bytes.replace(at, rows.size(), rows);
    qToLittleEndian<qint32>(-height, bytes.data() + 22);
    return bytes;
}

struct BackFile {
    const char* name;
    QByteArray bytes;
    bool refused; // with the general reader's message
};

TEST(BackBitmap, TheCoverGetsWhatTheToolkitReadsFromTheFile) {
    const QString saved = QDir::currentPath();
    const QString root = testenv::prepareWorkspace(QStringLiteral("back-bitmap"));
    const QImage picture = pattern(553, 472); // an odd width: every row is padded
    QImage grey = pattern(200, 100).convertToFormat(QImage::Format_Grayscale8);
    const QByteArray plain = bitmapOf(picture);
    const BackFile rows[] = {
        {"24 bits, bottom-up", plain, false},
        {"24 bits, top-down", topDown(plain), false},
        {"8 bits with a palette", bitmapOf(grey.convertToFormat(QImage::Format_Indexed8)), false},
        {"cut short in its pixels", plain.left(plain.size() / 2), true},
        {"not a bitmap", QByteArray("BM") + QByteArray(100, 'x'), true},
    };
    for (const BackFile& row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = testenv::writeFile(root + QStringLiteral("/Back.bmp"), row.bytes);
        Workspace workspace(testenv::startupFacts(), QDir::currentPath());
        Cover cover(workspace);
        cover.drawTemplate();
        if (row.refused) {
            EXPECT_THROW(cover.loadBackPicture(file), AppError);
            continue;
        }
        ASSERT_NO_THROW(cover.loadBackPicture(file));
        QImage expected = QImage(file).convertToFormat(QImage::Format_RGB32);
        Layout::stampProductName(expected, ProductName);
        EXPECT_EQ(cover.backPicture().image().convertToFormat(QImage::Format_RGB32), expected);
        EXPECT_EQ(cover.backPicture().getFormat(), Picture::Format::Bitmap);
    }
    QDir::setCurrent(saved);
}

} // namespace
