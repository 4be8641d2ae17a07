#include "support/StartupFacts.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

TEST(LanguageCode, DutchForDutchAndAfrikaansOnly) {
    for (int id : {1043, 2067, 1078})
        EXPECT_EQ(languageCodeFor(id), "NLD") << id;
    for (int id : {1033, 2055, 2057, 0, -1, 0x0813 + 1})
        EXPECT_EQ(languageCodeFor(id), "ENU") << id;
    EXPECT_EQ(languageCodeFor(System::langIdForLocale(QLocale(QStringLiteral("nl_BE")))), "NLD");
    EXPECT_EQ(languageCodeFor(System::langIdForLocale(QLocale(QStringLiteral("af_ZA")))), "NLD");
    EXPECT_EQ(System::langIdForLocale(QLocale(QStringLiteral("nl_NL"))), 1043);
    EXPECT_EQ(System::langIdForLocale(QLocale(QStringLiteral("de_CH"))), 2055);
    EXPECT_EQ(languageCodeFor(System::langIdForLocale(QLocale(QStringLiteral("en_GB")))), "ENU");
}

struct VersionCase {
    int platform, major, minor;
    const char* servicePack;
    const char* name;
    bool nt;
    friend void PrintTo(const VersionCase& c, std::ostream* os) {
        *os << c.platform << "." << c.major << "." << c.minor;
    }
};

class WindowsVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersion, NameAndFamily) {
    const VersionCase& c = GetParam();
    const QString name =
        windowsVersionNameFor({c.platform, c.major, c.minor, QString::fromLatin1(c.servicePack)});
    EXPECT_EQ(name, QString::fromLatin1(c.name));
    EXPECT_EQ(isNTFamilyName(name), c.nt);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsVersion,
    ::testing::Values(
        VersionCase{1, 4, 0, "", "95", false}, VersionCase{1, 4, 0, " C", "95 OSR2", false},
        VersionCase{1, 4, 10, "", "98", false}, VersionCase{1, 4, 10, " A ", "98 SE", false},
        VersionCase{1, 4, 90, "", "ME", false}, VersionCase{1, 4, 50, "", "", false},
        VersionCase{1, 3, 0, "", "9x version (unknown)", false},
        VersionCase{2, 3, 51, "", "NT", true}, VersionCase{2, 4, 0, "", "NT", true},
        VersionCase{2, 5, 0, "", "2000", true}, VersionCase{2, 5, 1, "", "XP", true},
        VersionCase{2, 5, 2, "", "Server 2003", true}, VersionCase{2, 5, 3, "", "", false},
        VersionCase{2, 6, 0, "", "Vista", true}, VersionCase{2, 6, 1, "", "Windows 7", true},
        VersionCase{2, 6, 2, "", "Windows 8", true},
        VersionCase{2, 6, 3, "", "Future Windows version (unknown)", true},
        VersionCase{2, 10, 0, "", "Future Windows version (unknown)", true},
        VersionCase{3, 10, 0, "", "", false}, VersionCase{0, 0, 0, "", "", false}));

System::SystemTime yearly(int month, int weekday, int day, int hour) {
    System::SystemTime t;
    t.month = month;
    t.dayOfWeek = weekday;
    t.day = day;
    t.hour = hour;
    return t;
}

// Central European time: daylight from the last Sunday of March 02:00 to the last Sunday of
// October 03:00, one hour.
System::TimeZoneInformation europe() {
    System::TimeZoneInformation tz;
    tz.bias = -60;
    tz.daylightDate = yearly(3, 0, 5, 2);
    tz.standardDate = yearly(10, 0, 5, 3);
    tz.standardBias = 0;
    tz.daylightBias = -60;
    return tz;
}

QDateTime at(int y, int m, int d, int h = 12, int min = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

TEST(DaylightFacts, EuropeanRuleInSummerWinterAndAtTheExactStart) {
    const auto summer = computeDaylightFacts(31, europe(), at(2026, 7, 15));
    EXPECT_TRUE(summer.active);
    EXPECT_DOUBLE_EQ(summer.biasDays, 60.0 / 1440.0);
    const auto winter = computeDaylightFacts(31, europe(), at(2026, 1, 15));
    EXPECT_FALSE(winter.active);
    EXPECT_DOUBLE_EQ(winter.biasDays, 60.0 / 1440.0);
    // The last Sunday of March 2026 is the 29th; at 02:00:00 exactly it has not begun yet.
    EXPECT_FALSE(computeDaylightFacts(31, europe(), at(2026, 3, 29, 2, 0, 0)).active);
    EXPECT_TRUE(computeDaylightFacts(31, europe(), at(2026, 3, 29, 2, 0, 1)).active);
}

TEST(DaylightFacts, CountryCodeOneGivesNoFacts) {
    for (std::optional<int> code : {std::optional<int>(1), std::optional<int>(0x10001)}) {
        const auto facts = computeDaylightFacts(code, europe(), at(2026, 7, 15));
        EXPECT_FALSE(facts.active);
        EXPECT_EQ(facts.biasDays, 0);
    }
}

// A country outside the locale table (Portugal, say) had no daylight saving at all; its time
// zone says whether it has.
TEST(DaylightFacts, WithoutACountryCodeTheTimeZoneDecides) {
    const auto summer = computeDaylightFacts(std::nullopt, europe(), at(2026, 7, 15));
    EXPECT_TRUE(summer.active);
    EXPECT_DOUBLE_EQ(summer.biasDays, 60.0 / 1440.0);
    EXPECT_FALSE(computeDaylightFacts(std::nullopt, europe(), at(2026, 1, 15)).active);
    System::TimeZoneInformation none{};
    EXPECT_FALSE(computeDaylightFacts(std::nullopt, none, at(2026, 7, 15)).active);
}

TEST(DaylightFacts, SouthernZonesZonesWithoutDaylightAndOddRecords) {
    // Daylight from the first Sunday of October to the first Sunday of April: start after end
    // within a year, so never active.
    System::TimeZoneInformation south = europe();
    south.daylightDate = yearly(10, 0, 1, 2);
    south.standardDate = yearly(4, 0, 1, 3);
    for (int month : {1, 7, 12})
        EXPECT_FALSE(computeDaylightFacts(61, south, at(2026, month, 15)).active);

    System::TimeZoneInformation none;
    none.bias = -540;
    const auto facts = computeDaylightFacts(81, none, at(2026, 7, 15));
    EXPECT_FALSE(facts.active);
    EXPECT_EQ(facts.biasDays, 0);

    System::TimeZoneInformation odd = europe();
    odd.daylightDate.day = 9; // out of range: taken as the last occurrence
    odd.standardDate.month = 13;
    EXPECT_FALSE(computeDaylightFacts(31, odd, at(2026, 7, 15)).active);
}

TEST(TransitionInstant, DayFiveMeansTheLastOccurrenceEvenInAFourOccurrenceMonth) {
    // February 2026 has four Sundays (1, 8, 15, 22).
    EXPECT_EQ(transitionInstant(yearly(2, 0, 5, 0), 2026)->date(), QDate(2026, 2, 22));
    EXPECT_EQ(transitionInstant(yearly(2, 0, 4, 0), 2026)->date(), QDate(2026, 2, 22));
    EXPECT_EQ(transitionInstant(yearly(3, 0, 5, 2), 2026)->date(), QDate(2026, 3, 29));
    EXPECT_EQ(transitionInstant(yearly(3, 0, 1, 2), 2026)->date(), QDate(2026, 3, 1));
    EXPECT_EQ(transitionInstant(yearly(3, 1, 2, 2), 2026)->date(), QDate(2026, 3, 9));
    System::SystemTime absolute = yearly(5, 0, 17, 4);
    absolute.year = 2024;
    EXPECT_EQ(transitionInstant(absolute, 2026)->date(), QDate(2024, 5, 17));
    EXPECT_FALSE(transitionInstant(System::SystemTime{}, 2026).has_value());
}

TEST(TimeZoneRecord, RealZonesGiveTheRulesTheSystemWouldReport) {
    const QTimeZone amsterdam("Europe/Amsterdam");
    if (!amsterdam.isValid())
        GTEST_SKIP() << "no time-zone data on this system";
    const auto tz = System::timeZoneRecord(amsterdam, 2026);
    EXPECT_EQ(tz.bias, -60);
    EXPECT_EQ(tz.daylightBias, -60);
    EXPECT_EQ(tz.daylightDate.month, 3);
    EXPECT_EQ(tz.daylightDate.dayOfWeek, 0);
    EXPECT_EQ(tz.daylightDate.day, 5);
    EXPECT_EQ(tz.daylightDate.hour, 2);
    EXPECT_EQ(tz.standardDate.month, 10);
    EXPECT_EQ(tz.standardDate.day, 5);
    EXPECT_EQ(tz.standardDate.hour, 3);
    EXPECT_TRUE(computeDaylightFacts(31, tz, at(2026, 7, 1)).active);

    const auto tokyo = System::timeZoneRecord(QTimeZone("Asia/Tokyo"), 2026);
    EXPECT_EQ(tokyo.bias, -540);
    EXPECT_EQ(tokyo.daylightDate.month, 0);

    const auto sydney = System::timeZoneRecord(QTimeZone("Australia/Sydney"), 2026);
    EXPECT_EQ(sydney.daylightDate.month, 10);
    EXPECT_EQ(sydney.standardDate.month, 4);
    EXPECT_FALSE(computeDaylightFacts(61, sydney, at(2026, 12, 25)).active);
}

} // namespace
