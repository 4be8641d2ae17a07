// TGauge: shows how far a value has come between a minimum and a maximum, as a percentage, in one
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

enum TGaugeKind : quint8 { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

class TGauge : public QWidget {
    Q_OBJECT

public:
    enum TBorderStyle : quint8 { bsNone, bsSingle };

    explicit TGauge(QWidget* parent = nullptr);

    TGaugeKind Kind() const { return FKind; }
    bool ShowText() const { return FShowText; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    QColor ForeColor() const { return FForeColor; }
    QColor BackColor() const { return FBackColor; }
    // The colour around the pie and the needle's dial: the window colour, from the parent unless
    // set.
    QColor Color() const;
    int MinValue() const { return FMinValue; }
    int MaxValue() const { return FMaxValue; }
    int Progress() const { return FProgress; }
    int PercentComplete() const;

    // Each repaints at once when the value really changes.
    void setKind(TGaugeKind kind);
    void setShowText(bool show);
    void setBorderStyle(TBorderStyle style);
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
    void setLoading(bool loading) { FLoading = loading; }

    // The picture paint puts on the screen, made from scratch.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Changed();

    TGaugeKind FKind = gkHorizontalBar;
    bool FShowText = true;
    TBorderStyle FBorderStyle = bsSingle;
    QColor FForeColor{0, 0, 0};
    QColor FBackColor{255, 255, 255};
    int FMinValue = 0;
    int FMaxValue = 100;
    int FProgress = 0;
    bool FLoading = false;
};
