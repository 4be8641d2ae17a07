#include "about/About.h"

#include "TestEnv.h"
#include "app/Main.h"
#include "controls/ClrBtn.h"
#include "dialogs/MessForm.h"
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

namespace {

// Runs the action from inside the modal loop, once the window is on screen and painted.
void WhenShown(QWidget* window, std::function<void()> action) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        if (!window->isVisible() || window->windowTitle() != QStringLiteral("Sleevix - Over..."))
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(20);
}

// A main window and an About box made in the given language, with opening of links recorded
// and answered by `opens` (true: a program took the link).
class AboutFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        const QString root = testenv::freshFolder(QStringLiteral("about"));
        QDir().mkpath(root + QStringLiteral("/start"));
        QDir::setCurrent(root + QStringLiteral("/start"));
        StartUp();
        ProgramFolder = QStringLiteral(SLEEVIX_BINARY_DIR "/");
        Shell::SetOpenHook([this](const QString& link) {
            opened.append(link);
            return opens.value(opened.size() - 1, false);
        });
    }
    void TearDown() override {
        Shell::SetOpenHook(nullptr);
        if (MessageForm)
            MessageForm->hide();
        about.reset();
        main.reset();
        QDir::setCurrent(savedDir_);
    }

    void make(const QString& language) {
        LanguageCode = language;
        about.reset(); // before its owner
        main.reset();
        main = std::make_unique<TMainForm>();
        main->setWindowTitle(QStringLiteral("Sleevix - ") + main->VersionText);
        about = std::make_unique<TAboutForm>(main.get());
    }

    QString message() const { return MessageForm ? MessageForm->MessageMemo->toPlainText() : ""; }

    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TAboutForm> about;
    QStringList opened;
    QList<bool> opens;
    QString savedDir_;
};

TEST_F(AboutFormTest, LaidOutAtCreationWithEveryButtonInsideTheWindow) {
    make(QStringLiteral("ENU"));
    EXPECT_EQ(about->size(), QSize(461, 303));
    EXPECT_EQ(about->BtnHome->x(), 309);
    EXPECT_EQ(about->BtnOk->x(), 170);
    EXPECT_EQ(about->BtnOK1->x(), 170);
    EXPECT_EQ(about->BtnMail->x(), 32);
    EXPECT_EQ(about->PanelMain->geometry(), about->rect());
    EXPECT_EQ(about->PanelAuthor->geometry(), about->rect());
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             about->BtnMail, about->BtnOk, about->BtnHome, about->BtnOK1, about->AuthorBtn})
        EXPECT_TRUE(about->rect().contains(QRect(b->mapTo(about.get(), QPoint()), b->size())))
            << b->text().toStdString() << " is cut off by the window's edge";
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(255, 255, 227));
    for (TClrBtn* b : {about->BtnMail, about->BtnOk, about->BtnHome, about->BtnOK1}) {
        EXPECT_EQ(b->BackColor(), QColor(255, 255, 227));
        EXPECT_EQ(b->HoverColor(), QColor(255, 255, 136));
    }
}

TEST_F(AboutFormTest, TextsFollowTheLanguageAndTheMainWindow) {
    make(QStringLiteral("NLD"));
    EXPECT_EQ(about->NameLabel->text(), "Sleevix");
    EXPECT_EQ(about->VersionLabel->text(), "versie 1.10c");
    EXPECT_EQ(about->CopyrightLabel->text(), main->CopyrightText);
    EXPECT_EQ(about->Label1->text(), "Sleevix; Maak uw eigen covers voor CD.");
    EXPECT_EQ(about->Label2->text(), "Eenvoudig in gebruik.");
    EXPECT_EQ(about->BtnOK1->toolTip(), "Terug naar het beginvenster");
    EXPECT_EQ(about->BtnMail->toolTip(), "Stuur uw opmerkingen naar de auteur van Sleevix");
    EXPECT_EQ(about->AuthorBtn->toolTip(), "Toon auteur");
    EXPECT_EQ(about->MailMemo.size(), 12);
    EXPECT_TRUE(about->AuthorMemo->toPlainText().contains("Anna de Vries"));

    make(QStringLiteral("ENU"));
    EXPECT_EQ(about->VersionLabel->text(), "version 1.10c");
    EXPECT_EQ(about->Label1->text(), "Sleevix; Create covers fo CD.");
    EXPECT_EQ(about->BtnHome->toolTip(), "Download the newest version of Sleevix");
    EXPECT_EQ(about->BtnOk->toolTip(), "Back to the main window");
    EXPECT_EQ(about->windowTitle(), "Sleevix - version 1.10c - Information");
}

TEST_F(AboutFormTest, CaptionOnTheAuthorPageBackAndAtTheNextPaint) {
    for (const char* lang : {"ENU", "NLD"}) {
        make(QString::fromLatin1(lang));
        const bool nl = IsDutch();
        about->AuthorBtn->click();
        EXPECT_TRUE(about->PanelMain->isHidden());
        EXPECT_EQ(about->windowTitle(), nl ? "Sleevix - Auteur" : "Sleevix - Author");
        about->FormPaint();
        EXPECT_EQ(about->windowTitle(), "Sleevix - Over...");

        main->setWindowTitle(QStringLiteral("Sleevix - changed"));
        about->BtnOK1->click();
        EXPECT_FALSE(about->PanelMain->isHidden());
        EXPECT_EQ(about->windowTitle(),
                  nl ? "Sleevix - changed - Informatie" : "Sleevix - changed - Information");
        about->grab(); // a paint of the whole window
        EXPECT_EQ(about->windowTitle(), "Sleevix - Over...");
    }
}

TEST_F(AboutFormTest, ShownCentredClosedByOkAndTheAuthorPageStaysInFront) {
    make(QStringLiteral("ENU"));
    const QRect caller(100, 100, 800, 600); // the main window's outer rectangle
    int result = -1;
    QRect place;
    WhenShown(about.get(), [&] { // after the first paint has set the caption
        place = about->frameGeometry();
        EXPECT_EQ(about->focusWidget(), about->BtnOk);
        about->AuthorBtn->click();
        about->reject(); // closed on the author page, without its OK
    });
    result = about->ShowCentredOver(caller);
    EXPECT_EQ(place.left(), (caller.width() - place.width()) / 2 + caller.left());
    EXPECT_EQ(place.top(), (caller.height() - place.height()) / 2 + caller.top());

    bool authorInFront = false;
    WhenShown(about.get(), [&] {
        authorInFront = about->PanelMain->isHidden();
        about->BtnOK1->click();
        about->BtnOk->click();
    });
    result = about->ShowCentredOver(caller);
    EXPECT_TRUE(authorInFront);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(AboutFormTest, TabReachesHomeAndMailAfterTheWindowRepaints) {
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
        about->BtnOk->click();
    });
    about->ShowCentredOver(QRect(0, 0, 800, 600));
    EXPECT_EQ(reached, about->BtnHome);
    EXPECT_TRUE(reachedBack == about->AuthorBtn || reachedBack == about->BtnMail)
        << "Tab from Home went to " << (reachedBack ? reachedBack->objectName().toStdString() : "")
        << (reachedBack == about->BtnOk ? " (a repaint gave the focus back to OK)" : "");
}

TEST_F(AboutFormTest, MailOpensThePreparedMail) {
    make(QStringLiteral("ENU"));
    opens = {true};
    about->BtnMail->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].startsWith(
        "mailto:anna@sleevix.example?Subject=Programma Sleevix, version 1.10c&Body=Dear Anna,"));
    EXPECT_FALSE(MessageForm && MessageForm->isVisible());
}

TEST_F(AboutFormTest, NoMailProgramOpensTheWebMailFormAndSaysSo) {
    make(QStringLiteral("NLD"));
    opens = {false, true};
    about->BtnMail->click();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], "https://www.sleevix.example/mailform_n_php.php?ProgNam=Sleevix, "
                         "versie 1.10c");
    ASSERT_TRUE(MessageForm && MessageForm->isVisible());
    EXPECT_EQ(message(), "\nEr is iets fout gegaan bij het versturen van de e-mail.\n"
                         "Webmail wordt nu gestart:");
    EXPECT_EQ(MessageForm->Timer->interval(), 3000);
    EXPECT_TRUE(about->PanelMain->isVisibleTo(about.get())) << "the About box stays as it was";
}

TEST_F(AboutFormTest, NoBrowserEitherLeavesOnlyThatMessage) {
    make(QStringLiteral("ENU"));
    opens = {false, false};
    about->BtnMail->click();
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(message(), "\nBrowser not opened.");

    opened.clear();
    opens = {false};
    MessageForm->hide();
    about->BtnHome->click();
    ASSERT_EQ(opened, QStringList{"https://www.sleevix.example/index_n.php"});
    EXPECT_TRUE(MessageForm->isVisible());
    EXPECT_EQ(message(), "\nBrowser not opened.");
}

TEST_F(AboutFormTest, HomeOpensTheHomePageQuietly) {
    make(QStringLiteral("NLD"));
    opens = {true};
    about->BtnHome->click();
    EXPECT_EQ(opened, QStringList{"https://www.sleevix.example/index_n.php"});
    EXPECT_FALSE(MessageForm && MessageForm->isVisible());
}

TEST(AboutShell, ALinkThatIsNoAddressIsNotOpened) {
    EXPECT_FALSE(Shell::Open(QStringLiteral("http://[not an address")));
}

// Pictures of both pages in both languages, under /tmp/about-shots, for looking at by eye. Also
// checks that the author page's text is not cut off.
TEST_F(AboutFormTest, PicturesOfBothPages) {
    const QString dir = QStringLiteral("/tmp/about-shots");
    QDir().mkpath(dir);
    for (const char* lang : {"NLD", "ENU"}) {
        make(QString::fromLatin1(lang));
        about->show();
        EXPECT_TRUE(about->grab().save(dir + QStringLiteral("/main-%1.png").arg(lang)));
        about->AuthorBtn->click();
        EXPECT_TRUE(about->grab().save(dir + QStringLiteral("/author-%1.png").arg(lang)));
        const QTextEdit* memo = about->AuthorMemo;
        EXPECT_LE(memo->document()->size().height(), memo->viewport()->height())
            << "the author page's text does not fit above its OK button";
        about->hide();
    }
}

} // namespace
