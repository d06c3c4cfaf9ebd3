#pragma once

#include "Elevation.h"

#include <QColor>
#include <QImage>
#include <QMarginsF>
#include <QSizeF>

// Blurred drop shadows are expensive in QPainter, so they are rendered once and reused.
namespace ShadowCache {

// How far a shadow of `elevation` reaches beyond its shape on each side.
QMarginsF extent(const Elevation &elevation);
// A box blur run three times (close to a Gaussian of sigma `radius` / 2) over the alpha
// channel of an Alpha8 image, in place.
void blurAlpha(QImage &alpha, qreal radius);
// The shadow of a rounded shape of `size` and `radius` in `color` (opacity already scaled),
// blurred by `blur`: an image of size + 2 × the blur reach, the shape's top-left at
// (reach, reach). Cached by all inputs and the device pixel ratio.
QImage shadow(const QSizeF &size, qreal radius, qreal blur, const QColor &color, qreal devicePixelRatio = 1);
// Pixels of blur around the shape inside the image returned by shadow().
qreal reach(qreal blur);

} // namespace ShadowCache
