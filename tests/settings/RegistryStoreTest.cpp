// The settings store as a file on disk: what comes back from what was written or left there, and
// what a failing or damaged store does.
#include "FileSizeLimit.h"
#include "StoreFixture.h"

#include "platform/AppError.h"

#include <QRandomGenerator>
#include <QSettings>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// ---- texts come back exactly ------------------------------------------------------------------

class StoreTextRoundTrip : public StoreTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StoreTextRoundTrip, PathAndProjectNameComeBackExactlyAfterRestart) {
    const QString text = QString::fromUtf8(GetParam());
    {
        RegistryStore store;
        store.writeString(SettingsSection, QStringLiteral("Path for Data"), text);
        store.writeString(SettingsSection, QStringLiteral("Project Name"), text);
        store.flush();
    }
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), text);
    EXPECT_EQ(readText(QStringLiteral("Project Name")), text);
}

INSTANTIATE_TEST_SUITE_P(Texts, StoreTextRoundTrip,
                         ::testing::Values("/home/me/CD, Covers/", "Best of \"Live\" 1990",
                                           R"(C:\Data\x41\)", R"(back\\slash\)",
                                           "  two leading blanks", "trailing blanks  ", " ",
                                           "Ünïcødé Mötley Crüe – Ærø ß €", "\xF0\x9D\x84\x9E clef",
                                           "@at sign first", "@ByteArray(not binary)",
                                           "@Variant(not a variant)", "semi;colon", "key=value",
                                           "#not a comment", "[not a section]", "tab\there",
                                           "line\nbreak", "%20 and %", "a, \"b\"; \\c"),
                         [](const auto& row) { return RowName(row.index, row.param); });

// The file stays in the dialect of QSettings' INI files: each reads what the other wrote.
TEST_P(StoreTextRoundTrip, FileIsReadAlikeByQSettings) {
    const QString text = QString::fromUtf8(GetParam());
    {
        RegistryStore store;
        store.writeString(SettingsSection, QStringLiteral("Project Name"), text);
        store.flush();
    }
    {
        QSettings qt(storeFile(), QSettings::IniFormat);
        const QVariant back = qt.value(QStringLiteral("Defaults/Project Name"));
        EXPECT_EQ(back.typeId(), QMetaType::QString);
        EXPECT_EQ(back.toString(), text);
    }
    useConfigIn(testenv::freshFolder(QStringLiteral("qt")));
    {
        QSettings qt(storeFile(), QSettings::IniFormat);
        qt.setValue(QStringLiteral("Defaults/Path for Data"), text);
    }
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), text);
}

TEST_F(StoreTest, AnyTextComesBackExactly) {
    // Random texts from the characters that need care in the file.
    const char32_t pool[] = {' ',  '"',  '\\', ',',  ';',  '=',    '@',    '#',
                             'a',  'Z',  '0',  '9',  'x',  'F',    '\t',   '\r',
                             '\n', 0x7f, 0x85, 0xa0, 0xe9, 0x20ac, 0x3000, 0x1d11e,
                             0x0,  '[',  ']',  '%',  '/',  '\'',   0x200b, 0x1};
    QRandomGenerator random(20261207);
    QStringList texts;
    {
        RegistryStore store;
        for (int i = 0; i < 2000; ++i) {
            QString text;
            for (int n = random.bounded(0, 12); n > 0; --n) {
                const char32_t c = pool[random.bounded(int(std::size(pool)))];
                text += QChar::fromUcs4(c); // fromUcs4(&c, 1) would drop a lone U+FEFF
            }
            texts << text;
            store.writeString(SettingsSection, QStringLiteral("Text %1").arg(i), text);
        }
        store.flush();
    }
    restartProgram();
    RegistryStore store;
    for (int i = 0; i < texts.size(); ++i)
        ASSERT_EQ(store.readString(SettingsSection, QStringLiteral("Text %1").arg(i),
                                   QStringLiteral("-")),
                  texts[i])
            << i;
}

// Values this program does not write itself, of other kinds or in other sections, keep their
// kind and content when the file is rewritten (comment lines are not kept: the file is written
// anew).
TEST_F(StoreTest, ValuesOfOtherKindsAndSectionsSurviveARewrite) {
    writeStore("; my notes\n"
               "[Defaults]\n"
               "Recent=a, b, c\n"
               "Blob=@ByteArray(\\0\\x1)\n"
               "Left=10\n"
               "\n"
               "[Other Program]\n"
               "Path%20for%20Data=/elsewhere/\n");
    {
        RegistryStore store;
        store.writeInteger(SettingsSection, QStringLiteral("Left"), 11);
        store.writeString(SettingsSection, QStringLiteral("Project Name"),
                          QStringLiteral("Cover A"));
        store.flush();
    }
    restartProgram();
    {
        const QSettings qt(storeFile(), QSettings::IniFormat);
        EXPECT_EQ(
            qt.value(QStringLiteral("Defaults/Recent")),
            QVariant(QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        EXPECT_EQ(qt.value(QStringLiteral("Defaults/Blob")), QVariant(QByteArray("\0\x1", 2)));
        EXPECT_EQ(qt.value(QStringLiteral("Other Program/Path for Data")),
                  QVariant(QStringLiteral("/elsewhere/")));
    }
    RegistryStore store;
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 11);
    EXPECT_EQ(store.readString(SettingsSection, QStringLiteral("Project Name"), QString()),
              QStringLiteral("Cover A"));
    EXPECT_EQ(
        testenv::errorOf([&] { store.readString(SettingsSection, QStringLiteral("Recent"), {}); }),
        QStringLiteral("Invalid data type for 'Recent'"));
}

// QSettings reads a U+FEFF (an invisible no-break space) at the start of a value, or right after
// a quote or an escape, as nothing: such a text is refused rather than stored changed.
TEST_F(StoreTest, TextThatWouldNotComeBackExactlyIsRefusedAndTheFileStays) {
    writeStore("[Defaults]\nProject%20Name=Cover A\n");
    const QByteArray before = storeBytes();
    const QChar bom(0xFEFF);
    RegistryStore store;
    for (const QString& text : {bom + QStringLiteral("Cover B"), QStringLiteral("\t") + bom}) {
        store.writeString(SettingsSection, QStringLiteral("Project Name"), text);
        EXPECT_EQ(testenv::errorOf([&] { store.flush(); }),
                  QStringLiteral("Failed to set data for 'Project Name'"));
        EXPECT_EQ(storeBytes(), before);
        EXPECT_EQ(store.readString(SettingsSection, QStringLiteral("Project Name"), QString()),
                  QStringLiteral("Cover A"));
    }
    // Inside a text it is kept.
    const QString inside = QStringLiteral("Cover") + bom + QStringLiteral("B");
    store.writeString(SettingsSection, QStringLiteral("Project Name"), inside);
    store.flush();
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("Project Name")), inside);
}

TEST_F(StoreTest, EmptyTextStaysEmptyAndIsNotTheDefault) {
    {
        RegistryStore store;
        store.writeString(SettingsSection, QStringLiteral("Project Name"), QString());
        store.flush();
    }
    restartProgram();
    const QString back = readText(QStringLiteral("Project Name"));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_FALSE(back.isNull());
}

TEST_F(StoreTest, IntegersAreStoredAsDecimalText) {
    {
        RegistryStore store;
        store.writeInteger(SettingsSection, QStringLiteral("Browse Splitter"), 230);
        store.writeInteger(SettingsSection, QStringLiteral("Left"), -20);
        store.writeBool(SettingsSection, QStringLiteral("AutoUpdate"), false);
        store.flush();
    }
    const QByteArray bytes = storeBytes();
    EXPECT_TRUE(bytes.contains("[Defaults]")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Browse%20Splitter=230\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Left=-20\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("AutoUpdate=0\n")) << bytes.constData();
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("Browse Splitter")), QStringLiteral("230"));
}

// ---- integers and Booleans from what a hand-edited file holds ----------------------------------

struct IntegerCase {
    const char* stored; // the INI line's value; nullptr: no such line
    int expected;       // read with default 77
};

void PrintTo(const IntegerCase& c, std::ostream* os) {
    *os << (c.stored ? c.stored : "(missing)") << " -> " << c.expected;
}

class StoreIntegerText : public StoreTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(StoreIntegerText, ReadsNumberOrDefault) {
    const IntegerCase c = GetParam();
    QByteArray ini = "[Defaults]\nOther=1\n";
    if (c.stored)
        ini += QByteArray("Left=") + c.stored + "\n";
    writeStore(ini);
    EXPECT_EQ(readInteger(QStringLiteral("Left"), 77), c.expected) << (c.stored ? c.stored : "-");
    RegistryStore store;
    EXPECT_EQ(store.readBool(SettingsSection, QStringLiteral("Left"), true), c.expected != 0);
    EXPECT_EQ(store.readBool(SettingsSection, QStringLiteral("Left"), false),
              c.expected == 77 ? false : c.expected != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoreIntegerText,
    ::testing::Values(IntegerCase{nullptr, 77}, IntegerCase{"", 77}, IntegerCase{"230", 230},
                      IntegerCase{"0", 0}, IntegerCase{"-20", -20}, IntegerCase{"+5", 5},
                      IntegerCase{"007", 7}, IntegerCase{"abc", 77}, IntegerCase{"12abc", 77},
                      IntegerCase{"1.5", 77}, IntegerCase{"true", 77},
                      IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"2147483648", 77},
                      IntegerCase{"99999999999999999999", 77}, IntegerCase{"-99999999999", 77},
                      IntegerCase{"\" 42 \"", 42}),
    [](const auto& row) { return RowName(row.index, row.param.stored); });

// ---- values of another kind than text ----------------------------------------------------------

class StoreWrongKind : public StoreTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StoreWrongKind, RaisesInvalidDataTypeWithTheValueName) {
    writeStore(QByteArray("[Defaults]\nPath%20for%20Data=") + GetParam() + "\nLeft=5\n");
    RegistryStore store;
    EXPECT_EQ(testenv::errorOf([&] {
                  store.readString(SettingsSection, QStringLiteral("Path for Data"),
                                   QStringLiteral("x"));
              }),
              QStringLiteral("Invalid data type for 'Path for Data'"));
    EXPECT_EQ(testenv::errorOf(
                  [&] { store.readInteger(SettingsSection, QStringLiteral("Path for Data"), 1); }),
              QStringLiteral("Invalid data type for 'Path for Data'"));
    // The other values of the store read as usual.
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 5);
}

INSTANTIATE_TEST_SUITE_P(HandEdited, StoreWrongKind,
                         ::testing::Values("/home/me/CD, Covers/", "a,b,c", "@ByteArray(/home/me/)",
                                           "@Invalid()", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)",
                                           "@Point(1 2)"),
                         [](const auto& row) { return RowName(row.index, row.param); });

// ---- missing, empty and damaged store files -----------------------------------------------------

TEST_F(StoreTest, MissingOrEmptyStoreGivesDefaultsAndNoDamage) {
    for (bool empty : {false, true}) {
        if (empty)
            writeStore(QByteArray());
        RegistryStore store;
        EXPECT_FALSE(store.damaged());
        EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Top"), 100), 100);
        EXPECT_EQ(
            store.readString(SettingsSection, QStringLiteral("Project Name"), QStringLiteral("d")),
            QStringLiteral("d"));
    }
}

TEST_F(StoreTest, BinaryGarbageReadsAsDefaultsIsKeptAsideAndReplacedByAGoodFile) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919 + 13) % 256));
    writeStore(garbage);
    {
        RegistryStore store;
        EXPECT_TRUE(store.damaged());
        EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 200);
        EXPECT_EQ(store.readBool(SettingsSection, QStringLiteral("AutoUpdate"), true), true);
        store.writeBool(SettingsSection, QStringLiteral("AutoUpdate"), false);
        // Written, so no failure may be reported, though QSettings' status stays at
        // FormatError after reading the garbage.
        EXPECT_NO_THROW(store.flush());
    }
    QFile copy(RegistryStore().damagedCopy());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), garbage);
    restartProgram();
    RegistryStore store;
    EXPECT_FALSE(store.damaged());
    EXPECT_FALSE(store.readBool(SettingsSection, QStringLiteral("AutoUpdate"), true));
}

TEST_F(StoreTest, PartlyDamagedFileKeepsItsReadableValuesWhenRewritten) {
    // A line without "=" and a byte-order mark from a Windows editor.
    writeStore("\xEF\xBB\xBF[Defaults]\nthis line is no value\nTop=321\n");
    {
        RegistryStore store;
        EXPECT_TRUE(store.damaged());
        EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Top"), 100), 321);
        store.writeInteger(SettingsSection, QStringLiteral("Left"), 12);
        store.flush();
    }
    restartProgram();
    EXPECT_EQ(readInteger(QStringLiteral("Top"), 100), 321);
    EXPECT_EQ(readInteger(QStringLiteral("Left"), 200), 12);
}

// ---- unwritable stores -------------------------------------------------------------------------

TEST_F(StoreTest, StoreWhoseFolderCannotBeMadeReadsDefaultsAndRefusesWrites) {
    // A regular file where the store's folder should be: no user, root included, can make it.
    const QString blocker = folder_ + QStringLiteral("/blocker");
    testenv::writeFile(blocker, "not a folder");
    useConfigIn(blocker);

    RegistryStore store;
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 200);
    EXPECT_EQ(testenv::errorOf(
                  [&] { store.writeBool(SettingsSection, QStringLiteral("AutoUpdate"), true); }),
              QStringLiteral("Failed to set data for 'AutoUpdate'\nA part of the path is not a folder."));
    // Nothing of the refused group lingers to be read back as if stored.
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("AutoUpdate"), 7), 7);
    EXPECT_EQ(readInteger(QStringLiteral("AutoUpdate"), 7), 7);
    EXPECT_FALSE(QFileInfo::exists(storeFile()));
}

TEST_F(StoreTest, StoreInAFolderThatTakesNoNewFilesIsNeverWrittenInPlace) {
    // A folder that refuses new files whoever asks: /proc/self holds the file "comm", which
    // can be written in place but not replaced. As another user, a folder without write
    // permission does the same.
    QString file = QStringLiteral("/proc/self/comm");
    QByteArray before;
    if (geteuid() != 0) {
        writeStore("[Defaults]\nLeft=5\n");
        file = storeFile();
        QFile::setPermissions(QFileInfo(file).absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    } else if (!QFileInfo::exists(file)) {
        GTEST_SKIP() << "no /proc, and root may write into any ordinary folder";
    }
    before = bytesOf(file);
    {
        RegistryStore store(file);
        EXPECT_EQ(testenv::errorOf(
                      [&] { store.writeInteger(SettingsSection, QStringLiteral("Left"), 9); })
                      .section(u'\n', 0, 0),
                  QStringLiteral("Failed to set data for 'Left'"));
        EXPECT_NO_THROW(store.flush());
    }
    EXPECT_EQ(bytesOf(file), before);
    if (geteuid() != 0)
        QFile::setPermissions(QFileInfo(file).absolutePath(), QFileDevice::ReadOwner |
                                                                  QFileDevice::WriteOwner |
                                                                  QFileDevice::ExeOwner);
}

TEST_F(StoreTest, SaveFailingHalfWayLeavesThePreviousFileWhole) {
    const QByteArray before = "[Defaults]\nAutoUpdate=1\nPath%20for%20Data=/old/\n";
    writeStore(before);
    const QString longPath = QStringLiteral("/new/") + QString(3000, u'x') + u'/';
    QString error;
    {
        FileSizeLimit limit(1024);
        RegistryStore store;
        store.writeBool(SettingsSection, QStringLiteral("AutoUpdate"), false);
        store.writeString(SettingsSection, QStringLiteral("Path for Data"), longPath);
        error = testenv::errorOf([&] { store.flush(); });
    }
    EXPECT_EQ(error, QStringLiteral("Failed to set data for 'AutoUpdate'\n"
                                    "The file is too large for this disk."));
    EXPECT_EQ(storeBytes(), before);
    // No half-written file is left beside it either.
    const QStringList left = QDir(QFileInfo(storeFile()).absolutePath())
                                 .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(left, QStringList{QStringLiteral("Sleevix.ini")});
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), QStringLiteral("/old/"));
    EXPECT_EQ(readInteger(QStringLiteral("AutoUpdate"), 7), 1);
}

TEST_F(StoreTest, StoreFileThatCannotBeReadIsNotReplaced) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    const QByteArray before = "[Defaults]\nLeft=5\n";
    writeStore(before);
    QFile::setPermissions(storeFile(), QFileDevice::WriteOwner);
    {
        RegistryStore store;
        EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 200);
        store.writeInteger(SettingsSection, QStringLiteral("Top"), 9);
        EXPECT_EQ(testenv::errorOf([&] { store.flush(); }),
                  QStringLiteral("Failed to set data for 'Top'"));
    }
    QFile::setPermissions(storeFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(storeBytes(), before);
}

// The group itself is written whole; a value of the file after it is cut off.
TEST_F(StoreTest, SaveThatCutsOffAnotherValueOfTheFileFailsToo) {
    const QByteArray before = "[Defaults]\nLeft=1\nZeta=" + QByteArray(900, 'z') + "\n";
    writeStore(before);
    QString error;
    {
        FileSizeLimit limit(1024);
        RegistryStore store;
        store.writeString(SettingsSection, QStringLiteral("Aaa"), QString(200, u'a'));
        store.writeInteger(SettingsSection, QStringLiteral("Left"), 2);
        error = testenv::errorOf([&] { store.flush(); });
    }
    EXPECT_EQ(error, QStringLiteral("Failed to set data for 'Aaa'\nThe file is too large for this disk."));
    EXPECT_EQ(storeBytes(), before);
}

TEST_F(StoreTest, StoreKeptElsewhereThroughALinkStaysALinkWithItsPermissions) {
    const QString target = folder_ + QStringLiteral("/dotfiles/sleevix.ini");
    testenv::writeFile(target, "[Defaults]\nLeft=1\n");
    const QFileDevice::Permissions mine = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile::setPermissions(target, mine);
    QDir().mkpath(QFileInfo(storeFile()).absolutePath());
    ASSERT_TRUE(QFile::link(target, storeFile()));
    {
        RegistryStore store;
        store.writeInteger(SettingsSection, QStringLiteral("Left"), 2);
        store.flush();
    }
    EXPECT_TRUE(QFileInfo(storeFile()).isSymLink());
    const QFileDevice::Permissions allButUser(0x7077);
    EXPECT_EQ(QFile::permissions(target) & allButUser, mine);
    EXPECT_EQ(readInteger(QStringLiteral("Left"), 200), 2);
    EXPECT_EQ(QDir(folder_ + QStringLiteral("/dotfiles"))
                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("sleevix.ini")});
}

TEST_F(StoreTest, GroupIsWrittenWholeWithTheOtherValuesKept) {
    writeStore("[Defaults]\nBackLeft=33\nLeft=1\n");
    {
        RegistryStore store;
        store.writeInteger(SettingsSection, QStringLiteral("Left"), 2);
        store.writeInteger(SettingsSection, QStringLiteral("Top"), 3);
        store.flush();
    }
    restartProgram();
    EXPECT_EQ(readInteger(QStringLiteral("BackLeft"), 200), 33);
    EXPECT_EQ(readInteger(QStringLiteral("Left"), 200), 2);
    EXPECT_EQ(readInteger(QStringLiteral("Top"), 100), 3);
    // Nothing written on the way is left beside the store.
    EXPECT_EQ(QDir(folder_ + QStringLiteral("/Sleevix"))
                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Sleevix.ini")});
}

// ---- every store reads the file as it is now ---------------------------------------------------

// QSettings answers a later reader of a file from what it read before while the file's size and
// time stamp look the same, and tells of damage only the first reader.

TEST_F(StoreTest, StoreReadsTheLatestValueHoweverQuicklyTheFileChanges) {
    for (int i = 0; i < 40; ++i) {
        const int value = i % 10;
        if (i % 2) {
            // Another program writes the file in place.
            writeStore("[Defaults]\nLeft=" + QByteArray::number(value) + "\n");
        } else {
            RegistryStore store;
            store.writeInteger(SettingsSection, QStringLiteral("Left"), value);
            store.flush();
        }
        ASSERT_EQ(readInteger(QStringLiteral("Left"), 200), value) << i;
    }
}

TEST_F(StoreTest, DamageIsToldToEveryStoreOpenedOnTheFile) {
    writeStore("[Defaults]\nno value here\nTop=1\n");
    for (int i = 0; i < 3; ++i) {
        RegistryStore store;
        EXPECT_TRUE(store.damaged()) << i;
        EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Top"), 100), 1);
    }
}

// ---- files written before the store went through QSettings --------------------------------------

// The texts of "Text 0", "Text 1", ... in tests/data/settings/OwnWriter.ini, a store file as
// the program's own INI writer left it.
const QStringList OwnWriterTexts = {
    QStringLiteral("/home/me/CD, Covers/"),
    QStringLiteral("Best of \"Live\" 1990"),
    QStringLiteral(R"(C:\Data\x41\)"),
    QStringLiteral(R"(back\\slash\)"),
    QStringLiteral("  two leading blanks"),
    QStringLiteral("trailing blanks  "),
    QStringLiteral(" "),
    QStringLiteral(""),
    QStringLiteral("Ünïcødé Mötley Crüe – Ærø ß €"),
    QStringLiteral("\U0001D11E clef"),
    QStringLiteral("@at sign first"),
    QStringLiteral("@@two at signs"),
    QStringLiteral("@ByteArray(not binary)"),
    QStringLiteral("@Variant(not a variant)"),
    QStringLiteral("@String(text)"),
    QStringLiteral("semi;colon"),
    QStringLiteral("key=value"),
    QStringLiteral("#not a comment"),
    QStringLiteral("; not a comment either"),
    QStringLiteral("[not a section]"),
    QStringLiteral("tab\there"),
    QStringLiteral("line\nbreak"),
    QStringLiteral("carriage\rreturn"),
    QStringLiteral("%20 and %"),
    QStringLiteral("a, \"b\"; \\c"),
    QStringLiteral("nul\0inside").left(10),
    QStringLiteral("nul then hex digit \0F").left(21),
    QStringLiteral("control \x01"
                   "2 then digit"),
    QStringLiteral("bell\a backspace\b formfeed\f vtab\v"),
    QStringLiteral("delete \x7f next line \u0085 no-break \u00a0"),
    QStringLiteral("ideographic\u3000space"),
    QStringLiteral("'single' ?question"),
    QStringLiteral("\"quoted whole\""),
    QStringLiteral("-20"),
    QStringLiteral("\t"),
};

void expectOwnWriterValues(RegistryStore& store) {
    for (int i = 0; i < OwnWriterTexts.size(); ++i)
        EXPECT_EQ(store.readString(SettingsSection, QStringLiteral("Text %1").arg(i),
                                   QStringLiteral("-")),
                  OwnWriterTexts[i])
            << i;
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Browse Splitter"), 200), 230);
    EXPECT_FALSE(store.readBool(SettingsSection, QStringLiteral("AutoUpdate"), true));
    EXPECT_TRUE(store.readBool(SettingsSection, QStringLiteral("Maximized"), false));
    EXPECT_EQ(store.readString(SettingsSection, QStringLiteral("Path for Data"), QString()),
              QStringLiteral("/home/me/Sleevix Data/"));
    EXPECT_EQ(store.readString(SettingsSection, QStringLiteral("Ünï 100% key=name;"), QString()),
              QStringLiteral("odd key"));
    EXPECT_EQ(store.readString(QStringLiteral("Other Program"), QStringLiteral("Path for Data"),
                               QString()),
              QStringLiteral("/elsewhere/"));
}

TEST_F(StoreTest, FileOfTheOwnWriterReadsTheSameAndKeepsItsValuesWhenRewritten) {
    testenv::writeFile(storeFile(), bytesOf(testenv::sourcePath(
                                        QStringLiteral("tests/data/settings/OwnWriter.ini"))));
    {
        RegistryStore store;
        EXPECT_FALSE(store.damaged());
        expectOwnWriterValues(store);
        EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), -20);
        store.writeInteger(SettingsSection, QStringLiteral("Left"), 12);
        store.flush();
    }
    restartProgram();
    RegistryStore store;
    expectOwnWriterValues(store);
    EXPECT_EQ(store.readInteger(SettingsSection, QStringLiteral("Left"), 200), 12);
}

} // namespace

namespace {

TEST_F(StoreTest, UsualPlaceFollowsTheConfigFolderOfTheMomentAndAnExplicitFileIsUsedAsGiven) {
    const QString home = QDir::homePath();
    useConfigIn(folder_ + QStringLiteral("/one"));
    EXPECT_EQ(RegistryStore::defaultLocation(),
              folder_ + QStringLiteral("/one/Sleevix/Sleevix.ini"));
    EXPECT_EQ(RegistryStore().location(), RegistryStore::defaultLocation());
    // A relative or empty config folder is not used: the one under the home folder is.
    for (const char* config : {"relative/config", ""}) {
        qputenv("XDG_CONFIG_HOME", config);
        EXPECT_EQ(RegistryStore::defaultLocation(),
                  home + QStringLiteral("/.config/Sleevix/Sleevix.ini"));
    }
    useConfigIn(folder_ + QStringLiteral("/two"));
    EXPECT_EQ(RegistryStore::defaultLocation(),
              folder_ + QStringLiteral("/two/Sleevix/Sleevix.ini"));

    // Two stores in one process, each in its own file.
    const QString elsewhere = folder_ + QStringLiteral("/elsewhere/My.ini");
    {
        RegistryStore mine(elsewhere);
        EXPECT_EQ(mine.location(), elsewhere);
        EXPECT_EQ(mine.damagedCopy(), elsewhere + QStringLiteral(".damaged"));
        mine.writeInteger(SettingsSection, QStringLiteral("Left"), 5);
        mine.flush();
    }
    EXPECT_EQ(readInteger(QStringLiteral("Left"), 200), 200);
    EXPECT_EQ(RegistryStore(elsewhere).readInteger(SettingsSection, QStringLiteral("Left"), 200),
              5);
}

} // namespace
