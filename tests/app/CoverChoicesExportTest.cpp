// A project's own choices through the program itself, measured in the PDF it writes: a portrait
// photo cropped to a square prints its circle round and upright (stretched, as a project without
// Cover.ini prints, it comes out squashed); the disc label's circle is 117 mm across with a 41 mm
// hole (15 mm full-face); the page's paper follows --paper, else the user's country.
#include "TestEnv.h"
#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool popplerPresent() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// Runs the program without a display, its own user below root, with a time limit.
int runSleevix(const QString& root, const QStringList& arguments,
               const QString& locale = QStringLiteral("en_GB.UTF-8"), QString* err = nullptr) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_PAPER"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), root);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(root);
    process.start(QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix"), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (err)
        *err = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitCode();
}

// A project: the front picture, a plain back, a short list, and Cover.ini when given.
QString makeProject(const QString& root, const QImage& front, const QByteArray& coverIni) {
    const QString folder = root + QStringLiteral("/Disc Of The Test");
    QDir().mkpath(folder);
    front.save(folder + QStringLiteral("/Front.jpg"), "JPEG", 95);
    QImage back(552, 472, QImage::Format_RGB32);
    back.fill(Qt::white);
    testenv::writeFile(folder + QStringLiteral("/Back.bmp"), windowsBitmap(back));
    testenv::writeFile(folder + QStringLiteral("/Back.rtf"),
                       "{\\rtf1\\ansi Disc Of The Test\\par 1. Morning\\par 2. Evening\\par}");
    if (!coverIni.isEmpty())
        testenv::writeFile(folder + QStringLiteral("/Cover.ini"), coverIni);
    return folder;
}

// The page at dpi, grey: the rows from top, height high (all when height is 0).
QImage render(const QString& pdf, int dpi, int top = 0, int height = 0) {
    QTemporaryDir dir;
    QProcess p;
    QStringList arguments{QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                          QStringLiteral("-singlefile")};
    if (height > 0)
        arguments << QStringLiteral("-y") << QString::number(top) << QStringLiteral("-H")
                  << QString::number(height) << QStringLiteral("-W") << QStringLiteral("99999");
    p.start(QStringLiteral("pdftoppm"),
            arguments + QStringList{pdf, dir.path() + QStringLiteral("/page")});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QImage();
    return QImage(dir.path() + QStringLiteral("/page.pgm"));
}

double pageHeightPt(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+[\\d.]+ x ([\\d.]+) pts"))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toDouble() : 0;
}

// First and one-past-last pixel darker than 100 along a row or a column, within [from, to).
std::pair<int, int> darkSpan(const QImage& page, bool isRow, int at, int from, int to) {
    int first = -1, last = -1;
    for (int i = from; i < to; ++i) {
        const int grey = qGray(isRow ? page.pixel(i, at) : page.pixel(at, i));
        if (grey < 100) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last + 1};
}

// The dark run through a point, along a row or a column: where it starts and one past its end.
std::pair<int, int> runThrough(const QImage& page, bool isRow, int at, int from) {
    const auto dark = [&](int i) {
        return i >= 0 && i < (isRow ? page.width() : page.height()) &&
               qGray(isRow ? page.pixel(i, at) : page.pixel(at, i)) < 100;
    };
    int first = from, last = from;
    while (dark(first - 1))
        --first;
    while (dark(last))
        ++last;
    return {first, last};
}

} // namespace

// A black circle 400 pixels across in the middle of a 600 x 900 portrait photo, a black bar above
// it. Cropped to the middle square it prints round, the bar above the circle; stretched (no
// Cover.ini) the circle comes out 1.5 times wider than high.
TEST(CoverChoicesExport, PortraitPhotoPrintsCroppedUprightAndRound) {
    if (!popplerPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    QImage photo(600, 900, QImage::Format_RGB32);
    photo.fill(Qt::white);
    {
        QPainter p(&photo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::black);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(300, 450), 200, 200);
        p.drawRect(250, 200, 100, 30); // above the circle, inside the middle square
    }
    const struct {
        QByteArray ini;
        double aspect; // width over height of the printed circle
    } rows[] = {{"[Front]\nFill=crop\n", 1.0}, {"", 1.5}};
    for (const auto& row : rows) {
        const QString root = testenv::freshFolder(QStringLiteral("crop"));
        const QString project = makeProject(root, photo, row.ini);
        const QString pdf = root + QStringLiteral("/out.pdf");
        ASSERT_EQ(runSleevix(root, {QStringLiteral("--export-pdf"), pdf, project}), 0);
        const QImage page = render(pdf, 300);
        ASSERT_FALSE(page.isNull());
        // The front's middle, layout (420, 300), lies at 107.7 x 77.7 mm from the paper's corner
        // (the printable area begins 3.5 mm in); the circle is the only black there.
        const int cx = int(107.7 / 25.4 * 300), cy = int(77.7 / 25.4 * 300);
        const auto across = runThrough(page, true, cy, cx);
        const auto down = runThrough(page, false, cx, cy);
        const double w = across.second - across.first, h = down.second - down.first;
        EXPECT_NEAR(w / h, row.aspect, 0.03) << row.ini.constData();
        std::printf("[ measured ] %s: circle %.2f x %.2f mm\n",
                    row.ini.isEmpty() ? "stretched" : "cropped", w / 300 * 25.4, h / 300 * 25.4);
        if (row.aspect == 1.0) {
            // Printed from 400 of 600 pixels across the 119 mm front: about 79.4 mm.
            EXPECT_NEAR(w / 300 * 25.4, 119.07 * 400 / 600, 0.6);
            // Upright: the bar is above the circle, not below or beside it.
            const auto column = darkSpan(page, false, cx, down.first - 300, down.first - 5);
            EXPECT_GT(column.first, 0) << "no bar above the circle";
        }
    }
}

// The disc label: the outer circle and the hole measured across the label's middle, for both
// holes; the photo (dark grey) fills the ring.
TEST(CoverChoicesExport, DiscLabelIs117mmWithItsHole) {
    if (!popplerPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    QImage photo(1200, 900, QImage::Format_RGB32);
    photo.fill(QColor(60, 60, 60));
    for (const int hole : {41, 15}) {
        const QString root = testenv::freshFolder(QStringLiteral("disc"));
        const QString project = makeProject(
            root, photo, QStringLiteral("[Label]\nHole=%1\n").arg(hole).toUtf8());
        const QString pdf = root + QStringLiteral("/label.pdf");
        QString err;
        ASSERT_EQ(runSleevix(root,
                             {QStringLiteral("--export-pdf"), pdf, QStringLiteral("--disc"),
                              QStringLiteral("--paper"), QStringLiteral("a4"), project},
                             QStringLiteral("en_GB.UTF-8"), &err),
                  0)
            << err.toStdString();
        const int dpi = 600;
        // On a page of its own the label lies in the A4 page's middle.
        const QImage page = render(pdf, dpi, int(148.5 / 25.4 * dpi), 1);
        ASSERT_FALSE(page.isNull());
        const int cy = 0, cx = int(105 / 25.4 * dpi);
        const auto outer = darkSpan(page, true, cy, 0, page.width());
        const auto left = darkSpan(page, true, cy, 0, cx);
        const auto right = darkSpan(page, true, cy, cx, page.width());
        const double outerMm = (outer.second - outer.first) * 25.4 / dpi;
        const double holeMm = (right.first - left.second) * 25.4 / dpi;
        EXPECT_NEAR(outerMm, 117.0, 0.2);
        EXPECT_NEAR(holeMm, hole, 0.2);
        std::printf("[ measured ] disc label: outer %.2f mm, hole %.2f mm (%d wanted)\n", outerMm,
                    holeMm, hole);
    }
}

// Without --paper the page is US Letter in the United States and Canada and A4 elsewhere.
TEST(CoverChoicesExport, PaperFromTheOptionOrTheCountry) {
    if (!popplerPresent())
        GTEST_SKIP() << "pdftoppm/pdfinfo (Debian poppler-utils) are not installed";
    const struct {
        const char* locale;
        QStringList extra;
        double heightPt;
    } rows[] = {{"en_US.UTF-8", {}, 792},
                {"fr_CA.UTF-8", {}, 792},
                {"nl_NL.UTF-8", {}, 841.89},
                {"en_US.UTF-8", {QStringLiteral("--paper"), QStringLiteral("a4")}, 841.89},
                {"nl_NL.UTF-8", {QStringLiteral("--paper"), QStringLiteral("letter")}, 792}};
    QImage photo(480, 480, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    for (const auto& row : rows) {
        const QString root = testenv::freshFolder(QStringLiteral("paper"));
        const QString project = makeProject(root, photo, {});
        const QString pdf = root + QStringLiteral("/p.pdf");
        ASSERT_EQ(runSleevix(root, QStringList{QStringLiteral("--export-pdf"), pdf} + row.extra +
                                       QStringList{project},
                             QString::fromLatin1(row.locale)),
                  0);
        EXPECT_NEAR(pageHeightPt(pdf), row.heightPt, 0.5) << row.locale;
    }
    QString err;
    const QString root = testenv::freshFolder(QStringLiteral("paper"));
    EXPECT_EQ(runSleevix(root, {QStringLiteral("--export-pdf"), root + QStringLiteral("/x.pdf"),
                                QStringLiteral("--paper"), QStringLiteral("a3")},
                         QStringLiteral("en_GB.UTF-8"), &err),
              2);
    EXPECT_TRUE(err.contains(QStringLiteral("--paper must be a4 or letter"))) << err.toStdString();
}
