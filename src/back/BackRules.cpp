#include "back/BackRules.h"

#include "support/StringHelpers.h"

#include <QPainter>

namespace BackRules {

QString trimLine(const QString& line) {
    return trimTrailingSpaces(trimLeadingSpaces(line));
}

QString nameFromLines(const QStringList& lines) {
    const QString first = lines.isEmpty() ? QString() : trimLine(lines[0]);
    if (first.size() >= 10)
        return first;
    return lines.size() > 1 ? trimLine(lines[1]) : QString();
}

void copyEditorPixels(const QImage& windowPixels, QImage& backPicture) {
    QPainter painter(&backPicture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const qreal ratio = windowPixels.devicePixelRatio();
    if (ratio == 1.0) {
        painter.drawImage(CopyTarget, windowPixels, CopySource);
        return;
    }
    // A grab on a scaled screen holds `ratio` pixels per client pixel; the painter reads the
    // source in the image's own pixels, so the client rectangle is scaled to them.
    const QRectF source(CopySource.x() * ratio, CopySource.y() * ratio, CopySource.width() * ratio,
                        CopySource.height() * ratio);
    QImage pixels = windowPixels;
    pixels.setDevicePixelRatio(1.0);
    painter.drawImage(QRectF(CopyTarget), pixels, source);
}

} // namespace BackRules
