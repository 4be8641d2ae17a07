#include "print/PrinterCalibration.h"

#include "common/TestEnv.h"
#include "platform/RegistryStore.h"
#include "print/CalibrationPage.h"

#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct Accepted {
    CalibrationField field;
    const char* text;
    int tenths;
};

class CalibrationAccepts : public ::testing::TestWithParam<Accepted> {};

struct Refused {
    CalibrationField field;
    const char* text;
};

class CalibrationRefuses : public ::testing::TestWithParam<Refused> {};

QString storeFile() {
    return testenv::freshFolder(QStringLiteral("calibration")) + QStringLiteral("/Sleevix.ini");
}

} // namespace

TEST_P(CalibrationAccepts, WhatAUserTypes) {
    EXPECT_EQ(parseCalibrationField(GetParam().field, QString::fromUtf8(GetParam().text)),
              GetParam().tenths);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CalibrationAccepts,
    ::testing::Values(Accepted{CalibrationField::OffsetX, "2", 20},
                      Accepted{CalibrationField::OffsetX, "+2.0", 20},
                      Accepted{CalibrationField::OffsetY, "-1,5", -15},      // a Dutch comma
                      Accepted{CalibrationField::OffsetY, "\u22121.5", -15}, // typographic minus
                      Accepted{CalibrationField::OffsetX, " 10.0 mm ", 100},
                      Accepted{CalibrationField::OffsetX, "-10", -100},
                      Accepted{CalibrationField::OffsetY, ".5", 5},
                      Accepted{CalibrationField::OffsetY, "0", 0},
                      Accepted{CalibrationField::ScaleX, "98.50", 985},
                      Accepted{CalibrationField::ScaleX, "95.0", 950},
                      Accepted{CalibrationField::ScaleY, "105 %", 1050},
                      Accepted{CalibrationField::ScaleY, "100", 1000}));

// Out of range, not a number, finer than tenths, the other field's unit: each refused with the
// field's name, its range and what was typed.
TEST_P(CalibrationRefuses, WithTheFieldAndItsRange) {
    const Refused r = GetParam();
    const QString message =
        testenv::errorOf([&] { parseCalibrationField(r.field, QString::fromUtf8(r.text)); });
    ASSERT_FALSE(message.isEmpty()) << r.text;
    EXPECT_TRUE(message.startsWith(calibrationFieldName(r.field))) << message.toStdString();
    const bool scale = r.field == CalibrationField::ScaleX || r.field == CalibrationField::ScaleY;
    EXPECT_TRUE(message.contains(scale ? QStringLiteral("from 95.0 to 105.0 %")
                                       : QStringLiteral("from -10.0 to +10.0 mm")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(u'"' + QString::fromUtf8(r.text).trimmed() + u'"'))
        << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CalibrationRefuses,
    ::testing::Values(
        Refused{CalibrationField::OffsetX, "10.1"}, Refused{CalibrationField::OffsetX, "-10.1"},
        Refused{CalibrationField::OffsetY, "12"}, Refused{CalibrationField::OffsetY, "abc"},
        Refused{CalibrationField::OffsetY, ""}, Refused{CalibrationField::OffsetX, "+"},
        Refused{CalibrationField::OffsetX, "2.55"}, Refused{CalibrationField::OffsetX, "2 %"},
        Refused{CalibrationField::OffsetX, "1e1"}, Refused{CalibrationField::OffsetX, "--1"},
        Refused{CalibrationField::OffsetX, "99999999999"},
        Refused{CalibrationField::ScaleX, "94.9"}, Refused{CalibrationField::ScaleX, "105.1"},
        Refused{CalibrationField::ScaleY, "0"}, Refused{CalibrationField::ScaleY, "98 mm"},
        Refused{CalibrationField::ScaleY, "-98"}));

TEST(PrinterCalibration, RefusalsSpeakDutchToADutchUser) {
    testenv::useLanguage(QStringLiteral("NLD"));
    const QString offset =
        testenv::errorOf([] { parseCalibrationField(CalibrationField::OffsetY, "11"); });
    const QString scale =
        testenv::errorOf([] { parseCalibrationField(CalibrationField::ScaleX, "x"); });
    testenv::useLanguage(QStringLiteral("ENU"));
    EXPECT_EQ(offset, QStringLiteral("Verticale verschuiving moet een getal van -10,0 tot +10,0 mm "
                                     "zijn, in tienden van een millimeter; \"11\" is dat niet."));
    EXPECT_EQ(scale, QStringLiteral("Horizontale schaal moet een getal van 95,0 tot 105,0 % zijn, "
                                    "in tienden van een procent; \"x\" is dat niet."));
}

// The four fields in their order: the first field refused is the one told.
TEST(PrinterCalibration, AllFieldsTogetherAndTheirFormat) {
    const PrinterCalibration c = parseCalibration("1.5", "-0.5", "98", "101.2");
    EXPECT_EQ(c, (PrinterCalibration{15, -5, 980, 1012}));
    EXPECT_FALSE(c.isNone());
    EXPECT_TRUE(PrinterCalibration{}.isNone());
    const QString first = testenv::errorOf([] { parseCalibration("0", "20", "90", "100"); });
    EXPECT_TRUE(first.startsWith(QStringLiteral("Vertical offset"))) << first.toStdString();

    EXPECT_EQ(formatCalibrationField(20), "2.0");
    EXPECT_EQ(formatCalibrationField(-5), "-0.5");
    EXPECT_EQ(formatCalibrationField(-100), "-10.0");
    EXPECT_EQ(formatCalibrationField(985), "98.5");
    for (int tenths : {-100, -15, -5, 0, 5, 99, 100})
        EXPECT_EQ(parseCalibrationField(CalibrationField::OffsetX, formatCalibrationField(tenths)),
                  tenths);
}

// Scaled about the page's origin first, then moved by the offset in whole paper millimetres.
TEST(PrinterCalibration, TransformScalesAboutTheOriginThenMoves) {
    const PrinterCalibration c{20, -10, 980, 1010};
    const QTransform t = c.transform(600, 300);
    EXPECT_EQ(t.map(QPointF(0, 0)), QPointF(20 / 254.0 * 600, -10 / 254.0 * 300));
    const QPointF far = t.map(QPointF(6000, 3000));
    EXPECT_NEAR(far.x(), 0.98 * 6000 + 2.0 / 25.4 * 600, 1e-9);
    EXPECT_NEAR(far.y(), 1.01 * 3000 - 1.0 / 25.4 * 300, 1e-9);
    EXPECT_TRUE(PrinterCalibration{}.transform(600, 600).isIdentity());
}

// Each printer has its own section, whatever characters its name holds; another printer keeps
// its values when one is changed.
TEST(PrinterCalibration, StoredPerPrinterUnderAnyName) {
    const QString file = storeFile();
    const QStringList names = {QStringLiteral("PDF"), QStringLiteral("Office/2nd floor"),
                               QStringLiteral("\\\\server\\Laser [A4]=%20;#x"),
                               QStringLiteral("Drucker Küche"), QStringLiteral("pdf")};
    {
        RegistryStore store(file);
        int i = 0;
        for (const QString& name : names) {
            saveCalibration(store, name, PrinterCalibration{i, -i, 1000 + i, 1000 - i});
            ++i;
        }
    }
    for (const QString& name : names)
        EXPECT_FALSE(calibrationSection(name).contains(u'/')) << name.toStdString();
    {
        RegistryStore store(file);
        saveCalibration(store, QStringLiteral("PDF"), PrinterCalibration{20, 0, 980, 1000});
    }
    RegistryStore store(file);
    EXPECT_EQ(loadCalibration(store, QStringLiteral("PDF")),
              (PrinterCalibration{20, 0, 980, 1000}));
    for (int i = 1; i < names.size(); ++i)
        EXPECT_EQ(loadCalibration(store, names[i]), (PrinterCalibration{i, -i, 1000 + i, 1000 - i}))
            << names[i].toStdString();
    EXPECT_TRUE(loadCalibration(store, QStringLiteral("Never calibrated")).isNone());
    EXPECT_TRUE(loadCalibration(store, QString()).isNone());
    EXPECT_EQ(
        store.readString(QStringLiteral("Calibration PDF"), QStringLiteral("X Offset"), QString()),
        "2.0")
        << "readable by hand";
}

// Hand-edited values that are not a whole calibration leave the printer uncalibrated; a value
// that is missing counts as untouched.
TEST(PrinterCalibration, AStoredValueThatIsGarbageMeansNoCalibration) {
    const QString file = storeFile();
    testenv::writeFile(file, "[Calibration%20Bad]\n"
                             "X Offset=2.0\nY Offset=zwei\n"
                             "[Calibration%20Far]\n"
                             "X Offset=50.0\n"
                             "[Calibration%20Empty]\n"
                             "X Scale=\n"
                             "[Calibration%20List]\n"
                             "X Offset=1.0, 2.0\n"
                             "[Calibration%20Binary]\n"
                             "Y Scale=@ByteArray(\\0\\x1)\n"
                             "[Calibration%20Half]\n"
                             "X Offset=1.5\n");
    RegistryStore store(file);
    for (const char* name : {"Bad", "Far", "Empty", "List", "Binary"})
        EXPECT_TRUE(loadCalibration(store, QString::fromLatin1(name)).isNone()) << name;
    EXPECT_EQ(loadCalibration(store, QStringLiteral("Half")),
              (PrinterCalibration{15, 0, 1000, 1000}));
}

// The ruler page at 254 pixels per inch, one pixel a tenth of a millimetre: the horizontal line
// is 1000 pixels long with 101 ticks; with +2.0 mm and 98 % across it starts 20 pixels further
// right (its 0 mark at 0.98 x 200 + 20) and is 980 pixels long.
TEST(CalibrationPage, RulerOfAHundredMillimetresWithItsTicks) {
    const auto measure = [](const PrinterCalibration& c) {
        QImage image(2100, 2970, QImage::Format_Grayscale8);
        image.fill(255);
        QPainter painter(&image);
        CalibrationPage page;
        page.calibration = c;
        page.dpiX = page.dpiY = 254;
        paintCalibrationPage(painter, page);
        painter.end();
        struct Cut {
            int first = -1, last = -1, ticks = 0;
        } cut;
        const int y = int(RulerTop * 10 * c.scaleY / 1000.0 + c.offsetY);
        for (int x = 0; x < 1400; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                cut.first = cut.first < 0 ? x : cut.first;
                cut.last = x;
            }
        // Ticks: dark runs 1.5 mm below the line, where every tick reaches, left of the
        // vertical line.
        bool dark = false;
        for (int x = 0; x < 1400; ++x) {
            const bool now = qGray(image.pixel(x, y + 15)) < 128;
            cut.ticks += now && !dark;
            dark = now;
        }
        return cut;
    };
    const auto plain = measure({});
    EXPECT_NEAR(plain.first, 200, 1.5);
    EXPECT_NEAR(plain.last - plain.first, 1000, 2);
    EXPECT_EQ(plain.ticks, 101);
    const auto calibrated = measure({20, 0, 980, 1000});
    EXPECT_NEAR(calibrated.first, 0.98 * 200 + 20, 1.5);
    EXPECT_NEAR(calibrated.last - calibrated.first, 980, 2);
    EXPECT_EQ(calibrated.ticks, 101);
}
