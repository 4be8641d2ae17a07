// Small text helpers. None raises an error: a missing delimiter or an empty text gives an empty
// text (TrimTrailingSpaces gives a text of blanks back unchanged).
#pragma once

#include <QString>

QString copyAfterChar(QChar c, const QString& s);
QString copyAfterText(const QString& t, const QString& s);
QString copyAfterLastChar(QChar c, const QString& s);
QString copyBeforeChar(QChar c, const QString& s);
QString copyBeforeText(const QString& t, const QString& s);
QString copyBeforeLastChar(QChar c, const QString& s);

QString stripDigits(const QString& s);
QString keepNumberChars(const QString& s);
QString removeSpaces(const QString& s);
QString trimLeadingSpaces(const QString& s);
QString trimTrailingSpaces(const QString& s);
