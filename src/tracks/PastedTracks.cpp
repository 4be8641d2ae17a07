#include "tracks/PastedTracks.h"

#include <QRegularExpression>

namespace {

const QRegularExpression& durationPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(?:(\d{1,2}):)?(\d{1,3}):([0-5]\d)$)"));
    return pattern;
}

bool isNumberField(const QString& field) {
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{1,3}|[A-Za-z]\d{1,2})\.?$)"));
    return pattern.match(field).hasMatch();
}

// Splits a spreadsheet row at the separator, with fields in double quotes ("a, b" and "" for a
// quote) kept whole.
QStringList splitRow(const QString& line, QChar separator) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            quoted = true;
            field.clear();
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

// A row of fields as a track: a number, a duration and one or two texts (title, artist).
bool readFields(const QStringList& fields, Track& track) {
    QStringList texts;
    for (const QString& field : fields) {
        if (field.isEmpty())
            continue;
        if (track.number.isEmpty() && texts.isEmpty() && isNumberField(field))
            track.number = field.endsWith(u'.') ? field.chopped(1) : field;
        else if (track.durationMs < 0 && PastedTracks::readDuration(field) >= 0)
            track.durationMs = PastedTracks::readDuration(field);
        else
            texts << field;
    }
    if (texts.isEmpty() || (track.number.isEmpty() && track.durationMs < 0) || texts.size() > 2)
        return false;
    track.title = texts.value(0);
    track.artist = texts.value(1);
    return true;
}

// A line of text as a track: a number or a side and number at the start, a duration at the end
// (in brackets or not), the title between them.
bool readLine(const QString& line, Track& track) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(?:(\d{1,3}|[A-Za-z]\d{1,2})(?:\s*[.):]|\s+[-\x{2013}\x{2014}]|\s)\s*)?(.*?))"
        R"((?:[\s\-\x{2013}\x{2014}]*[(\[]?((?:\d{1,2}:)?\d{1,3}:[0-5]\d)[)\]]?)?$)"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return false;
    const QString title = match.captured(2).trimmed();
    if (title.isEmpty() || (!match.hasCaptured(1) && !match.hasCaptured(3)))
        return false;
    track.number = match.captured(1);
    track.title = title;
    track.durationMs = match.hasCaptured(3) ? PastedTracks::readDuration(match.captured(3)) : -1;
    return true;
}

bool looksLikeRow(const QStringList& fields) {
    if (fields.size() < 2)
        return false;
    for (const QString& field : fields)
        if (isNumberField(field) || PastedTracks::readDuration(field) >= 0)
            return true;
    return false;
}

} // namespace

namespace PastedTracks {

qint64 readDuration(const QString& text) {
    const QRegularExpressionMatch match = durationPattern().match(text.trimmed());
    if (!match.hasMatch())
        return -1;
    return ((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 60 +
            match.captured(3).toLongLong()) *
           1000;
}

TrackList read(const QString& text) {
    TrackList list;
    int lastNumber = 0;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        Track track;
        bool read = false;
        if (line.contains(u'\t')) {
            read = readFields(splitRow(line, u'\t'), track);
        } else {
            for (const QChar separator : {u',', u';'}) {
                const QStringList fields = splitRow(line, separator);
                if (!read && looksLikeRow(fields)) {
                    track = Track();
                    read = readFields(fields, track);
                }
            }
            if (!read) {
                track = Track();
                read = readLine(line, track);
            }
        }
        if (!read) {
            list.tracks << Track{{}, line, {}, -1, 0, true};
            continue;
        }
        bool numeric = false;
        const int number = track.number.toInt(&numeric);
        if (numeric) {
            track.number = QString::number(number); // "01" shows as 1
            lastNumber = number;
        } else if (track.number.isEmpty()) {
            track.number = QString::number(++lastNumber);
        }
        list.tracks << track;
    }
    return list;
}

} // namespace PastedTracks
