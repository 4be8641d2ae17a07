// The path rules of folder browsing, without a window: which drive a path lies on and the
// folders to walk down to it, the path of a folder in the tree, the entries of the drive list,
// the order of names, file masks, and which names a new folder may have.
#pragma once

#include <QCollator>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace BrowsePaths {

// A path taken apart: the root of the drive it lies on (ending in the delimiter) and the names
// of the folders below that root, outermost first.
struct DrivePath {
    QString root;
    QStringList folders;
};

// The drive of a path is the longest of the drive roots (each ending in the delimiter) that the
// path lies on; a path on none of them (relative, empty, on a drive that is gone) gives the first
// root and no folders. Empty names and "." between delimiters are dropped; every other name,
// "..", blanks and line breaks included, is kept as it stands, so the walk follows exactly the
// folders written in the path and never more.
DrivePath splitOnDrive(const QString& path, const QStringList& driveRoots);

// The path of a folder below a drive root: root + names joined by the delimiter + delimiter.
QString folderPath(const QString& root, const QStringList& folders);

// An entry of the drive list: the drive's name, a blank and its volume label in lower case in
// brackets ("/media/ann/STICK [stick]", "/ []" for a volume without a label).
QString driveEntry(const QString& shownName, const QString& label);

// The order of folder and file names in the browse dialog: alphabetical in the user's
// language, letter case only breaking ties ("apple" < "Apple" < "banana" < "Éclair" < "zebra").
// Not to be shared between threads.
class NameOrder {
public:
    NameOrder();
    bool operator()(const QString& a, const QString& b) const;
    void sort(QStringList& names) const;

private:
    QCollator collator_;
};

// A file mask as callers give it: patterns with * and ? separated by semicolons
// ("*.jpg; *.bmp; *.gif"), matched without regard to letter case. "*.*", "*" or an empty mask
// match every file, names without a dot included.
class FileMask {
public:
    explicit FileMask(const QString& mask = QString());
    bool matches(const QString& fileName) const;
    const QString& text() const { return text_; }

private:
    QString text_;
    bool everything_ = true;
    QList<QRegularExpression> patterns_;
};

// What is wrong with a name typed for a new folder.
enum class FolderNameProblem {
    None,
    Empty,        // nothing, or only blanks
    Delimiter,    // holds the path delimiter (it would make nested folders or leave the parent)
    DotName,      // "." or "..": the folder itself or its parent
    BadCharacter, // a character no folder name may hold on this system
    TooLong,      // longer than the file system allows for one name
};
FolderNameProblem folderNameProblem(const QString& name);

} // namespace BrowsePaths
