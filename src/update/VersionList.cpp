#include "update/VersionList.h"

#include "platform/AppError.h"
#include "support/StringHelpers.h"
#include "update/InstallerFiles.h"

#include <QRegularExpression>

ProgramVersion ProgramVersion::fromVersionText(const QString& versionText) {
    ProgramVersion version;
    const int point = versionText.indexOf(QLatin1Char('.'));
    if (point >= 0)
        version.digits = keepNumberChars(versionText.left(point) + versionText.mid(point + 1));
    if (!versionText.isEmpty()) {
        const QChar last = versionText.back();
        if (last >= QLatin1Char('a') && last <= QLatin1Char('z'))
            version.letter = last;
    }
    return version;
}

QString ProgramVersion::display() const {
    if (digits.isEmpty())
        return QString();
    QString text = digits.left(1);
    if (digits.size() > 1)
        text += QLatin1Char('.') + digits.mid(1, 2);
    if (letter)
        text += *letter;
    return text;
}

bool isNewer(const ProgramVersion& latest, const ProgramVersion& current) {
    const int byDigits = QString::compare(latest.digits, current.digits, Qt::CaseSensitive);
    if (byDigits != 0)
        return byDigits > 0;
    if (!latest.letter)
        return false;
    return !current.letter || latest.letter->unicode() > current.letter->unicode();
}

QStringList splitRecordFields(const QString& record) {
    QStringList fields = record.split(QLatin1Char(','));
    if (fields.size() > 1 && fields.back().isEmpty())
        fields.removeLast();
    return fields;
}

namespace {

int decimalInteger(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!decimal.match(text).hasMatch() || !ok)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString checksumOf(const QString& field) {
    static const QRegularExpression sha256(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    return sha256.match(field).hasMatch() ? field.toLower() : QString();
}

} // namespace

std::optional<VersionRecord> findProgramRecord(const QString& list, const QString& productName) {
    const QString key = productName + QLatin1Char(',');
    const int start = list.indexOf(key);
    if (start < 0 || start + key.size() >= list.size())
        return std::nullopt;
    qsizetype end = start;
    while (end < list.size() && list[end] != QLatin1Char('\r') && list[end] != QLatin1Char('\n'))
        ++end;
    const QStringList fields = splitRecordFields(list.mid(start, end - start));
    if (fields.size() < 5)
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(fields.size()));

    // The name goes into paths and the address of the download: one plain file name or nothing.
    if (!isPlainFileName(fields[1]))
        throw AppError(notAPlainFileNameText());

    VersionRecord record;
    record.downloadName = fields[1];
    record.version.digits = keepNumberChars(copyBeforeChar(QLatin1Char('.'), fields[1]));
    if (!fields[2].isEmpty())
        record.version.letter = fields[2].front();
    record.expectedSizeKB = decimalInteger(fields[3]);
    record.sha256 = checksumOf(fields[4]);
    return record;
}

CheckOutcome judgeVersionList(const VersionListReply& reply, const QString& productName,
                              const ProgramVersion& current) {
    switch (reply.status) {
    case VersionListReply::Status::NoReply:
        return {CheckResult::NoServerReply, std::nullopt};
    case VersionListReply::Status::NoConnection:
        return {CheckResult::ListTooSmall, std::nullopt};
    case VersionListReply::Status::TooLarge:
        return {CheckResult::ListTooLarge, std::nullopt};
    case VersionListReply::Status::Text:
        break;
    }
    if (reply.text.isEmpty())
        return {CheckResult::NoServerReply, std::nullopt};
    // The list is plain 8-bit text; its names and numbers are ASCII.
    const QString list = QString::fromLatin1(reply.text);
    if (list.size() < MinimumListLength)
        return {CheckResult::ListTooSmall, std::nullopt};
    std::optional<VersionRecord> record = findProgramRecord(list, productName);
    if (!record)
        return {CheckResult::NotListed, std::nullopt};
    const CheckResult result =
        isNewer(record->version, current) ? CheckResult::UpdateAdvised : CheckResult::UpToDate;
    return {result, std::move(record)};
}
