// Small text helpers. None raises an error: a missing delimiter or an empty text gives an empty
// text (TrimTrailingSpaces gives a text of blanks back unchanged).
#pragma once

#include <QString>

QString CopyAfterChar(QChar c, const QString& s);
QString CopyAfterText(const QString& t, const QString& s);
QString CopyAfterLastChar(QChar c, const QString& s);
QString CopyBeforeChar(QChar c, const QString& s);
QString CopyBeforeText(const QString& t, const QString& s);
QString CopyBeforeLastChar(QChar c, const QString& s);

QString StripDigits(const QString& s);
QString KeepNumberChars(const QString& s);
QString RemoveSpaces(const QString& s);
QString TrimLeadingSpaces(const QString& s);
QString TrimTrailingSpaces(const QString& s);
