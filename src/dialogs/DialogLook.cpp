#include "dialogs/DialogLook.h"

#include "controls/ClrBtn.h"

#include <QWidget>

namespace DialogLook {

void PaintWindowFace(QWidget* window) {
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Face);
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

void PaintButton(TClrBtn* button) {
    button->setBackColor(Face);
    button->setHoverColor(Hover);
}

QFont PixelFont(const QString& family, int pixelHeight) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace DialogLook
