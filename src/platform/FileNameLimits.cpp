#include "platform/FileNameLimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

qint64 fileNameLength(const QString& name) {
#ifdef Q_OS_WIN
    return name.size();
#else
    return QFile::encodeName(name).size();
#endif
}

FileNameLimits fileNameLimits(const QString& folder) {
    FileNameLimits limits;
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    limits.nameLength = 255;
    limits.pathLength = 259; // MAX_PATH less the closing null
#else
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(existing).isDir() && existing != QDir::rootPath())
        existing = QFileInfo(existing).absolutePath();
    const QByteArray path = QFile::encodeName(existing);
    if (const long name = pathconf(path.constData(), _PC_NAME_MAX); name > 0)
        limits.nameLength = name;
    // The limit counts the closing null.
    if (const long whole = pathconf(path.constData(), _PC_PATH_MAX); whole > 1)
        limits.pathLength = whole - 1;
#endif
    return limits;
}
