// Fetching an advised installer into the user's Downloads folder: old installers removed first,
// the file written block by block as it arrives, the kilobytes counted for the gauge.
//
// A download counts only when the server answered with success, the whole file arrived and it
// holds at least two counted kilobytes; when the version list gives the installer's SHA-256 the
// file must match it too. Anything else is deleted: an error page or half a file is never kept
// where it could be taken for the installer.
#pragma once

#include "update/InstallerFiles.h"
#include "update/UpdateServer.h"

#include <QString>
#include <functional>

struct InstallerRequest {
    QString downloadName;    // the installer's name on the server and in the Downloads folder
    QString sha256;          // expected checksum in lower-case hex; empty: none given
    QString programFolder;   // with a trailing separator
    QString downloadsFolder; // with a trailing separator
    QString runningName;     // the running version's installer (runningInstallerName)
};

struct InstallerOutcome {
    enum class Status {
        Done,    // the installer is in the Downloads folder
        Failed,  // the server failed, the transfer broke off, or too little came
        Damaged, // it arrived whole but does not match its checksum
        Stopped, // the caller stopped it
    };
    Status status = Status::Failed;
    QString file;          // where the installer is (or would have been)
    quint32 kilobytes = 0; // as counted
    QString reason;        // why it failed, for the record; empty when done
};

// Downloads the installer. After each block `onBlock` gets the gauge position (counted kilobytes
// + 1) and gives false to stop. Throws AppError "Cannot create file <path>" when the file cannot
// be made and "Cannot write file <path>" when writing it fails; the file is removed then too.
// A download name that is not one plain file name (isPlainFileName) is refused before anything
// is removed, fetched or written.
InstallerOutcome downloadInstaller(const UpdateServer& server, const InstallerRequest& request,
                                   const std::function<bool(qint64 gaugePosition)>& onBlock);

// True when the file can be read and its SHA-256 is `sha256` (lower-case hex): the installer is
// still the file that was downloaded and checked.
bool fileHasChecksum(const QString& file, const QString& sha256);
