#include "Squircle.h"

#include <algorithm>

namespace Squircle {

QPainterPath path(const QRectF &rect, qreal radius)
{
    QPainterPath p;
    if (rect.isEmpty())
        return p;
    const qreal half = std::min(rect.width(), rect.height()) / 2;
    radius = std::max<qreal>(0, radius);
    if (radius <= 0) {
        p.addRect(rect);
        return p;
    }
    if (radius >= half) {
        p.addRoundedRect(rect, half, half);
        return p;
    }
    // Run-in length along each side and the control point distance from the corner,
    // both in radii; the run-in shrinks when the side cannot hold it.
    const qreal run = std::min<qreal>(1.28 * radius, half);
    const qreal ctl = run * 0.30;
    const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    p.moveTo(l + run, t);
    p.lineTo(r - run, t);
    p.cubicTo(r - ctl, t, r, t + ctl, r, t + run);
    p.lineTo(r, b - run);
    p.cubicTo(r, b - ctl, r - ctl, b, r - run, b);
    p.lineTo(l + run, b);
    p.cubicTo(l + ctl, b, l, b - ctl, l, b - run);
    p.lineTo(l, t + run);
    p.cubicTo(l, t + ctl, l + ctl, t, l + run, t);
    p.closeSubpath();
    return p;
}

QPainterPath strokePath(const QRectF &rect, qreal radius, qreal lineWidth)
{
    const qreal inset = lineWidth / 2;
    return path(rect.adjusted(inset, inset, -inset, -inset), std::max<qreal>(0, radius - inset));
}

} // namespace Squircle
