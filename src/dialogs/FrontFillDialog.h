// FrontFillDialog: how the front picture fills the square front. Stretched (the picture's
// proportions given up), cropped to a square that the user drags over the picture (and makes
// larger or smaller with the mouse wheel), or fitted whole on a background colour. The square
// beside the picture shows the front as it will print. OK gives the choice back; the picture
// itself is never changed.
#pragma once

#include "cover/CoverOptions.h"

#include <QDialog>
#include <QWidget>
#include <optional>

class ColourButton;
class QLabel;
class QRadioButton;

// The picture, scaled to fit the view, with the crop's square over it. Dragging moves the
// square, the wheel makes it larger or smaller; the square stays inside the picture.
class CropView : public QWidget {
    Q_OBJECT
public:
    explicit CropView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    // The square in the picture's pixels.
    void setSquare(const QRectF& square);
    QRectF square() const { return square_; }
    // Where the picture lies in the view.
    QRectF pictureArea() const;

Q_SIGNALS:
    void squareChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void moveSquareTo(QPointF topLeft, double side);

    QImage picture_;
    QRectF square_;
    bool dragging_ = false;
    QPointF grab_; // where in the square the mouse took it, in picture pixels
};

class FrontFillDialog : public QDialog {
    Q_OBJECT
public:
    explicit FrontFillDialog(QWidget* parent = nullptr);

    QRadioButton* stretchButton;
    QRadioButton* cropButton;
    QRadioButton* fitButton;
    ColourButton* backgroundButton;
    CropView* cropView;
    QLabel* frontView;
    QLabel* hintLabel;
    ColourButton* okButton;
    ColourButton* cancelButton;

    // Shows the picture with the options, centred over the caller; gives the options chosen with
    // OK, or nothing when cancelled.
    std::optional<CoverOptions> choose(const QImage& picture, const CoverOptions& options,
                                       const QRect& caller);
    // The options as the controls say now.
    CoverOptions chosenOptions() const;
    void showOptions(const QImage& picture, const CoverOptions& options);

    void reject() override;

private:
    void createControls();
    void setTexts();
    void connectHandlers();
    void chooseBackground();
    void showFront();

    QImage picture_;
    CoverOptions options_;
};
