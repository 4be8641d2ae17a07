#include "update/InstallerDownload.h"

#include "platform/AppError.h"
#include "platform/Sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <optional>

namespace {

// The file's address relative to the server's: the name as one path segment, so that "?", "#",
// "%" or a ":" that would read as a scheme stay part of the name.
QString addressBelowServer(const QString& name) {
    return QStringLiteral("./") + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

} // namespace

InstallerOutcome downloadInstaller(const UpdateServer& server, const InstallerRequest& request,
                                   const std::function<bool(qint64 gaugePosition)>& onBlock) {
    // The name is joined to folders and to the server's address: anything but one plain file
    // name could reach outside them.
    if (!isPlainFileName(request.downloadName))
        throw AppError(notAPlainFileNameText());
    for (const QString& old : installersToRemove(request.programFolder, request.downloadsFolder,
                                                 request.runningName, request.downloadName))
        if (QFileInfo(old).isFile())
            QFile::remove(old);

    InstallerOutcome outcome;
    outcome.file = request.downloadsFolder + request.downloadName;
    // A Downloads folder the user never had is made, as a browser would.
    QDir().mkpath(request.downloadsFolder);
    QFile file(outcome.file);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw AppError(QStringLiteral("Cannot create file %1").arg(outcome.file));

    KilobyteCounter counter;
    // The blocks are gathered into pieces of a megabyte: each piece is written in one call and
    // hashed on a thread of its own while the next one arrives.
    constexpr qsizetype PieceSize = 1024 * 1024;
    std::optional<BackgroundSha256> checksum;
    if (!request.sha256.isEmpty())
        checksum.emplace();
    QByteArray piece;
    piece.reserve(PieceSize);
    const auto writePiece = [&] {
        if (piece.isEmpty())
            return;
        if (file.write(piece) != piece.size())
            throw AppError(QStringLiteral("Cannot write file %1").arg(outcome.file));
        if (checksum)
            checksum->addData(piece);
        piece = QByteArray();
        piece.reserve(PieceSize);
    };
    Internet::DownloadResult transfer;
    try {
        transfer = Internet::download(
            server.access, addressBelowServer(request.downloadName), DownloadBlockSize,
            [&](const char* data, qint64 size) {
                piece.append(data, size);
                if (piece.size() >= PieceSize)
                    writePiece();
                counter.addBlock(size);
                return onBlock(counter.gaugePosition());
            });
        writePiece();
        if (!file.flush())
            throw AppError(QStringLiteral("Cannot write file %1").arg(outcome.file));
    } catch (...) {
        // Closing a file whose writes failed fails too; the name is removed all the same.
        file.close();
        QFile::remove(outcome.file);
        throw;
    }
    file.close();
    outcome.kilobytes = counter.kilobytes();

    if (transfer.stopped) {
        outcome.status = InstallerOutcome::Status::Stopped;
        outcome.reason = QStringLiteral("Stopped");
    } else if (!transfer.complete()) {
        outcome.reason = transfer.error;
    } else if (!counter.enough()) {
        outcome.reason = QStringLiteral("Only %1 bytes arrived").arg(transfer.received);
    } else if (checksum && checksum->hexResult() != request.sha256.toLatin1()) {
        outcome.status = InstallerOutcome::Status::Damaged;
        outcome.reason = QStringLiteral("The checksum does not match");
    } else {
        outcome.status = InstallerOutcome::Status::Done;
        // Downloaded files are not executable by themselves; the installer must be.
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        return outcome;
    }
    QFile::remove(outcome.file);
    return outcome;
}

bool fileHasChecksum(const QString& file, const QString& sha256) {
    QFile installer(file);
    if (!installer.open(QIODevice::ReadOnly))
        return false;
    Sha256 checksum;
    QByteArray block(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 size = installer.read(block.data(), block.size());
        if (size < 0)
            return false;
        if (size == 0)
            break;
        checksum.addData(QByteArrayView(block.constData(), size));
    }
    return checksum.hexResult() == sha256.toLatin1();
}
