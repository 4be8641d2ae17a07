#include "support/StartupFacts.h"

QString languageCodeFor(int langId) {
    switch (langId) {
    case 1043: // Dutch, Netherlands
    case 2067: // Dutch, Belgium
    case 1078: // Afrikaans, South Africa
        return QStringLiteral("NLD");
    default:
        return QStringLiteral("ENU");
    }
}

QString windowsVersionNameFor(const System::OsVersionInfo& v) {
    if (v.platformId == 1) {
        if (v.major != 4)
            return QStringLiteral("9x version (unknown)");
        switch (v.minor) {
        case 0:
            return v.servicePack.contains(u'B') || v.servicePack.contains(u'C')
                       ? QStringLiteral("95 OSR2")
                       : QStringLiteral("95");
        case 10:
            return v.servicePack.contains(u'A') ? QStringLiteral("98 SE") : QStringLiteral("98");
        case 90:
            return QStringLiteral("ME");
        default:
            return QString();
        }
    }
    if (v.platformId == 2) {
        if (v.major <= 4)
            return QStringLiteral("NT");
        if (v.major == 5) {
            switch (v.minor) {
            case 0:
                return QStringLiteral("2000");
            case 1:
                return QStringLiteral("XP");
            case 2:
                return QStringLiteral("Server 2003");
            default:
                return QString();
            }
        }
        if (v.major == 6) {
            switch (v.minor) {
            case 0:
                return QStringLiteral("Vista");
            case 1:
                return QStringLiteral("Windows 7");
            case 2:
                return QStringLiteral("Windows 8");
            default:
                return QStringLiteral("Future Windows version (unknown)");
            }
        }
        return QStringLiteral("Future Windows version (unknown)");
    }
    return QString();
}

bool isNTFamilyName(const QString& name) {
    static const QString names[] = {
        QStringLiteral("NT"),        QStringLiteral("2000"),
        QStringLiteral("XP"),        QStringLiteral("Server 2003"),
        QStringLiteral("Vista"),     QStringLiteral("Windows 7"),
        QStringLiteral("Windows 8"), QStringLiteral("Future Windows version (unknown)")};
    for (const QString& n : names)
        if (n == name)
            return true;
    return false;
}

std::optional<QDateTime> transitionInstant(const System::SystemTime& t, int year) {
    if (t.month < 1 || t.month > 12)
        return std::nullopt;
    QDate date;
    if (t.year != 0) {
        date = QDate(t.year, t.month, t.day);
    } else {
        const int weekday = ((t.dayOfWeek % 7) + 7) % 7; // 0 = Sunday
        const int occurrence = (t.day >= 1 && t.day <= 5) ? t.day : 5;
        const QDate first(year, t.month, 1);
        const int firstWeekday = first.dayOfWeek() % 7;
        date = first.addDays((weekday - firstWeekday + 7) % 7 + 7 * (occurrence - 1));
        while (date.month() != t.month)
            date = date.addDays(-7);
    }
    if (!date.isValid())
        return std::nullopt;
    // Local wall-clock time, kept free of any zone so comparisons are plain.
    return QDateTime(date, QTime(0, 0), Qt::UTC)
        .addSecs(qint64(t.hour) * 3600 + qint64(t.minute) * 60 + t.second);
}

DaylightFacts computeDaylightFacts(std::optional<int> countryCode,
                                   const System::TimeZoneInformation& zone, const QDateTime& now) {
    DaylightFacts facts;
    if (countryCode && (*countryCode & 0xFFFF) == 1)
        return facts;
    facts.biasDays = double(zone.standardBias - zone.daylightBias) / 1440.0;
    const QDateTime wallNow(now.date(), now.time(), Qt::UTC);
    const int year = now.date().year();
    const auto start = transitionInstant(zone.daylightDate, year);
    const auto end = transitionInstant(zone.standardDate, year);
    facts.active = start && end && *start < wallNow && wallNow < *end;
    return facts;
}
