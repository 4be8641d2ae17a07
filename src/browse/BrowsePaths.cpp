#include "browse/BrowsePaths.h"

#include "platform/PathDelim.h"

#include <QFile>
#include <algorithm>
#include <thread>

namespace BrowsePaths {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

bool isDelimiter(QChar c) {
#ifdef Q_OS_WIN
    return c == u'\\' || c == u'/';
#else
    return c == PathDelim;
#endif
}

} // namespace

DrivePath splitOnDrive(const QString& path, const QStringList& driveRoots) {
    DrivePath result;
    result.root = driveRoots.value(0);
    const QString asFolder = withTrailingDelim(path);
    qsizetype best = -1;
    for (const QString& root : driveRoots)
        if (!root.isEmpty() && root.size() > best && asFolder.startsWith(root, PathCase)) {
            result.root = root;
            best = root.size();
        }
    if (best < 0)
        return result;
    QString name;
    auto take = [&] {
        if (!name.isEmpty() && name != QLatin1String("."))
            result.folders.append(name);
        name.clear();
    };
    for (qsizetype i = best; i < path.size(); ++i) {
        if (isDelimiter(path[i]))
            take();
        else
            name += path[i];
    }
    take();
    return result;
}

QString folderPath(const QString& root, const QStringList& folders) {
    QString path = root;
    for (const QString& name : folders)
        path += name + PathDelim;
    return path;
}

QString driveEntry(const QString& shownName, const QString& label) {
    return shownName + QStringLiteral(" [") + label.toLower() + u']';
}

NameOrder::NameOrder() {
    collator_.setCaseSensitivity(Qt::CaseSensitive);
    collator_.setNumericMode(false);
}

bool NameOrder::operator()(const QString& a, const QString& b) const {
    const int c = collator_.compare(a, b);
    // The collator may see two different names as equal (ignorable characters); the names
    // themselves then decide, so that the order is the same every time.
    return c != 0 ? c < 0 : a < b;
}

void NameOrder::sort(QStringList& names) const {
    // A big folder is sorted in two halves at once, each with a collator of its own (one may
    // not be shared between threads), and the halves merged: the second core halves the wait.
    constexpr qsizetype Parallel = 4096;
    if (names.size() < Parallel) {
        std::sort(names.begin(), names.end(), *this);
        return;
    }
    const auto middle = names.begin() + names.size() / 2;
    std::thread other([&] {
        const NameOrder order;
        std::sort(middle, names.end(), order);
    });
    std::sort(names.begin(), middle, *this);
    other.join();
    std::inplace_merge(names.begin(), middle, names.end(), *this);
}

FileMask::FileMask(const QString& mask) : text_(mask) {
    for (const QString& part : mask.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) {
            patterns_.clear();
            everything_ = true;
            return;
        }
        patterns_.append(
            QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                               QRegularExpression::CaseInsensitiveOption));
        everything_ = false;
    }
}

bool FileMask::matches(const QString& fileName) const {
    if (everything_)
        return true;
    return std::any_of(patterns_.begin(), patterns_.end(),
                       [&](const QRegularExpression& p) { return p.match(fileName).hasMatch(); });
}

FolderNameProblem folderNameProblem(const QString& name) {
    if (name.trimmed().isEmpty())
        return FolderNameProblem::Empty;
    if (std::any_of(name.begin(), name.end(), isDelimiter))
        return FolderNameProblem::Delimiter;
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return FolderNameProblem::DotName;
#ifdef Q_OS_WIN
    const QString reserved = QStringLiteral("<>:\"|?*");
    if (std::any_of(name.begin(), name.end(),
                    [&](QChar c) { return c.unicode() < 32 || reserved.contains(c); }))
        return FolderNameProblem::BadCharacter;
    if (name.size() > 255)
        return FolderNameProblem::TooLong;
#else
    // The system's names end at a zero byte: the folder would get the name cut short.
    if (name.contains(QChar(0)))
        return FolderNameProblem::BadCharacter;
    if (QFile::encodeName(name).size() > 255)
        return FolderNameProblem::TooLong;
#endif
    return FolderNameProblem::None;
}

} // namespace BrowsePaths
