// Gauge: shows how far a value has come between a minimum and a maximum, as a percentage, in one
// of five looks (text only, horizontal bar, vertical bar, pie, needle). It paints through
// off-screen pictures combined by XOR, so the percentage text shows in the inverse of whatever
// lies under each of its pixels (white over a black bar, black over a white background).
//
// Setting Progress repaints only when the whole-number percentage changes, so a caller may set
// it once per received block. Repaints happen at once (synchronously) while the gauge is shown,
// so progress stays visible inside a busy loop.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

enum GaugeKind : quint8 { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

class Gauge : public QWidget {
    Q_OBJECT

public:
    enum BorderStyle : quint8 { bsNone, bsSingle };

    explicit Gauge(QWidget* parent = nullptr);

    GaugeKind kind() const { return kind_; }
    bool showText() const { return showText_; }
    BorderStyle borderStyle() const { return borderStyle_; }
    QColor foreColor() const { return foreColor_; }
    QColor backColor() const { return backColor_; }
    // The colour around the pie and the needle's dial: the window colour, from the parent unless
    // set.
    QColor color() const;
    int minValue() const { return minValue_; }
    int maxValue() const { return maxValue_; }
    int progress() const { return progress_; }
    int percentComplete() const;

    // Each repaints at once when the value really changes.
    void setKind(GaugeKind kind);
    void setShowText(bool show);
    void setBorderStyle(BorderStyle style);
    void setForeColor(const QColor& color);
    void setBackColor(const QColor& color);
    void setColor(const QColor& color);

    // Throw AppError "Value must be between %d and %d" for a range that would be inverted (not
    // while Loading); pull Progress into the new range.
    void setMinValue(int value);
    void setMaxValue(int value);
    // Clamped into MinValue..MaxValue.
    void setProgress(int value);

    // While true the range checks are off, so that a stored range can be set in any order.
    void setLoading(bool loading) { loading_ = loading; }

    // The picture paint puts on the screen, made from scratch.
    QImage renderImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    GaugeKind kind_ = gkHorizontalBar;
    bool showText_ = true;
    BorderStyle borderStyle_ = bsSingle;
    QColor foreColor_{0, 0, 0};
    QColor backColor_{255, 255, 255};
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    bool loading_ = false;
};
