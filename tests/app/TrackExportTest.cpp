// sleevix --export-pdf with --tracks: the list read from a cue sheet is printed on the back as
// text (and on the disc label with --disc); a source that gives no list fails with one line and
// writes nothing.
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int status = -1;
    QString err;
};

ProgramRun sleevix(const QString& root, const QStringList& arguments,
                   const QString& program = QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix")) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), root);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(root);
    process.start(program, arguments);
    ProgramRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
    }
    return run;
}

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(TrackExportTest, PrintsTheListFromACueSheetAsText) {
    const QString root = testenv::freshFolder(QStringLiteral("track-export"));
    const QString project = root + QStringLiteral("/My Project");
    QDir().mkpath(project);
    for (const char* file : {"Front.jpg", "Back.bmp", "Back.rtf"})
        QFile::copy(testenv::sourcePath(QStringLiteral("samples/") + file),
                    project + QLatin1Char('/') + QLatin1String(file));
    const QString cue = testenv::writeFile(
        root + QStringLiteral("/music/album.cue"),
        "PERFORMER \"Nina Quartet\"\nTITLE \"Blue Hours\"\nREM DATE 2011\nFILE \"a.flac\" WAVE\n"
        "TRACK 01 AUDIO\nTITLE \"Morning Light\"\nINDEX 01 00:00:00\n"
        "TRACK 02 AUDIO\nTITLE \"Evening Star\"\nINDEX 01 03:10:00\n"
        "TRACK 03 AUDIO\nTITLE \"Night\"\nINDEX 01 07:00:00\n");
    const QString pdf = root + QStringLiteral("/cover.pdf");
    const ProgramRun done = sleevix(
        root, {QStringLiteral("--export-pdf"), pdf, QStringLiteral("--tracks"), cue, project});
    ASSERT_EQ(done.status, 0) << qPrintable(done.err);
    const QString text = pdfText(pdf);
    for (const char* expected : {"Nina Quartet", "Blue Hours (2011)", "Morning Light", "3:10",
                                 "Evening Star", "3:50", "Night", "Total time", "7:00"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << qPrintable(text);
    // The project's own list is not on the page.
    EXPECT_FALSE(text.contains(QStringLiteral("Last Rose")));

    // The disc label takes the same list (shown as a block by the project's choice).
    testenv::writeFile(project + QStringLiteral("/Cover.ini"), "[Label]\nTracks=block\n");
    const QString label = root + QStringLiteral("/label.pdf");
    const ProgramRun labelled =
        sleevix(root, {QStringLiteral("--export-pdf"), label, QStringLiteral("--disc"),
                       QStringLiteral("--tracks"), cue, project});
    ASSERT_EQ(labelled.status, 0) << qPrintable(labelled.err);
    const QString labelText = pdfText(label);
    for (const char* expected : {"Nina Quartet - Blue Hours", "Evening Star"})
        EXPECT_TRUE(labelText.contains(QLatin1String(expected))) << qPrintable(labelText);
    EXPECT_FALSE(labelText.contains(QStringLiteral("Last Rose"))) << qPrintable(labelText);

    const QString empty = testenv::freshFolder(QStringLiteral("no-music"));
    const QString failed = root + QStringLiteral("/failed.pdf");
    const ProgramRun refused = sleevix(
        root, {QStringLiteral("--export-pdf"), failed, QStringLiteral("--tracks"), empty, project});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, QStringLiteral("sleevix: There are no audio files in %1.\n").arg(empty));
    EXPECT_FALSE(QFile::exists(failed));

    // The music is read through the module beside the program: a program without it says so.
    const QString alone = root + QStringLiteral("/alone/sleevix");
    QDir().mkpath(root + QStringLiteral("/alone"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/sleevix"), alone));
    const ProgramRun moduleless = sleevix(
        root, {QStringLiteral("--export-pdf"), failed, QStringLiteral("--tracks"), cue, project},
        alone);
    EXPECT_EQ(moduleless.status, 1);
    EXPECT_EQ(moduleless.err,
              QStringLiteral("sleevix: Sleevix cannot read music files or discs: its module "
                             "libsleevix-music.so cannot be loaded (it is not installed).\n"));
    EXPECT_FALSE(QFile::exists(failed));
}

} // namespace
