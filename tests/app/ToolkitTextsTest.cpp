// The toolkit's own windows (file dialog, print dialog, the error box) spoke English to a Dutch
// user, between windows that all speak Dutch.
#include "app/Startup.h"
#include "support/Support.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(ToolkitTexts, DutchUserGetsDutchDialogButtons) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_nl.qm")))
        GTEST_SKIP()
            << "the toolkit's Dutch texts (package qt6-translations-l10n) are not installed";
    EXPECT_TRUE(installToolkitTexts(false));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_TRUE(installToolkitTexts(true));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuleren"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("Bestands&naam:"));
    // The other tests of this program see the toolkit's own English again.
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}
