// Each settings test gets a store file of its own under the test home, and the shared values
// as a fresh start would have them.
#pragma once

#include "cover/Workspace.h"

#include "common/TestEnv.h"
#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/Support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cctype>
#include <gtest/gtest.h>
#include <string>

// A readable test name for a data row: its number and the letters and digits of its text.
inline std::string RowName(size_t index, const char* text) {
    std::string name = std::to_string(index);
    if (text) {
        name += '_';
        for (const char* c = text; *c && name.size() < 40; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
        folder_ = testenv::freshFolder(QStringLiteral("store"));
        useConfigIn(folder_);
        savedLanguage_ = testenv::currentLanguage();
        testenv::useLanguage(QStringLiteral("ENU"));
        startDataFolder_ = testenv::freshFolder(QStringLiteral("data")) + PathDelim;
        ws_.dataFolder = startDataFolder_;
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", savedConfigHome_);
        testenv::useLanguage(savedLanguage_);
    }

    // The user's config folder, where the store is looked for as "Sleevix/Sleevix.ini".
    static void useConfigIn(const QString& folder) { qputenv("XDG_CONFIG_HOME", folder.toUtf8()); }
    static QString storeFile() { return RegistryStore::defaultLocation(); }

    // The store file with these bytes, as a user or another program left it.
    static void writeStore(const QByteArray& bytes) { testenv::writeFile(storeFile(), bytes); }
    static QByteArray storeBytes() { return bytesOf(storeFile()); }
    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Carries the store file over to a place this process has never opened, so that what is
    // read next comes from the bytes on disk, as in a new run of the program (QSettings keeps
    // what it has read and written per file for the life of the process).
    void restartProgram() {
        const QString bytesFrom = storeFile();
        const QString next = testenv::freshFolder(QStringLiteral("restart"));
        QDir().mkpath(next + QStringLiteral("/Sleevix"));
        if (QFile::exists(bytesFrom))
            QFile::copy(bytesFrom, next + QStringLiteral("/Sleevix/Sleevix.ini"));
        useConfigIn(next);
    }

    static QString readText(const QString& name, const QString& def = QStringLiteral("<def>")) {
        RegistryStore store;
        return store.readString(SettingsSection, name, def);
    }
    static int readInteger(const QString& name, int def) {
        RegistryStore store;
        return store.readInteger(SettingsSection, name, def);
    }

    QString folder_;
    QString startDataFolder_;
    Workspace ws_{testenv::startupFacts(), QDir::currentPath()};
    QString savedLanguage_;
    QByteArray savedConfigHome_;
};
