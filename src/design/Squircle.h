#pragma once

#include <QPainterPath>
#include <QRectF>

// The one rounded-shape builder of the design layer: a rectangle with continuous
// ("squircle") corners of `radius`. The corner curve starts 1.28 × radius from the corner so
// the curvature eases in instead of jumping at the tangent point; when the sides are too short
// for that, it falls back to a capsule (a radius of half the shorter side or more, as
// Radius::pill gives) or shortens the run-in.
namespace Squircle {

QPainterPath path(const QRectF &rect, qreal radius);
// The same shape inset by half of `lineWidth`, so a stroke of that width stays inside `rect`.
QPainterPath strokePath(const QRectF &rect, qreal radius, qreal lineWidth);

} // namespace Squircle
