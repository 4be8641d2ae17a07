#include "dialogs/DialogLook.h"

#include "controls/ColourButton.h"
#include "dialogs/DialogGeometry.h"

#include <QWidget>

namespace DialogLook {

void paintWindowFace(QWidget* window) {
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Face);
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

void paintButton(ColourButton* button) {
    button->setBackColor(Face);
    button->setHoverColor(Hover);
}

void setUpWindow(QWidget* window, QSize size) {
    window->setFont(pixelFont(QStringLiteral("Verdana"), 14));
    paintWindowFace(window);
    window->setFixedSize(size);
}

ColourButton* makeButton(QWidget* window, const QRect& geometry) {
    QFont bold = pixelFont(QStringLiteral("Verdana"), 14);
    bold.setBold(true);
    auto* button = new ColourButton(window);
    button->setGeometry(geometry);
    button->setFont(bold);
    paintButton(button);
    return button;
}

QFont pixelFont(const QString& family, int pixelHeight) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    return font;
}

int pointSize(const QFont& font) {
    if (font.pixelSize() > 0)
        return DialogGeometry::fontPointSize(font.pixelSize());
    return DialogGeometry::roundHalfEven(font.pointSizeF());
}

} // namespace DialogLook
