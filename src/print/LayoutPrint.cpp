#include "print/LayoutPrint.h"

#include "cover/Cover.h"
#include "cover/Workspace.h"

#include "platform/AppError.h"
#include "platform/Canvas.h"
#include "print/PrintGeometry.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QRgb Black = qRgb(0, 0, 0);

bool isBlack(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

QImage asRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

// Whether drawing leaves the canvas as it is: then the canvas shows exactly what it draws.
template <typename Draw> bool alreadyOnCanvas(const QImage& canvas, Draw draw) {
    QImage copy = canvas.copy();
    Canvas c(&copy);
    draw(c);
    return copy == canvas;
}

// The spine text's two places, as the main window writes it (Layout::DrawSpineText).
struct SpineCell {
    int angle;
    QPoint at;
};
std::array<SpineCell, 2> spineCells(const PrintSource& s) {
    return {
        SpineCell{90, QPoint(s.leftSpine.left(), s.leftSpine.top() + s.leftSpine.height() - 10)},
        SpineCell{270, QPoint(s.rightSpine.left() + 22, s.rightSpine.top() + 10)}};
}

QFont spineFont() {
    return Canvas::makeFont(QStringLiteral("Verdana"), 10, true);
}

// Text as the canvas writes it: the cell's top-left at the origin of the painter's transform,
// turned counter-clockwise, the cell filled white first. The cell's size is measured at the
// canvas's resolution so that it covers what the canvas covers.
void writeCell(QPainter& painter, const QImage& canvas, const SpineCell& cell, const QString& text,
               bool glyphs) {
    const QFontMetrics metrics(spineFont(), &canvas);
    painter.save();
    painter.translate(cell.at);
    painter.rotate(-cell.angle);
    painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()), Qt::white);
    if (glyphs) {
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(spineFont());
        painter.setPen(Qt::black);
        painter.drawText(0, metrics.ascent(), text);
    }
    painter.restore();
}

// A picture from its original pixels for a rectangle of `device` printer pixels: decoded at the
// smallest scale that covers it, never enlarged (the device enlarges). For a raster device it is
// reduced to the device's pixels; a PDF keeps the decoded pixels, which the page scales (reducing
// would only cost time and a second copy of the picture).
QImage pictureFor(const Picture& picture, QSize device, bool reduce) {
    if (picture.isEmpty() || device.isEmpty())
        return QImage();
    QImage image;
    try {
        image = picture.decode(device);
    } catch (const AppError&) {
        return QImage(); // the canvas's copy prints instead
    }
    if (image.isNull())
        return image;
    const QSize target(std::min(image.width(), device.width()),
                       std::min(image.height(), device.height()));
    if (reduce && target != image.size())
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return asRgb32(image);
}

// A front cropped or fitted: the part the screen shows, from the original pixels at the printed
// front's size, where the canvas shows it unchanged.
QImage takeFront(const PrintSource& source, const QImage& canvas, QSize printed,
                 QPainter& eraser) {
    const Picture& front = source.front;
    const CoverOptions& options = source.coverOptions;
    if (front.isEmpty() || !alreadyOnCanvas(canvas, [&](Canvas& c) {
            c.stretchDraw(Layout::FrontRect, frontImage(front.image(), options));
        }))
        return QImage();
    const QSize device = PrintGeometry::toPrinted(Layout::FrontRect, canvas.size(), printed).size();
    const QSizeF factor = frontDecodeFactor(front.image().size(), options);
    QImage picture;
    try {
        picture = front.decode(QSize(int(std::ceil(device.width() * factor.width())),
                                     int(std::ceil(device.height() * factor.height()))));
    } catch (const AppError&) {
        return QImage(); // the canvas's copy prints instead
    }
    QImage shown = frontImage(picture, options);
    if (shown.isNull())
        return shown;
    if (shown.width() > device.width() || shown.height() > device.height())
        shown = shown.scaled(QSize(std::min(shown.width(), device.width()),
                                   std::min(shown.height(), device.height())),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    eraser.fillRect(Layout::FrontRect, Qt::white);
    return asRgb32(shown);
}

} // namespace

QList<QRect> blackRects(const QImage& mask) {
    const QImage image = asRgb32(mask);
    QList<QRect> done;
    QHash<quint64, QRect> open; // runs of the previous row by (left, right)
    for (int y = 0; y < image.height(); ++y) {
        QHash<quint64, QRect> next;
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (!isBlack(row[x])) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < image.width() && isBlack(row[x]))
                ++x;
            const quint64 key = quint64(left) << 32 | quint32(x);
            QRect rect(left, y, x - left, 1);
            if (const auto it = open.find(key); it != open.end()) {
                rect = it->adjusted(0, 0, 0, 1);
                open.erase(it);
            }
            next.insert(key, rect);
        }
        for (const QRect& r : std::as_const(open))
            done.append(r);
        open = std::move(next);
    }
    for (const QRect& r : std::as_const(open))
        done.append(r);
    std::sort(done.begin(), done.end(), [](const QRect& a, const QRect& b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    });
    return done;
}

SharpPlan planSharpPrint(const PrintSource& source, QSize printed, bool reducePictures,
                         const QImage& frontStandIn) {
    SharpPlan plan;
    const QImage canvas = asRgb32(source.canvas);
    QImage residual = canvas.copy();
    const QSize size = canvas.size();

    // The template's pixels that are still black on the canvas.
    QImage templ(size, QImage::Format_RGB32);
    templ.fill(Qt::white);
    {
        Canvas c(&templ);
        Layout::drawTemplate(c);
    }
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* t = reinterpret_cast<const QRgb*>(templ.constScanLine(y));
        const QRgb* c = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        QRgb* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        QRgb* r = reinterpret_cast<QRgb*>(residual.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            if (isBlack(t[x]) && isBlack(c[x])) {
                m[x] = Black;
                r[x] = qRgb(255, 255, 255);
            }
    }
    plan.templateRects = blackRects(mask);

    QPainter eraser(&residual);
    const auto takePicture = [&](const Picture& picture, const QRect& rect,
                                 const QImage& standIn) {
        if (picture.isEmpty() ||
            !alreadyOnCanvas(canvas, [&](Canvas& c) { c.stretchDraw(rect, picture.image()); }))
            return QImage();
        QImage image = !standIn.isNull()
                           ? standIn
                           : pictureFor(picture, PrintGeometry::toPrinted(rect, size, printed).size(),
                                        reducePictures);
        if (!image.isNull())
            eraser.fillRect(rect, Qt::white);
        return image;
    };
    // A stand-in takes the place of the whole picture only: a cropped or fitted front is drawn.
    if (source.coverOptions.fill == FrontFill::Stretch)
        plan.frontImage = takePicture(source.front, Layout::FrontRect, frontStandIn);
    else
        plan.frontImage = takeFront(source, canvas, printed, eraser);
    // The list as text where the back picture is still its copy and shows so on the canvas.
    plan.backText =
        !source.backText.isNull() && !source.back.isEmpty() &&
        asRgb32(source.back.image()) == BackText::picture(source.backText, ProductName) &&
        alreadyOnCanvas(canvas,
                        [&](Canvas& c) { c.stretchDraw(Layout::BackRect, source.back.image()); });
    if (plan.backText)
        eraser.fillRect(Layout::BackRect, Qt::white);
    else
        plan.backImage = takePicture(source.back, Layout::BackRect, QImage());

    plan.spineText = !source.spineText.isEmpty() && alreadyOnCanvas(canvas, [&](Canvas& c) {
        Layout::drawSpineText(c, source.spineText, source.leftSpine, source.rightSpine);
    });
    if (plan.spineText)
        for (const SpineCell& cell : spineCells(source))
            writeCell(eraser, canvas, cell, source.spineText, false);
    eraser.end();

    plan.residualBlank = true;
    for (int y = 0; y < size.height() && plan.residualBlank; ++y) {
        const QRgb* r = reinterpret_cast<const QRgb*>(residual.constScanLine(y));
        plan.residualBlank =
            std::all_of(r, r + size.width(), [](QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFF; });
    }
    plan.residual = residual;
    return plan;
}

void paintLayout(QPainter& painter, const PrintSource& source, QSize printed, PrintMode mode) {
    if (source.canvas.isNull() || printed.isEmpty())
        return;
    const QRect page(QPoint(0, 0), printed);
    painter.save();
    painter.setClipRect(page, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (mode == PrintMode::Stretch) {
        painter.drawImage(QRectF(page), source.canvas);
        painter.restore();
        return;
    }

    const QPaintEngine* engine = painter.paintEngine();
    paintSharpPlan(painter, source,
                   planSharpPrint(source, printed, !engine || engine->type() != QPaintEngine::Pdf),
                   printed);
    painter.restore();
}

void paintSharpPlan(QPainter& painter, const PrintSource& source, const SharpPlan& plan,
                    QSize printed) {
    if (source.canvas.isNull() || printed.isEmpty())
        return;
    const QRect page(QPoint(0, 0), printed);
    painter.save();
    painter.setClipRect(page, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QSize canvas = source.canvas.size();
    if (!plan.residualBlank)
        painter.drawImage(QRectF(page), plan.residual);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& r : plan.templateRects)
        painter.fillRect(PrintGeometry::toPrinted(r, canvas, printed), Qt::black);
    if (!plan.frontImage.isNull())
        painter.drawImage(QRectF(PrintGeometry::toPrinted(Layout::FrontRect, canvas, printed)),
                          plan.frontImage);
    if (!plan.backImage.isNull())
        painter.drawImage(QRectF(PrintGeometry::toPrinted(Layout::BackRect, canvas, printed)),
                          plan.backImage);
    if (plan.backText) {
        const QRect back = PrintGeometry::toPrinted(Layout::BackRect, canvas, printed);
        painter.save();
        painter.translate(back.topLeft());
        painter.scale(double(back.width()) / Layout::BackRect.width(),
                      double(back.height()) / Layout::BackRect.height());
        BackText::paint(painter, source.backText, ProductName);
        painter.restore();
    }
    if (plan.spineText) {
        // The text's geometry in layout pixels, scaled as the canvas is.
        painter.scale(double(printed.width()) / canvas.width(),
                      double(printed.height()) / canvas.height());
        for (const SpineCell& cell : spineCells(source))
            writeCell(painter, source.canvas, cell, source.spineText, true);
    }
    painter.restore();
}

PrintSource printSourceOf(const Cover& cover) {
    PrintSource source;
    source.canvas = cover.canvas();
    source.front = cover.frontPicture();
    source.back = cover.backPicture();
    source.backText = cover.backText();
    source.spineText = cover.spineText();
    source.coverOptions = cover.coverOptions();
    return source;
}
