#include "support/StringHelpers.h"

QString CopyAfterChar(QChar c, const QString& s) {
    const qsizetype at = s.indexOf(c);
    return at < 0 ? QString() : s.mid(at + 1);
}

QString CopyAfterText(const QString& t, const QString& s) {
    const qsizetype at = t.isEmpty() ? -1 : s.indexOf(t);
    return at < 0 ? QString() : s.mid(at + t.size());
}

QString CopyAfterLastChar(QChar c, const QString& s) {
    const qsizetype at = s.lastIndexOf(c);
    return at < 0 ? QString() : s.mid(at + 1);
}

QString CopyBeforeChar(QChar c, const QString& s) {
    const qsizetype at = s.indexOf(c);
    return at < 0 ? QString() : s.left(at);
}

QString CopyBeforeText(const QString& t, const QString& s) {
    const qsizetype at = t.isEmpty() ? -1 : s.indexOf(t);
    return at < 0 ? QString() : s.left(at);
}

QString CopyBeforeLastChar(QChar c, const QString& s) {
    const qsizetype at = s.lastIndexOf(c);
    return at < 0 ? QString() : s.left(at);
}

QString StripDigits(const QString& s) {
    QString out;
    for (QChar ch : s)
        if (ch < u'0' || ch > u'9')
            out += ch;
    return out;
}

QString KeepNumberChars(const QString& s) {
    QString out;
    for (QChar ch : s)
        if ((ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u',')
            out += ch;
    return out;
}

QString RemoveSpaces(const QString& s) {
    QString out = s;
    out.remove(u' ');
    return out;
}

QString TrimLeadingSpaces(const QString& s) {
    if (RemoveSpaces(s).isEmpty())
        return QString();
    qsizetype first = 0;
    while (s.at(first) == u' ')
        ++first;
    return s.mid(first);
}

QString TrimTrailingSpaces(const QString& s) {
    if (RemoveSpaces(s).isEmpty())
        return s;
    qsizetype end = s.size();
    while (s.at(end - 1) == u' ')
        --end;
    return s.left(end);
}
