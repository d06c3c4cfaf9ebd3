#pragma once

#include <QColor>
#include <QRectF>

class QAbstractItemView;
class QPainter;
class QStyleOptionViewItem;
class QWidget;

// How a control shows that it has the keyboard focus: a ring of Stroke::focus in the accent
// (at 0.7, whole with increased contrast) along its shape, and a hairline of the canvas just
// inside it, so the ring also reads on an accent fill. The ring lies inside the control's
// rectangle, so neighbours and clipping parents never cut it.
//
// As on the desktop, the ring shows only while the focus is worked from the keyboard: a click
// that focuses a button does not ring it, the next key press does.
namespace FocusRing {

QColor color();
// The ring and its inner hairline, inside `rect` with corners of `radius`.
void paint(QPainter &p, const QRectF &rect, qreal radius);
// Whether `w` shows its focus now: it has the keyboard focus and the last input was a key.
bool isShown(const QWidget *w);
// `paint` when `w` shows its focus.
void paintIfShown(QPainter &p, const QWidget *w, const QRectF &rect, qreal radius);
// For delegates: whether the row of `option` is the current row of a view that shows its focus.
bool isShown(const QStyleOptionViewItem &option);
// For delegates: the ring inside `rect` when the row of `option` shows the view's focus.
void paintRow(QPainter &p, const QStyleOptionViewItem &option, const QRectF &rect, qreal radius);
// A list shows its focus also while no row of it can: with no current row (an empty list) or
// with the current row scrolled out of sight, the ring goes along its viewport, over the rows.
void followView(QAbstractItemView *view);
// A container that shows the focus of a control inside it (the well around a text view): the
// ring along the container's edge, over what it paints, while `control` shows its focus.
void followChild(QWidget *container, QWidget *control, qreal radius);
// What shows the focus of `control`: the container that follows it, or the control itself.
QWidget *shownBy(QWidget *control);
// Whether the last input was a key (rather than the pointer).
bool keyboardInput();
// Sets the last input, as a key or a click would (for tests of one control).
void setKeyboardInput(bool keyboard);

} // namespace FocusRing
