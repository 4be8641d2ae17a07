// A drawing surface with the pixel rules the layout was designed with: a pen (one pixel, solid),
// a brush, a font; rectangles whose right and bottom edges are exclusive, lines that stop before
// their end point, text written opaque in the brush colour from the top-left of its cell, and
// pictures stretched into a rectangle. Shapes are drawn without antialiasing.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class Canvas {
public:
    // Draws on an image owned by the caller, which must outlive the canvas.
    explicit Canvas(QImage* image);

    QColor PenColor = Qt::black;
    QColor BrushColor = Qt::white;
    QColor FontColor = Qt::black;
    QFont Font;

    // A font as the system of points makes it at 96 dots per inch (10 pt is 13 pixels high).
    static QFont MakeFont(const QString& family, int points, bool bold = false);
    static int PointsToPixels(int points);

    // Outline with the pen, fill with the brush; (left, top) to (right, bottom) exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    // A line from the current position up to, not including, (x, y); (x, y) becomes current.
    void LineTo(int x, int y);
    // Text with its cell's top-left at (x, y), turned counter-clockwise by angle degrees.
    void TextOut(int x, int y, const QString& text, int angleDegrees = 0);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    void FillRect(const QRect& rect);
    // The picture stretched to fill rect, whatever its own proportions.
    void StretchDraw(const QRect& rect, const QImage& picture);

    QImage* Image() const { return image_; }

private:
    QImage* image_;
    QPoint position_;
};

// A rectangle given by its edges, right and bottom exclusive.
inline QRect EdgeRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
