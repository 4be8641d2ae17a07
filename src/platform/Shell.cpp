#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {

namespace {
OpenHook& installedHook() {
    static OpenHook hook;
    return hook;
}
} // namespace

bool open(const QString& link) {
    if (installedHook())
        return installedHook()(link);
    const QUrl url(link);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

void setOpenHook(OpenHook hook) {
    installedHook() = std::move(hook);
}

} // namespace Shell
