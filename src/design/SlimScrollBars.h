#pragma once

class QAbstractScrollArea;
class QScrollBar;

// Thin scroll bars for the design's scroll areas: a rounded handle in the stroke colour on a
// clear track, no arrows, following the theme. Where the platform's own bars are wide and
// boxed (the Linux styles), they would look foreign beside the painted controls.
namespace SlimScrollBars {

void apply(QAbstractScrollArea *area);
void apply(QScrollBar *bar);
// Every scroll bar of the application, those shown now and every one made later, so lists,
// pages and text views all wear the same bar. Theme::apply calls it; calling it again does
// nothing.
void applyEverywhere();
// Whether `bar` wears the slim style.
bool isSlim(const QScrollBar *bar);

constexpr int kWidth = 10;

} // namespace SlimScrollBars
