#include "cover/ProjectFiles.h"

#include "cover/Cover.h"
#include "cover/CoverOptionsFile.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/Picture.h"
#include "platform/SaveWhole.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Project {
namespace {

// Characters that cannot stand in a folder name here or on Windows, where a project folder may
// be copied.
constexpr QStringView ForbiddenCharacters = u"/\\:*?\"<>|";

} // namespace

QString cutName(const QString& name) {
    if (name.size() <= MaxNameLength)
        return name;
    qsizetype length = MaxNameLength;
    if (name.at(length - 1).isHighSurrogate())
        --length;
    return name.left(length);
}

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
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QCoreApplication::translate("Project",
                                               "it contains a tab or another control character");
        if (ForbiddenCharacters.contains(c))
            return QCoreApplication::translate(
                       "Project", "it contains \"%1\", which cannot stand in a folder name")
                .arg(c);
    }
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("Project", "it consists of spaces only");
    if (fileNameLength(name) > limits.nameLength)
        return QCoreApplication::translate("Project", "it is too long for the file system");
    const QString file = withTrailingDelim(dataFolder) + name + PathDelim + BackTextFile;
    if (fileNameLength(file) > limits.pathLength)
        return QCoreApplication::translate(
            "Project", "the path of its files would be too long for the file system");
    return {};
}

void checkFolderName(const QString& name, const QString& dataFolder) {
    const QString problem = folderNameProblem(name, dataFolder, fileNameLimits(dataFolder));
    if (!problem.isEmpty())
        throw AppError(QCoreApplication::translate(
                           "Project", "\"%1\" cannot be the name of a project folder: %2.")
                           .arg(name, problem));
}

void writeFiles(const QString& folder, const QByteArray& backText, const Picture& back,
                const Picture& front, const CoverOptions* options) {
    const QString dir = withTrailingDelim(folder);
    const auto cannotCreate = [](const QString& file) {
        return AppError(
            QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(file)));
    };
    const bool made = !QFileInfo(dir).isDir();
    if (!QDir().mkpath(dir))
        throw cannotCreate(dir + BackTextFile);
    QList<FileToWrite> files{{dir + BackTextFile, backText}};
    try {
        if (!back.isEmpty())
            files.append({dir + BackPictureFile, windowsBitmap(back.image())});
        if (!front.isEmpty())
            files.append({dir + FrontFile, front.fileBytes(dir + FrontFile)});
        if (options && coverOptionsWanted(dir, *options))
            files.append({dir + CoverOptionsFile, coverOptionsText(*options)});
        if (const QString failed = saveFilesWhole(files); !failed.isEmpty())
            throw cannotCreate(failed);
    } catch (...) {
        // A folder made for nothing would be taken for a project by a later save.
        if (made)
            QDir().rmdir(dir);
        throw;
    }
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
    QStringList failures;
    const auto tryRead = [&](const QString& file, const std::function<void()>& read) {
        try {
            read();
        } catch (const AppError& e) {
            failures << failureOf(file, e.message());
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
