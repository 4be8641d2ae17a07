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

// The user types at most this many characters into the spine text field; a name the program
// sets there (a project read, the editor's copy) stays whole.
inline constexpr int MaxNameLength = 51;

inline const QString FrontFile = QStringLiteral("Front.jpg");
inline const QString BackPictureFile = QStringLiteral("Back.bmp");
inline const QString BackTextFile = QStringLiteral("Back.rtf");

// The last component of a folder path, with or without a separator at its end: "Summer Songs"
// for "/covers/Summer Songs/". Empty for the root.
QString nameOfFolder(const QString& folder);

// Why name cannot name a project folder in dataFolder, as the user is told (in the user's
// language); empty when it can. Only what the file system refuses is refused: "/", a zero
// character, "." and "..", a name or path too long. The empty name (the data folder itself)
// passes.
QString folderNameProblem(const QString& name, const QString& dataFolder,
                          const FileNameLimits& limits);

// One line for a name that this file system takes but that a copy to a Windows drive (FAT,
// exFAT, NTFS: most USB sticks) would refuse or change; empty when the name travels well.
QString portabilityNote(const QString& name);

// Throws AppError "\"<name>\" cannot be the name of a project folder: <reason>." when the name
// cannot name a folder in dataFolder on the file system there.
void checkFolderName(const QString& name, const QString& dataFolder);

// What a save does with a project file it does not write (no front or no back picture).
enum class Unwritten {
    Keep,   // stays as it was: the folder is the project being saved
    Remove, // goes: the folder held another project, which this one replaces
};

// Writes a project into folder, made with its parents when missing: "Back.rtf" always,
// "Back.bmp" as a 24-bit Windows bitmap when there is a back picture, "Front.jpg" with the front
// picture's own bytes when there is one, and with options "Cover.ini" (cover/CoverOptionsFile.h)
// when they differ from the defaults or the folder has one. All files or none, also when the
// program is killed half-way: the project is written whole into a new folder beside it, which then
// takes the old folder's place in one step; other files in the folder stay. A project folder the
// user may write in, inside one they may not, has each file replaced whole on its own. Throws AppError
// "Cannot create file <path>", the folder then as it was.
void writeFiles(const QString& folder, const QByteArray& backText, const Picture& back,
                const Picture& front, const CoverOptions* options = nullptr,
                Unwritten unwritten = Unwritten::Keep);
inline void writeFiles(const QString& folder, const QByteArray& backText, const Picture& back,
                       const Picture& front, Unwritten unwritten) {
    writeFiles(folder, backText, back, front, nullptr, unwritten);
}

// Whether folder holds any of a project's files.
bool holdsProject(const QString& folder);

// Whether the two paths lead to the same folder (links followed, a delimiter at the end or not).
bool isSameFolder(const QString& a, const QString& b);

// Finishes or undoes what a save killed half-way left in dataFolder (each project folder then
// holds the files of one save, its other files back in it) and removes what is left of it; a
// save still running in another program is left alone. Every save and every read does this
// first.
void finishUnfinishedSaves(const QString& dataFolder);

// Reads the three files of folder (after finishing saves killed half-way beside it): the front
// and back pictures into the cover, the list through loadBackText. Each file on its own: one that
// cannot be read (also one too large for memory) is left out and the others still load. Gives one
// line for each file that failed, naming the file.
QStringList readFiles(const QString& folder, Cover& cover,
                      const std::function<void(const QString&)>& loadBackText);

// The failure of one file as the user is shown it: the message when it names the file already,
// else "<file>: <message>".
QString failureOf(const QString& file, const QString& message);

// What a file that does not fit in memory is told as, after its name.
QString notEnoughMemory();

} // namespace Project
