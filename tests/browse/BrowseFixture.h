// Folders on disk for the browsing tests, waiting for listings, and a way to be an ordinary
// user for a while when the tests run as root (who may read every folder).
#pragma once

#include "TestEnv.h"
#include "dialogs/DialogTestUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace browsetest {

// Makes the folders (paths relative to root, "/" between names) and gives root with a
// delimiter at its end.
inline QString makeFolders(const QString& root, const QStringList& folders) {
    for (const QString& f : folders)
        QDir().mkpath(root + u'/' + f);
    return root.endsWith(u'/') ? root : root + u'/';
}

inline void makeFile(const QString& path) {
    testenv::writeFile(path, "x");
}

inline bool waitFor(const std::function<bool()>& condition) {
    return dialogtest::WaitUntil(condition, 20000);
}

// A folder under the system's temporary folder that every user may enter, for tests that take
// an ordinary user's rights (the test home is the running user's alone).
class OpenFolder {
public:
    OpenFolder() : dir_(QDir::tempPath() + QStringLiteral("/sleevix-browse-XXXXXX")) {
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                               QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                               QFileDevice::ExeGroup);
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// While it lives, the process acts as the user "nobody" when it runs as root, so that folder
// permissions count; an ordinary user keeps its own rights.
class OrdinaryUser {
public:
    OrdinaryUser() : wasRoot_(geteuid() == 0) {
        if (wasRoot_ && seteuid(65534) != 0)
            ADD_FAILURE() << "cannot take the rights of an ordinary user";
    }
    ~OrdinaryUser() {
        if (wasRoot_ && seteuid(0) != 0)
            ADD_FAILURE() << "cannot return to root";
    }

private:
    bool wasRoot_;
};

} // namespace browsetest
