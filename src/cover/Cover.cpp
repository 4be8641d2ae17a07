#include "cover/Cover.h"

#include "cover/CoverLayout.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"
#include "platform/Canvas.h"

Cover::Cover(Workspace& workspace, QObject* parent)
    : QObject(parent), workspace_(workspace), canvas_(Layout::newLayoutImage(CanvasWidth)) {}

void Cover::drawTemplate() {
    canvas_ = Layout::newLayoutImage(CanvasWidth);
    Canvas canvas(&canvas_);
    Layout::drawTemplate(canvas);
    Q_EMIT changed();
}

void Cover::loadFrontPicture(const QString& fileName) {
    front_.loadFromFile(fileName, Layout::FrontRect.size());
    putFrontPictureOnCanvas();
    workspace_.setUnsavedChanges(false);
    Q_EMIT changed();
}

void Cover::putFrontPictureOnCanvas() {
    if (front_.isEmpty())
        return;
    Canvas canvas(&canvas_);
    canvas.stretchDraw(Layout::FrontRect, frontImage(front_.image(), options_));
}

void Cover::setCoverOptions(const CoverOptions& options) {
    options_ = options;
    putFrontPictureOnCanvas();
    Q_EMIT changed();
}

void Cover::takeFrontPicture(const QByteArray& data, const QString& extension) {
    front_.loadFromData(data, extension, Layout::FrontRect.size());
    putFrontPictureOnCanvas();
    workspace_.setUnsavedChanges(true);
    Q_EMIT changed();
}

void Cover::loadBackPicture(const QString& fileName) {
    back_.loadFromFile(fileName);
    backText_ = BackTextView();
    putBackPictureOnCanvas();
    workspace_.setUnsavedChanges(false);
}

void Cover::setBackPicture(const QImage& picture) {
    back_.setImage(picture);
    backText_ = BackTextView();
    putBackPictureOnCanvas();
}

void Cover::copyBackText(const BackTextView& view) {
    back_.setImage(BackText::picture(view, ProductName));
    backText_ = view;
    putBackPictureOnCanvas();
}

bool Cover::recogniseBackText(const BackTextView& view) {
    if (back_.isEmpty() || view.isNull())
        return false;
    const QImage& picture = back_.image();
    const QImage copy = BackText::picture(view, ProductName);
    if (picture.size() != copy.size() || picture.convertToFormat(QImage::Format_RGB32) != copy)
        return false;
    backText_ = view;
    return true;
}

void Cover::putBackPictureOnCanvas() {
    if (back_.isEmpty()) {
        QImage white(Layout::BackPictureWidth, Layout::BackPictureHeight, QImage::Format_RGB32);
        white.fill(Qt::white);
        back_.setImage(white);
    }
    QImage picture = back_.image();
    // A bitmap with a palette is read as an indexed picture, on which nothing can be drawn.
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
        picture.format() == QImage::Format_MonoLSB)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    Layout::stampProductName(picture, ProductName);
    back_.setImage(picture, back_.getFormat() == Picture::Format::None ? Picture::Format::Bitmap
                                                                       : back_.getFormat());
    Canvas canvas(&canvas_);
    canvas.stretchDraw(Layout::BackRect, picture);
    Q_EMIT changed();
}

void Cover::applySpineText(const QString& text) {
    // What the spines show is what the spine text field holds and what names the project.
    const QString& spine = text;
    Canvas canvas(&canvas_);
    // A shorter text must not leave the end of the longer one before it on the spines.
    Layout::clearSpineText(canvas, Layout::LeftSpineBounds, Layout::RightSpineBounds);
    Layout::drawSpineText(canvas, spine, Layout::LeftSpineBounds, Layout::RightSpineBounds);
    spineText_ = spine;
    workspace_.setUnsavedChanges(true);
    Q_EMIT changed();
    Q_EMIT spineTextApplied(spine);
}

void Cover::forgetPictures() {
    front_.clear();
    back_.clear();
    backText_ = BackTextView();
    options_ = CoverOptions();
    Q_EMIT changed();
}
