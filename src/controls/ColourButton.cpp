#include "controls/ColourButton.h"

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

void fillBox(QPainter& p, const Box& b, const QColor& color) {
    if (b.right > b.left && b.bottom > b.top)
        p.fillRect(b.rect(), color);
}

// One-pixel outline on the inner edge of the box, like a rectangle drawn with a one-pixel pen.
void outlineBox(QPainter& p, const Box& b, const QColor& color) {
    fillBox(p, {b.left, b.top, b.right, b.top + 1}, color);
    fillBox(p, {b.left, b.bottom - 1, b.right, b.bottom}, color);
    fillBox(p, {b.left, b.top, b.left + 1, b.bottom}, color);
    fillBox(p, {b.right - 1, b.top, b.right, b.bottom}, color);
}

// One raised edge: light on the top and left, dark on the bottom and right.
void raisedEdge(QPainter& p, const Box& b, const QColor& light, const QColor& dark) {
    fillBox(p, {b.left, b.top, b.right - 1, b.top + 1}, light);
    fillBox(p, {b.left, b.top, b.left + 1, b.bottom - 1}, light);
    fillBox(p, {b.left, b.bottom - 1, b.right, b.bottom}, dark);
    fillBox(p, {b.right - 1, b.top, b.right, b.bottom}, dark);
}

// Dotted focus rectangle: every other pixel of the outline.
void focusBox(QPainter& p, const Box& b, const QColor& color) {
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

ColourButton::ColourButton(QWidget* parent) : ColourButton(QString(), parent) {}

ColourButton::ColourButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    backColor_ = palette().color(QPalette::Button);
    foreColor_ = palette().color(QPalette::ButtonText);
    hoverColor_ = palette().color(QPalette::Button);
}

bool ColourButton::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    // The button paints every pixel of itself. Saying so keeps its repaints (hover, press) from
    // repainting the window beneath, whose paint handler may set the face colour again. Set after
    // the style has polished the button, since polishing clears it.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void ColourButton::setBackColor(const QColor& color) {
    if (color == backColor_)
        return;
    backColor_ = color;
    update();
}

void ColourButton::setForeColor(const QColor& color) {
    if (color == foreColor_)
        return;
    foreColor_ = color;
    update();
}

void ColourButton::setHoverColor(const QColor& color) {
    if (color == hoverColor_)
        return;
    hoverColor_ = color;
    update();
}

bool ColourButton::isFocusedDefault() const {
    return isDefault();
}

void ColourButton::endDialogWithModalResult() {
    if (modalResult_ == 0)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(modalResult_);
}

void ColourButton::showEvent(QShowEvent* event) {
    // Connected at the first showing, after the window has connected its own click handlers, so
    // that those run before the modal result ends the dialog.
    if (!modalConnected_) {
        modalConnected_ = true;
        connect(this, &QAbstractButton::clicked, this, &ColourButton::endDialogWithModalResult);
    }
    QPushButton::showEvent(event);
}

void ColourButton::enterEvent(QEnterEvent* event) {
    // One enter before each leave: a second enter would save the hover face as the colour to
    // return to.
    if (!hovered_) {
        hovered_ = true;
        savedColor_ = backColor_;
        setBackColor(hoverColor_);
        update();
    }
    QPushButton::enterEvent(event);
}

void ColourButton::leaveEvent(QEvent* event) {
    endHover();
    QPushButton::leaveEvent(event);
}

void ColourButton::hideEvent(QHideEvent* event) {
    // A window closed by a click on this button hides with the pointer still over it, and no
    // leave follows; the face must not come back in the hover colour next time.
    endHover();
    QPushButton::hideEvent(event);
}

void ColourButton::endHover() {
    if (!hovered_)
        return;
    hovered_ = false;
    setBackColor(savedColor_);
    update();
}

void ColourButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPalette& pal = palette();
    const bool pressed = isDown();
    const bool disabled = !isEnabled();
    const bool focused = isFocusedDefault();

    const Box r0{0, 0, width(), height()};
    Box r = r0;

    // The default button carries an outer window-frame outline.
    if (focused || hasFocus()) {
        outlineBox(p, r, pal.color(QPalette::WindowText));
        r = r.shrunk(1);
    }
    if (pressed) {
        // Pressed: a thin shadow border instead of the raised frame, face moved right and down.
        fillBox(p, r, pal.color(QPalette::Button));
        outlineBox(p, r, pal.color(QPalette::Dark));
        r = r.shrunk(1).moved(1, 1);
    } else {
        raisedEdge(p, r, pal.color(QPalette::Light), pal.color(QPalette::Shadow));
        raisedEdge(p, r.shrunk(1), pal.color(QPalette::Midlight), pal.color(QPalette::Dark));
        r = r.shrunk(2);
    }
    fillBox(p, r, backColor_);

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
        p.setPen(foreColor_);
        p.drawText(r.rect(), flags | Qt::AlignCenter, text());
        p.restore();
    }

    if (focused && hasFocus())
        focusBox(p, r0.shrunk(4), pal.color(QPalette::ButtonText));
}
