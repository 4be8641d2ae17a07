#include "cover/ProjectFiles.h"

#include "cover/Cover.h"
#include "cover/CoverOptionsFile.h"
#include "platform/AppError.h"
#include "platform/SystemReason.h"
#include "platform/FolderSwap.h"
#include "platform/PathDelim.h"
#include "platform/Picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

namespace Project {
namespace {

// Characters a Windows file system does not take in a name.
constexpr QStringView WindowsForbidden = u"\\:*?\"<>|";

// A save writes its project into a work folder beside the project folder: "target" names the
// project folder, "new" holds the new files, "old" the old folder when the file system could
// not swap the two in one step. The work folder is locked while its save runs.
const QString WorkPrefix = QStringLiteral(".sleevix-save-");
const QString TargetFile = QStringLiteral("target");
const QString NewFolder = QStringLiteral("new");
const QString OldFolder = QStringLiteral("old");

QStringList projectFiles() {
    return {BackTextFile, BackPictureFile, FrontFile, CoverOptionsFile};
}

// The message, and on the next line what stands in the way as the disk shows it now (no
// permission, a read-only or full disk, a missing folder), in the user's language.
AppError cannotCreate(const QString& file) {
    return AppError(
        withReason(QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(file)),
                   whyCannotWrite(file)));
}

bool writeWhole(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    out.close();
    return out.error() == QFileDevice::NoError && FolderSwap::sync(path);
}

// A copy the toolkit's whole-file save left behind when the program was killed: "Back.rtf"
// followed by a dot and six letters or digits.
bool isLeftSaveCopy(const QString& name) {
    static const QRegularExpression copy(
        QStringLiteral("^(Back\\.rtf|Back\\.bmp|Front\\.jpg)\\.[A-Za-z0-9]{6}$"));
    return copy.match(name).hasMatch();
}

void removeLeftSaveCopies(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (isLeftSaveCopy(name))
            QFile::remove(dir.filePath(name));
}

// Moves what is not a project file from one folder into another that does not have it; a
// whole-file save's copy goes. False when something could not be moved.
bool moveOtherEntries(const QString& from, const QString& to) {
    const QStringList project = projectFiles();
    bool all = true;
    const QDir source(from);
    for (const QString& name :
         source.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (project.contains(name))
            continue;
        if (isLeftSaveCopy(name)) {
            QFile::remove(source.filePath(name));
            continue;
        }
        if (!FolderSwap::renameNoReplace(source.filePath(name), QDir(to).filePath(name)))
            all = false;
    }
    return all;
}

// Replaces each file whole (a copy written and renamed over it) and removes the names given.
void writeInPlace(const QString& target, const QString& dir,
                  const QList<std::pair<QString, QByteArray>>& files, const QStringList& removed) {
    for (const auto& [name, bytes] : files) {
        QSaveFile out(target + u'/' + name);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
            throw cannotCreate(dir + name);
        FolderSwap::sync(target + u'/' + name);
    }
    for (const QString& name : removed)
        QFile::remove(target + u'/' + name);
    FolderSwap::sync(target);
}

bool isOneName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

void finishSave(const QString& dataFolder, const QString& work) {
    FolderSwap::FolderLock lock;
    if (!lock.tryLock(work))
        return; // still being written
    QFile targetFile(work + u'/' + TargetFile);
    const QString name =
        targetFile.open(QIODevice::ReadOnly) ? QFile::decodeName(targetFile.readAll()) : QString();
    bool emptied = true;
    if (isOneName(name)) {
        const QString target = dataFolder + u'/' + name;
        const QString fresh = work + u'/' + NewFolder;
        const QString old = work + u'/' + OldFolder;
        // Killed between the two renames of a file system that cannot swap: the new project was
        // whole before the old one was moved aside.
        if (!QFileInfo::exists(target) && QFileInfo(old).isDir())
            FolderSwap::renameNoReplace(QFileInfo(fresh).isDir() ? fresh : old, target);
        // The old folder's other files go back to the project; a new folder that was never put
        // in place holds project files only.
        if (QFileInfo(target).isDir())
            for (const QString& inner : {fresh, old})
                if (QFileInfo(inner).isDir())
                    emptied = moveOtherEntries(inner, target) && emptied;
    }
    // What could not be moved back stays for a later save to try again.
    if (emptied)
        QDir(work).removeRecursively();
}

} // namespace

QString nameOfFolder(const QString& folder) {
    QString path = QDir::fromNativeSeparators(folder);
    while (path.endsWith(u'/'))
        path.chop(1);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString folderNameProblem(const QString& name, const QString& dataFolder,
                          const FileNameLimits& limits) {
    if (name.isEmpty())
        return {};
    if (name == u"." || name == u"..")
        return QCoreApplication::translate(
            "Project", "\".\" and \"..\" stand for the folder itself and the one above it");
    if (name.contains(PathDelim))
        return QCoreApplication::translate(
                   "Project", "it contains \"%1\", which cannot stand in a folder name")
            .arg(PathDelim);
    if (name.contains(QChar(0)))
        return QCoreApplication::translate("Project", "it contains a zero character");
    if (fileNameLength(name) > limits.nameLength)
        return QCoreApplication::translate("Project", "it is too long for the file system");
    const QString file = withTrailingDelim(dataFolder) + name + PathDelim + BackTextFile;
    if (fileNameLength(file) > limits.pathLength)
        return QCoreApplication::translate(
            "Project", "the path of its files would be too long for the file system");
    return {};
}

QString portabilityNote(const QString& name) {
    for (const QChar c : name) {
        if (WindowsForbidden.contains(c))
            return QCoreApplication::translate("Project",
                                               "Note: a Windows drive (FAT or NTFS, most USB "
                                               "sticks) takes no \"%1\" in a folder name.")
                .arg(c);
        if (c.unicode() < 0x20)
            return QCoreApplication::translate("Project",
                                               "Note: a Windows drive (FAT or NTFS, most USB "
                                               "sticks) takes no tab or line break in a folder "
                                               "name.");
    }
    if (name.endsWith(u' ') || name.endsWith(u'.'))
        return QCoreApplication::translate("Project",
                                           "Note: a Windows drive (FAT or NTFS, most USB sticks) "
                                           "drops a space or full stop at the end of a folder "
                                           "name.");
    static const QRegularExpression reserved(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(name).hasMatch())
        return QCoreApplication::translate("Project",
                                           "Note: Windows keeps the name \"%1\" for a device; a "
                                           "folder of that name cannot be copied there.")
            .arg(name.section(u'.', 0, 0));
    return {};
}

void checkFolderName(const QString& name, const QString& dataFolder) {
    const QString problem = folderNameProblem(name, dataFolder, fileNameLimits(dataFolder));
    if (!problem.isEmpty())
        throw AppError(QCoreApplication::translate(
                           "Project", "\"%1\" cannot be the name of a project folder: %2.")
                           .arg(name, problem));
}

bool holdsProject(const QString& folder) {
    const QString dir = withTrailingDelim(folder);
    for (const QString& file : projectFiles())
        if (QFileInfo(dir + file).isFile())
            return true;
    return false;
}

bool isSameFolder(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

void finishUnfinishedSaves(const QString& dataFolder) {
    const QString parent = QDir::cleanPath(dataFolder);
    const QDir dir(parent);
    for (const QString& work :
         dir.entryList({WorkPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        finishSave(parent, dir.filePath(work));
}

void writeFiles(const QString& folder, const QByteArray& backText, const Picture& back,
                const Picture& front, const CoverOptions* options, Unwritten unwritten) {
    const QString dir = withTrailingDelim(folder);
    // A project folder that is a link is saved where the link leads.
    QFileInfo where(QDir::cleanPath(QFileInfo(dir).absoluteFilePath()));
    if (where.isSymLink() && where.isDir())
        where = QFileInfo(where.canonicalFilePath());
    const QString target = where.absoluteFilePath();
    const QString parent = where.absolutePath();
    const bool existed = where.exists();
    if ((existed && !where.isDir()) || !QDir().mkpath(parent))
        throw cannotCreate(dir + BackTextFile);
    // Something else under a project file's name (a folder called "Back.bmp") is the user's: it
    // is neither replaced nor removed.
    for (const QString& name : projectFiles())
        if (const QFileInfo file(target + u'/' + name); file.exists() && !file.isFile())
            throw cannotCreate(dir + name);
    finishUnfinishedSaves(parent);

    // What the project is: its files by name, the ones not among them kept or removed.
    QList<std::pair<QString, QByteArray>> files{{BackTextFile, backText}};
    if (!back.isEmpty())
        files.append({BackPictureFile, windowsBitmap(back.image())});
    if (!front.isEmpty())
        files.append({FrontFile, front.fileBytes(dir + FrontFile)});
    if (options && coverOptionsWanted(dir, *options))
        files.append({CoverOptionsFile, coverOptionsText(*options)});
    QStringList kept = projectFiles();
    for (const auto& file : std::as_const(files))
        kept.removeAll(file.first);

    QTemporaryDir made(parent + u'/' + WorkPrefix + QStringLiteral("XXXXXX"));
    if (!made.isValid()) {
        // A project folder the user may write in, inside a folder they may not (a data folder
        // shared read-only): no work folder can stand beside it, so each file is replaced whole
        // on its own.
        if (existed && QFileInfo(target).isWritable()) {
            writeInPlace(target, dir, files, unwritten == Unwritten::Remove ? kept : QStringList());
            return;
        }
        throw cannotCreate(dir + BackTextFile);
    }
    const QString work = made.path();
    FolderSwap::FolderLock lock;
    const QString fresh = work + u'/' + NewFolder;
    if (!lock.tryLock(work) ||
        !writeWhole(work + u'/' + TargetFile, QFile::encodeName(where.fileName())) ||
        !QDir().mkdir(fresh))
        throw cannotCreate(dir + BackTextFile);

    for (const auto& [name, bytes] : std::as_const(files))
        if (!writeWhole(fresh + u'/' + name, bytes))
            throw cannotCreate(dir + name);
    if (existed && unwritten == Unwritten::Keep)
        for (const QString& name : std::as_const(kept)) {
            const QString from = target + u'/' + name;
            const QString to = fresh + u'/' + name;
            if (QFileInfo(from).isFile() && !FolderSwap::hardLink(from, to) &&
                !QFile::copy(from, to))
                throw cannotCreate(dir + name);
        }
    // The folder keeps the rights the user gave it.
    if (existed)
        QFile::setPermissions(fresh, where.permissions());
    if (!FolderSwap::sync(fresh))
        throw cannotCreate(dir + BackTextFile);

    // From here the work folder may hold the only copy of the old project: it is removed only
    // once what it holds is back where it belongs.
    made.setAutoRemove(false);
    bool placed = false;
    if (!existed) {
        placed = FolderSwap::renameNoReplace(fresh, target);
    } else {
        switch (FolderSwap::exchange(fresh, target)) {
        case FolderSwap::Outcome::Done:
            placed = true;
            break;
        case FolderSwap::Outcome::Unsupported: {
            // Two steps; a save killed between them is finished by the next save or read.
            const QString old = work + u'/' + OldFolder;
            if (FolderSwap::renameNoReplace(target, old)) {
                placed = FolderSwap::renameNoReplace(fresh, target);
                if (!placed)
                    FolderSwap::renameNoReplace(old, target);
            }
            break;
        }
        case FolderSwap::Outcome::Failed:
            break;
        }
    }
    FolderSwap::sync(parent);
    // The old folder's other files move into the project folder; then the work folder goes.
    lock.unlock();
    finishSave(parent, work);
    if (!placed)
        throw cannotCreate(dir + BackTextFile);
}

QString notEnoughMemory() {
    return QCoreApplication::translate("Project", "there is not enough memory to read it");
}

QString failureOf(const QString& file, const QString& message) {
    const QString shown = QDir::toNativeSeparators(file);
    if (message.contains(shown) || message.contains(file))
        return message;
    return shown + QStringLiteral(": ") + message;
}

QStringList readFiles(const QString& folder, Cover& cover,
                      const std::function<void(const QString&)>& loadBackText) {
    const QString dir = withTrailingDelim(folder);
    finishUnfinishedSaves(
        QFileInfo(QDir::cleanPath(QFileInfo(dir).absoluteFilePath())).absolutePath());
    removeLeftSaveCopies(dir);
    QStringList failures;
    const auto tryRead = [&](const QString& file, const std::function<void()>& read) {
        try {
            read();
        } catch (const AppError& e) {
            failures << failureOf(file, e.message());
        } catch (const std::bad_alloc&) {
            failures << failureOf(file, notEnoughMemory());
        }
    };
    cover.setCoverOptions(readCoverOptionsFile(dir));
    tryRead(dir + FrontFile, [&] { cover.loadFrontPicture(dir + FrontFile); });
    tryRead(dir + BackPictureFile, [&] { cover.loadBackPicture(dir + BackPictureFile); });
    if (loadBackText)
        tryRead(dir + BackTextFile, [&] { loadBackText(dir + BackTextFile); });
    return failures;
}

} // namespace Project
