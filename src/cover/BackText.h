// The back picture made from the list of contents. The back-cover editor copies its list onto the
// back cover through here, and the sharp print draws the same list through here at the printer's
// resolution. The list is laid out once, at the editor's width in screen pixels; the picture and
// the print only paint that layout through differently scaled painters, so that the printed lines,
// line breaks and tab positions are the ones in the picture.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <memory>

class QPainter;
class QTextDocument;

// The list as the editor shows it: a copy of its document, the editor's text area (in the
// editor's own pixels, inside its border) and how far the text is scrolled. The copy does not
// follow later edits in the editor.
class BackTextView {
public:
    BackTextView() = default;
    BackTextView(const QTextDocument& document, QRect textArea, QPoint scroll);

    bool isNull() const { return !document_; }
    const QTextDocument* document() const { return document_.get(); }
    QRect textArea() const { return textArea_; }
    QPoint scroll() const { return scroll_; }

private:
    std::shared_ptr<QTextDocument> document_; // laid out once, never changed afterwards
    QRect textArea_;
    QPoint scroll_;
};

namespace BackText {

// What the copy takes from the editor, in the editor's own pixels: from 5 pixels right of its
// left edge and 3 below its top edge (inside its sunken border) to its bottom edge and 4 short of
// its right edge of 556; and where that goes on the back picture: stretched onto the editor's full
// size, 556 x 472, of which what falls beyond the picture's right edge at 552 is lost.
inline const QRect CopySource = QRect(QPoint(5, 3), QPoint(551, 471));
inline const QRect CopyTarget = QRect(0, 0, 556, 472);

// Paints the list as the editor shows it, in the editor's own pixels: its text area only.
void paintShown(QPainter& painter, const BackTextView& view);

// Paints the back picture of the list into (0, 0) to (552, 472) of the painter's coordinates:
// white, the visible part of the list cut and stretched as above, and the product name stamped.
void paint(QPainter& painter, const BackTextView& view, const QString& productName);

// The same as a 552 x 472 picture.
QImage picture(const BackTextView& view, const QString& productName);

} // namespace BackText
