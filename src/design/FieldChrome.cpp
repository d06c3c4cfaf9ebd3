#include "FieldChrome.h"

#include "Ink.h"
#include "Squircle.h"
#include "Theme.h"
#include "Tokens.h"

#include <QPainter>

namespace FieldChrome {

QColor ringColor(qreal focus, qreal accentOpacity)
{
    return mix(Ink::stroke(), withOpacity(Ink::accent(), accentOpacity), focus);
}

qreal ringWidth(qreal focus) { return Stroke::hairline + (Stroke::focus - Stroke::hairline) * focus; }

void paint(QPainter &p, const QRectF &rect, qreal focus, qreal accentOpacity)
{
    p.fillPath(Squircle::path(rect, Radius::s), Ink::surfaceSunken());
    const qreal w = ringWidth(focus);
    p.setPen(QPen(ringColor(focus, accentOpacity), w));
    p.drawPath(Squircle::strokePath(rect, Radius::s, w));
}

} // namespace FieldChrome
