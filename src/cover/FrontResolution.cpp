#include "cover/FrontResolution.h"

#include "platform/Picture.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

int frontPixelsPerInch(QSize pictureSize) {
    if (pictureSize.isEmpty())
        return 0;
    return int(std::floor(std::min(pictureSize.width(), pictureSize.height()) / FrontInches));
}

QString softFrontWarning(const Picture& front) {
    if (front.isEmpty())
        return QString();
    const QSize size = front.fullSize().isEmpty() ? front.image().size() : front.fullSize();
    const int ppi = frontPixelsPerInch(size);
    if (ppi <= 0 || ppi >= SharpFrontPixelsPerInch)
        return QString();
    return QCoreApplication::translate(
               "FrontResolution",
               "Front picture: %1 pixels per inch at print size — may print soft.")
        .arg(ppi);
}
