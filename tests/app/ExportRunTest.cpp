// The program run as a user runs it from a shell without a display: no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM. It exports the sample project to PDF and PNG, refuses bad
// lines and bad projects with one line on standard error, leaves no file behind when it fails,
// and writes nothing but the file it was asked for.
#include "TestEnv.h"
#include "platform/JpegTestUtil.h"
#include "back/BackTextEditor.h"
#include "back/RichTextEdit.h"
#include "cover/Cover.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "settings/Settings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString SampleName = QStringLiteral("Velmora - Last Rose Of Summer 2002");

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// A user of their own: home, settings and data below root, started in root/start.
class ExportRun : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = testenv::freshFolder(QStringLiteral("export-run"));
        QDir().mkpath(start());
    }

    QString start() const { return root_ + QStringLiteral("/start"); }
    QString config() const { return root_ + QStringLiteral("/config"); }
    QString data() const { return root_ + QStringLiteral("/data"); }

    // memoryLimit: the most address space the program may have, in bytes (0: no limit), as
    // `ulimit -v` sets it.
    Outcome run(const QStringList& arguments,
                const QString& language = QStringLiteral("en_GB.UTF-8"), rlim_t memoryLimit = 0) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Run as root, from cron or over ssh: no runtime folder either.
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), root_);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config());
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        env.insert(QStringLiteral("LANG"), language);
        env.insert(QStringLiteral("LC_ALL"), language);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QStringLiteral("unix:path=/nonexistent"));
        QProcess process;
        if (memoryLimit)
            process.setChildProcessModifier([memoryLimit] {
                const rlimit limit{memoryLimit, memoryLimit};
                setrlimit(RLIMIT_AS, &limit);
            });
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(start());
        process.start(QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix"), arguments);
        Outcome result;
        const bool ended = process.waitForFinished(120000);
        if (!ended) {
            process.kill();
            process.waitForFinished(5000);
        }
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        if (ended && process.exitStatus() == QProcess::NormalExit)
            result.status = process.exitCode();
        else // status -1; what it printed is kept, so that a failing check shows it
            result.err += ended ? QStringLiteral("(crashed)") : QStringLiteral("(ended after 120 s)");
        return result;
    }

    // The sample project copied into a folder of its own.
    QString sampleProject(const QString& name = SampleName) {
        const QString folder = root_ + QStringLiteral("/covers/") + name;
        QDir().mkpath(folder);
        for (const char* file : {"Front.jpg", "Back.bmp", "Back.rtf"})
            QFile::copy(testenv::sourcePath(QStringLiteral("samples/") + file),
                        folder + QLatin1Char('/') + QLatin1String(file));
        return folder;
    }

    // Every file below root, outside the start folder's outputs, with its contents.
    QMap<QString, QByteArray> filesBelow(const QString& folder) const {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            files.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(dir)"));
        }
        return files;
    }

    QString root_;
};

QString tool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool popplerPresent() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty();
}

} // namespace

// The sample project named on the line: an A4 page with the spine text as text and the front
// picture at its own 1000 x 1000 pixels; nothing on standard error, nothing else written.
TEST_F(ExportRun, SampleProjectToPdf) {
    if (!popplerPresent())
        GTEST_SKIP() << "pdfinfo/pdftotext/pdfimages (Debian poppler-utils) are not installed";
    const QString project = sampleProject();
    const auto before = filesBelow(root_);
    const Outcome r = run({QStringLiteral("--export-pdf"), QStringLiteral("cover.pdf"), project});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "");
    const QString pdf = start() + QStringLiteral("/cover.pdf");

    const QString info = tool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(
        QRegularExpression(R"(Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts \(A4\))")))
        << info.toStdString();
    EXPECT_TRUE(info.contains("Sleevix - " + SampleName)) << info.toStdString();
    EXPECT_EQ(tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).count(SampleName), 2);
    const QString images = tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_TRUE(images.contains(QRegularExpression("image\\s+1000\\s+1000\\s+rgb")))
        << images.toStdString();

    auto after = filesBelow(root_);
    after.remove(pdf);
    EXPECT_EQ(after, before);
}

// A front picture with too few pixels for its print size still exports, and says so in one line.
TEST_F(ExportRun, SoftFrontIsToldAndExported) {
    const QString project = sampleProject();
    QImage small(300, 300, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    ASSERT_TRUE(small.save(project + QStringLiteral("/Front.jpg"), "JPEG"));
    const Outcome r = run({QStringLiteral("--export-pdf"), QStringLiteral("cover.pdf"), project});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString::fromUtf8("sleevix: Front picture: 63 pixels per inch at print size "
                                       "\u2014 may print soft.\n"));
    EXPECT_GT(QFileInfo(start() + QStringLiteral("/cover.pdf")).size(), 0);
}

// Without a folder the current project from the settings; on a first start, when its folder is
// not there yet, the sample files beside the program, read where they lie: no settings, no data
// folder, no project folder are made.
TEST_F(ExportRun, CurrentProjectIsReadWithoutWritingAnything) {
    const Outcome first = run({QStringLiteral("--export-png"), QStringLiteral("first.png"),
                               QStringLiteral("--dpi"), QStringLiteral("50")});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(QImage(start() + QStringLiteral("/first.png")).size(), QSize(413, 585));
    EXPECT_FALSE(QFileInfo::exists(config()));
    EXPECT_FALSE(QFileInfo::exists(data()));

    // A data folder and project in the settings: that project, its name on the spines.
    const QString covers = root_ + QStringLiteral("/covers");
    sampleProject(QStringLiteral("Winter Tunes"));
    testenv::writeFile(config() + QStringLiteral("/Sleevix/Sleevix.ini"),
                       QStringLiteral("[Defaults]\nPath for Data=%1/\nProject Name=Winter Tunes\n")
                           .arg(covers)
                           .toUtf8());
    const auto before = filesBelow(root_);
    const Outcome r = run({QStringLiteral("--export-pdf"), QStringLiteral("current.pdf")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    auto after = filesBelow(root_);
    after.remove(start() + QStringLiteral("/first.png"));
    after.remove(start() + QStringLiteral("/current.pdf"));
    auto expected = before;
    expected.remove(start() + QStringLiteral("/first.png"));
    EXPECT_EQ(after, expected);
    if (popplerPresent()) {
        const QString text =
            tool(QStringLiteral("pdftotext"), {start() + QStringLiteral("/current.pdf"), "-"});
        EXPECT_EQ(text.count("Winter Tunes"), 2) << text.toStdString();
    }

    // The project in the settings is missing: the sample files stand in, as a first start
    // copies them, and its name is on the spines.
    QDir(covers + QStringLiteral("/Winter Tunes")).removeRecursively();
    const Outcome missing = run({QStringLiteral("--export-pdf"), QStringLiteral("sample.pdf")});
    ASSERT_EQ(missing.status, 0) << missing.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(covers + QStringLiteral("/Winter Tunes")));
}

// A settings value that cannot be read is told on one line; the export goes on with the default
// project, as the start does, and the settings file stays as it was.
TEST_F(ExportRun, UnreadableSettingIsToldAndTheDefaultsServe) {
    // An unquoted list: a value of another kind than text.
    const QByteArray settings = "[Defaults]\nProject Name=Winter, Tunes\n";
    const QString store =
        testenv::writeFile(config() + QStringLiteral("/Sleevix/Sleevix.ini"), settings);
    const Outcome r = run({QStringLiteral("--export-png"), QStringLiteral("page.png"),
                           QStringLiteral("--dpi"), QStringLiteral("20")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.startsWith("sleevix: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Project Name")) << r.err.toStdString();
    EXPECT_EQ(r.err.count(u'\n'), 1);
    EXPECT_EQ(QImage(start() + QStringLiteral("/page.png")).size(), QSize(165, 234));
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), settings);
}

// A project saved after Copy to Back Cover: its "Back.bmp" is the copy of its "Back.rtf", and
// the export prints the list as text, as printing from the window does; the front is the one
// picture.
TEST_F(ExportRun, CopiedListExportsAsText) {
    if (!popplerPresent())
        GTEST_SKIP() << "pdftotext/pdfimages (Debian poppler-utils) are not installed";
    const QString project = root_ + QStringLiteral("/covers/Copied");
    {
        Workspace workspace(testenv::startupFacts(), start());
        Cover cover(workspace);
        cover.drawTemplate();
        cover.loadFrontPicture(testenv::sourcePath(QStringLiteral("samples/Front.jpg")));
        BackTextEditor editor(workspace, cover);
        editor.loadContents(testenv::sourcePath(QStringLiteral("samples/Back.rtf")));
        editor.copyToBackCover();
        Project::writeFiles(project, editor.editor->toRtf(), cover.backPicture(),
                            cover.frontPicture());
    }
    const Outcome r = run({QStringLiteral("--export-pdf"), QStringLiteral("copied.pdf"), project});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString pdf = start() + QStringLiteral("/copied.pdf");
    const QString text = tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains("Lantern Light")) << text.toStdString();
    const auto pictures = [&] {
        return tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
            .count(QRegularExpression("\\n\\s+1\\s+\\d+\\s+image"));
    };
    EXPECT_EQ(pictures(), 1);

    // Without its list the same "Back.bmp" is just a picture: it prints as one, and the export
    // does not fail for the list it does not need.
    QFile::remove(project + QStringLiteral("/Back.rtf"));
    const Outcome without =
        run({QStringLiteral("--export-pdf"), QStringLiteral("copied.pdf"), project});
    ASSERT_EQ(without.status, 0) << without.err.toStdString();
    EXPECT_EQ(without.err, "");
    EXPECT_EQ(pictures(), 2);
}

// The page at N dpi is A4 at N dpi, with its resolution in the file.
TEST_F(ExportRun, PngHasThePagesSizeAtItsResolution) {
    const QString project = sampleProject();
    for (const int dpi : {72, 300}) {
        const QString png = QStringLiteral("page-%1.png").arg(dpi);
        const Outcome r = run({project, QStringLiteral("--export-png"), png,
                               QStringLiteral("--dpi"), QString::number(dpi)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QImage page(start() + QLatin1Char('/') + png);
        EXPECT_EQ(page.size(), dpi == 72 ? QSize(595, 842) : QSize(2480, 3508));
        EXPECT_EQ(qRound(page.dotsPerMeterX() * 0.0254), dpi);
    }
}

TEST_F(ExportRun, HelpAndVersion) {
    const Outcome help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--export-pdf <file>"));
    EXPECT_TRUE(help.out.contains("--dpi <n>"));
    EXPECT_EQ(help.err, "") << "the help prints only its own lines";
    const Outcome version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("Sleevix 1.")) << version.out.toStdString();
}

struct BadRun {
    const char* name;
    QStringList arguments; // "<project>" stands for the prepared project folder
    int status;
    QString named; // what the message names; "<project>" as above
    std::function<void(const QString& project)> spoil = {};
    rlim_t memoryLimit = 0;
};

class ExportRefusal : public ExportRun, public ::testing::WithParamInterface<BadRun> {};

// One line on standard error, naming the file or the option; the exit status; no output file,
// and an older file of that name kept as it was.
TEST_P(ExportRefusal, OneLineNoFile) {
    const BadRun& bad = GetParam();
    const QString project = sampleProject();
    if (bad.spoil)
        bad.spoil(project);
    const QString out = start() + QStringLiteral("/out.pdf");
    const QString png = start() + QStringLiteral("/out.png");
    testenv::writeFile(out, "older page");
    QStringList arguments;
    for (const QString& a : bad.arguments)
        arguments << QString(a).replace(QStringLiteral("<project>"), project);

    const Outcome r = run(arguments, QStringLiteral("en_US.UTF-8"), bad.memoryLimit);
    EXPECT_EQ(r.status, bad.status);
    EXPECT_TRUE(r.err.startsWith("sleevix: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(u'\n'));
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString(bad.named).replace(QStringLiteral("<project>"), project)))
        << r.err.toStdString();
    EXPECT_EQ(r.out, "");

    QFile older(out);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older page");
    EXPECT_FALSE(QFileInfo::exists(png));
    EXPECT_EQ(QDir(start()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExportRefusal,
    ::testing::Values(
        BadRun{"NoSuchProject",
               {"--export-pdf", "out.pdf", "<project>/nothing"},
               1,
               "<project>/nothing"},
        BadRun{"FrontMissing",
               {"--export-pdf", "out.pdf", "<project>"},
               1,
               "<project>/Front.jpg",
               [](const QString& p) { QFile::remove(p + "/Front.jpg"); }},
        BadRun{"FrontDamaged",
               {"--export-png", "out.png", "--dpi", "40", "<project>"},
               1,
               "<project>/Front.jpg",
               [](const QString& p) {
                   // A JPEG's start and then nothing a decoder can read.
                   testenv::writeFile(p + "/Front.jpg",
                                      QByteArray("\xFF\xD8\xFF\xDB\x00\x04junk", 10) +
                                          QByteArray(400, 'x'));
               }},
        BadRun{"FrontClaimingBillionsOfPixels",
               {"--export-png", "out.png", "--dpi", "40", "<project>"},
               1,
               "<project>/Front.jpg: The picture is too large (65344 × 52272 pixels).",
               [](const QString& p) {
                   testenv::writeFile(p + "/Front.jpg",
                                      jpegtest::claimingSize(
                                          jpegtest::encodeCoded(QImage(16, 16, QImage::Format_RGB32),
                                                                jpegtest::Coding::Arithmetic),
                                          65344, 52272));
               }},
        BadRun{"FrontIsAFifo",
               {"--export-pdf", "out.pdf", "<project>"},
               1,
               "Cannot open file <project>/Front.jpg",
               [](const QString& p) {
                   QFile::remove(p + "/Front.jpg");
                   mkfifo(QFile::encodeName(p + "/Front.jpg").constData(), 0600);
               }},
        BadRun{"FrontLargerThanMemory",
               {"--export-pdf", "out.pdf", "<project>"},
               1,
               "<project>/Front.jpg",
               [](const QString& p) {
                   QFile front(p + "/Front.jpg");
                   front.open(QIODevice::WriteOnly | QIODevice::Truncate);
                   front.write("\xFF\xD8\xFF\xE0", 4);
                   front.resize(5LL << 30);
               },
               3000000ULL * 1024},
        BadRun{"BackDamaged",
               {"--export-pdf", "out.pdf", "<project>"},
               1,
               "<project>/Back.bmp",
               [](const QString& p) { testenv::writeFile(p + "/Back.bmp", "BM garbage"); }},
        BadRun{"OutputFolderMissing",
               {"--export-pdf", "nowhere/out.pdf", "<project>"},
               1,
               "nowhere/out.pdf"},
        BadRun{"OutputIsAFolder", {"--export-png", "<project>", "--dpi", "40"}, 1, "<project>"},
        BadRun{"NoDpi", {"--export-png", "out.png", "<project>"}, 2, "--dpi"},
        BadRun{"DpiZero", {"--export-png", "out.png", "--dpi", "0"}, 2, "\"0\""},
        BadRun{"DpiNegative", {"--export-png", "out.png", "--dpi", "-3"}, 2, "\"-3\""},
        BadRun{"DpiNotANumber", {"--export-png", "out.png", "--dpi", "many"}, 2, "\"many\""},
        BadRun{"DpiTooLarge", {"--export-png", "out.png", "--dpi", "100000"}, 2, "\"100000\""},
        BadRun{"UnknownOption", {"--export-pdf", "out.pdf", "--sharp"}, 2, "sharp"},
        BadRun{"WindowWithoutDisplay", {"front.jpg"}, 2, "display"}),
    [](const auto& info) { return std::string(info.param.name); });

// The messages in the user's language: the program's own and the toolkit's.
TEST_F(ExportRun, DutchUserReadsDutch) {
    const Outcome missing = run({QStringLiteral("--export-pdf"), QStringLiteral("out.pdf"),
                                 QStringLiteral("/no/such/cover")},
                                QStringLiteral("nl_NL.UTF-8"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "sleevix: Er is geen projectmap /no/such/cover.\n");
    const Outcome unknown = run({QStringLiteral("--sharp")}, QStringLiteral("nl_NL.UTF-8"));
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "sleevix: Onbekende optie: 'sharp'.\n");
    const Outcome dpi = run({QStringLiteral("--export-png"), QStringLiteral("o.png")},
                            QStringLiteral("nl_NL.UTF-8"));
    EXPECT_EQ(dpi.status, 2);
    EXPECT_TRUE(dpi.err.contains("--dpi")) << dpi.err.toStdString();
    EXPECT_FALSE(dpi.err.contains("needs")) << dpi.err.toStdString();
}
