// The main window as a desktop program: pictures dropped from a file manager on the front or the
// back of the cover, files it is opened with, the mnemonics of its buttons in both languages and
// the common shortcut keys.
#include "ProjectFixture.h"
#include "controls/ImageView.h"
#include "cover/CoverLayout.h"
#include "dialogs/ErrorGuard.h"

#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace {

struct DragAnswer {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

QList<QUrl> urlsOf(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    return urls;
}

// A file manager's drag arriving over the middle of the widget, delivered to its window as the
// windowing system does: the window passes it to the widget under it that takes drops.
class Drag {
public:
    Drag(QWidget* widget, const QStringList& paths,
         Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction)
        : offered_(offered) {
        QWidget* top = widget->window();
        top->show(); // drags reach only a window on the screen
        EXPECT_TRUE(QTest::qWaitForWindowExposed(top));
        window_ = top->windowHandle();
        // Scrolled into sight, as the user does before dropping on the back.
        for (QWidget* w = widget; w; w = w->parentWidget())
            if (auto* area = qobject_cast<QScrollArea*>(w))
                area->ensureWidgetVisible(widget, 0, 0);
        at_ = widget->mapTo(top, widget->visibleRegion().boundingRect().center());
        data_.setUrls(urlsOf(paths));
    }
    // Whether the window offers to take it, and how.
    DragAnswer enter() {
        QDragEnterEvent enter(at_, offered_, &data_, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &enter);
        return {enter.isAccepted(), enter.dropAction()};
    }
    void leave() {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window_, &leave);
    }
    // Dropped; the file is taken once the drop has ended.
    bool drop() {
        QDropEvent drop(at_, offered_, &data_, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }

private:
    Qt::DropActions offered_;
    QWindow* window_ = nullptr;
    QPoint at_;
    QMimeData data_;
};

DragAnswer dragOnto(QWidget* widget, const QStringList& paths,
                    Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) {
    Drag drag(widget, paths, offered);
    const DragAnswer answer = drag.enter();
    drag.leave();
    return answer;
}

bool dropOnto(QWidget* widget, const QStringList& paths) {
    Drag drag(widget, paths);
    if (!drag.enter().accepted) {
        drag.leave();
        return false;
    }
    return drag.drop();
}

QString writePicture(const QString& path, QColor colour) {
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(colour);
    EXPECT_TRUE(picture.save(path));
    return path;
}

bool looksLike(QRgb pixel, QColor colour) {
    return std::abs(qRed(pixel) - colour.red()) < 40 &&
           std::abs(qGreen(pixel) - colour.green()) < 40 &&
           std::abs(qBlue(pixel) - colour.blue()) < 40;
}

const QPoint FrontMiddle = Layout::FrontRect.center();
const QPoint BackMiddle = Layout::BackRect.center();

class DesktopTest : public ProjectFixture {
protected:
    void SetUp() override {
        ProjectFixture::SetUp();
        ErrorGuard::setReporter(qApp, [this](const QString& message) { errors_ << message; });
        folder_ = testenv::freshFolder(QStringLiteral("drops"));
    }
    void TearDown() override {
        ErrorGuard::setReporter(qApp, nullptr);
        testenv::useLanguage(QStringLiteral("ENU"));
        ProjectFixture::TearDown();
    }

    // Shown and active, as the shortcuts need.
    void showMain() {
        main_->show();
        QApplication::setActiveWindow(main_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
    }

    QStringList errors_;
    QString folder_;
};

TEST_F(DesktopTest, APictureDroppedOnTheFrontBecomesTheFrontPictureAndIsUnsaved) {
    ASSERT_FALSE(ws_->hasUnsavedChanges());
    const QString photo = writePicture(folder_ + "/holiday.JPG", QColor(20, 40, 220));
    const DragAnswer answer = dragOnto(main_->frontPictureView, {photo});
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::CopyAction) << "a move would delete the user's photo";

    ASSERT_TRUE(dropOnto(main_->frontPictureView, {photo}));
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_TRUE(looksLike(cover_->canvas().pixel(FrontMiddle), QColor(20, 40, 220)));
    EXPECT_TRUE(looksLike(main_->frontPictureView->image().pixel(5, 5), QColor(20, 40, 220)));
    EXPECT_EQ(cover_->frontPicture().originalBytes(), [&] {
        QFile f(photo);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }()) << "saving the project writes the dropped file as it is";
    EXPECT_TRUE(ws_->hasUnsavedChanges()) << "closing must offer to save the new picture";
    EXPECT_FALSE(looksLike(cover_->canvas().pixel(BackMiddle), QColor(20, 40, 220)))
        << "the back is not touched";
}

TEST_F(DesktopTest, APictureDroppedOnTheBackBecomesTheBackPicture) {
    const QString picture = writePicture(folder_ + "/back.png", QColor(30, 160, 60));
    ASSERT_TRUE(dropOnto(main_->backPictureView, {picture}));
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_TRUE(looksLike(cover_->canvas().pixel(BackMiddle), QColor(30, 160, 60)));
    EXPECT_FALSE(looksLike(cover_->canvas().pixel(FrontMiddle), QColor(30, 160, 60)));
    EXPECT_TRUE(ws_->hasUnsavedChanges());
}

// Several files: the first one the target can use is taken, the others are left alone.
TEST_F(DesktopTest, OfSeveralDroppedFilesTheFirstUsableOneIsTaken) {
    const QString list = testenv::writeFile(folder_ + "/tracks.rtf", "{\\rtf1 One}");
    const QString red = writePicture(folder_ + "/red.bmp", QColor(220, 20, 20));
    const QString blue = writePicture(folder_ + "/blue.png", QColor(20, 20, 220));
    ASSERT_TRUE(dropOnto(main_->frontPictureView, {folder_, list, red, blue}));
    EXPECT_TRUE(looksLike(cover_->canvas().pixel(FrontMiddle), QColor(220, 20, 20)));
    EXPECT_TRUE(errors_.isEmpty());
}

// A folder, a list file or a sound file on a picture: the drag is refused (the no-drop cursor),
// no error box, and the cover stays as it was.
TEST_F(DesktopTest, WhatAPictureTargetCannotUseIsRefusedWithoutAnError) {
    const QImage before = cover_->canvas();
    QDir(folder_).mkdir(QStringLiteral("Photos.jpg"));
    const QString list = testenv::writeFile(folder_ + "/tracks.rtf", "{\\rtf1 One}");
    const QString song = testenv::writeFile(folder_ + "/song.mp3", "ID3");
    for (const QStringList& paths : {QStringList{folder_}, QStringList{folder_ + "/Photos.jpg"},
                                     QStringList{list}, QStringList{song, list}}) {
        for (QWidget* target : {static_cast<QWidget*>(main_->frontPictureView),
                                static_cast<QWidget*>(main_->backPictureView)}) {
            Drag drag(target, paths);
            EXPECT_FALSE(drag.enter().accepted) << paths.join(' ').toStdString();
            EXPECT_FALSE(drag.drop()) << "dropped all the same";
        }
    }
    // A source that offers only a move: taking it would delete the file.
    const QString photo = writePicture(folder_ + "/photo.jpg", Qt::red);
    EXPECT_FALSE(dragOnto(main_->frontPictureView, {photo}, Qt::MoveAction).accepted);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(cover_->canvas(), before);
    EXPECT_FALSE(ws_->hasUnsavedChanges());
}

// A picture whose content is damaged: the error box names the file, and the cover, its front
// picture and the unsaved flag stay as they were.
TEST_F(DesktopTest, ADamagedDroppedPictureIsNamedInTheErrorAndChangesNothing) {
    const QImage canvas = cover_->canvas();
    const QByteArray front = cover_->frontPicture().originalBytes();
    QByteArray damaged = QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffdb");
    damaged += QByteArray(64, '\x55');
    const QString path = testenv::writeFile(folder_ + "/broken photo.jpg", damaged);
    ASSERT_TRUE(dropOnto(main_->frontPictureView, {path}));
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].startsWith(QDir::toNativeSeparators(path) + " cannot be read:\n"))
        << errors_[0].toStdString();
    EXPECT_EQ(cover_->canvas(), canvas);
    EXPECT_EQ(cover_->frontPicture().originalBytes(), front);
    EXPECT_FALSE(ws_->hasUnsavedChanges());

    errors_.clear();
    const QString bitmap = testenv::writeFile(folder_ + "/half.bmp", QByteArray("BM") + "12345");
    ASSERT_TRUE(dropOnto(main_->backPictureView, {bitmap}));
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].contains(QDir::toNativeSeparators(bitmap)));
    EXPECT_EQ(cover_->canvas(), canvas);
}

// Opened with a picture from a file manager: the picture is the front picture once the project
// has been shown, as if dropped there; what is no picture is passed over.
TEST_F(DesktopTest, APictureTheProgramIsOpenedWithBecomesTheFrontPicture) {
    const QString photo = writePicture(folder_ + "/opened.png", QColor(200, 200, 20));
    main_->openFiles({folder_ + "/missing.txt", photo});
    EXPECT_TRUE(looksLike(cover_->canvas().pixel(FrontMiddle), QColor(200, 200, 20)));
    EXPECT_TRUE(ws_->hasUnsavedChanges());

    // Before the first showing it waits for the sample project to be shown first.
    auto fresh = std::make_unique<MainWindow>(*ws_, *cover_);
    const QString other = writePicture(folder_ + "/other.jpg", QColor(20, 200, 200));
    QDir::setCurrent(folder_);
    fresh->openFiles({QStringLiteral("other.jpg")}); // as a file manager may give it
    fresh->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(fresh->firstShowingDone);
    EXPECT_TRUE(looksLike(cover_->canvas().pixel(FrontMiddle), QColor(20, 200, 200)));
}

TEST_F(DesktopTest, CommonShortcutKeysPressTheButtonsAndAreInTheirToolTips) {
    QStringList called;
    main_->services.newProject = [&] { called << "new"; };
    main_->services.readProject = [&] { called << "read"; };
    main_->services.saveProject = [&] { called << "save"; };
    main_->services.showPrintPreview = [&] { called << "print"; };
    showMain();
    QTest::keyClick(main_.get(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(main_.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(main_.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(main_.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(called, QStringList({"new", "read", "save", "print"}));
    // Also with the cursor in the spine text field.
    main_->spineTextEdit->setFocus();
    QTest::keyClick(main_->spineTextEdit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(called.last(), "save");

    EXPECT_EQ(main_->newProjectButton->toolTip(), "New Project (Ctrl+N)");
    EXPECT_EQ(main_->readProjectButton->toolTip(), "Read Project (Ctrl+O)");
    EXPECT_EQ(main_->saveProjectButton->toolTip(), "Save Project (Ctrl+S)");
    EXPECT_EQ(main_->printButton->toolTip(), "Print (Ctrl+P)");
    EXPECT_EQ(main_->closeButton->toolTip(), "Close (Ctrl+Q)");
    main_->hide();

    testenv::useLanguage(QStringLiteral("NLD"));
    MainWindow dutch(*ws_, *cover_);
    EXPECT_EQ(dutch.newProjectButton->toolTip(), "Nieuw Project (Ctrl+N)");
    EXPECT_EQ(dutch.closeButton->toolTip(), "Sluit af (Ctrl+Q)");
}

// Ctrl+Q closes as the Close button does: through the closing question.
TEST_F(DesktopTest, CtrlQClosesThroughTheClosingQuestion) {
    int asked = 0;
    SaveAnswer answer = SaveAnswer::Cancel;
    main_->services.askSaveProject = [&] {
        ++asked;
        return answer;
    };
    showMain();
    ws_->setUnsavedChanges(true);
    QTest::keyClick(main_.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(main_->isVisible()) << "Cancel keeps the program running";
    answer = SaveAnswer::No;
    QTest::keyClick(main_.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(main_->isVisible());
}

// Each button of the main window, and the spine text field through its label, has a mnemonic of
// its own in both languages: Alt and that letter press that button and no other.
TEST_F(DesktopTest, EveryButtonHasItsOwnMnemonicInBothLanguages) {
    for (const char* language : {"ENU", "NLD"}) {
        SCOPED_TRACE(language);
        testenv::useLanguage(QLatin1String(language));
        MainWindow main(*ws_, *cover_);
        main.services.askSaveProject = [] { return SaveAnswer::Cancel; };
        QStringList clicked;
        QMap<QString, QWidget*> byLetter;
        const QList<QPushButton*> buttons = main.findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
            if (button == main.helpButton) {
                EXPECT_TRUE(mnemonic.isEmpty()) << "the help button is never enabled";
                continue;
            }
            ASSERT_FALSE(mnemonic.isEmpty()) << button->text().toStdString();
            const QString letter = mnemonic.toString();
            EXPECT_FALSE(byLetter.contains(letter))
                << letter.toStdString() << " is used twice: " << button->text().toStdString();
            byLetter.insert(letter, button);
            QObject::connect(button, &QPushButton::clicked, &main,
                             [&clicked, button] { clicked << button->text(); });
        }
        const QKeySequence field = QKeySequence::mnemonic(main.spineTextLabel->text());
        ASSERT_FALSE(field.isEmpty());
        EXPECT_FALSE(byLetter.contains(field.toString())) << "the field's letter is a button's";
        EXPECT_EQ(main.spineTextLabel->buddy(), main.spineTextEdit);
        // Ten of the design, and Front Fill and Disc Label.
        EXPECT_EQ(byLetter.size(), 12);

        main.show();
        QApplication::setActiveWindow(&main);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        ws_->setUnsavedChanges(true); // after the first showing: the Close button only asks
        for (auto it = byLetter.cbegin(); it != byLetter.cend(); ++it) {
            auto* button = static_cast<QPushButton*>(it.value());
            QSignalSpy spy(button, &QPushButton::clicked);
            clicked.clear();
            const QKeyCombination key = QKeySequence::mnemonic(button->text())[0];
            QTest::keyClick(&main, key.key(), Qt::AltModifier);
            ASSERT_TRUE(spy.count() == 1 || spy.wait(5000)) << button->text().toStdString();
            EXPECT_EQ(clicked, QStringList{button->text()});
        }
        QTest::keyClick(&main, field[0].key(), Qt::AltModifier);
        EXPECT_TRUE(main.spineTextEdit->hasFocus());
        main.hide();
    }
}

} // namespace
