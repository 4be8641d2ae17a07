#include "platform/PrintSpooler.h"

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#endif

QString lastSpoolerRefusal() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Only the copy of the library that Qt's print support has loaded holds the answer.
    void* cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!cups)
        return QString();
    using LastError = int (*)();
    using LastErrorString = const char* (*)();
    const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
    const auto lastErrorString =
        reinterpret_cast<LastErrorString>(dlsym(cups, "cupsLastErrorString"));
    QString refusal;
    // IPP status codes up to 0x00FF are successes; 0x0400 and above are errors.
    if (lastError && lastErrorString && lastError() >= 0x0400) {
        const char* text = lastErrorString();
        refusal = text && *text
                      ? QString::fromUtf8(text)
                      : QStringLiteral("IPP status 0x%1").arg(lastError(), 4, 16, QLatin1Char('0'));
    }
    dlclose(cups);
    return refusal;
#else
    return QString();
#endif
}
