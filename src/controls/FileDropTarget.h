// Makes a widget take files dropped on it from a file manager: while a drag moves over it, the
// drop is offered (as a copy) only when it holds a file the widget can use, and refused with the
// no-drop cursor otherwise; when it is dropped, the usable file is handed on, once the drop has
// ended, so that an error box never opens in the middle of it. Which file is usable is decided in
// cover/DroppedFiles.h.
#pragma once

#include <QObject>
#include <QUrl>
#include <QStringList>
#include <functional>

class QDropEvent;
class QWidget;

class FileDropTarget : public QObject {
    Q_OBJECT
public:
    // What happens to a drag that brings no addresses at all (a text dragged from an editor).
    enum class OtherDrags { Refuse, LeaveToWidget };

    // The target lives as long as the widget. extensions: what the widget reads, lower case.
    FileDropTarget(QWidget* widget, QStringList extensions,
                   std::function<void(const QString&)> take,
                   OtherDrags otherDrags = OtherDrags::Refuse);

    // Folders dropped are handed on too when they pass the test (the track import takes a
    // folder that holds audio files); a file of the drop that can be used goes first.
    void setTakesFolders(std::function<bool(const QString&)> usable) {
        folders_ = std::move(usable);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The file this drag brings for the widget; empty when it brings none.
    QString usableFile(const QDropEvent& event) const;

    QStringList extensions_;
    std::function<void(const QString&)> take_;
    OtherDrags otherDrags_;
    std::function<bool(const QString&)> folders_;
    // The answer for the drag under way: asked once, not at every move of the mouse.
    mutable QList<QUrl> lastUrls_;
    mutable QString lastFile_;
};
