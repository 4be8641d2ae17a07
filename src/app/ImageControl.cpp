#include "app/ImageControl.h"

#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageControl::SetImage(const QImage& image) {
    image_ = image;
    shown_ = QImage();
    update();
}

void ImageControl::resizeEvent(QResizeEvent*) { shown_ = QImage(); }

void ImageControl::paintEvent(QPaintEvent*) {
    if (image_.isNull())
        return;
    if (shown_.isNull())
        shown_ = image_.size() == size()
                     ? image_
                     : image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter(this).drawImage(0, 0, shown_);
}
