#pragma once

#include <QtGlobal>

// Measures in logical pixels (one device-independent pixel each).
namespace Space {
inline constexpr qreal xxs = 2;
inline constexpr qreal xs = 4;
inline constexpr qreal s = 8;
inline constexpr qreal m = 12;
inline constexpr qreal l = 16;
inline constexpr qreal xl = 22;
inline constexpr qreal xxl = 30;
inline constexpr qreal xxxl = 44;
// Outer margin of screens and screen headers.
inline constexpr qreal gutter = 24;
} // namespace Space

// Corner radii; every rounded shape uses the continuous corner path (Squircle.h).
namespace Radius {
inline constexpr qreal xs = 5;
inline constexpr qreal s = 8;
inline constexpr qreal m = 11;
inline constexpr qreal l = 15;
inline constexpr qreal xl = 20;
// Large enough to give any control fully round ends.
inline constexpr qreal pill = 999;
} // namespace Radius

namespace Stroke {
inline constexpr qreal hairline = 1;
inline constexpr qreal focus = 2;
} // namespace Stroke
