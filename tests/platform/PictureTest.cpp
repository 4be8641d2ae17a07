#include "platform/Picture.h"
#include "JpegTestUtil.h"
#include "TestEnv.h"
#include "platform/AppError.h"
#include "platform/JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>

namespace {

using jpegtest::encodeJpeg;
using jpegtest::withExifOrientation;

QImage quadrants(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0)); // red top-left quarter
    return image;
}

QString writeTemp(const QString& name, const QByteArray& bytes) {
    return testenv::writeFile(testenv::freshFolder(QStringLiteral("pic")) + u'/' + name, bytes);
}

QString loadError(const QString& file, QSize cover = QSize()) {
    Picture picture;
    try {
        picture.loadFromFile(file, cover);
    } catch (const AppError& e) {
        return e.message();
    }
    return QString();
}

bool near(QRgb a, QRgb b, int tolerance = 40) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

TEST(Picture, LargeJpegIsDecodedAtTheSmallestScaleThatCoversTheFrontAndSavedUnchanged) {
    const QByteArray bytes = encodeJpeg(quadrants(3000, 2000));
    const QString file = writeTemp(QStringLiteral("Front.jpg"), bytes);
    Picture picture;
    picture.loadFromFile(file, QSize(480, 480));
    // 2000 * 2/8 = 500 is the smallest eighth-step height that still covers 480.
    EXPECT_EQ(picture.image().size(), QSize(750, 500));
    EXPECT_EQ(picture.fullSize(), QSize(3000, 2000));
    EXPECT_EQ(picture.decode().size(), QSize(3000, 2000));
    EXPECT_TRUE(near(picture.image().pixel(10, 10), qRgb(255, 0, 0)));

    const QString copy = testenv::freshFolder() + QStringLiteral("/copy.jpg");
    picture.saveToFile(copy);
    QFile saved(copy);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), bytes);
}

class ExifOrientation : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(ExifOrientation, CameraPhotosShowUpright) {
    const auto [orientation, bigEndian] = GetParam();
    // Stored 80 x 40 with red in the top-left quarter; where red lands once turned upright:
    const QByteArray bytes =
        withExifOrientation(encodeJpeg(quadrants(80, 40)), orientation, bigEndian);
    Picture picture;
    picture.loadFromData(bytes, QStringLiteral("jpg"));
    const QImage& image = picture.image();
    const bool sideways = orientation >= 5;
    ASSERT_EQ(image.size(), sideways ? QSize(40, 80) : QSize(80, 40));
    EXPECT_EQ(picture.fullSize(), image.size());
    const int w = image.width(), h = image.height();
    QPoint red;
    switch (orientation) {
    case 1:
        red = {5, 5};
        break;
    case 2:
        red = {w - 5, 5};
        break;
    case 3:
        red = {w - 5, h - 5};
        break;
    case 4:
        red = {5, h - 5};
        break;
    case 5:
        red = {5, 5};
        break;
    case 6:
        red = {w - 5, 5};
        break;
    case 7:
        red = {w - 5, h - 5};
        break;
    case 8:
        red = {5, h - 5};
        break;
    }
    EXPECT_TRUE(near(image.pixel(red), qRgb(255, 0, 0))) << "orientation " << orientation;
    EXPECT_TRUE(near(image.pixel(w - 1 - red.x(), h - 1 - red.y()), qRgb(255, 255, 255)));
}

TEST(ExifOrientation, DamagedExifSegmentsAreIgnored) {
    // The directory offset near 4 GB, an entry count running past the end, a short segment.
    const QByteArray base("Exif\0\0II\x2a\0", 10);
    EXPECT_EQ(
        Jpeg::orientationFromExif(base + QByteArray("\xfe\xff\xff\xff", 4) + QByteArray(8, '\0')),
        1);
    EXPECT_EQ(Jpeg::orientationFromExif(base + QByteArray("\x08\0\0\0\xff\xff", 6) +
                                        QByteArray(20, '\x12')),
              1);
    EXPECT_EQ(Jpeg::orientationFromExif(QByteArray("Exif\0\0MM", 8)), 1);
}

INSTANTIATE_TEST_SUITE_P(AllEight, ExifOrientation,
                         ::testing::Combine(::testing::Range(1, 9), ::testing::Bool()));

TEST(Picture, CmykJpegShowsItsColours) {
    QImage source(64, 64, QImage::Format_RGB32);
    source.fill(qRgb(30, 90, 200));
    Picture picture;
    picture.loadFromData(encodeJpeg(source, true), QStringLiteral("jpg"));
    EXPECT_TRUE(near(picture.image().pixel(32, 32), qRgb(30, 90, 200), 20))
        << std::hex << picture.image().pixel(32, 32);
}

TEST(Picture, ContentDecidesWhenExtensionAndContentDisagree) {
    QImage source = quadrants(60, 40);
    // One red pixel as a GIF (Qt reads GIFs but does not write them).
    const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                         ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                         35);
    QByteArray bmp, png;
    for (auto [bytes, format] : {std::pair{&bmp, "bmp"}, {&png, "png"}}) {
        QBuffer buffer(bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, format).write(source)) << format;
    }
    Picture picture;
    picture.loadFromFile(writeTemp(QStringLiteral("Front.jpg"), bmp)); // a bitmap named .jpg
    EXPECT_EQ(picture.getFormat(), Picture::Format::Bitmap);
    EXPECT_EQ(picture.image().size(), QSize(60, 40));
    picture.loadFromFile(writeTemp(QStringLiteral("cover.gif"), gif)); // GIFs load too
    EXPECT_EQ(picture.image().size(), QSize(1, 1));
    EXPECT_TRUE(near(picture.image().pixel(0, 0), qRgb(255, 0, 0)));
    picture.loadFromFile(writeTemp(QStringLiteral("cover.bmp"), encodeJpeg(source)));
    EXPECT_EQ(picture.getFormat(), Picture::Format::Jpeg);
    picture.loadFromFile(writeTemp(QStringLiteral("cover.png"), png));
    EXPECT_EQ(picture.image().size(), QSize(60, 40));
}

TEST(Picture, BadFilesGiveTheLoadersMessagesAndKeepThePreviousPicture) {
    Picture picture;
    picture.loadFromData(encodeJpeg(quadrants(40, 40)), QStringLiteral("jpg"));
    const QImage before = picture.image();

    const QString missing = testenv::freshFolder() + QStringLiteral("/nothing.jpg");
    EXPECT_EQ(loadError(missing), QStringLiteral("Cannot open file %1").arg(missing));

    EXPECT_EQ(loadError(writeTemp(QStringLiteral("notes.xyz"), "just some text")),
              QStringLiteral("Unknown picture file extension (.xyz)"));

    const QByteArray jpeg = encodeJpeg(quadrants(200, 200));
    const QString truncated =
        loadError(writeTemp(QStringLiteral("cut.jpg"), jpeg.left(jpeg.size() / 2)));
    EXPECT_TRUE(truncated.startsWith(QStringLiteral("JPEG error #"))) << qPrintable(truncated);

    // Cut inside the scan but properly ended: the data stops before the picture does.
    const QByteArray endedEarly = jpeg.left(jpeg.size() / 2) + QByteArray("\xff\xd9", 2);
    EXPECT_TRUE(loadError(writeTemp(QStringLiteral("short.jpg"), endedEarly), QSize(480, 480))
                    .startsWith(QStringLiteral("JPEG error #")));

    QByteArray damaged = jpeg;
    for (int i = 200; i < 260; ++i)
        damaged[i] = char(0xFF); // markers where the tables should be
    EXPECT_TRUE(loadError(writeTemp(QStringLiteral("bad.jpg"), damaged))
                    .startsWith(QStringLiteral("JPEG error #")));
    EXPECT_TRUE(loadError(writeTemp(QStringLiteral("empty.jpg"), QByteArray()))
                    .startsWith(QStringLiteral("JPEG error #")));

    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(quadrants(100, 100));
    EXPECT_EQ(loadError(writeTemp(QStringLiteral("Back.bmp"), bmp.left(300))),
              QStringLiteral("Bitmap image is not valid"));

    try {
        picture.loadFromFile(missing);
    } catch (const AppError&) {
    }
    EXPECT_EQ(picture.image(), before);
}

TEST(Picture, HeadersClaimingHugeSizesGiveAClearErrorNotAnAllocation) {
    // A bitmap header of 100000 x 100000 pixels, 24 bits, with almost no data behind it.
    QByteArray bmp(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = char(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54 + 64);
    put32(10, 54);
    put32(14, 40);
    put32(18, 100000);
    put32(22, 100000);
    bmp[26] = 1;
    bmp[28] = 24;
    bmp += QByteArray(64, '\x7f');
    EXPECT_EQ(loadError(writeTemp(QStringLiteral("huge.bmp"), bmp)),
              QStringLiteral("Bitmap image is not valid"));
    // Sizes whose product does not fit in 64 bits (found by the fuzzer).
    put32(18, 0x7fffffff);
    put32(22, 0x7fffffff);
    bmp[28] = 32;
    EXPECT_EQ(loadError(writeTemp(QStringLiteral("huger.bmp"), bmp)),
              QStringLiteral("Bitmap image is not valid"));

    // A JPEG whose frame header says 65000 x 65000.
    QByteArray jpeg = encodeJpeg(quadrants(16, 16));
    const int sof = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    ASSERT_GT(sof, 0);
    jpeg[sof + 5] = char(65000 >> 8);
    jpeg[sof + 6] = char(65000 & 0xff);
    jpeg[sof + 7] = char(65000 >> 8);
    jpeg[sof + 8] = char(65000 & 0xff);
    const QString jpegError = loadError(writeTemp(QStringLiteral("huge.jpg"), jpeg));
    EXPECT_FALSE(jpegError.isEmpty());
    // Asked for a small cover it may decode scaled, or refuse; it never runs out of memory.
    const QString scaled = loadError(writeTemp(QStringLiteral("huge2.jpg"), jpeg), QSize(480, 480));
    SUCCEED() << qPrintable(scaled);
}

// A few hundred bytes claiming a picture of billions of pixels, in every coding libjpeg reads:
// refused from the header, before any decoding (an arithmetic-coded one used to be decoded
// from nothing for half a minute and half a gigabyte).
class JpegBomb : public ::testing::TestWithParam<std::tuple<jpegtest::Coding, QSize>> {};

TEST_P(JpegBomb, IsRefusedAsTooLargeBeforeDecoding) {
    const auto [coding, claimed] = GetParam();
    const QByteArray jpeg = jpegtest::claimingSize(jpegtest::encodeCoded(quadrants(16, 16), coding),
                                                   claimed.width(), claimed.height());
    ASSERT_LT(jpeg.size(), 1000);
    const QString expected = QStringLiteral("The picture is too large (%1 × %2 pixels).")
                                 .arg(claimed.width())
                                 .arg(claimed.height());
    EXPECT_EQ(loadError(writeTemp(QStringLiteral("Front.jpg"), jpeg), QSize(480, 480)), expected);
    EXPECT_EQ(testenv::errorOf([&] { Jpeg::decode(jpeg, QSize(480, 480)); }), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCoding, JpegBomb,
    ::testing::Combine(::testing::Values(jpegtest::Coding::Huffman, jpegtest::Coding::Progressive,
                                         jpegtest::Coding::Arithmetic,
                                         jpegtest::Coding::ArithmeticProgressive),
                       ::testing::Values(QSize(65344, 52272), QSize(50000, 50000),
                                         QSize(10001, 10000))));

TEST(Picture, EveryCodingLoadsAndEndlessScansAreRefused) {
    const QImage source = quadrants(64, 48);
    for (const auto coding : {jpegtest::Coding::Huffman, jpegtest::Coding::Progressive,
                              jpegtest::Coding::Arithmetic, jpegtest::Coding::ArithmeticProgressive}) {
        Picture picture;
        picture.loadFromData(jpegtest::encodeCoded(source, coding), QStringLiteral("jpg"));
        EXPECT_TRUE(near(picture.image().pixel(5, 5), qRgb(255, 0, 0))) << int(coding);
    }
    // 195 scans: a file made to keep the decoder busy.
    EXPECT_EQ(testenv::errorOf([&] {
                  Picture().loadFromData(
                      jpegtest::encodeCoded(source, jpegtest::Coding::ManyScans),
                      QStringLiteral("jpg"));
              }),
              QStringLiteral("JPEG error (more scans than any real picture has)"));
}

TEST(Picture, ALongLoadLetsTheWindowsPaint) {
    // 100 megapixels from a few hundred bytes: the most the program decodes, taking a while.
    const QString file = writeTemp(
        QStringLiteral("Front.jpg"),
        jpegtest::claimingSize(jpegtest::encodeCoded(quadrants(16, 16), jpegtest::Coding::Arithmetic),
                               10000, 10000));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
    timer.start(5);
    Picture picture;
    const auto start = std::chrono::steady_clock::now();
    picture.loadFromFile(file, QSize(480, 480));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(picture.image().size(), QSize(1250, 1250));
    if (took > std::chrono::milliseconds(200))
        EXPECT_GT(ticks, 0) << "events waited for the whole load";
}

TEST(Picture, TheBytesKeptAreThoseReadEvenWhenTheFileChangesAfterwards) {
    const QByteArray bytes = encodeJpeg(quadrants(300, 200));
    const QString file = writeTemp(QStringLiteral("Front.jpg"), bytes);
    Picture picture;
    picture.loadFromFile(file, QSize(100, 100));
    QFile rewrite(file);
    ASSERT_TRUE(rewrite.open(QIODevice::ReadWrite | QIODevice::Truncate));
    rewrite.write("other");
    rewrite.close();
    EXPECT_EQ(picture.originalBytes(), bytes);
    EXPECT_EQ(picture.decode().size(), QSize(300, 200));
}

TEST(Picture, ADrawnOnBitmapIsSavedWithItsNewPixels) {
    QImage source = quadrants(552, 472);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(source);
    Picture picture;
    picture.loadFromData(bmp, QStringLiteral("bmp"));
    QImage changed = picture.image();
    changed.setPixel(551, 471, qRgb(0, 0, 255));
    picture.setImage(changed);
    const QString file = testenv::freshFolder() + QStringLiteral("/Back.bmp");
    picture.saveToFile(file);
    Picture reread;
    reread.loadFromFile(file);
    EXPECT_EQ(reread.getFormat(), Picture::Format::Bitmap);
    EXPECT_EQ(reread.image().pixel(551, 471), qRgb(0, 0, 255));

    const QString unwritable = file + QStringLiteral("/inside-a-file.bmp");
    try {
        picture.saveToFile(unwritable);
        ADD_FAILURE() << "saving below a file succeeded";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot create file %1\nA part of the path is not a "
                                              "folder.")
                                   .arg(unwritable));
    }
}

} // namespace
