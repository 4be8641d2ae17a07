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
#include <QRegion>
#include <QString>

class QPainter;

class Canvas {
public:
    // Draws on an image owned by the caller, which must outlive the canvas.
    explicit Canvas(QImage* image);

    QColor penColor = Qt::black;
    QColor brushColor = Qt::white;
    QColor fontColor = Qt::black;
    QFont Font;
    // When not empty, drawing changes only the pixels inside it.
    QRegion clip;

    // A font as the system of points makes it at 96 dots per inch (10 pt is 13 pixels high).
    static QFont makeFont(const QString& family, int points, bool bold = false);
    static int pointsToPixels(int points);

    // Outline with the pen, fill with the brush; (left, top) to (right, bottom) exclusive.
    void rectangle(int left, int top, int right, int bottom);
    void moveTo(int x, int y);
    // A line from the current position up to, not including, (x, y); (x, y) becomes current.
    void lineTo(int x, int y);
    // Text with its cell's top-left at (x, y), turned counter-clockwise by angle degrees.
    void textOut(int x, int y, const QString& text, int angleDegrees = 0);
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;
    void fillRect(const QRect& rect);
    // The picture stretched to fill rect, whatever its own proportions.
    void stretchDraw(const QRect& rect, const QImage& picture);

    QImage* image() const { return image_; }

private:
    void limit(QPainter& painter) const;

    QImage* image_;
    QPoint position_;
};

// A rectangle given by its edges, right and bottom exclusive.
inline QRect edgeRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
