// Bookkeeping of an installer download: the kilobyte count that drives the gauge, the names of
// the files involved and the name the installer is announced by. No network, no window.
#pragma once

#include <QString>
#include <QStringList>

// Size of the blocks in which an installer is received and written.
inline constexpr int DownloadBlockSize = 2048;

// Counts the kilobytes received, block by block: each block adds its byte count divided by
// 1024, the remainder dropped (a block of 2048 bytes adds 2, one of 952 adds 0).
class KilobyteCounter {
public:
    void addBlock(qint64 bytes) { kilobytes_ += quint32(bytes / 1024); }
    quint32 kilobytes() const { return kilobytes_; }
    // Where the gauge stands after the blocks so far.
    qint64 gaugePosition() const { return qint64(kilobytes_) + 1; }
    // Less than two counted kilobytes is no installer.
    bool enough() const { return kilobytes_ > 1; }

private:
    quint32 kilobytes_ = 0;
};

// True when the name is one plain file name that stays inside the folder it is put in and
// names one file below the server's address: not empty, no "/", "\\", NUL or other control
// character, no "..", no leading "." and at most 255 bytes as the file system stores it.
bool isPlainFileName(const QString& name);

// The error told when the version list names its download with anything else.
QString notAPlainFileNameText();

// Name of the running version's installer: product name, the version's digits and points,
// ".exe" ('Sleevix1.10.exe' for "version 1.10c").
QString runningInstallerName(const QString& productName, const QString& versionText);

// The old installers removed before a download, in this order: the running version's and the
// new one's in the program folder, then both in the Downloads folder. Folders end in a separator.
QStringList installersToRemove(const QString& programFolder, const QString& downloadsFolder,
                               const QString& runningName, const QString& downloadName);

// The two lower-case letters with which the maker's program names begin.
inline const QString MakerPrefix = QStringLiteral("ts");

// The name an installer is announced by: its download name before the first ".", without
// digits, with its first letter in upper case ('sleevix111.exe' -> 'Sleevix'); after the
// maker's prefix the third letter is raised instead ('tsbackup2.exe' -> 'tsBackup').
QString installerDisplayName(const QString& downloadName);

// The companion program whose running copies are ended before an installer runs, in the
// program's folder ('Sleevix_Sched', with ".exe" on Windows).
QString companionProgramPath(const QString& programFolder, const QString& productName);

// Parameters that make the installer run silently without asking.
inline const QStringList InstallerParameters{QStringLiteral("/SP-"), QStringLiteral("/silent"),
                                             QStringLiteral("/noicons")};
