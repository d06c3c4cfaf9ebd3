#pragma once

#include <QPainterPath>
#include <QRectF>

// The one phone outline of the application: a rounded rectangle with continuous corners whose
// radius is 0.19 × the (inset) width, never below 2 px, so a taller rectangle keeps the same
// corners. `insetAmount` draws the outline that far inside the rectangle it is given; a
// stroke border of line width L is drawn on the outline inset by L / 2.
struct HandsetShape {
    qreal insetAmount = 0;

    bool operator==(const HandsetShape &) const = default;

    HandsetShape inset(qreal amount) const { return {insetAmount + amount}; }
    // The corner radius the outline has in `rect`.
    qreal cornerRadius(const QRectF &rect) const;
    QPainterPath path(const QRectF &rect) const;
    // The outline a border of `lineWidth` is stroked along (kept inside `rect`).
    QPainterPath strokeBorderPath(const QRectF &rect, qreal lineWidth) const;
};
