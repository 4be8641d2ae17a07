#include "platform/Processes.h"

#include "platform/AppError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

#ifdef Q_OS_WIN
#include <tlhelp32.h>
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace Processes {

namespace {

// How long an ended copy is given to be gone before the next pass looks again.
constexpr int EndWaitMs = 2000;

#ifdef Q_OS_WIN

bool sameProgram(const QString& a, const QString& b) {
    return QString::compare(a.trimmed(), b.trimmed(), Qt::CaseInsensitive) == 0;
}

QString executableOf(HANDLE process) {
    wchar_t buffer[32768];
    DWORD size = DWORD(std::size(buffer));
    if (!QueryFullProcessImageNameW(process, 0, buffer, &size))
        return QString();
    return QString::fromWCharArray(buffer, int(size));
}

QList<qint64> listMatching(const QString& path) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        throw AppError(
            QStringLiteral("The running programs cannot be listed (error %1)").arg(GetLastError()));
    QList<qint64> found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId())
            continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        if (sameProgram(executableOf(process), path))
            found.append(entry.th32ProcessID);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    std::sort(found.begin(), found.end());
    return found;
}

bool end(qint64 pid, const QString& path) {
    HANDLE process = OpenProcess(
        PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return false;
    // The id may have gone to another program since it was listed.
    bool ended = false;
    if (sameProgram(executableOf(process), path) && TerminateProcess(process, 0))
        ended = WaitForSingleObject(process, EndWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

#else

const QString DeletedSuffix = QStringLiteral(" (deleted)");

// The executable of a process as the system names it; empty when it cannot be read (the process
// has gone, is a zombie or a kernel thread, or belongs to another user).
QString executableOf(qint64 pid) {
    char buffer[PATH_MAX];
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t size = ::readlink(link.constData(), buffer, sizeof buffer);
    if (size <= 0)
        return QString();
    QString path = QFile::decodeName(QByteArray(buffer, int(size)));
    // The file was replaced or deleted while the copy ran: the copy is still of that file.
    if (path.endsWith(DeletedSuffix))
        path.chop(DeletedSuffix.size());
    return path;
}

// The path as given and, when it exists, with its links resolved (the system names a process's
// executable by its real path).
QStringList namesOf(const QString& path) {
    QStringList names{path};
    const QString real = QFileInfo(path).canonicalFilePath();
    if (!real.isEmpty() && real != path)
        names.append(real);
    return names;
}

QList<qint64> listMatching(const QString& path) {
    DIR* proc = ::opendir("/proc");
    if (!proc)
        throw AppError(QStringLiteral("The running programs cannot be listed: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    const QStringList names = namesOf(path);
    const qint64 self = ::getpid();
    QList<qint64> found;
    while (const dirent* entry = ::readdir(proc)) {
        bool isNumber = false;
        const qint64 pid = QByteArray(entry->d_name).toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || pid == self)
            continue;
        const QString executable = executableOf(pid);
        if (!executable.isEmpty() && names.contains(executable))
            found.append(pid);
    }
    ::closedir(proc);
    std::sort(found.begin(), found.end());
    return found;
}

bool gone(qint64 pid) {
    return executableOf(pid).isEmpty();
}

bool end(qint64 pid, const QString& path) {
    const QStringList names = namesOf(path);
#if defined(SYS_pidfd_open) && defined(SYS_pidfd_send_signal)
    // A process file descriptor holds on to this very process: the id cannot pass to another
    // program between the check and the signal.
    const int handle = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (handle >= 0) {
        bool ended = false;
        if (names.contains(executableOf(pid)) &&
            ::syscall(SYS_pidfd_send_signal, handle, SIGKILL, nullptr, 0) == 0) {
            pollfd exited{handle, POLLIN, 0};
            ended = ::poll(&exited, 1, EndWaitMs) == 1;
        }
        ::close(handle);
        return ended;
    }
    if (errno != ENOSYS)
        return false;
#endif
    if (!names.contains(executableOf(pid)) || ::kill(pid_t(pid), SIGKILL) != 0)
        return false;
    for (int waited = 0; waited < EndWaitMs && !gone(pid); waited += 10)
        ::usleep(10 * 1000);
    return gone(pid);
}

#endif

} // namespace

QList<qint64> findByExecutable(const QString& path) {
    return listMatching(path);
}

int terminateProgram(const QString& path, const std::function<void()>& betweenPasses,
                     const std::function<bool(qint64 pid)>& endCopy) {
    QSet<qint64> tried;
    int ended = 0;
    for (;;) {
        const QList<qint64> running = listMatching(path);
        const auto next = std::find_if(running.begin(), running.end(),
                                       [&](qint64 pid) { return !tried.contains(pid); });
        if (next == running.end())
            return ended;
        tried.insert(*next);
        if (endCopy ? endCopy(*next) : end(*next, path))
            ++ended;
        if (betweenPasses)
            betweenPasses();
    }
}

} // namespace Processes
