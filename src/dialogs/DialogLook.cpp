#include "dialogs/DialogLook.h"

#include "controls/ClrBtn.h"
#include "dialogs/DialogGeometry.h"

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

int PointSize(const QFont& font) {
    if (font.pixelSize() > 0)
        return DialogGeometry::FontPointSize(font.pixelSize());
    return DialogGeometry::RoundHalfEven(font.pointSizeF());
}

} // namespace DialogLook
