#include "cover/FrontResolution.h"

#include "TestEnv.h"
#include "cover/CoverLayout.h"
#include "cover/CoverOptions.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

// A JPEG picture loaded as the front is: decoded only as large as the 480-pixel square needs.
Picture frontOf(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(90, 120, 150));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    Picture picture;
    picture.loadFromData(bytes, QStringLiteral("jpg"), Layout::FrontRect.size());
    return picture;
}

} // namespace

// The shorter side over 120 mm (4.72 in), rounded down: 945 pixels is the first to reach 200.
TEST(FrontResolution, PixelsPerInchFromTheShorterSide) {
    EXPECT_EQ(frontPixelsPerInch(QSize(400, 400)), 84);
    EXPECT_EQ(frontPixelsPerInch(QSize(2000, 2000)), 423);
    EXPECT_EQ(frontPixelsPerInch(QSize(945, 945)), 200);
    EXPECT_EQ(frontPixelsPerInch(QSize(944, 3000)), 199);
    EXPECT_EQ(frontPixelsPerInch(QSize(3000, 708)), 149);
    EXPECT_EQ(frontPixelsPerInch(QSize()), 0);
    EXPECT_EQ(frontPixelsPerInch(QSize(0, 500)), 0);
}

// The warning counts the picture's own pixels: a 2000-pixel photo shown from a reduced decode
// is sharp enough, a 400-pixel one is not.
TEST(FrontResolution, WarningFromThePicturesOwnPixels) {
    const Picture large = frontOf(QSize(2000, 2000));
    ASSERT_LT(large.image().width(), 2000) << "shown from a reduced decode";
    EXPECT_TRUE(softFrontWarning(large, {}).isEmpty());

    const Picture small = frontOf(QSize(400, 400));
    EXPECT_EQ(softFrontWarning(small, {}),
              QStringLiteral("Front picture: 84 pixels per inch at print size — may print soft."));
    EXPECT_TRUE(softFrontWarning(frontOf(QSize(945, 945)), {}).isEmpty());
    EXPECT_FALSE(softFrontWarning(frontOf(QSize(944, 944)), {}).isEmpty());
    EXPECT_TRUE(softFrontWarning(Picture(), {}).isEmpty()) << "no picture, nothing to say";

    testenv::useLanguage(QStringLiteral("NLD"));
    const QString dutch = softFrontWarning(small, {});
    testenv::useLanguage(QStringLiteral("ENU"));
    EXPECT_EQ(
        dutch,
        QStringLiteral("Voorfoto: 84 pixels per inch op afdrukformaat — kan onscherp afdrukken."));
}

// A crop shows part of the picture, so fewer of its pixels cover the front; a fitted picture
// spreads its longer side over the front.
TEST(FrontResolution, WarningCountsOnlyThePixelsTheFrontShows) {
    const Picture photo = frontOf(QSize(3000, 2000)); // 423 ppi stretched
    CoverOptions half;
    half.fill = FrontFill::Crop;
    half.crop = QRectF(0.25, 0.25, 0.25, 0.375); // 750 x 750 pixels: 158 ppi
    CoverOptions fitted;
    fitted.fill = FrontFill::Fit;
    EXPECT_TRUE(softFrontWarning(photo, {}).isEmpty());
    EXPECT_TRUE(softFrontWarning(photo, fitted).isEmpty());
    EXPECT_EQ(softFrontWarning(photo, half),
              QStringLiteral("Front picture: 158 pixels per inch at print size — may print soft."));
    const Picture tall = frontOf(QSize(600, 1000)); // 127 ppi stretched, 211 fitted
    EXPECT_FALSE(softFrontWarning(tall, {}).isEmpty());
    EXPECT_TRUE(softFrontWarning(tall, fitted).isEmpty());
}
