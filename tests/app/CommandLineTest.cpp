// Reading the command line: what each line asks, every refusal with the option or value it
// names, and the choice of the toolkit's platform before the application object exists.
#include "app/CommandLine.h"

#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

CommandLine read(const QStringList& arguments) {
    return readCommandLine(QStringList{QStringLiteral("sleevix")} + arguments);
}

QStringList words(const char* line) {
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST(CommandLine, ExportsAndTheirProjectFolder) {
    CommandLine pdf = read(words("--export-pdf out.pdf"));
    EXPECT_EQ(pdf.action, CommandLine::Action::ExportPdf);
    EXPECT_EQ(pdf.output, "out.pdf");
    EXPECT_TRUE(pdf.projectFolder.isEmpty()); // the current project

    pdf = read({QStringLiteral("--export-pdf=my cover.pdf"), QStringLiteral("/covers/Summer")});
    EXPECT_EQ(pdf.action, CommandLine::Action::ExportPdf);
    EXPECT_EQ(pdf.output, "my cover.pdf");
    EXPECT_EQ(pdf.projectFolder, "/covers/Summer");

    const CommandLine png = read(words("/covers/Summer --export-png page.png --dpi 300"));
    EXPECT_EQ(png.action, CommandLine::Action::ExportPng);
    EXPECT_EQ(png.output, "page.png");
    EXPECT_EQ(png.dpi, 300);
    EXPECT_EQ(png.projectFolder, "/covers/Summer");
    EXPECT_EQ(read(words("--export-png p.png --dpi 1200")).dpi, 1200);
    EXPECT_EQ(read(words("--export-png p.png --dpi=1")).dpi, 1);
}

TEST(CommandLine, WithoutExportTheWindowOpensWithThePictures) {
    const CommandLine line = read({QStringLiteral("a.jpg"), QStringLiteral("b.bmp")});
    EXPECT_EQ(line.action, CommandLine::Action::OpenWindow);
    EXPECT_EQ(line.files, (QStringList{"a.jpg", "b.bmp"}));
    EXPECT_EQ(read({}).action, CommandLine::Action::OpenWindow);
    // A picture whose name starts with a dash, after the end of the options.
    EXPECT_EQ(read(words("-- -front.jpg")).files, QStringList{"-front.jpg"});
}

TEST(CommandLine, HelpAndVersion) {
    const CommandLine help = read(words("--help"));
    EXPECT_EQ(help.action, CommandLine::Action::ShowHelp);
    EXPECT_TRUE(help.helpText.contains("--export-pdf <file>"));
    EXPECT_TRUE(help.helpText.contains("--export-png <file>"));
    EXPECT_TRUE(help.helpText.contains("--dpi <n>"));
    EXPECT_EQ(read(words("-h")).action, CommandLine::Action::ShowHelp);
    EXPECT_EQ(read(words("--version")).action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(read(words("-v")).action, CommandLine::Action::ShowVersion);
}

struct Refusal {
    const char* line;
    const char* named; // what the message must name
};

class CommandLineRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(CommandLineRefusal, NamesTheOptionOrValue) {
    const CommandLine line = read(words(GetParam().line));
    EXPECT_EQ(line.action, CommandLine::Action::Refuse);
    EXPECT_TRUE(line.error.contains(QString::fromUtf8(GetParam().named)))
        << line.error.toStdString();
    EXPECT_FALSE(line.error.contains(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineRefusal,
    ::testing::Values(
        Refusal{"--export-png p.png", "--dpi"}, Refusal{"--export-png p.png --dpi 0", "\"0\""},
        Refusal{"--export-png p.png --dpi -5", "\"-5\""},
        Refusal{"--export-png p.png --dpi abc", "\"abc\""},
        Refusal{"--export-png p.png --dpi 12.5", "\"12.5\""},
        Refusal{"--export-png p.png --dpi 1201", "\"1201\""},
        Refusal{"--export-png p.png --dpi 99999999999999", "\"99999999999999\""},
        Refusal{"--export-png p.png --dpi=", "--dpi"}, Refusal{"--export-pdf", "export-pdf"},
        Refusal{"--export-pdf=", "--export-pdf"},
        Refusal{"--export-pdf a.pdf --export-pdf b.pdf", "--export-pdf"},
        Refusal{"--export-pdf a.pdf --dpi 300", "--dpi"}, Refusal{"--dpi 300", "--dpi"},
        Refusal{"--export-pdf a.pdf --export-png b.png --dpi 9", "--export-png"},
        Refusal{"--export-pdf a.pdf one two", "two"},
        Refusal{"--export-pdf a.pdf --bogus", "bogus"}, Refusal{"--bogus", "bogus"}));

TEST(CommandLine, OnlyRunsWithoutAWindowNeedNoScreen) {
    const auto without = [](const char* line) {
        return runsWithoutWindow(QStringList{QStringLiteral("sleevix")} + words(line));
    };
    EXPECT_TRUE(without("--export-pdf o.pdf"));
    EXPECT_TRUE(without("--export-png=o.png --dpi 3"));
    EXPECT_TRUE(without("--dpi 3"));
    EXPECT_TRUE(without("--help"));
    EXPECT_TRUE(without("-h"));
    EXPECT_TRUE(without("--version"));
    EXPECT_FALSE(without(""));
    EXPECT_FALSE(without("front.jpg"));
    EXPECT_FALSE(without("-- --export-pdf")); // a file of that name
    // The program's name is not an option.
    EXPECT_FALSE(runsWithoutWindow({QStringLiteral("--help")}));
}

TEST(CommandLine, OffscreenUnlessTheUserChoseAPlatform) {
    const QStringList exportLine{"sleevix", "--export-pdf", "o.pdf"};
    QProcessEnvironment none;
    QProcessEnvironment withDisplay;
    withDisplay.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    QProcessEnvironment chosen;
    chosen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    EXPECT_EQ(platformFor(exportLine, none), "offscreen");
    // A display that is set may be gone (an ended remote session); an export needs none.
    EXPECT_EQ(platformFor(exportLine, withDisplay), "offscreen");
    EXPECT_EQ(platformFor(exportLine, chosen), "");
    EXPECT_EQ(platformFor(exportLine + QStringList{"-platform", "minimal"}, none), "");
    // The window needs the toolkit's usual choice; without any display there is none, and the
    // line is refused afterwards with a message instead of the toolkit ending the program.
    EXPECT_EQ(platformFor({"sleevix"}, withDisplay), "");
    EXPECT_EQ(platformFor({"sleevix", "front.jpg"}, withDisplay), "");
    QProcessEnvironment wayland;
    wayland.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
    EXPECT_EQ(platformFor({"sleevix"}, wayland), "");
    EXPECT_EQ(platformFor({"sleevix"}, none), "offscreen");
    EXPECT_EQ(platformFor({"sleevix", "--bogus"}, none), "offscreen");
    EXPECT_EQ(platformFor({"sleevix"}, chosen), "");
}

TEST(CommandLine, TheWindowWithoutAScreenIsRefused) {
    const CommandLine line =
        readCommandLine({QStringLiteral("sleevix"), QStringLiteral("front.jpg")}, true);
    EXPECT_EQ(line.action, CommandLine::Action::Refuse);
    EXPECT_TRUE(line.error.contains("display"));
    EXPECT_EQ(
        readCommandLine({QStringLiteral("sleevix"), QStringLiteral("--export-pdf=o.pdf")}, true)
            .action,
        CommandLine::Action::ExportPdf);
}

TEST(CommandLine, PlatformArgumentsFollowTheProgramsName) {
    char program[] = "sleevix";
    char option[] = "--export-pdf";
    char file[] = "o.pdf";
    char* argv[] = {program, option, file, nullptr};

    PlatformArguments with(3, argv, "offscreen");
    ASSERT_EQ(with.argc(), 5);
    const QStringList seen = [&] {
        QStringList list;
        for (int i = 0; i < with.argc(); ++i)
            list << QString::fromLocal8Bit(with.argv()[i]);
        return list;
    }();
    EXPECT_EQ(seen, (QStringList{"sleevix", "-platform", "offscreen", "--export-pdf", "o.pdf"}));
    EXPECT_EQ(with.argv()[5], nullptr);

    PlatformArguments without(3, argv, QByteArray());
    EXPECT_EQ(without.argc(), 3);
    EXPECT_STREQ(without.argv()[2], "o.pdf");
}
