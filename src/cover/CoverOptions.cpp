#include "cover/CoverOptions.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

const char* fillName(FrontFill fill) {
    switch (fill) {
    case FrontFill::Crop:
        return "crop";
    case FrontFill::Fit:
        return "fit";
    case FrontFill::Stretch:
        break;
    }
    return "stretch";
}

const char* tracksName(LabelTracks tracks) {
    switch (tracks) {
    case LabelTracks::Ring:
        return "ring";
    case LabelTracks::Block:
        return "block";
    case LabelTracks::None:
        break;
    }
    return "none";
}

QString rectText(const QRectF& r) {
    if (r.isEmpty())
        return QString();
    return QStringLiteral("%1 %2 %3 %4")
        .arg(r.x(), 0, 'f', 6)
        .arg(r.y(), 0, 'f', 6)
        .arg(r.width(), 0, 'f', 6)
        .arg(r.height(), 0, 'f', 6);
}

// Four fractions within the picture, or an empty rectangle.
QRectF rectOf(const QString& text) {
    const QStringList parts = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return QRectF();
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].toDouble(&ok);
        if (!ok || !std::isfinite(v[i]))
            return QRectF();
    }
    const QRectF r(v[0], v[1], v[2], v[3]);
    const double slack = 1e-4;
    if (r.width() <= 0 || r.height() <= 0 || r.left() < -slack || r.top() < -slack ||
        r.right() > 1 + slack || r.bottom() > 1 + slack)
        return QRectF();
    return r;
}

} // namespace

QByteArray coverOptionsText(const CoverOptions& o) {
    QString text;
    text += QStringLiteral("[Front]\n");
    text += QStringLiteral("Fill=%1\n").arg(QLatin1String(fillName(o.fill)));
    text += QStringLiteral("Crop=%1\n").arg(rectText(o.crop));
    text += QStringLiteral("Background=%1\n").arg(o.background.name());
    text += QStringLiteral("\n[Label]\n");
    text += QStringLiteral("Hole=%1\n").arg(o.holeMm);
    text += QStringLiteral("Tracks=%1\n").arg(QLatin1String(tracksName(o.tracks)));
    text += QStringLiteral("Crop=%1\n").arg(rectText(o.labelCrop));
    text += QStringLiteral("Sheet=%1\n").arg(o.labelSheet);
    return text.toUtf8();
}

CoverOptions readCoverOptions(const QByteArray& bytes) {
    CoverOptions o;
    QString section;
    for (QString line : QString::fromUtf8(bytes).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        const QString lower = value.toLower();
        if (section == u"front") {
            if (key == u"fill")
                o.fill = lower == u"crop"  ? FrontFill::Crop
                         : lower == u"fit" ? FrontFill::Fit
                                           : FrontFill::Stretch;
            else if (key == u"crop")
                o.crop = rectOf(value);
            else if (key == u"background" && QColor::isValidColorName(value))
                o.background = QColor::fromString(value);
        } else if (section == u"label") {
            if (key == u"hole")
                o.holeMm = value == u"15" ? 15 : 41;
            else if (key == u"tracks")
                o.tracks = lower == u"ring"    ? LabelTracks::Ring
                           : lower == u"block" ? LabelTracks::Block
                                               : LabelTracks::None;
            else if (key == u"crop")
                o.labelCrop = rectOf(value);
            else if (key == u"sheet")
                o.labelSheet = value;
        }
    }
    return o;
}

QRectF cropSquare(QSize picture, const QRectF& crop) {
    const double w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0)
        return QRectF();
    const double most = std::min(w, h);
    if (crop.isEmpty())
        return QRectF((w - most) / 2, (h - most) / 2, most, most);
    // Square in pixels: the side the fractions give across, no larger than the picture.
    const double side = std::clamp(crop.width() * w, 1.0, most);
    const QPointF centre(crop.center().x() * w, crop.center().y() * h);
    const double left = std::clamp(centre.x() - side / 2, 0.0, w - side);
    const double top = std::clamp(centre.y() - side / 2, 0.0, h - side);
    return QRectF(left, top, side, side);
}

QRectF cropFractions(QSize picture, const QRectF& square) {
    if (picture.isEmpty())
        return QRectF();
    return QRectF(square.x() / picture.width(), square.y() / picture.height(),
                  square.width() / picture.width(), square.height() / picture.height());
}

QImage frontImage(const QImage& picture, const CoverOptions& options) {
    if (picture.isNull() || options.fill == FrontFill::Stretch)
        return picture;
    if (options.fill == FrontFill::Crop) {
        const QRect square = cropSquare(picture.size(), options.crop).toAlignedRect() &
                             picture.rect();
        return picture.copy(square);
    }
    const int side = std::max(picture.width(), picture.height());
    QImage square(side, side, QImage::Format_RGB32);
    square.fill(options.background);
    QPainter painter(&square);
    painter.drawImage(QPoint((side - picture.width()) / 2, (side - picture.height()) / 2),
                      picture);
    return square;
}

QSizeF frontDecodeFactor(QSize picture, const CoverOptions& options) {
    if (options.fill != FrontFill::Crop || picture.isEmpty())
        return QSizeF(1, 1);
    const QRectF square = cropSquare(picture, options.crop);
    return QSizeF(picture.width() / square.width(), picture.height() / square.height());
}
