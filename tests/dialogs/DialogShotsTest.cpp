// Screenshots of the dialog kit over the main window, for looking at by eye. Disabled in normal
// runs; under a real display:
//   xvfb-run -a -s '-screen 0 1280x1024x24' env QT_QPA_PLATFORM=xcb SLEEVIX_SHOT_DIR=/tmp/shots
//     build/tests/test_dialogs --gtest_also_run_disabled_tests --gtest_filter='*Shots*'
#include "DialogTestUtil.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "controls/ColourButton.h"
#include "controls/Gauge.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/TextInputDialog.h"
#include "dialogs/TimedMessage.h"
#include "platform/Fonts.h"
#include "settings/Settings.h"
#include "support/Support.h"

#include <QCursor>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

using dialogtest::WaitUntil;
using dialogtest::WhenShown;

namespace {

void Settle(int ms) {
    WaitUntil([] { return false; }, ms);
}

void Shoot(const QString& dir, const QString& name) {
    Settle(300);
    QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QLatin1Char('/') + name);
}

void HoverOver(QWidget* w) {
    QCursor::setPos(w->mapToGlobal(w->rect().center()));
    Settle(200);
}

TEST(DialogShots, DISABLED_OverTheMainWindow) {
    const QString dir = qEnvironmentVariable("SLEEVIX_SHOT_DIR", QStringLiteral("/tmp/shots"));
    QDir().mkpath(dir);
    QDir::setCurrent(testenv::freshFolder(QStringLiteral("shots")));
    testenv::useLanguage(qEnvironmentVariable("SLEEVIX_LANG", QStringLiteral("NLD")));
    installFontSubstitutes();

    ErrorGuard::setReporter(
        qApp, [](const QString& text) { qWarning("error box: %s", qPrintable(text)); });
    Workspace workspace(testenv::startupFacts(), QDir::currentPath());
    Cover cover(workspace);
    MainWindow main(workspace, cover);
    loadSettingsValues(workspace);
    main.show();
    Settle(800);
    QuestionDialog yesNo(&main);
    TimedMessage message(&main);
    TextInputDialog ask(&main);
    const QRect r = main.frameGeometry();

    bool cancel = true;
    WhenShown(&yesNo, [&] {
        Shoot(dir, "yesno.png");
        HoverOver(yesNo.noButton);
        Shoot(dir, "yesno-hover.png");
        yesNo.noButton->click();
    });
    dialogtest::AskYesNo(yesNo, r.top(), r.left(), r.height(), r.width(), QStringLiteral("Sleevix"),
                         QStringLiteral("Wilt u het huidige project bewaren?"), "Ja", "Nee",
                         "Annuleren", true, cancel);

    cancel = true;
    QCursor::setPos(5, 5);
    Settle(200);
    WhenShown(&yesNo, [&] {
        Shoot(dir, "yesno-long.png");
        yesNo.yesButton->click();
    });
    dialogtest::AskYesNo(
        yesNo, r.top(), r.left(), r.height(), r.width(), QStringLiteral("Sleevix"),
        QStringLiteral("Het project \"Pink Floyd - The Wall\" bevat wijzigingen die nog niet "
                       "zijn bewaard. Als u nu afsluit, gaan die wijzigingen verloren.\r"
                       "Wilt u het huidige project bewaren?"),
        "Ja", "Nee", "Annuleren", false, cancel);

    message.showTimed(r, QStringLiteral("Het project Pink Floyd - The Wall"),
                      QStringLiteral("is bewaard."), 5000);
    Shoot(dir, "message.png");
    message.showTimed(r, QStringLiteral("U heeft de Achtertekst niet geladen"),
                      QStringLiteral("Maak eerst de inhoudsopgave voor de achterzijde aan."), 5000);
    Shoot(dir, "message-two.png");
    message.closeMessage();

    QString answer;
    WhenShown(&ask, [&] {
        ask.answerEdit->setText(QStringLiteral("Nieuwe map"));
        Shoot(dir, "ask.png");
        HoverOver(ask.cancelButton);
        Shoot(dir, "ask-hover.png");
        ask.okButton->click();
    });
    answer = ask.ask(r, QString(), QStringLiteral("Geef de naam van de nieuwe map:"), answer).text;

    // The five looks of the gauge at 42 %, and a bar at 50 % with its inverted text.
    QWidget panel;
    panel.setWindowTitle(QStringLiteral("Gauges"));
    auto* grid = new QGridLayout(&panel);
    const GaugeKind kinds[] = {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle};
    int column = 0;
    for (GaugeKind kind : kinds) {
        auto* g = new Gauge(&panel);
        g->setKind(kind);
        g->setProgress(42);
        g->setFixedSize(kind == gkHorizontalBar ? 160 : 100, kind == gkNeedle ? 60 : 100);
        grid->addWidget(g, 0, column++);
    }
    auto* bar = new Gauge(&panel);
    bar->setFixedSize(400, 24);
    bar->setProgress(50);
    grid->addWidget(bar, 1, 0, 1, 5);
    panel.show();
    Settle(300);
    panel.grab().save(dir + QStringLiteral("/gauges.png"));
    ErrorGuard::setReporter(qApp, nullptr);
}

} // namespace
