#include "dialogs/FrontFillDialog.h"

#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ErrorGuard.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

CropView::CropView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
}

void CropView::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void CropView::setSquare(const QRectF& square) {
    square_ = square;
    update();
}

QRectF CropView::pictureArea() const {
    if (picture_.isNull())
        return QRectF();
    const QSizeF size = QSizeF(picture_.size()).scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void CropView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(90, 90, 90));
    const QRectF area = pictureArea();
    if (area.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(area, picture_);
    if (!isEnabled() || square_.isEmpty())
        return;
    const double k = area.width() / picture_.width();
    const QRectF shown(area.topLeft() + square_.topLeft() * k, square_.size() * k);
    // What falls outside the front is dimmed.
    QPainterPath outside;
    outside.addRect(area);
    outside.addRect(shown);
    painter.fillPath(outside, QColor(0, 0, 0, 130));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(shown);
}

void CropView::mousePressEvent(QMouseEvent* event) {
    const QRectF area = pictureArea();
    if (area.isEmpty() || event->button() != Qt::LeftButton)
        return;
    const double k = area.width() / picture_.width();
    const QPointF at = (event->position() - area.topLeft()) / k;
    // A press outside the square brings its middle there; inside, it takes the square as it is.
    if (!square_.contains(at))
        moveSquareTo(at - QPointF(square_.width(), square_.height()) / 2, square_.width());
    grab_ = at - square_.topLeft();
    dragging_ = true;
    setCursor(Qt::ClosedHandCursor);
}

void CropView::mouseMoveEvent(QMouseEvent* event) {
    const QRectF area = pictureArea();
    if (!dragging_ || area.isEmpty())
        return;
    const double k = area.width() / picture_.width();
    moveSquareTo((event->position() - area.topLeft()) / k - grab_, square_.width());
}

void CropView::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
}

void CropView::wheelEvent(QWheelEvent* event) {
    if (picture_.isNull() || square_.isEmpty())
        return;
    const double steps = event->angleDelta().y() / 120.0;
    const double side = square_.width() * std::pow(0.95, steps); // up: a smaller square
    const QPointF centre = square_.center();
    moveSquareTo(centre - QPointF(side, side) / 2, side);
    event->accept();
}

void CropView::moveSquareTo(QPointF topLeft, double side) {
    const double most = std::min(picture_.width(), picture_.height());
    side = std::clamp(side, std::min(16.0, most), most);
    const QRectF moved(std::clamp(topLeft.x(), 0.0, picture_.width() - side),
                       std::clamp(topLeft.y(), 0.0, picture_.height() - side), side, side);
    if (moved == square_)
        return;
    square_ = moved;
    update();
    Q_EMIT squareChanged();
}

namespace {
constexpr int ViewSide = 360;
constexpr int FrontSide = 180;
} // namespace

FrontFillDialog::FrontFillDialog(QWidget* parent) : QDialog(parent) {
    createControls();
    setTexts();
    connectHandlers();
}

void FrontFillDialog::createControls() {
    DialogLook::setUpWindow(
        this, QSize(16 + ViewSide + 16 + FrontSide + 16 + 100, 16 + ViewSide + 16 + 35 + 16));

    cropView = new CropView(this);
    cropView->setGeometry(16, 16, ViewSide, ViewSide);
    const int right = 16 + ViewSide + 16;
    const int rightWidth = width() - right - 16;
    auto* group = new QButtonGroup(this);
    stretchButton = new QRadioButton(this);
    cropButton = new QRadioButton(this);
    fitButton = new QRadioButton(this);
    int top = 16;
    for (QRadioButton* button : {stretchButton, cropButton, fitButton}) {
        button->setGeometry(right, top, rightWidth, 26);
        group->addButton(button);
        top += 30;
    }
    backgroundButton = DialogLook::makeButton(this, QRect(right + 24, top, rightWidth - 24, 32));
    top += 44;
    frontView = new QLabel(this);
    frontView->setGeometry(right, top, FrontSide, FrontSide);
    frontView->setFrameShape(QFrame::Box);
    hintLabel = new QLabel(this);
    hintLabel->setGeometry(16, 16 + ViewSide + 4, ViewSide, 16 + 35 - 4);
    hintLabel->setWordWrap(true);
    QFont small = DialogLook::pixelFont(QStringLiteral("Verdana"), 11);
    hintLabel->setFont(small);
    okButton = DialogLook::makeButton(
        this, QRect(width() - 16 - 100 - 12 - 100, height() - 16 - 35, 100, 35));
    cancelButton =
        DialogLook::makeButton(this, QRect(width() - 16 - 100, height() - 16 - 35, 100, 35));
    okButton->setDefault(true);
}

void FrontFillDialog::setTexts() {
    setWindowTitle(ProductName + tr(" - Front picture"));
    stretchButton->setText(tr("Stretch to the square"));
    cropButton->setText(tr("Crop to a square"));
    fitButton->setText(tr("Fit whole on a colour"));
    backgroundButton->setText(tr("Background colour…"));
    hintLabel->setText(tr("Drag the square over the picture; the mouse wheel makes it larger or "
                          "smaller."));
    okButton->setText(tr("OK"));
    cancelButton->setText(tr("Cancel"));
}

void FrontFillDialog::connectHandlers() {
    for (QRadioButton* button : {stretchButton, cropButton, fitButton})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showFront();
        });
    connect(cropView, &CropView::squareChanged, this, &FrontFillDialog::showFront);
    connect(backgroundButton, &QPushButton::clicked, this,
            guarded(this, &FrontFillDialog::chooseBackground));
    connect(okButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(cancelButton, &QPushButton::clicked, this, &FrontFillDialog::reject);
}

std::optional<CoverOptions>
FrontFillDialog::choose(const QImage& picture, const CoverOptions& options, const QRect& caller) {
    showOptions(picture, options);
    const DialogGeometry::Place place = DialogGeometry::centreOver(caller, frameGeometry().size());
    move(place.left, place.top);
    if (exec() != 1)
        return std::nullopt;
    return chosenOptions();
}

void FrontFillDialog::showOptions(const QImage& picture, const CoverOptions& options) {
    picture_ = picture;
    options_ = options;
    cropView->setPicture(picture);
    cropView->setSquare(cropSquare(picture.size(), options.crop));
    QRadioButton* chosen = options.fill == FrontFill::Crop  ? cropButton
                           : options.fill == FrontFill::Fit ? fitButton
                                                            : stretchButton;
    chosen->setChecked(true);
    showFront();
}

CoverOptions FrontFillDialog::chosenOptions() const {
    CoverOptions o = options_;
    o.fill = cropButton->isChecked()  ? FrontFill::Crop
             : fitButton->isChecked() ? FrontFill::Fit
                                      : FrontFill::Stretch;
    if (o.fill == FrontFill::Crop)
        o.crop = cropFractions(picture_.size(), cropView->square());
    return o;
}

void FrontFillDialog::chooseBackground() {
    const QColor colour =
        QColorDialog::getColor(options_.background, this, tr("Background colour"));
    if (!colour.isValid())
        return;
    options_.background = colour;
    showFront();
}

void FrontFillDialog::showFront() {
    const CoverOptions o = chosenOptions();
    cropView->setEnabled(o.fill == FrontFill::Crop);
    backgroundButton->setEnabled(o.fill == FrontFill::Fit);
    hintLabel->setVisible(o.fill == FrontFill::Crop);
    const QImage shown = frontImage(picture_, o);
    if (shown.isNull()) {
        frontView->clear();
        return;
    }
    frontView->setPixmap(QPixmap::fromImage(shown.scaled(
        QSize(FrontSide - 2, FrontSide - 2), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void FrontFillDialog::reject() {
    done(2);
}
