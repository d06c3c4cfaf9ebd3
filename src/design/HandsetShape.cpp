#include "HandsetShape.h"

#include "Squircle.h"

#include <algorithm>

qreal HandsetShape::cornerRadius(const QRectF &rect) const
{
    const QRectF inner = rect.adjusted(insetAmount, insetAmount, -insetAmount, -insetAmount);
    return std::max<qreal>(inner.width() * 0.19, 2);
}

QPainterPath HandsetShape::path(const QRectF &rect) const
{
    const QRectF inner = rect.adjusted(insetAmount, insetAmount, -insetAmount, -insetAmount);
    return Squircle::path(inner, cornerRadius(rect));
}

QPainterPath HandsetShape::strokeBorderPath(const QRectF &rect, qreal lineWidth) const
{
    return inset(lineWidth / 2).path(rect);
}
