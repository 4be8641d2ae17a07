#include "platform/System.h"

#include "platform/PathDelim.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace System {

int langIdForLocale(const QLocale& locale) {
    struct Entry {
        QLocale::Language language;
        QLocale::Territory territory; // AnyTerritory: the language's first entry
        int id;
    };
    static const Entry table[] = {
        {QLocale::Dutch, QLocale::Netherlands, 0x0413},
        {QLocale::Dutch, QLocale::Belgium, 0x0813},
        {QLocale::Dutch, QLocale::AnyTerritory, 0x0413},
        {QLocale::Afrikaans, QLocale::SouthAfrica, 0x0436},
        {QLocale::Afrikaans, QLocale::AnyTerritory, 0x0436},
        {QLocale::English, QLocale::UnitedStates, 0x0409},
        {QLocale::English, QLocale::UnitedKingdom, 0x0809},
        {QLocale::English, QLocale::Australia, 0x0C09},
        {QLocale::English, QLocale::Canada, 0x1009},
        {QLocale::English, QLocale::AnyTerritory, 0x0409},
        {QLocale::German, QLocale::Germany, 0x0407},
        {QLocale::German, QLocale::Switzerland, 0x0807},
        {QLocale::German, QLocale::Austria, 0x0C07},
        {QLocale::German, QLocale::AnyTerritory, 0x0407},
        {QLocale::French, QLocale::France, 0x040C},
        {QLocale::French, QLocale::Belgium, 0x080C},
        {QLocale::French, QLocale::AnyTerritory, 0x040C},
        {QLocale::Spanish, QLocale::AnyTerritory, 0x0C0A},
        {QLocale::Italian, QLocale::AnyTerritory, 0x0410},
        {QLocale::Portuguese, QLocale::Brazil, 0x0416},
        {QLocale::Portuguese, QLocale::AnyTerritory, 0x0816},
        {QLocale::Danish, QLocale::AnyTerritory, 0x0406},
        {QLocale::Swedish, QLocale::AnyTerritory, 0x041D},
        {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 0x0414},
        {QLocale::Finnish, QLocale::AnyTerritory, 0x040B},
        {QLocale::Polish, QLocale::AnyTerritory, 0x0415},
        {QLocale::Czech, QLocale::AnyTerritory, 0x0405},
        {QLocale::Russian, QLocale::AnyTerritory, 0x0419},
        {QLocale::Japanese, QLocale::AnyTerritory, 0x0411},
        {QLocale::Chinese, QLocale::AnyTerritory, 0x0804},
    };
    for (const Entry& e : table)
        if (e.language == locale.language() &&
            (e.territory == QLocale::AnyTerritory || e.territory == locale.territory()))
            return e.id;
    return 0x0409;
}

int userDefaultLangId() {
    return langIdForLocale(QLocale::system());
}

OsVersionInfo osVersion() {
#ifdef Q_OS_WIN
    // The version the system reports for a program without a compatibility manifest.
    return {2, 6, 2, QString()};
#else
    // A current Windows is of the NT family and newer than any named version.
    return {2, 10, 0, QString()};
#endif
}

std::optional<QString> userName(int bufferSize) {
    QString name;
    if (const passwd* pw = getpwuid(geteuid()))
        name = QString::fromLocal8Bit(pw->pw_name);
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    if (name.isEmpty() || name.toLocal8Bit().size() > bufferSize - 1)
        return std::nullopt;
    return name;
}

namespace {

// The occurrence (1..4, or 5 for the last) of the date's weekday in its month.
int occurrenceInMonth(const QDate& date) {
    if (date.addDays(7).month() != date.month())
        return 5;
    return (date.day() - 1) / 7 + 1;
}

SystemTime yearlyRule(const QDateTime& local) {
    SystemTime t;
    t.month = local.date().month();
    t.dayOfWeek = local.date().dayOfWeek() % 7;
    t.day = occurrenceInMonth(local.date());
    t.hour = local.time().hour();
    t.minute = local.time().minute();
    t.second = local.time().second();
    return t;
}

} // namespace

TimeZoneInformation timeZoneRecord(const QTimeZone& zone, int year) {
    TimeZoneInformation info;
    const QDateTime yearStart(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
    info.bias = -zone.standardTimeOffset(yearStart) / 60;
    if (!zone.hasDaylightTime())
        return info;
    const auto transitions = zone.transitions(yearStart.addDays(-1), yearStart.addYears(1));
    for (const QTimeZone::OffsetData& t : transitions) {
        // The record gives each transition in the local time that was in force before it.
        const QDateTime before = t.atUtc.addSecs(-1);
        const int offsetBefore = zone.offsetFromUtc(before);
        const QDateTime local = t.atUtc.toUTC().addSecs(offsetBefore);
        const QDateTime wallClock(local.date(), local.time(), Qt::UTC);
        if (wallClock.date().year() != year)
            continue;
        if (t.daylightTimeOffset > 0) {
            info.daylightDate = yearlyRule(wallClock);
            info.daylightBias = -t.daylightTimeOffset / 60;
        } else {
            info.standardDate = yearlyRule(wallClock);
        }
    }
    if (info.daylightDate.month == 0 || info.standardDate.month == 0)
        return TimeZoneInformation{info.bias, {}, 0, {}, 0};
    return info;
}

TimeZoneInformation currentTimeZoneRecord() {
    return timeZoneRecord(QTimeZone::systemTimeZone(), QDate::currentDate().year());
}

std::optional<int> countryCode() {
    // Telephone codes of the regions the program's users mostly live in.
    static const std::pair<QLocale::Territory, int> table[] = {
        {QLocale::UnitedStates, 1},   {QLocale::Canada, 2},       {QLocale::Netherlands, 31},
        {QLocale::Belgium, 32},       {QLocale::France, 33},      {QLocale::Spain, 34},
        {QLocale::Italy, 39},         {QLocale::Switzerland, 41}, {QLocale::Austria, 43},
        {QLocale::UnitedKingdom, 44}, {QLocale::Denmark, 45},     {QLocale::Sweden, 46},
        {QLocale::Norway, 47},        {QLocale::Poland, 48},      {QLocale::Germany, 49},
        {QLocale::Brazil, 55},        {QLocale::Australia, 61},   {QLocale::NewZealand, 64},
        {QLocale::Japan, 81},         {QLocale::China, 86},       {QLocale::SouthAfrica, 27},
        {QLocale::Finland, 358},      {QLocale::Ireland, 353},    {QLocale::Luxembourg, 352},
    };
    const QLocale::Territory territory = QLocale::system().territory();
    for (const auto& [t, code] : table)
        if (t == territory)
            return code;
    return std::nullopt;
}

QString downloadsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/Downloads");
    return withTrailingDelim(folder);
}

QString userDataRoot() {
    return withTrailingDelim(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString programFilePath() {
    return QCoreApplication::applicationFilePath();
}

} // namespace System
