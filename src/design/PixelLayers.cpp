#include "PixelLayers.h"

#include <cmath>

namespace PixelLayers {

QColor clearOf(const QColor &c)
{
    QColor clear = c;
    clear.setAlpha(0);
    return clear;
}

QImage newLayer(const QSize &logical, qreal dpr)
{
    QImage img(QSize(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr))),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

} // namespace PixelLayers
