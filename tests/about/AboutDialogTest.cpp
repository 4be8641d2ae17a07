#include "about/AboutDialog.h"

#include "TestEnv.h"
#include "app/MainWindow.h"
#include "controls/ColourButton.h"
#include "cover/Cover.h"
#include "cover/Workspace.h"
#include "dialogs/TimedMessage.h"
#include "platform/Shell.h"

#include "support/Support.h"
#include <QTest>

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

// Runs the action from inside the modal loop, once the window is on screen and painted (the
// paint sets the main page's caption; the author page keeps its own).
void WhenShown(QWidget* window, std::function<void()> action) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        const QString title = window->windowTitle();
        if (!window->isVisible() || (title != QStringLiteral("Sleevix - Over...") &&
                                     !title.endsWith(QStringLiteral("Author"))))
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(20);
}

// A main window and an About box made in the given language, with opening of links recorded
// and answered by `opens` (true: a program took the link).
class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        const QString root = testenv::freshFolder(QStringLiteral("about"));
        QDir().mkpath(root + QStringLiteral("/start"));
        QDir::setCurrent(root + QStringLiteral("/start"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
    }
    void TearDown() override {
        about.reset();
        timedMessage = nullptr;
        main.reset();
        QDir::setCurrent(savedDir_);
    }

    void make(const QString& language) {
        testenv::useLanguage(language);
        about.reset(); // before its owner
        timedMessage = nullptr;
        main.reset();
        main = std::make_unique<MainWindow>(*ws_, *cover_);
        main->setWindowTitle(QStringLiteral("Sleevix - ") + main->versionText);
        timedMessage = new TimedMessage(main.get());
        about =
            std::make_unique<AboutDialog>(ProgramIdentity{main->versionText, main->copyrightText},
                                          *timedMessage, main.get(),
                                          [this](const QString& link, QObject*,
                                                 std::function<void(bool)> answered) {
                                              opened.append(link);
                                              answered(opens.value(opened.size() - 1, false));
                                          });
    }

    QString message() const { return timedMessage ? timedMessage->messageText->toPlainText() : ""; }

    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    std::unique_ptr<MainWindow> main;
    TimedMessage* timedMessage = nullptr; // owned by the main window
    std::unique_ptr<AboutDialog> about;
    QStringList opened;
    QList<bool> opens;
    QString savedDir_;
};

TEST_F(AboutDialogTest, LaidOutAtCreationWithEveryButtonInsideTheWindow) {
    make(QStringLiteral("ENU"));
    EXPECT_EQ(about->size(), QSize(461, 303));
    EXPECT_EQ(about->homeButton->x(), 309);
    EXPECT_EQ(about->okButton->x(), 170);
    EXPECT_EQ(about->authorOkButton->x(), 170);
    EXPECT_EQ(about->mailButton->x(), 32);
    EXPECT_EQ(about->mainPage->geometry(), about->rect());
    EXPECT_EQ(about->authorPage->geometry(), about->rect());
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             about->mailButton, about->okButton, about->homeButton, about->authorOkButton,
             about->authorButton})
        EXPECT_TRUE(about->rect().contains(QRect(b->mapTo(about.get(), QPoint()), b->size())))
            << b->text().toStdString() << " is cut off by the window's edge";
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(255, 255, 227));
    for (ColourButton* b :
         {about->mailButton, about->okButton, about->homeButton, about->authorOkButton}) {
        EXPECT_EQ(b->backColor(), QColor(255, 255, 227));
        EXPECT_EQ(b->hoverColor(), QColor(255, 255, 136));
    }
}

TEST_F(AboutDialogTest, TextsFollowTheLanguageAndTheMainWindow) {
    make(QStringLiteral("NLD"));
    EXPECT_EQ(about->nameLabel->text(), "Sleevix");
    EXPECT_EQ(about->versionLabel->text(), "versie 1.10c");
    EXPECT_EQ(about->copyrightLabel->text(), main->copyrightText);
    EXPECT_EQ(about->purposeLabel->text(), "Sleevix; Maak uw eigen covers voor CD.");
    EXPECT_EQ(about->detailLabel->text(), "Eenvoudig in gebruik.");
    EXPECT_EQ(about->authorOkButton->toolTip(), "Terug naar het beginvenster");
    EXPECT_EQ(about->mailButton->toolTip(), "Stuur uw opmerkingen naar de auteur van Sleevix");
    EXPECT_EQ(about->authorButton->toolTip(), "Toon auteur");
    EXPECT_EQ(about->mailBodyLines.size(), 12);
    EXPECT_TRUE(about->authorText->toPlainText().contains("Anna de Vries"));

    make(QStringLiteral("ENU"));
    EXPECT_EQ(about->versionLabel->text(), "version 1.10c");
    EXPECT_EQ(about->purposeLabel->text(), "Sleevix; Create covers fo CD.");
    EXPECT_EQ(about->homeButton->toolTip(), "Download the newest version of Sleevix");
    EXPECT_EQ(about->okButton->toolTip(), "Back to the main window");
    EXPECT_EQ(about->windowTitle(), "Sleevix - version 1.10c - Information");
}

TEST_F(AboutDialogTest, CaptionOnTheAuthorPageBackAndAtTheNextPaint) {
    for (const char* lang : {"ENU", "NLD"}) {
        make(QString::fromLatin1(lang));
        const bool nl = testenv::currentLanguage() == "NLD";
        about->authorButton->click();
        EXPECT_TRUE(about->mainPage->isHidden());
        EXPECT_EQ(about->windowTitle(), nl ? "Sleevix - Auteur" : "Sleevix - Author");
        about->grab(); // a paint of the whole window
        EXPECT_EQ(about->windowTitle(), nl ? "Sleevix - Auteur" : "Sleevix - Author")
            << "the author page keeps its caption while it is in front";

        main->setWindowTitle(QStringLiteral("Sleevix - changed"));
        about->authorOkButton->click();
        EXPECT_FALSE(about->mainPage->isHidden());
        EXPECT_EQ(about->windowTitle(),
                  nl ? "Sleevix - changed - Informatie" : "Sleevix - changed - Information");
        about->grab(); // a paint of the whole window
        EXPECT_EQ(about->windowTitle(), "Sleevix - Over...");
    }
}

TEST_F(AboutDialogTest, ShownCentredClosedByOkAndTheAuthorPageStaysInFront) {
    make(QStringLiteral("ENU"));
    const QRect caller(100, 100, 800, 600); // the main window's outer rectangle
    int result = -1;
    QRect place;
    WhenShown(about.get(), [&] { // after the first paint has set the caption
        place = about->frameGeometry();
        EXPECT_EQ(about->focusWidget(), about->okButton);
        about->authorButton->click();
        about->reject(); // closed on the author page, without its OK
    });
    result = about->showCentredOver(caller);
    EXPECT_EQ(place.left(), (caller.width() - place.width()) / 2 + caller.left());
    EXPECT_EQ(place.top(), (caller.height() - place.height()) / 2 + caller.top());

    bool authorInFront = false;
    WhenShown(about.get(), [&] {
        authorInFront = about->mainPage->isHidden();
        about->authorOkButton->click();
        about->okButton->click();
    });
    result = about->showCentredOver(caller);
    EXPECT_TRUE(authorInFront);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(AboutDialogTest, TabReachesHomeAndMailAfterTheWindowRepaints) {
    make(QStringLiteral("ENU"));
    QWidget* reached = nullptr;
    QWidget* reachedBack = nullptr;
    WhenShown(about.get(), [&] {
        about->activateWindow();
        QTest::qWait(50);
        QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
        QTest::qWait(100); // the buttons repaint with their new focus
        reached = about->focusWidget();
        QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
        QTest::qWait(100);
        reachedBack = about->focusWidget();
        about->okButton->click();
    });
    about->showCentredOver(QRect(0, 0, 800, 600));
    EXPECT_EQ(reached, about->homeButton);
    EXPECT_TRUE(reachedBack == about->authorButton || reachedBack == about->mailButton)
        << "Tab from Home went to " << (reachedBack ? reachedBack->objectName().toStdString() : "")
        << (reachedBack == about->okButton ? " (a repaint gave the focus back to OK)" : "");
}

TEST_F(AboutDialogTest, MailOpensThePreparedMail) {
    make(QStringLiteral("ENU"));
    opens = {true};
    about->mailButton->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].startsWith(
        "mailto:anna@sleevix.org?Subject=Programma Sleevix, version 1.10c&Body=Dear Anna,"));
    EXPECT_FALSE(timedMessage && timedMessage->isVisible());
}

TEST_F(AboutDialogTest, NoMailProgramOpensTheWebMailFormAndSaysSo) {
    make(QStringLiteral("NLD"));
    opens = {false, true};
    about->mailButton->click();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], "https://www.sleevix.org/mailform_n_php.php?ProgNam=Sleevix, "
                         "versie 1.10c");
    ASSERT_TRUE(timedMessage && timedMessage->isVisible());
    EXPECT_EQ(message(), "\nEr is iets fout gegaan bij het versturen van de e-mail.\n"
                         "Webmail wordt nu gestart:");
    EXPECT_EQ(timedMessage->closeTimer->interval(), 3000);
    EXPECT_TRUE(about->mainPage->isVisibleTo(about.get())) << "the About box stays as it was";
}

TEST_F(AboutDialogTest, NoBrowserEitherLeavesOnlyThatMessage) {
    make(QStringLiteral("ENU"));
    opens = {false, false};
    about->mailButton->click();
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(message(), "\nBrowser not opened.");

    opened.clear();
    opens = {false};
    timedMessage->hide();
    about->homeButton->click();
    ASSERT_EQ(opened, QStringList{"https://www.sleevix.org/index_n.php"});
    EXPECT_TRUE(timedMessage->isVisible());
    EXPECT_EQ(message(), "\nBrowser not opened.");
}

TEST_F(AboutDialogTest, HomeOpensTheHomePageQuietly) {
    make(QStringLiteral("NLD"));
    opens = {true};
    about->homeButton->click();
    EXPECT_EQ(opened, QStringList{"https://www.sleevix.org/index_n.php"});
    EXPECT_FALSE(timedMessage && timedMessage->isVisible());
}

TEST(AboutShell, ALinkThatIsNoAddressIsNotOpened) {
    QObject context;
    std::optional<bool> took;
    Shell::open(QStringLiteral("http://[not an address"), &context, [&](bool t) { took = t; });
    EXPECT_EQ(took, false);
}

// A stand-in xdg-open first on the PATH: it notes each link, waits until the test lets it go
// (a file "release" appears; 30 s at most), and then takes nothing (exit status 3).
class AboutShellHandler : public ::testing::Test {
protected:
    void SetUp() override {
        bin = testenv::freshFolder(QStringLiteral("xdg"));
        testenv::writeFile(bin + QStringLiteral("/xdg-open"),
                           QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1/calls'\n"
                                          "for i in $(seq 600); do [ -e '%1/release' ] && exit 3; "
                                          "sleep 0.05; done\nexit 3\n")
                               .arg(bin)
                               .toUtf8());
        QFile::setPermissions(bin + QStringLiteral("/xdg-open"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        path = qgetenv("PATH");
        qputenv("PATH", bin.toUtf8() + ':' + path);
        testenv::useLanguage(QStringLiteral("ENU"));
        ws = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover = std::make_unique<Cover>(*ws);
        main = std::make_unique<MainWindow>(*ws, *cover);
        message = new TimedMessage(main.get());
        about = std::make_unique<AboutDialog>(
            ProgramIdentity{main->versionText, main->copyrightText}, *message, main.get(),
            &Shell::open);
    }
    void TearDown() override {
        testenv::writeFile(bin + QStringLiteral("/release"), "");
        about.reset();
        main.reset();
        qputenv("PATH", path);
    }
    QStringList calls() const {
        QFile file(bin + QStringLiteral("/calls"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    void release() { testenv::writeFile(bin + QStringLiteral("/release"), ""); }
    QString shown() const {
        return message->isVisible() ? message->messageText->toPlainText() : QString();
    }

    QString bin;
    QByteArray path;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<Cover> cover;
    std::unique_ptr<MainWindow> main;
    TimedMessage* message = nullptr; // owned by the main window
    std::unique_ptr<AboutDialog> about;
};

// Without a mail program or a browser, xdg-open exits non-zero; the About box must then tell the
// user so, instead of taking the started xdg-open for success.
TEST_F(AboutShellHandler, AHandlerThatTakesNothingShowsBothFallbacks) {
    release();
    about->mailButton->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == "\nBrowser not opened."; }, 20000))
        << "shown: " << shown().toStdString();
    const QStringList links = calls();
    ASSERT_EQ(links.size(), 2) << "the mail link, then the web mail form";
    EXPECT_TRUE(links[0].startsWith("mailto:"));
    EXPECT_TRUE(links[1].startsWith("https://www.sleevix.org/mailform_n_php.php"));
}

// A handler that is still deciding holds nothing: the click returns while it runs, the box
// answers the next click, and the handler's answer is told when it comes.
TEST_F(AboutShellHandler, TheBoxAnswersWhileTheHandlerRuns) {
    about->show();
    about->homeButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !calls().isEmpty(); }, 10000))
        << "the stand-in handler was not started";
    EXPECT_EQ(shown(), "") << "told before the handler answered";
    about->authorButton->click();
    EXPECT_TRUE(about->mainPage->isHidden()) << "the box did not answer while the handler ran";
    about->authorOkButton->click();
    release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == "\nBrowser not opened."; }, 20000))
        << "shown: " << shown().toStdString();
    EXPECT_EQ(calls(), QStringList{"https://www.sleevix.org/index_n.php"});
}

// Pictures of both pages in both languages, under /tmp/about-shots, for looking at by eye. Also
// checks that the author page's text is not cut off.
TEST_F(AboutDialogTest, PicturesOfBothPages) {
    const QString dir = QStringLiteral("/tmp/about-shots");
    QDir().mkpath(dir);
    for (const char* lang : {"NLD", "ENU"}) {
        make(QString::fromLatin1(lang));
        about->show();
        EXPECT_TRUE(about->grab().save(dir + QStringLiteral("/main-%1.png").arg(lang)));
        about->authorButton->click();
        EXPECT_TRUE(about->grab().save(dir + QStringLiteral("/author-%1.png").arg(lang)));
        const QTextEdit* memo = about->authorText;
        EXPECT_LE(memo->document()->size().height(), memo->viewport()->height())
            << "the author page's text does not fit above its OK button";
        about->hide();
    }
}

} // namespace
