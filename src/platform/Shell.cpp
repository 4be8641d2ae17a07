#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {

bool open(const QString& link) {
    const QUrl url(link);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace Shell
