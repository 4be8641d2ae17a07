// The dots of tab stops with a dot leader (rtf/TabStops.h). Qt lays the text out and leaves a
// tab's gap empty; this paints the leader's dots into the gap of every tab character that ends at
// such a stop. The editor paints them over its own text, and the back picture and the print paint
// them through the same function, so that the dots stand where the editor showed them.
#pragma once

#include <QRectF>

class QColor;
class QPainter;
class QTextDocument;

namespace TabLeaders {

// Paints the leaders of the document's laid-out blocks that meet `clip`, in the document's
// coordinates. `automatic` is the colour of text that sets none.
void paint(QPainter& painter, const QTextDocument& document, const QRectF& clip,
           const QColor& automatic);

} // namespace TabLeaders
