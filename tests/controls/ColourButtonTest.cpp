#include "controls/ColourButton.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor PaleYellow(255, 255, 227);
const QColor HoverYellow(255, 255, 136);

// Counts its own paints, so a test can see whether a setter asked for one.
class CountingBtn : public ColourButton {
public:
    using ColourButton::ColourButton;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        ColourButton::paintEvent(e);
    }
};

QImage Shot(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Colours compared as 8-bit RGB: palette colours may carry finer components.
QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}

// A pixel of the face well away from the caption.
QRgb Face(const QImage& img) {
    return At(img, 6, img.height() / 2);
}

void SendEnter(QWidget& w) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&w, &enter);
}

void SendLeave(QWidget& w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

TEST(ColourButton, IdleFaceInBackColorInsideARaisedFrame) {
    ColourButton btn(QStringLiteral("OK"));
    btn.resize(104, 28);
    btn.setBackColor(PaleYellow);
    const QImage img = Shot(btn);
    const QPalette& pal = btn.palette();
    EXPECT_EQ(Face(img), (PaleYellow).rgb());
    EXPECT_EQ(At(img, 0, 0), (pal.color(QPalette::Light)).rgb()) << "outer edge, top-left";
    EXPECT_EQ(At(img, 103, 27), (pal.color(QPalette::Shadow)).rgb()) << "outer edge, bottom-right";
    EXPECT_EQ(At(img, 1, 1), (pal.color(QPalette::Midlight)).rgb()) << "inner edge, top-left";
    EXPECT_EQ(At(img, 102, 26), (pal.color(QPalette::Dark)).rgb()) << "inner edge, bottom-right";
    EXPECT_EQ(At(img, 2, 2), (PaleYellow).rgb()) << "face starts two pixels in";
}

TEST(ColourButton, PressedFaceMovesRightAndDownInsideAShadowBorder) {
    ColourButton btn(QStringLiteral("OK"));
    btn.resize(104, 28);
    btn.setBackColor(PaleYellow);
    btn.setDown(true);
    const QImage img = Shot(btn);
    const QPalette& pal = btn.palette();
    EXPECT_EQ(At(img, 0, 0), (pal.color(QPalette::Dark)).rgb()) << "thin shadow border";
    EXPECT_EQ(At(img, 50, 0), (pal.color(QPalette::Dark)).rgb());
    EXPECT_EQ(At(img, 1, 1), (pal.color(QPalette::Button)).rgb()) << "gap left by the moved face";
    EXPECT_EQ(At(img, 2, 2), (PaleYellow).rgb()) << "face moved one pixel right and down";
    EXPECT_EQ(At(img, 103, 27), (PaleYellow).rgb())
        << "the moved face covers the bottom-right border";
}

TEST(ColourButton, CaptionInForeColorButEmbossedGreyWhenDisabled) {
    ColourButton btn(QStringLiteral("Annuleren"));
    btn.resize(111, 30);
    btn.setBackColor(PaleYellow);
    btn.setForeColor(QColor(200, 0, 0));
    // Caption pixels inside the face (text is antialiased, so colours are matched loosely).
    auto count = [](const QImage& img, auto match) {
        int n = 0;
        for (int y = 4; y < img.height() - 4; ++y)
            for (int x = 4; x < img.width() - 4; ++x)
                n += match(QColor(img.pixel(x, y)));
        return n;
    };
    auto reddish = [](const QColor& c) { return c.red() > 120 && c.green() < 100; };
    auto grey = [](const QColor& c) {
        return c.red() < 200 && qAbs(c.red() - c.green()) < 8 && qAbs(c.red() - c.blue()) < 8;
    };
    QImage img = Shot(btn);
    EXPECT_GT(count(img, reddish), 20);
    EXPECT_EQ(count(img, grey), 0);

    btn.setEnabled(false);
    img = Shot(btn);
    EXPECT_EQ(count(img, reddish), 0) << "the caption colour does not apply";
    EXPECT_GT(count(img, grey), 20) << "embossed grey caption";
    EXPECT_EQ(Face(img), PaleYellow.rgb());
}

TEST(ColourButton, FocusedDefaultButtonHasOuterFrameAndDottedFocusRectangle) {
    QDialog dlg;
    auto* btn = new ColourButton(QStringLiteral("Ja"), &dlg);
    btn->setGeometry(10, 10, 111, 30);
    btn->setBackColor(PaleYellow);
    dlg.show();
    dlg.activateWindow();
    btn->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(btn->hasFocus());
    ASSERT_TRUE(btn->isFocusedDefault()) << "an auto-default button with the focus is the default";
    const QImage img = Shot(*btn);
    const QColor frame = btn->palette().color(QPalette::WindowText);
    const QColor dots = btn->palette().color(QPalette::ButtonText);
    EXPECT_EQ(At(img, 0, 0), (frame).rgb());
    EXPECT_EQ(At(img, 110, 29), (frame).rgb());
    EXPECT_EQ(At(img, 1, 1), (btn->palette().color(QPalette::Light)).rgb())
        << "system frame inside it";
    EXPECT_EQ(At(img, 4, 4), (dots).rgb()) << "focus rectangle four pixels in";
    EXPECT_EQ(At(img, 5, 4), (PaleYellow).rgb()) << "dotted";
    EXPECT_EQ(At(img, 6, 4), (dots).rgb());
    EXPECT_EQ(At(img, 4, 15), (PaleYellow == At(img, 4, 15) ? PaleYellow : dots).rgb());
}

TEST(ColourButton, TooLongCaptionIsCentredAndClippedToTheFace) {
    ColourButton btn(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    btn.resize(60, 30);
    btn.setBackColor(PaleYellow);
    btn.setForeColor(Qt::black);
    const QImage img = Shot(btn);
    const QPalette& pal = btn.palette();
    auto inkInColumn = [&](int x) {
        for (int y = 2; y < 28; ++y)
            if (At(img, x, y) != PaleYellow.rgb())
                return true;
        return false;
    };
    EXPECT_TRUE(inkInColumn(2)) << "text runs out on the left";
    EXPECT_TRUE(inkInColumn(57)) << "and on the right";
    for (int y = 2; y < 28; ++y) {
        EXPECT_EQ(At(img, 0, y), (pal.color(QPalette::Light)).rgb())
            << "frame untouched at row " << y;
        EXPECT_EQ(At(img, 59, y), (pal.color(QPalette::Shadow)).rgb())
            << "frame untouched at row " << y;
    }
}

TEST(ColourButton, SettersRepaintOnlyOnARealChange) {
    CountingBtn btn(QStringLiteral("OK"));
    btn.setGeometry(400, 400, 104, 28); // away from the pointer, so no hover swap interferes
    btn.setBackColor(PaleYellow);
    btn.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    ASSERT_EQ(btn.backColor(), PaleYellow);
    const int before = btn.paints;
    btn.setBackColor(PaleYellow);
    btn.setForeColor(btn.foreColor());
    btn.setHoverColor(btn.hoverColor());
    QApplication::processEvents();
    EXPECT_EQ(btn.paints, before);
    btn.setForeColor(Qt::darkBlue);
    QApplication::processEvents();
    EXPECT_GT(btn.paints, before);
}

TEST(ColourButton, HoverShowsHoverColorAndLeavingRestoresTheColourSavedOnEntering) {
    ColourButton btn(QStringLiteral("OK"));
    btn.resize(104, 28);
    btn.setBackColor(PaleYellow);
    btn.setHoverColor(HoverYellow);

    SendEnter(btn);
    EXPECT_EQ(btn.backColor(), HoverYellow);
    EXPECT_EQ(Face(Shot(btn)), (HoverYellow).rgb());
    SendLeave(btn);
    EXPECT_EQ(Face(Shot(btn)), (PaleYellow).rgb());

    // A window that sets the face colour while the mouse is over the button (as on every paint)
    // replaces the hover face until the mouse leaves; then the colour saved on entering returns.
    SendEnter(btn);
    btn.setBackColor(Qt::white);
    EXPECT_EQ(Face(Shot(btn)), (QColor(Qt::white)).rgb());
    SendLeave(btn);
    EXPECT_EQ(btn.backColor(), PaleYellow);
}

TEST(ColourButton, HidingTheWindowUnderThePointerEndsTheHover) {
    QDialog dlg;
    auto* btn = new ColourButton(QStringLiteral("Ja"), &dlg);
    btn->setBackColor(PaleYellow);
    btn->setHoverColor(HoverYellow);
    dlg.show();
    SendEnter(*btn);
    SendEnter(*btn); // a repeated enter does not save the hover face
    ASSERT_EQ(btn->backColor(), HoverYellow);
    dlg.hide(); // closed by a click, the pointer still over the button
    EXPECT_EQ(btn->backColor(), PaleYellow);
    dlg.show();
    SendEnter(*btn);
    SendLeave(*btn);
    EXPECT_EQ(btn->backColor(), PaleYellow);
}

// A window that gives its buttons their colours in its own paint handler, as several do.
class PaintingWindow : public QDialog {
public:
    ColourButton* btn = new ColourButton(QStringLiteral("OK"), this);
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        btn->setBackColor(PaleYellow);
        btn->setHoverColor(HoverYellow);
        QDialog::paintEvent(e);
    }
};

TEST(ColourButton, HoverFaceSurvivesTheWindowsPaintHandler) {
    PaintingWindow w;
    w.resize(200, 100);
    w.btn->setGeometry(50, 30, 104, 28);
    w.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const int windowPaints = w.paints;
    SendEnter(*w.btn);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(w.paints, windowPaints) << "the button's repaint leaves the window alone";
    EXPECT_EQ(w.btn->backColor(), HoverYellow);
    SendLeave(*w.btn);
    EXPECT_EQ(w.btn->backColor(), PaleYellow);
}

TEST(ColourButton, ModalResultEndsTheDialogAfterTheClickHandler) {
    QDialog dlg;
    auto* ok = new ColourButton(QStringLiteral("OK"), &dlg);
    auto* cancel = new ColourButton(QStringLiteral("Cancel"), &dlg);
    cancel->move(0, 40);
    ok->setModalResult(1);
    cancel->setModalResult(2);
    bool visibleInHandler = false;
    QObject::connect(cancel, &QPushButton::clicked, &dlg,
                     [&] { visibleInHandler = dlg.isVisible(); });
    QTimer::singleShot(0, cancel, [cancel] { cancel->click(); });
    EXPECT_EQ(dlg.exec(), 2);
    EXPECT_TRUE(visibleInHandler);

    QTimer::singleShot(0, ok, [ok] { ok->click(); });
    EXPECT_EQ(dlg.exec(), 1);

    // Without a modal result a click does not end the dialog.
    ok->setModalResult(0);
    QTimer::singleShot(0, ok, [ok] { ok->click(); });
    QTimer::singleShot(10, cancel, [cancel] { cancel->click(); });
    EXPECT_EQ(dlg.exec(), 2);
}

} // namespace
