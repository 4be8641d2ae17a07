#include "platform/RuntimeFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

void provideRuntimeFolder() {
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray folder =
        QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(geteuid());
    mkdir(folder.constData(), S_IRWXU); // fails harmlessly when it exists
    struct stat info {};
    // Not followed through a link: a folder someone else made or pointed elsewhere is not taken.
    if (lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != geteuid() || (info.st_mode & 0777) != S_IRWXU)
        return;
    qputenv("XDG_RUNTIME_DIR", folder);
#endif
}
