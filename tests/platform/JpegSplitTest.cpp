#include "platform/JpegSplit.h"
#include "JpegTestUtil.h"
#include "platform/AppError.h"
#include "platform/FileBytes.h"
#include "platform/JpegDecoder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using jpegtest::encodeJpeg;

std::optional<Jpeg::Split> splitAt(const QByteArray& jpeg) {
    return Jpeg::findSplit(*FileBytes::inMemory(jpeg));
}

// A photo-like picture: gradients, a pattern and noise, so every block carries data.
QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int n = int(random.bounded(16));
            image.setPixel(x, y,
                           qRgb((x * 255 / w + n) & 0xff, (y * 255 / h + n) & 0xff,
                                ((x / 24 + y / 24) % 2) * 120 + n));
        }
    return image;
}

TEST(JpegHalves, DecodingTwoHalvesGivesExactlyTheWholeDecode) {
    for (const QSize size : {QSize(1600, 1200), QSize(1203, 917)}) {
        const QByteArray jpeg = encodeJpeg(photo(size.width(), size.height()), false, 1);
        const auto cut = splitAt(jpeg);
        ASSERT_TRUE(cut.has_value()) << size.width();
        EXPECT_EQ(cut->topHeight % 16, 0);
        const QImage whole = Jpeg::decode(jpeg, QSize(480, 480), false);
        const std::optional<QImage> split = Jpeg::decodeInHalves(jpeg, QSize(480, 480));
        ASSERT_TRUE(split.has_value());
        EXPECT_EQ(split->size(), whole.size());
        EXPECT_TRUE(*split == whole) << "the seam must not show";
    }
}

TEST(JpegHalves, TurnedPhotosComeOutTurnedTheSameWay) {
    const QByteArray jpeg =
        jpegtest::withExifOrientation(encodeJpeg(photo(1200, 800), false, 2), 6, false);
    const std::optional<QImage> split = Jpeg::decodeInHalves(jpeg, QSize(480, 480));
    ASSERT_TRUE(split.has_value());
    EXPECT_TRUE(*split == Jpeg::decode(jpeg, QSize(480, 480), false));
    EXPECT_GT(split->height(), split->width());
}

TEST(JpegHalves, FilesThatCannotBeCutAreDecodedWholeOrRefused) {
    const QImage picture = photo(800, 640);
    // No restart markers, or a full-size decode: whole.
    EXPECT_FALSE(splitAt(encodeJpeg(picture)).has_value());
    EXPECT_FALSE(Jpeg::decodeInHalves(encodeJpeg(picture, false, 1), QSize()).has_value());
    // A file cut short loses markers: it is not split, and decoding it whole says it is damaged.
    const QByteArray jpeg = encodeJpeg(picture, false, 1);
    const QByteArray cut = jpeg.left(jpeg.size() * 2 / 3);
    EXPECT_FALSE(splitAt(cut).has_value());
    EXPECT_THROW(Jpeg::decode(cut, QSize(100, 100)), AppError);
    // Garbage and headers alone.
    EXPECT_FALSE(
        splitAt(QByteArray("\xff\xd8\xff\xdd\x00\x04\x00\x01", 8)).has_value());
    EXPECT_FALSE(splitAt(jpeg.left(300)).has_value());
    EXPECT_FALSE(splitAt(QByteArray()).has_value());
}

} // namespace
