// The shared look of the secondary windows: a pale yellow face and colour buttons that turn a
// deeper yellow under the mouse.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;
class ColourButton;

namespace DialogLook {

inline const QColor Face{255, 255, 227};
inline const QColor Hover{255, 255, 136};

// Gives a window the pale yellow background (children that take the window's colour follow).
void paintWindowFace(QWidget* window);

// Gives a colour button the pale yellow face and the hover colour.
void paintButton(ColourButton* button);

// Sets up a fixed-size secondary window of the given size: the dialogs' Verdana, 14 pixels,
// on the pale yellow face.
void setUpWindow(QWidget* window, QSize size);

// A colour button in bold Verdana on the pale yellow face, placed on the window.
ColourButton* makeButton(QWidget* window, const QRect& geometry);

// A font of the given family and pixel height, as the windows are designed with.
QFont pixelFont(const QString& family, int pixelHeight);

// The whole point size of a font, whether it was given in pixels (at 96 per inch) or in points.
int pointSize(const QFont& font);

} // namespace DialogLook
