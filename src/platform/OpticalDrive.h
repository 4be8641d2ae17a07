// What an optical drive says about itself before its disc is read: whether the device is there,
// whether it is a CD drive at all, and whether a disc lies in it. The disc reader turns the
// answer into one sentence for the user.
#pragma once

#include <QString>

namespace OpticalDrive {

enum class State {
    Missing,   // no such device
    NoAccess,  // the device is there but may not be opened by this user
    NotADrive, // the device is no CD drive
    NoDisc,    // the drive is empty
    TrayOpen,  // the drive's tray is out
    Ready,     // a disc is in the drive (or the drive cannot tell)
};

// The drive the system names first ("/dev/cdrom" on Linux).
QString defaultDevice();

State stateOf(const QString& device);

} // namespace OpticalDrive
