// The ruler above the back-cover editor's text: a scale in printed millimetres and the tab stops
// of the paragraph the cursor is in. A click adds a stop of the kind chosen in the format bar, a
// stop can be dragged to a new place or off the ruler to remove it, and a right click on a stop
// changes its kind. The ruler only shows and reports: each change is one edited() that the format
// bar applies to the paragraphs of the selection as one undo step.
#pragma once

#include "rtf/TabStops.h"

#include <QWidget>
#include <optional>

class QMenu;

class TabRuler : public QWidget {
    Q_OBJECT
public:
    explicit TabRuler(QWidget* parent = nullptr);

    // Where tab position 0 (the text's left edge) is, in the ruler's pixels.
    void setOrigin(int x);
    int origin() const { return origin_; }
    void setStops(const QList<QTextOption::Tab>& stops);
    const QList<QTextOption::Tab>& stops() const { return stops_; }
    // The kind of stop a click adds.
    void setNewStopKind(QTextOption::TabType type, bool dotLeader);
    QTextOption::Tab newStop(double position) const;

    void setTexts();

    // A drag that ends this far above or below the ruler removes the stop.
    static constexpr int RemoveDistance = 12;
    // Editor pixels per millimetre on the printed back (the copy stretches 547 pixels onto 556,
    // and the back prints at 4 pixels a millimetre).
    static constexpr double PixelsPerPrintedMm = 4.0 * 547.0 / 556.0;

    // Draws the mark of a stop standing on (x, bottom): the foot points the way the text runs
    // from it; a dot leader adds dots before it.
    static void drawStopMark(QPainter& painter, QPointF at, const QTextOption::Tab& stop);

Q_SIGNALS:
    void edited(const TabStops::Edit& edit);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::optional<qsizetype> stopNear(int x) const;
    double positionAt(int x) const;
    void follow(QPoint at);
    bool isOff(QPoint at) const;

    int origin_ = 0;
    QList<QTextOption::Tab> stops_;
    QTextOption::TabType newType_ = QTextOption::LeftTab;
    bool newDotLeader_ = false;

    // The stop being dragged: where it was (none for a stop the click adds), where it is now.
    struct Drag {
        std::optional<double> from;
        QTextOption::Tab stop;
        int pressX = 0; // a stop moves by as much as the pointer: a click leaves it in place
        bool off = false;
    };
    std::optional<Drag> drag_;
};
