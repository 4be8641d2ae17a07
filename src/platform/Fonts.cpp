#include "platform/Fonts.h"

#include <QFont>
#include <QStringList>
#include <system_error>

#ifndef Q_OS_WIN
#include <fontconfig/fontconfig.h>
#endif

void installFontSubstitutes() {
#ifndef Q_OS_WIN
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
#endif
}

FontConfigurationWarmUp::FontConfigurationWarmUp() {
#ifndef Q_OS_WIN
    // Fontconfig keeps one configuration for the process and makes it once, thread-safely; the
    // toolkit's font database later finds it made.
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread: the toolkit reads the configuration itself when it first needs it.
    }
#endif
}

FontConfigurationWarmUp::~FontConfigurationWarmUp() {
    wait();
}

void FontConfigurationWarmUp::wait() {
    if (thread_.joinable())
        thread_.join();
}
