#include "controls/ImageView.h"

#include <QPainter>

ImageView::ImageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageView::setImage(const QImage& image) {
    image_ = image;
    shown_ = QImage();
    update();
}

void ImageView::resizeEvent(QResizeEvent*) {
    shown_ = QImage();
}

void ImageView::paintEvent(QPaintEvent*) {
    if (image_.isNull())
        return;
    if (shown_.isNull())
        shown_ = image_.size() == size()
                     ? image_
                     : image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter(this).drawImage(0, 0, shown_);
}
