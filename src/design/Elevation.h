#pragma once

#include <QtGlobal>

// A shadow level: Ink::shadow scaled by `opacity`, blurred by `radius`, `y` pixels down.
struct Elevation {
    qreal radius = 0;
    qreal y = 0;
    double opacity = 0;

    bool operator==(const Elevation &) const = default;

    static constexpr Elevation flat() { return {0, 0, 0}; }
    static constexpr Elevation low() { return {8, 2, 0.5}; }
    static constexpr Elevation medium() { return {18, 6, 0.7}; }
    static constexpr Elevation high() { return {40, 18, 1.0}; }
};
