#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The sunken, rounded well of a text field and its focus ring. `focus` (0…1) eases the ring
// from a hairline in the stroke colour to a thicker ring of the accent at `accentOpacity`.
namespace FieldChrome {
QColor ringColor(qreal focus, qreal accentOpacity);
qreal ringWidth(qreal focus);
void paint(QPainter &p, const QRectF &rect, qreal focus, qreal accentOpacity);
} // namespace FieldChrome
