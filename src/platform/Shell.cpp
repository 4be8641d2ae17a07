#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {

namespace {
OpenHook& Hook() {
    static OpenHook hook;
    return hook;
}
} // namespace

bool Open(const QString& link) {
    if (Hook())
        return Hook()(link);
    const QUrl url(link);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

void SetOpenHook(OpenHook hook) {
    Hook() = std::move(hook);
}

} // namespace Shell
