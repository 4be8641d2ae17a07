#include "platform/OpticalDrive.h"

#include <QFile>
#include <QFileInfo>

#if defined(__linux__)
#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace OpticalDrive {

QString defaultDevice() {
#if defined(__linux__)
    return QStringLiteral("/dev/cdrom");
#else
    return QString();
#endif
}

State stateOf(const QString& device) {
    if (device.isEmpty() || !QFileInfo::exists(device))
        return State::Missing;
#if defined(__linux__)
    // O_NONBLOCK: an empty drive opens too, and the tray is not pulled in.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENXIO || errno == ENODEV ? State::Missing
                                                                    : State::NoAccess;
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    if (status < 0)
        return State::NotADrive;
    switch (status) {
    case CDS_NO_DISC:
        return State::NoDisc;
    case CDS_TRAY_OPEN:
        return State::TrayOpen;
    default:
        return State::Ready;
    }
#else
    return State::Ready;
#endif
}

} // namespace OpticalDrive
