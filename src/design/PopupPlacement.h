#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a menu or popover opened from a control goes, in global coordinates. It keeps inside
// the control's window where it fits there (so a menu at the window's right edge opens
// leftwards), and always inside the window's screen.
namespace PopupPlacement {

// Under `anchor`, its leading edge on the anchor's, or its trailing edge on the anchor's when
// that keeps it in; above the anchor when there is no room below.
QPoint below(const QWidget *anchor, QSize size, int gap = 2);
// Beside `anchor`, its top on the anchor's: on the trailing side, else on the leading side.
QPoint beside(const QWidget *anchor, QSize size, int gap);
// The room a popup of `anchor` has: its window within its screen, or the screen alone along a
// side the window is too small for.
QRect room(const QWidget *anchor, QSize size);

} // namespace PopupPlacement
