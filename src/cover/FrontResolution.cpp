#include "cover/FrontResolution.h"

#include "cover/CoverOptions.h"
#include "platform/Picture.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

int frontPixelsPerInch(QSize pictureSize) {
    if (pictureSize.isEmpty())
        return 0;
    return int(std::floor(std::min(pictureSize.width(), pictureSize.height()) / FrontInches));
}

QSize shownFrontPixels(QSize picture, const CoverOptions& options) {
    if (picture.isEmpty())
        return QSize();
    switch (options.fill) {
    case FrontFill::Stretch:
        return picture;
    case FrontFill::Crop: {
        const int side = int(cropSquare(picture, options.crop).width());
        return QSize(side, side);
    }
    case FrontFill::Fit: {
        const int side = std::max(picture.width(), picture.height());
        return QSize(side, side);
    }
    }
    return picture;
}

QString softFrontWarning(const Picture& front, const CoverOptions& options) {
    if (front.isEmpty())
        return QString();
    const QSize size = front.fullSize().isEmpty() ? front.image().size() : front.fullSize();
    const int ppi = frontPixelsPerInch(shownFrontPixels(size, options));
    if (ppi <= 0 || ppi >= SharpFrontPixelsPerInch)
        return QString();
    return QCoreApplication::translate(
               "FrontResolution",
               "Front picture: %1 pixels per inch at print size — may print soft.")
        .arg(ppi);
}
