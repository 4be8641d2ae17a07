#include "controls/MnemonicStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

MnemonicStyle::MnemonicStyle(QStyle* baseStyle) : QProxyStyle(baseStyle) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

int MnemonicStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
    if (hint == SH_UnderlineShortcut)
        return altHeld_ ? 1 : 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool MnemonicStyle::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Seen once for each object the event passes (window, focus widget, its parents): the
        // same answer each time.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt)
            setAltHeld(event->type() == QEvent::KeyPress);
        else if (!key->modifiers().testFlag(Qt::AltModifier))
            setAltHeld(false);
        break;
    }
    case QEvent::ApplicationStateChange:
    case QEvent::WindowDeactivate:
        // Alt released in another program's window is never seen here.
        setAltHeld(false);
        break;
    default:
        break;
    }
    return QProxyStyle::eventFilter(watched, event);
}

void MnemonicStyle::setAltHeld(bool held) {
    if (held == altHeld_)
        return;
    altHeld_ = held;
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->isVisible() &&
            (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
             qobject_cast<QGroupBox*>(widget)))
            widget->update();
}
