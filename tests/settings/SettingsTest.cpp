// The shared settings values: what loading and saving make of the store.
#include "StoreFixture.h"

#include "platform/AppError.h"

namespace {

const QString Velmora = QStringLiteral("Velmora - Last Rose Of Summer 2002");

TEST_F(StoreTest, FirstStartTakesTheDefaults) {
    const StoredOptions options = loadSettingsValues(ws_);
    EXPECT_EQ(ws_.dataFolder, startDataFolder_);
    EXPECT_EQ(ws_.projectName, Velmora);
    EXPECT_EQ(ws_.projectFolder, startDataFolder_ + Velmora + PathDelim);
    EXPECT_TRUE(ws_.autoUpdateEnabled);
    EXPECT_TRUE(options.autoUpdate);
    EXPECT_EQ(options.top, 100);
    EXPECT_EQ(options.left, 100);
    EXPECT_TRUE(options.failure.isEmpty());
    // Loading writes nothing.
    EXPECT_FALSE(QFileInfo::exists(storeFile()));
}

TEST_F(StoreTest, LoadTakesWhatIsStored) {
    writeStore("[Defaults]\nAutoUpdate=0\nPath%20for%20Data=/srv/covers/\n"
               "Project%20Name=Cover A\nOptionsTop=-20\nOptionsLeft=333\n");
    const StoredOptions options = loadSettingsValues(ws_);
    EXPECT_FALSE(ws_.autoUpdateEnabled);
    EXPECT_FALSE(options.autoUpdate);
    EXPECT_EQ(ws_.dataFolder, QStringLiteral("/srv/covers/"));
    EXPECT_EQ(ws_.projectName, QStringLiteral("Cover A"));
    EXPECT_EQ(ws_.projectFolder, QStringLiteral("/srv/covers/Cover A/"));
    EXPECT_EQ(options.top, 100); // a negative place is not used
    EXPECT_EQ(options.left, 333);
}

TEST_F(StoreTest, EmptyStoredTextsStayEmptyWhileEmptyNumbersTakeDefaults) {
    writeStore("[Defaults]\nAutoUpdate=\nPath%20for%20Data=\nProject%20Name=\nOptionsTop=\n");
    const StoredOptions options = loadSettingsValues(ws_);
    EXPECT_TRUE(ws_.autoUpdateEnabled);
    EXPECT_EQ(options.top, 100);
    EXPECT_EQ(ws_.dataFolder, QString());
    EXPECT_EQ(ws_.projectName, QString());
    EXPECT_EQ(ws_.projectFolder, QString(PathDelim));
}

TEST_F(StoreTest, StoredFolderWithoutSeparatorGetsOne) {
    writeStore("[Defaults]\nPath%20for%20Data=/srv/covers\nProject%20Name=X\n");
    loadSettingsValues(ws_);
    EXPECT_EQ(ws_.dataFolder, QStringLiteral("/srv/covers/"));
    EXPECT_EQ(ws_.projectFolder, QStringLiteral("/srv/covers/X/"));
}

TEST_F(StoreTest, ValueOfWrongKindIsReportedAndTheOthersStillLoad) {
    writeStore("[Defaults]\nOptionsTop=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nAutoUpdate=0\n"
               "Path%20for%20Data=/a/, /b/\nProject%20Name=Cover B\n");
    const StoredOptions options = loadSettingsValues(ws_);
    EXPECT_EQ(options.failure, QStringLiteral("Invalid data type for 'OptionsTop'"));
    EXPECT_EQ(options.top, 100);
    EXPECT_FALSE(ws_.autoUpdateEnabled);
    EXPECT_EQ(ws_.dataFolder, startDataFolder_); // the list is not used
    EXPECT_EQ(ws_.projectName, QStringLiteral("Cover B"));
    EXPECT_EQ(ws_.projectFolder, startDataFolder_ + QStringLiteral("Cover B/"));
}

TEST_F(StoreTest, DamagedStoreIsToldAndLoadsWhatItCan) {
    writeStore("[Defaults]\n\x01\x02\xff\xfe garbage\nProject%20Name=Cover C\n");
    const StoredOptions options = loadSettingsValues(ws_);
    EXPECT_TRUE(options.failure.contains(QStringLiteral("damaged")))
        << options.failure.toStdString();
    EXPECT_TRUE(options.failure.contains(RegistryStore().damagedCopy()));
    EXPECT_EQ(ws_.projectName, QStringLiteral("Cover C"));
}

TEST_F(StoreTest, SaveWritesTheOptionsButDoesNotChangeTheRunningUpdateOption) {
    loadSettingsValues(ws_);
    ASSERT_TRUE(ws_.autoUpdateEnabled);
    saveSettingsValues(ws_, false);
    EXPECT_TRUE(ws_.autoUpdateEnabled);
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("AutoUpdate")), QStringLiteral("0"));
    EXPECT_EQ(readText(QStringLiteral("Path for Data")), startDataFolder_);
    EXPECT_EQ(readText(QStringLiteral("Project Name")), Velmora);
    loadSettingsValues(ws_);
    EXPECT_FALSE(ws_.autoUpdateEnabled);
}

struct NameCase {
    const char* held;
    const char* stored;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.held;
}

class ProjectNameAtSave : public StoreTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ProjectNameAtSave, IsCutToItsLastPathComponent) {
    ws_.projectName = QString::fromUtf8(GetParam().held);
    saveSettingsValues(ws_, true);
    EXPECT_EQ(ws_.projectName, QString::fromUtf8(GetParam().stored));
    restartProgram();
    EXPECT_EQ(readText(QStringLiteral("Project Name")), QString::fromUtf8(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProjectNameAtSave,
    ::testing::Values(NameCase{"/home/me/Data/Cover A", "Cover A"}, NameCase{"Cover A", "Cover A"},
                      // On this system a colon or backslash is part of a folder's name.
                      NameCase{"Best of: Live", "Best of: Live"},
                      NameCase{"AC\\DC, \"Back\" in Black", "AC\\DC, \"Back\" in Black"},
                      NameCase{"  Ünïcødé Ærø", "  Ünïcødé Ærø"}),
    [](const auto& row) { return RowName(row.index, row.param.held); });

TEST_F(StoreTest, UnwritableStoreRefusesTheSaveAndKeepsTheValuesInMemory) {
    const QString blocker = folder_ + QStringLiteral("/blocker");
    testenv::writeFile(blocker, "not a folder");
    useConfigIn(blocker);
    loadSettingsValues(ws_);
    useDataFolder(ws_, QStringLiteral("/srv/new"));
    try {
        saveSettingsValues(ws_, false);
        ADD_FAILURE() << "saving into an unwritable store succeeded";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to set data for 'AutoUpdate'\nA part of the path is not a folder."));
    }
    EXPECT_EQ(ws_.dataFolder, QStringLiteral("/srv/new/"));
}

TEST_F(StoreTest, StoredIntegersHaveTheirDefaultsAndRules) {
    writeStore("[Defaults]\nBrowse%20Splitter=150\nOptionsLeft=-1\nBackLeft=-30\nPrintTop=abc\n");
    RegistryStore store;
    EXPECT_EQ(readStoredInteger(store, QStringLiteral("Browse Splitter")), 200);
    EXPECT_EQ(readStoredInteger(store, QStringLiteral("OptionsLeft")), 100);
    EXPECT_EQ(readStoredInteger(store, QStringLiteral("BackLeft")), -30); // only options move
    EXPECT_EQ(readStoredInteger(store, QStringLiteral("PrintTop")), 100);
    const std::pair<const char*, int> defaults[] = {
        {"Left", 200},
        {"Top", 100},
        {"OptionsTop", 100},
        {"BackTop", 100},
        {"PrintLeft", 200},
        {"Browse Large Top", 200},
        {"Browse Large Left", 500},
        {"Browse Large Width", 550},
        {"Browse Large Height", 550},
        {"Browse Small Top", 200},
        {"Browse Small Left", 600},
        {"Browse Small Width", 350},
        {"Browse Small Height", 550},
    };
    for (const auto& [name, def] : defaults)
        EXPECT_EQ(readStoredInteger(store, QString::fromLatin1(name)), def) << name;
    EXPECT_THROW(readStoredInteger(store, QStringLiteral("Nonsense")), AppError);
    writeStore("[Defaults]\nBrowse%20Splitter=230\n");
    RegistryStore again;
    EXPECT_EQ(readStoredInteger(again, QStringLiteral("Browse Splitter")), 230);
}

} // namespace
