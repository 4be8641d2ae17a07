#include "controls/ClrBtn.h"

#include <QDialog>
#include <QEnterEvent>
#include <QPainter>

namespace {

// Rectangles here follow the drawing rules the button was designed with: left/top inclusive,
// right/bottom exclusive.
struct Box {
    int left, top, right, bottom;
    Box shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    Box moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }
};

void FillBox(QPainter& p, const Box& b, const QColor& color) {
    if (b.right > b.left && b.bottom > b.top)
        p.fillRect(b.rect(), color);
}

// One-pixel outline on the inner edge of the box, like a rectangle drawn with a one-pixel pen.
void OutlineBox(QPainter& p, const Box& b, const QColor& color) {
    FillBox(p, {b.left, b.top, b.right, b.top + 1}, color);
    FillBox(p, {b.left, b.bottom - 1, b.right, b.bottom}, color);
    FillBox(p, {b.left, b.top, b.left + 1, b.bottom}, color);
    FillBox(p, {b.right - 1, b.top, b.right, b.bottom}, color);
}

// One raised edge: light on the top and left, dark on the bottom and right.
void RaisedEdge(QPainter& p, const Box& b, const QColor& light, const QColor& dark) {
    FillBox(p, {b.left, b.top, b.right - 1, b.top + 1}, light);
    FillBox(p, {b.left, b.top, b.left + 1, b.bottom - 1}, light);
    FillBox(p, {b.left, b.bottom - 1, b.right, b.bottom}, dark);
    FillBox(p, {b.right - 1, b.top, b.right, b.bottom}, dark);
}

// Dotted focus rectangle: every other pixel of the outline.
void FocusBox(QPainter& p, const Box& b, const QColor& color) {
    if (b.right - b.left < 1 || b.bottom - b.top < 1)
        return;
    auto dot = [&](int x, int y) {
        if (((x - b.left) + (y - b.top)) % 2 == 0)
            p.fillRect(x, y, 1, 1, color);
    };
    for (int x = b.left; x < b.right; ++x) {
        dot(x, b.top);
        dot(x, b.bottom - 1);
    }
    for (int y = b.top + 1; y < b.bottom - 1; ++y) {
        dot(b.left, y);
        dot(b.right - 1, y);
    }
}

} // namespace

TClrBtn::TClrBtn(QWidget* parent) : TClrBtn(QString(), parent) {}

TClrBtn::TClrBtn(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    FBackColor = palette().color(QPalette::Button);
    FForeColor = palette().color(QPalette::ButtonText);
    FHoverColor = palette().color(QPalette::Button);
}

bool TClrBtn::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    // The button paints every pixel of itself. Saying so keeps its repaints (hover, press) from
    // repainting the window beneath, whose paint handler may set the face colour again. Set after
    // the style has polished the button, since polishing clears it.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void TClrBtn::setBackColor(const QColor& color) {
    if (color == FBackColor)
        return;
    FBackColor = color;
    update();
}

void TClrBtn::setForeColor(const QColor& color) {
    if (color == FForeColor)
        return;
    FForeColor = color;
    update();
}

void TClrBtn::setHoverColor(const QColor& color) {
    if (color == FHoverColor)
        return;
    FHoverColor = color;
    update();
}

bool TClrBtn::IsFocusedDefault() const {
    return isDefault();
}

void TClrBtn::EndDialogWithModalResult() {
    if (FModalResult == 0)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(FModalResult);
}

void TClrBtn::showEvent(QShowEvent* event) {
    // Connected at the first showing, after the window has connected its own click handlers, so
    // that those run before the modal result ends the dialog.
    if (!FModalConnected) {
        FModalConnected = true;
        connect(this, &QAbstractButton::clicked, this, &TClrBtn::EndDialogWithModalResult);
    }
    QPushButton::showEvent(event);
}

void TClrBtn::enterEvent(QEnterEvent* event) {
    // One enter before each leave: a second enter would save the hover face as the colour to
    // return to.
    if (!FHovered) {
        FHovered = true;
        FSavedColor = FBackColor;
        setBackColor(FHoverColor);
        update();
    }
    QPushButton::enterEvent(event);
}

void TClrBtn::leaveEvent(QEvent* event) {
    EndHover();
    QPushButton::leaveEvent(event);
}

void TClrBtn::hideEvent(QHideEvent* event) {
    // A window closed by a click on this button hides with the pointer still over it, and no
    // leave follows; the face must not come back in the hover colour next time.
    EndHover();
    QPushButton::hideEvent(event);
}

void TClrBtn::EndHover() {
    if (!FHovered)
        return;
    FHovered = false;
    setBackColor(FSavedColor);
    update();
}

void TClrBtn::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void TClrBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPalette& pal = palette();
    const bool pressed = isDown();
    const bool disabled = !isEnabled();
    const bool focused = IsFocusedDefault();

    const Box r0{0, 0, width(), height()};
    Box r = r0;

    // The default button carries an outer window-frame outline.
    if (focused || hasFocus()) {
        OutlineBox(p, r, pal.color(QPalette::WindowText));
        r = r.shrunk(1);
    }
    if (pressed) {
        // Pressed: a thin shadow border instead of the raised frame, face moved right and down.
        FillBox(p, r, pal.color(QPalette::Button));
        OutlineBox(p, r, pal.color(QPalette::Dark));
        r = r.shrunk(1).moved(1, 1);
    } else {
        RaisedEdge(p, r, pal.color(QPalette::Light), pal.color(QPalette::Shadow));
        RaisedEdge(p, r.shrunk(1), pal.color(QPalette::Midlight), pal.color(QPalette::Dark));
        r = r.shrunk(2);
    }
    FillBox(p, r, FBackColor);

    p.setFont(font());
    const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (disabled) {
        // Embossed grey caption; the caption colour does not apply. Placed from the button's
        // top-left corner with the face's size, as the system's disabled-state drawing does.
        const QSize size = fontMetrics().size(flags, text());
        const int x = (r.right - r.left - size.width()) / 2;
        const int y = (r.bottom - r.top - size.height()) / 2;
        p.setPen(pal.color(QPalette::Light));
        p.drawText(QRect(QPoint(x + 1, y + 1), size), flags, text());
        p.setPen(pal.color(QPalette::Dark));
        p.drawText(QRect(QPoint(x, y), size), flags, text());
    } else if (r.right > r.left && r.bottom > r.top) {
        // One centred line, clipped to the face when it is too long.
        p.save();
        p.setClipRect(r.rect());
        p.setPen(FForeColor);
        p.drawText(r.rect(), flags | Qt::AlignCenter, text());
        p.restore();
    }

    if (focused && hasFocus())
        FocusBox(p, r0.shrunk(4), pal.color(QPalette::ButtonText));
}
