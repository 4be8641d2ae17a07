#include "controls/FileDropTarget.h"

#include "cover/DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

FileDropTarget::FileDropTarget(QWidget* widget, QStringList extensions,
                               std::function<void(const QString&)> take, OtherDrags otherDrags)
    : QObject(widget), extensions_(std::move(extensions)), take_(std::move(take)),
      otherDrags_(otherDrags) {
    widget->setAcceptDrops(true);
    // A drag goes to the widget under it that takes drops, passing over widgets that are
    // transparent for the mouse, with all they hold (as the picture views on the cover's canvas
    // are): neither this one nor the widgets it lies in may be.
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        w->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    widget->installEventFilter(this);
}

QString FileDropTarget::usableFile(const QDropEvent& event) const {
    if (safeDropAction(event.possibleActions()) == Qt::IgnoreAction)
        return {};
    const QList<QUrl> urls = event.mimeData()->urls();
    if (urls != lastUrls_) {
        lastUrls_ = urls;
        lastFile_ = usableDroppedFile(droppedItems(urls), extensions_, folders_);
    }
    return lastFile_;
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (type == QEvent::DragEnter)
        lastUrls_.clear(); // a new drag: the folders may have changed since the last one
    if (!drop->mimeData()->hasUrls() && otherDrags_ == OtherDrags::LeaveToWidget)
        return false;
    const QString file = usableFile(*drop);
    if (file.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(safeDropAction(drop->possibleActions()));
    drop->accept();
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, file] { take_(file); });
    return true;
}
