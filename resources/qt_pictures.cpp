#include "resources/qt_pictures.h"

#include <QImage>
#include <QtMath>

namespace resources {

namespace {

QString pathFor(const QString &name, int scale)
{
    return scale == 1 ? QStringLiteral(":/%1.png").arg(name) : QStringLiteral(":/%1@%2x.png").arg(name).arg(scale);
}

} // namespace

QPixmap picture(const QString &name, qreal devicePixelRatio)
{
    constexpr int LargestScale = 3;
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int scale = qBound(1, qCeil(ratio - 1e-9), LargestScale);

    const QImage natural(pathFor(name, 1));
    QImage image(pathFor(name, scale));
    if (natural.isNull() || image.isNull())
        return {};

    const QSize device(qRound(natural.width() * ratio), qRound(natural.height() * ratio));
    if (image.size() != device)
        image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace resources
