#include "platform/SystemReason.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

struct Reason {
    int errors[2];
    const char* text;
};

// The errors a file or folder operation meets, each with its sentence.
constexpr Reason Reasons[] = {
    {{ENOSPC, EDQUOT}, QT_TRANSLATE_NOOP("SystemReason", "The disk is full.")},
    {{EROFS, 0}, QT_TRANSLATE_NOOP("SystemReason", "The disk is read-only.")},
    {{EACCES, EPERM},
     QT_TRANSLATE_NOOP("SystemReason", "You have no permission for this file or folder.")},
    {{ENOENT, 0}, QT_TRANSLATE_NOOP("SystemReason", "The file or folder does not exist.")},
    {{ENOTDIR, 0}, QT_TRANSLATE_NOOP("SystemReason", "A part of the path is not a folder.")},
    {{EISDIR, 0}, QT_TRANSLATE_NOOP("SystemReason", "It is a folder, not a file.")},
    {{EFBIG, 0}, QT_TRANSLATE_NOOP("SystemReason", "The file is too large for this disk.")},
    {{ENAMETOOLONG, 0}, QT_TRANSLATE_NOOP("SystemReason", "The name is too long.")},
    {{EIO, 0}, QT_TRANSLATE_NOOP("SystemReason", "The disk reported a read or write error.")},
    {{EMFILE, ENFILE}, QT_TRANSLATE_NOOP("SystemReason", "Too many files are open.")},
    {{ENOMEM, 0}, QT_TRANSLATE_NOOP("SystemReason", "There is not enough memory.")},
    {{EBUSY, ETXTBSY}, QT_TRANSLATE_NOOP("SystemReason", "The file is in use.")},
    {{ELOOP, 0}, QT_TRANSLATE_NOOP("SystemReason", "The path has too many links.")},
    {{EEXIST, 0}, QT_TRANSLATE_NOOP("SystemReason", "The file already exists.")},
    {{EXDEV, 0}, QT_TRANSLATE_NOOP("SystemReason", "The file cannot be moved to another disk.")},
    {{ENOTEMPTY, 0}, QT_TRANSLATE_NOOP("SystemReason", "The folder is not empty.")},
};

} // namespace

QString systemReason(int errorNumber) {
    if (errorNumber == 0)
        return {};
    for (const Reason& reason : Reasons)
        if (reason.errors[0] == errorNumber || reason.errors[1] == errorNumber)
            return QCoreApplication::translate("SystemReason", reason.text);
    return QCoreApplication::translate("SystemReason", "The system reported error %1.")
        .arg(errorNumber);
}

QString systemReason(const QFileDevice& file) {
    if (file.error() == QFileDevice::NoError)
        return {};
    // The device's text is the system's own (English) one: find which error it names.
    const QString text = file.errorString();
    for (const Reason& reason : Reasons)
        for (const int known : reason.errors)
            if (known != 0 &&
                text.contains(QString::fromLocal8Bit(std::strerror(known)), Qt::CaseInsensitive))
                return systemReason(known);
    return {};
}

QString whyCannotWrite(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir() && !path.endsWith(u'/'))
        return systemReason(EISDIR);
    // The nearest folder that is there: the new file or folder goes into it.
    QString folder = info.absolutePath();
    while (!QFileInfo::exists(folder) && folder.size() > 1)
        folder = QFileInfo(folder).absolutePath();
    if (!QFileInfo(folder).isDir())
        return systemReason(ENOTDIR);
    const QByteArray name = QFile::encodeName(folder);
    if (::access(name.constData(), W_OK | X_OK) != 0)
        return systemReason(errno);
    // A file is not written into a folder that is not there (a folder would have been made).
    if (folder != info.absolutePath())
        return systemReason(ENOENT);
    struct statvfs disk {};
    if (::statvfs(name.constData(), &disk) == 0 && disk.f_bavail == 0)
        return systemReason(ENOSPC);
    return {};
}

QString withReason(const QString& message, const QString& reason) {
    return reason.isEmpty() ? message : message + u'\n' + reason;
}
