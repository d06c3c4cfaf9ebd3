#pragma once

class QAbstractScrollArea;

// Thin scroll bars for the design's scroll areas: a rounded handle in the stroke colour on a
// clear track, no arrows, following the theme. Where the platform's own bars are wide and
// boxed (the Linux styles), they would look foreign beside the painted controls.
namespace SlimScrollBars {

void apply(QAbstractScrollArea *area);

constexpr int kWidth = 10;

} // namespace SlimScrollBars
