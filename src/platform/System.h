// System facts in the form the program was designed with: the user's language identifier, the
// operating-system version record, the user's name, the time-zone record, the country code and
// the folders that hold a user's data. Each comes straight from the system; the decisions built
// on them live in support/.
#pragma once

#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <optional>

namespace System {

// Windows language identifier (primary language | sublanguage << 10) of a locale, e.g.
// nl_NL 1043, nl_BE 2067, af_ZA 1078, en_US 1033; 1033 for a locale the table lacks.
int langIdForLocale(const QLocale& locale);
int userDefaultLangId();

struct OsVersionInfo {
    int platformId = 0; // 1: Windows 9x, 2: NT family
    int major = 0;
    int minor = 0;
    QString servicePack;
};
OsVersionInfo osVersion();

// The logged-on user's name when it fits a buffer of bufferSize characters (the terminating
// zero included); nothing when it does not fit or cannot be had.
std::optional<QString> userName(int bufferSize);

// Date of a time-zone transition: yearly rule when year is 0 (day = occurrence 1..5 of
// dayOfWeek in month, 5 = last), otherwise an absolute date. month 0: no transition.
struct SystemTime {
    int year = 0;
    int month = 0;
    int dayOfWeek = 0; // 0 = Sunday
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct TimeZoneInformation {
    int bias = 0; // minutes: UTC = local time + bias
    SystemTime standardDate;
    int standardBias = 0;
    SystemTime daylightDate;
    int daylightBias = 0;
};

// The time-zone record of a zone for a year, built from the zone's transitions in that year.
TimeZoneInformation timeZoneRecord(const QTimeZone& zone, int year);
TimeZoneInformation currentTimeZoneRecord();

// The user's country code (the telephone code of the region: 1 USA, 31 Netherlands, ...);
// nothing when it is unknown.
std::optional<int> countryCode();

// The user's Downloads folder, with a trailing separator.
QString downloadsFolder();

// The folder under which per-user application data folders are made, with a trailing separator.
QString userDataRoot();

// Full path of the running program file.
QString programFilePath();

} // namespace System
