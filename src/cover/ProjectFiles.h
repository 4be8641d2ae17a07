// A project on disk: a folder named after the spine text that holds "Front.jpg" (the front
// picture), "Back.bmp" (the back picture) and "Back.rtf" (the list of contents), and the rules
// for its name. The main window's project commands and the back-cover editor's own save write
// through here, the start and the read-project command read through here.
#pragma once

#include "platform/FileNameLimits.h"

#include <QString>
#include <QStringList>
#include <functional>

class Cover;
struct CoverOptions;
class Picture;

namespace Project {

// The spine text field holds at most this many characters; a project's name is its spine text.
inline constexpr int MaxNameLength = 51;

inline const QString FrontFile = QStringLiteral("Front.jpg");
inline const QString BackPictureFile = QStringLiteral("Back.bmp");
inline const QString BackTextFile = QStringLiteral("Back.rtf");

// The name cut to MaxNameLength characters; a letter written with two UTF-16 units is not split.
QString cutName(const QString& name);

// The last component of a folder path, with or without a separator at its end: "Summer Songs"
// for "/covers/Summer Songs/". Empty for the root.
QString nameOfFolder(const QString& folder);

// Why name cannot name a project folder in dataFolder, as the user is told (in the user's
// language); empty when it can. The empty name (the data folder itself) passes.
QString folderNameProblem(const QString& name, const QString& dataFolder,
                          const FileNameLimits& limits);

// Throws AppError "\"<name>\" cannot be the name of a project folder: <reason>." when the name
// cannot name a folder in dataFolder on the file system there.
void checkFolderName(const QString& name, const QString& dataFolder);

// Writes a project into folder, made with its parents when missing: "Back.rtf" always,
// "Back.bmp" as a 24-bit Windows bitmap when there is a back picture, "Front.jpg" with the front
// picture's own bytes when there is one. All files or none: on a failure the files already in the
// folder stay as they were. Throws AppError "Cannot create file <path>".
// With options, "Cover.ini" is written too (cover/CoverOptionsFile.h).
void writeFiles(const QString& folder, const QByteArray& backText, const Picture& back,
                const Picture& front, const CoverOptions* options = nullptr);

// Reads the three files of folder: the front and back pictures into the cover, the list through
// loadBackText. Each file on its own: one that cannot be read is left out and the others still
// load. Gives one line for each file that failed, naming the file.
QStringList readFiles(const QString& folder, Cover& cover,
                      const std::function<void(const QString&)>& loadBackText);

// The failure of one file as the user is shown it: the message when it names the file already,
// else "<file>: <message>".
QString failureOf(const QString& file, const QString& message);

} // namespace Project
