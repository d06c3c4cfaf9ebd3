#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// Small tools for pictures drawn into cached premultiplied images and copied to the screen.
namespace PixelLayers {

// `c` with no alpha: the end of a gradient that fades that colour out.
QColor clearOf(const QColor &c);
// A transparent premultiplied image of `logical` size at `dpr`.
QImage newLayer(const QSize &logical, qreal dpr);

// Every channel of a premultiplied pixel times a / 255, two channels per multiply.
inline uint byteMul(uint x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return x | t;
}

} // namespace PixelLayers
