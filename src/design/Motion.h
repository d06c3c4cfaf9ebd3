#pragma once

#include <QEasingCurve>

#include <optional>

// An animation token: a spring (response, damping fraction) or an ease-out of a duration.
struct Animation {
    enum class Kind { spring, easeOut };
    Kind kind = Kind::easeOut;
    double seconds = 0;     // response of a spring, duration of an ease-out
    double damping = 1;     // springs only

    bool operator==(const Animation &) const = default;

    // How long the animation runs in Qt's animation framework.
    int durationMs() const;
    // The curve that stands in for the spring (a slight overshoot below damping 0.85).
    QEasingCurve easing() const;
};

namespace Motion {

const Animation &snap();
const Animation &smooth();
const Animation &gentle();
const Animation &quick();
const Animation &metric();

// The animation unchanged, or none when reduce motion is on (the change then applies at once).
std::optional<Animation> resolve(const Animation &animation, bool reduceMotion);

} // namespace Motion
