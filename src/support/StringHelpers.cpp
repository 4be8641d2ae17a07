#include "support/StringHelpers.h"

QString copyAfterChar(QChar c, const QString& s) {
    const qsizetype at = s.indexOf(c);
    return at < 0 ? QString() : s.mid(at + 1);
}

QString copyAfterText(const QString& t, const QString& s) {
    const qsizetype at = t.isEmpty() ? -1 : s.indexOf(t);
    return at < 0 ? QString() : s.mid(at + t.size());
}

QString copyAfterLastChar(QChar c, const QString& s) {
    const qsizetype at = s.lastIndexOf(c);
    return at < 0 ? QString() : s.mid(at + 1);
}

QString copyBeforeChar(QChar c, const QString& s) {
    const qsizetype at = s.indexOf(c);
    return at < 0 ? QString() : s.left(at);
}

QString copyBeforeText(const QString& t, const QString& s) {
    const qsizetype at = t.isEmpty() ? -1 : s.indexOf(t);
    return at < 0 ? QString() : s.left(at);
}

QString copyBeforeLastChar(QChar c, const QString& s) {
    const qsizetype at = s.lastIndexOf(c);
    return at < 0 ? QString() : s.left(at);
}

QString stripDigits(const QString& s) {
    QString out;
    for (QChar ch : s)
        if (ch < u'0' || ch > u'9')
            out += ch;
    return out;
}

QString keepNumberChars(const QString& s) {
    QString out;
    for (QChar ch : s)
        if ((ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u',')
            out += ch;
    return out;
}

QString removeSpaces(const QString& s) {
    QString out = s;
    out.remove(u' ');
    return out;
}

QString trimLeadingSpaces(const QString& s) {
    if (removeSpaces(s).isEmpty())
        return QString();
    qsizetype first = 0;
    while (s.at(first) == u' ')
        ++first;
    return s.mid(first);
}

QString trimTrailingSpaces(const QString& s) {
    if (removeSpaces(s).isEmpty())
        return s;
    qsizetype end = s.size();
    while (s.at(end - 1) == u' ')
        --end;
    return s.left(end);
}
