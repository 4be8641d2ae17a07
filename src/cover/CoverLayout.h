// The insert of a jewel case on the layout canvas, one pixel a quarter of a millimetre: the
// 480 x 480 front, the 552 x 472 back between two 23-pixel spines, the crop marks around them.
// These functions draw on a Canvas and need no window; the main window calls them and the
// print code reuses the same rectangles.
#pragma once

#include "platform/Canvas.h"

#include <QRect>
#include <QString>

class QPainter;

namespace Layout {

inline constexpr int CanvasHeight = 1188; // an A4 page's height, 297 mm

// Where the pictures are copied on the canvas.
inline const QRect FrontRect = edgeRect(180, 60, 660, 540);
inline const QRect BackRect = edgeRect(144, 613, 696, 1085);
// The outline of the front's frame, around the front picture.
inline const QRect FrontFrame = edgeRect(177, 57, 663, 543);

// Bounds of the picture controls over the canvas.
inline const QRect FrontPictureBounds(181, 61, 480, 480);
inline const QRect BackPictureBounds(145, 614, 552, 472);
inline const QRect LeftSpineBounds(118, 612, 23, 472);
inline const QRect RightSpineBounds(700, 612, 23, 472);

inline constexpr int BackPictureWidth = 552;
inline constexpr int BackPictureHeight = 472;

// The frames, crop marks and spine fold marks, in black on the canvas as it is.
void drawTemplate(Canvas& canvas);

// A new white canvas bitmap of the given width and the layout's height.
QImage newLayoutImage(int width);

// Writes the product name centred near the bottom of a back picture (y = 452, x from the
// designed width 552), in the picture's default font on an opaque white background.
void stampProductName(QImage& backPicture, const QString& productName);
// The same stamp painted in back-picture pixels on any painter; its cell is measured at the
// picture's 96 pixels per inch, so that a scaled painter (the sharp print) covers the same place.
void paintProductName(QPainter& painter, const QString& productName);

// Text turned counter-clockwise by angle degrees with its first cell's top-left at (x, y).
void drawRotatedText(Canvas& canvas, int angle, int x, int y, const QString& text);

// Makes both spines as the template left them: the columns the spine text is written in, over the
// canvas's whole height (a long text runs past the spines), white again with the template's
// lines through them. The pictures lie outside these columns.
void clearSpineText(Canvas& canvas, const QRect& leftSpine, const QRect& rightSpine);

// The spine text in Verdana bold 10 pt: upwards on the left spine from (left + 0, top + 462),
// downwards on the right spine from (left + 22, top + 10).
void drawSpineText(Canvas& canvas, const QString& text, const QRect& leftSpine,
                   const QRect& rightSpine);

} // namespace Layout
