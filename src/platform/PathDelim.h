// The folder separator of the operating system the program runs on.
#pragma once

#include <QChar>
#include <QString>

#ifdef Q_OS_WIN
inline constexpr QChar PathDelim = u'\\';
#else
inline constexpr QChar PathDelim = u'/';
#endif

// The path with exactly one separator at its end (an empty path stays empty).
inline QString withTrailingDelim(const QString& path) {
    if (path.isEmpty() || path.endsWith(PathDelim))
        return path;
    return path + PathDelim;
}
