#include "platform/SystemReason.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <cerrno>
#include <cstring>

namespace {

// The errors a file or folder operation meets, each with its sentence.
constexpr int KnownErrors[] = {ENOSPC, EDQUOT,       EROFS,  EACCES, EPERM,  ENOENT,
                               ENOTDIR, EISDIR,      EFBIG,  ENAMETOOLONG, EIO,    EMFILE,
                               ENFILE,  ENOMEM,      EBUSY,  ETXTBSY, ELOOP,  EEXIST,
                               EXDEV,   ENOTEMPTY,   EINVAL};

QString tr(const char* text) {
    return QCoreApplication::translate("SystemReason", text);
}

} // namespace

QString systemReason(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return {};
    case ENOSPC:
    case EDQUOT:
        return tr("The disk is full.");
    case EROFS:
        return tr("The disk is read-only.");
    case EACCES:
    case EPERM:
        return tr("You have no permission for this file or folder.");
    case ENOENT:
        return tr("The file or folder does not exist.");
    case ENOTDIR:
        return tr("A part of the path is not a folder.");
    case EISDIR:
        return tr("It is a folder, not a file.");
    case EFBIG:
        return tr("The file is too large for this disk.");
    case ENAMETOOLONG:
        return tr("The name is too long.");
    case EIO:
        return tr("The disk reported a read or write error.");
    case EMFILE:
    case ENFILE:
        return tr("Too many files are open.");
    case ENOMEM:
        return tr("There is not enough memory.");
    case EBUSY:
    case ETXTBSY:
        return tr("The file is in use.");
    case ELOOP:
        return tr("The path has too many links.");
    case EEXIST:
        return tr("The file already exists.");
    case EXDEV:
        return tr("The file cannot be moved to another disk.");
    case ENOTEMPTY:
        return tr("The folder is not empty.");
    default:
        return tr("The system reported error %1.").arg(errorNumber);
    }
}

QString systemReason(const QFileDevice& file) {
    if (file.error() == QFileDevice::NoError)
        return {};
    // The device's text is the system's own (English) one: find which error it names.
    const QString text = file.errorString();
    for (const int known : KnownErrors)
        if (text.contains(QString::fromLocal8Bit(std::strerror(known)), Qt::CaseInsensitive))
            return systemReason(known);
    return {};
}

QString withReason(const QString& message, const QString& reason) {
    return reason.isEmpty() ? message : message + u'\n' + reason;
}
