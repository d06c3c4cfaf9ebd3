#pragma once

#include <QList>

class QWidget;

// Tab goes through a window's widgets in the order they were made, and a widget made later (a
// control a screen makes again for a new value) goes last. A screen whose parts are made at
// different times puts its Tab stops back into reading order: the order its layouts hold them.
namespace TabOrder {

// The widgets under `root` that Tab stops at, in the order of its layouts (each layout's items
// in turn, a widget before what its own layout holds); widgets outside a layout are left out.
QList<QWidget *> stops(QWidget *root);

// Chains stops(root) in that order, where the earliest of them stood in the window's chain.
// Tab goes round a window: with nothing taking focus before them (a screen not yet in its
// window), the stops are ordered as a ring, so call it again once the screen is in its window.
void followLayouts(QWidget *root);

// Keeps `root` in reading order for its life: followLayouts(root) once the event loop runs,
// again after any widget joins its tree (a row made again after the buttons below it) and
// whenever it is shown (in its window at last). A burst of new widgets costs one ordering.
// The places that build screens, windows' contents and sheets call it for what they build.
void keep(QWidget *root);

} // namespace TabOrder
