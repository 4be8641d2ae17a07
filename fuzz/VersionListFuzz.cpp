// Reads arbitrary bytes as the update server's version list, as a check does, and as the text a
// running version is read from. A malformed record may be refused with an AppError; nothing may
// crash, and a record that is taken must be safe to use: a download name that is one plain file
// name, a checksum of 64 lower-case hex digits or none, nothing from the next line.
#include "platform/AppError.h"
#include "update/InstallerFiles.h"
#include "update/VersionList.h"

#include <QRegularExpression>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const ProgramVersion running =
        ProgramVersion::fromVersionText(QStringLiteral("version 1.10c"));
    static const QRegularExpression checksum(QStringLiteral("^[0-9a-f]{64}$"));
    try {
        const CheckOutcome outcome = judgeVersionList({VersionListReply::Status::Text, bytes},
                                                      QStringLiteral("Sleevix"), running);
        if (outcome.record) {
            const VersionRecord& record = *outcome.record;
            require(isPlainFileName(record.downloadName));
            require(!record.downloadName.contains(QLatin1Char('\r')) &&
                    !record.downloadName.contains(QLatin1Char('\n')));
            require(record.sha256.isEmpty() || checksum.match(record.sha256).hasMatch());
            require(outcome.result == CheckResult::UpdateAdvised ||
                    outcome.result == CheckResult::UpToDate);
            (void)record.version.display();
        } else {
            require(outcome.result != CheckResult::UpdateAdvised &&
                    outcome.result != CheckResult::UpToDate);
        }
    } catch (const AppError&) {
    }
    const ProgramVersion version = ProgramVersion::fromVersionText(QString::fromLatin1(bytes));
    (void)version.display();
    (void)isNewer(version, running);
    (void)installerDisplayName(QString::fromLatin1(bytes));
    return 0;
}
