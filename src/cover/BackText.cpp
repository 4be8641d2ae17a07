#include "cover/BackText.h"

#include "cover/CoverLayout.h"
#include "cover/TabLeaders.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

BackTextView::BackTextView(const QTextDocument& document, QRect textArea, QPoint scroll)
    : document_(document.clone()), textArea_(textArea), scroll_(scroll) {
    // Wrapped at the text area's width, as the editor wraps it, whatever width the editor's own
    // document had last been given.
    document_->setPageSize(QSizeF(textArea.width(), -1));
    document_->pageCount(); // lays the whole list out now, so that painting changes nothing
}

namespace BackText {

void paintShown(QPainter& painter, const BackTextView& view) {
    if (view.isNull())
        return;
    painter.save();
    painter.setClipRect(view.textArea(), Qt::IntersectClip);
    painter.translate(view.textArea().topLeft() - view.scroll());
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QAbstractTextDocumentLayout::PaintContext context;
    // The editor shows the list on white paper in black, unless the list says otherwise.
    context.palette.setColor(QPalette::Text, Qt::black);
    context.palette.setColor(QPalette::Base, Qt::white);
    context.clip = QRectF(view.scroll(), view.textArea().size());
    view.document()->documentLayout()->draw(&painter, context);
    TabLeaders::paint(painter, *view.document(), context.clip, Qt::black);
    painter.restore();
}

void paint(QPainter& painter, const BackTextView& view, const QString& productName) {
    const QRect picture(0, 0, Layout::BackPictureWidth, Layout::BackPictureHeight);
    painter.save();
    painter.setClipRect(picture, Qt::IntersectClip);
    painter.fillRect(picture, Qt::white);
    if (!view.isNull()) {
        painter.save();
        painter.setClipRect(CopyTarget, Qt::IntersectClip);
        painter.translate(CopyTarget.topLeft());
        painter.scale(double(CopyTarget.width()) / CopySource.width(),
                      double(CopyTarget.height()) / CopySource.height());
        painter.translate(-CopySource.topLeft());
        paintShown(painter, view);
        painter.restore();
    }
    Layout::paintProductName(painter, productName);
    painter.restore();
}

QImage picture(const BackTextView& view, const QString& productName) {
    QImage image(Layout::BackPictureWidth, Layout::BackPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter, view, productName);
    painter.end();
    return image;
}

} // namespace BackText
