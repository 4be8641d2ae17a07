// The decisions the start-up step takes from system facts: language, Windows family and the
// daylight-saving facts. Pure functions, so they can be tried with any system's records.
#pragma once

#include "platform/System.h"

#include <QDateTime>
#include <QString>
#include <optional>

// "NLD" for Dutch (Netherlands, Belgium) and Afrikaans, "ENU" for every other language.
QString languageCodeFor(int langId);

// Short Windows name from the version record, or empty.
QString windowsVersionNameFor(const System::OsVersionInfo& version);

// True exactly for the names of the NT family.
bool isNTFamilyName(const QString& versionName);

// The local date-time of a transition in a year; nothing when the record has none (month 0 or
// out of range). A yearly rule's day 5, or an occurrence the month lacks, means the last one.
std::optional<QDateTime> transitionInstant(const System::SystemTime& transition, int year);

struct DaylightFacts {
    bool active = false;
    double biasDays = 0;
};

// Whether daylight-saving time is in force at `now` (local), and the size of its shift.
// A country code of 1 gives no facts at all. Without a country code (a country the locale table
// does not know, such as Portugal) the time zone's own record decides.
DaylightFacts computeDaylightFacts(std::optional<int> countryCode,
                                   const System::TimeZoneInformation& zone, const QDateTime& now);
