#include "cover/CoverOptionsFile.h"

#include "platform/PathDelim.h"

#include <QFile>
#include <QFileInfo>

CoverOptions readCoverOptionsFile(const QString& folder) {
    QFile file(withTrailingDelim(folder) + Project::CoverOptionsFile);
    // A file that is larger than any choices can make is not ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
        return CoverOptions();
    return readCoverOptions(file.readAll());
}

bool coverOptionsWanted(const QString& folder, const CoverOptions& options) {
    return !options.isDefault() ||
           QFileInfo::exists(withTrailingDelim(folder) + Project::CoverOptionsFile);
}
