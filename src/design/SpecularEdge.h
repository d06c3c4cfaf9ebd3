#pragma once

#include <QPainter>
#include <QRectF>

// The lit upper rim of a rounded shape: a 1 px inside stroke whose gradient runs from
// Ink::specular at `intensity` (top) through 0.25 × intensity (28 %) to clear (62 %), added
// with the plus blend so it only brightens. Draws nothing at intensity 0.
namespace SpecularEdge {

void paint(QPainter &painter, const QRectF &rect, qreal radius, double intensity = 1.0);

} // namespace SpecularEdge
