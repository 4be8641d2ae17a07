#include "back/TabRuler.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

TabRuler::TabRuler(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, QColor(250, 250, 250));
    setPalette(paper);
    QFont small = font();
    small.setPixelSize(9);
    setFont(small);
}

void TabRuler::setTexts() {
    setToolTip(tr("Tab stops of the paragraph: click to add a stop of the kind chosen in the "
                  "toolbar, drag a stop to move it, drag it off the ruler to remove it, "
                  "right-click a stop to change its kind. The scale is in millimetres on the "
                  "printed back."));
}

void TabRuler::setOrigin(int x) {
    if (origin_ == x)
        return;
    origin_ = x;
    update();
}

void TabRuler::setStops(const QList<QTextOption::Tab>& stops) {
    if (drag_ || stops_ == stops)
        return;
    stops_ = stops;
    update();
}

void TabRuler::setNewStopKind(QTextOption::TabType type, bool dotLeader) {
    newType_ = type;
    newDotLeader_ = dotLeader;
}

QTextOption::Tab TabRuler::newStop(double position) const {
    return TabStops::withDotLeader(QTextOption::Tab(position, newType_), newDotLeader_);
}

double TabRuler::positionAt(int x) const {
    // Whole pixels: RTF keeps them exactly (15 twips a pixel).
    return std::clamp(double(x - origin_), 1.0, double(std::max(1, width() - origin_ - 1)));
}

std::optional<qsizetype> TabRuler::stopNear(int x) const {
    std::optional<qsizetype> nearest;
    double best = 5;
    for (qsizetype i = 0; i < stops_.size(); ++i) {
        const double distance = std::abs(origin_ + stops_[i].position - x);
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

bool TabRuler::isOff(QPoint at) const {
    return at.y() < -RemoveDistance || at.y() >= height() + RemoveDistance;
}

void TabRuler::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x();
    if (const auto at = stopNear(x))
        drag_ = Drag{stops_[*at].position, stops_[*at], x};
    else if (x > origin_)
        drag_ = Drag{std::nullopt, newStop(positionAt(x)), x};
    update();
}

void TabRuler::follow(QPoint at) {
    const double start = drag_->from ? *drag_->from : positionAt(drag_->pressX);
    drag_->stop.position = positionAt(int(std::lround(origin_ + start)) + at.x() - drag_->pressX);
    drag_->off = isOff(at);
    update();
}

void TabRuler::mouseMoveEvent(QMouseEvent* event) {
    if (drag_)
        follow(event->position().toPoint());
}

void TabRuler::mouseReleaseEvent(QMouseEvent* event) {
    if (!drag_ || event->button() != Qt::LeftButton)
        return;
    follow(event->position().toPoint());
    const Drag done = *std::exchange(drag_, std::nullopt);
    update();
    if (done.off && !done.from)
        return; // a new stop dragged away at once: nothing was added
    if (!done.off && done.from && std::abs(*done.from - done.stop.position) < 0.5)
        return; // clicked, not moved
    Q_EMIT edited(
        TabStops::Edit{done.from, done.off ? std::nullopt : std::make_optional(done.stop)});
}

void TabRuler::contextMenuEvent(QContextMenuEvent* event) {
    const auto at = stopNear(event->pos().x());
    if (!at || drag_)
        return;
    const QTextOption::Tab stop = stops_[*at];
    QMenu menu(this);
    const auto kind = [&](const QString& text, QTextOption::TabType type) {
        QAction* action = menu.addAction(text);
        action->setCheckable(true);
        action->setChecked(stop.type == type);
        connect(action, &QAction::triggered, this, [this, stop, type] {
            QTextOption::Tab changed = stop;
            changed.type = type;
            Q_EMIT edited({stop.position, TabStops::withDotLeader(
                                              changed, TabStops::hasDotLeader(stop))});
        });
    };
    kind(tr("Left tab stop"), QTextOption::LeftTab);
    kind(tr("Centre tab stop"), QTextOption::CenterTab);
    kind(tr("Right tab stop"), QTextOption::RightTab);
    menu.addSeparator();
    QAction* leader = menu.addAction(tr("Dot leader"));
    leader->setCheckable(true);
    leader->setChecked(TabStops::hasDotLeader(stop));
    connect(leader, &QAction::triggered, this, [this, stop](bool on) {
        Q_EMIT edited({stop.position, TabStops::withDotLeader(stop, on)});
    });
    menu.addSeparator();
    connect(menu.addAction(tr("Remove")), &QAction::triggered, this,
            [this, stop] { Q_EMIT edited({stop.position, std::nullopt}); });
    menu.exec(event->globalPos());
}

void TabRuler::drawStopMark(QPainter& painter, QPointF at, const QTextOption::Tab& stop) {
    painter.save();
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    const double x = std::floor(at.x()) + 0.5;
    const double y = at.y();
    painter.drawLine(QPointF(x, y - 8), QPointF(x, y));
    switch (stop.type) {
    case QTextOption::RightTab:
        painter.drawLine(QPointF(x - 6, y - 1), QPointF(x, y - 1));
        break;
    case QTextOption::CenterTab:
        painter.drawLine(QPointF(x - 4, y - 1), QPointF(x + 4, y - 1));
        break;
    default:
        painter.drawLine(QPointF(x, y - 1), QPointF(x + 6, y - 1));
        break;
    }
    if (TabStops::hasDotLeader(stop)) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const double side = stop.type == QTextOption::LeftTab ? 1 : -1;
        for (int i = 1; i <= 3; ++i)
            painter.drawRect(QRectF(x + side * (3 + 3 * i) - 1, y - 5, 2, 2));
    }
    painter.restore();
}

void TabRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int bottom = height() - 1;
    // The text's width, white; the scale in millimetres on the printed back from the text's
    // left edge, a number every centimetre.
    painter.fillRect(QRect(origin_, 2, width() - origin_ - 1, height() - 4), Qt::white);
    painter.setPen(QColor(120, 120, 120));
    for (int mm = 0;; mm += 5) {
        const double x = origin_ + mm * PixelsPerPrintedMm;
        if (x >= width() - 1)
            break;
        const int tick = mm % 10 == 0 ? 6 : 3;
        painter.drawLine(QPointF(std::round(x), bottom - tick), QPointF(std::round(x), bottom));
        if (mm % 10 == 0 && mm > 0)
            painter.drawText(QRectF(x - 10, 1, 20, height() - 8), Qt::AlignCenter,
                             QString::number(mm / 10));
    }
    for (qsizetype i = 0; i < stops_.size(); ++i) {
        if (drag_ && drag_->from && std::abs(*drag_->from - stops_[i].position) < 0.5)
            continue; // drawn where it is dragged to
        drawStopMark(painter, QPointF(origin_ + stops_[i].position, bottom), stops_[i]);
    }
    if (drag_ && !drag_->off)
        drawStopMark(painter, QPointF(origin_ + drag_->stop.position, bottom), drag_->stop);
}
