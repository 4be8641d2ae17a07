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
        folder_ = testenv::freshFolder(QStringLiteral("store"));
        useStoreIn(folder_ + QStringLiteral("/Sleevix"));
        savedLanguage_ = testenv::currentLanguage();
        testenv::useLanguage(QStringLiteral("ENU"));
        startDataFolder_ = testenv::freshFolder(QStringLiteral("data")) + PathDelim;
        ws_.dataFolder = startDataFolder_;
    }
    void TearDown() override {
        RegistryStore::SetLocation(QString());
        testenv::useLanguage(savedLanguage_);
    }

    void useStoreIn(const QString& folder) {
        RegistryStore::SetLocation(folder + QStringLiteral("/Sleevix.ini"));
    }
    static QString storeFile() { return RegistryStore::Location(); }

    // The store file with these bytes, as a user or another program left it.
    static void writeStore(const QByteArray& bytes) { testenv::writeFile(storeFile(), bytes); }
    static QByteArray storeBytes() {
        QFile file(storeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Carries the store file over to a place this process has never opened, so that what is
    // read next comes from the bytes on disk, as in a new run of the program (QSettings keeps
    // what it has read and written per file for the life of the process).
    void restartProgram() {
        const QString bytesFrom = storeFile();
        const QString next =
            testenv::freshFolder(QStringLiteral("restart")) + QStringLiteral("/Sleevix");
        QDir().mkpath(next);
        if (QFile::exists(bytesFrom))
            QFile::copy(bytesFrom, next + QStringLiteral("/Sleevix.ini"));
        useStoreIn(next);
    }

    static QString readText(const QString& name, const QString& def = QStringLiteral("<def>")) {
        RegistryStore store;
        return store.ReadString(SettingsSection, name, def);
    }
    static int readInteger(const QString& name, int def) {
        RegistryStore store;
        return store.ReadInteger(SettingsSection, name, def);
    }

    QString folder_;
    QString startDataFolder_;
    Workspace ws_{testenv::startupFacts(), QDir::currentPath()};
    QString savedLanguage_;
};
