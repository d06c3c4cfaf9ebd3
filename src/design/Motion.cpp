#include "Motion.h"

#include <cmath>

int Animation::durationMs() const
{
    // A spring settles in about 1.2 times its response.
    return int(std::lround(seconds * (kind == Kind::spring ? 1200 : 1000)));
}

QEasingCurve Animation::easing() const
{
    if (kind == Kind::easeOut)
        return QEasingCurve(QEasingCurve::OutCubic);
    if (damping < 0.85) {
        QEasingCurve c(QEasingCurve::OutBack);
        c.setOvershoot(0.6);
        return c;
    }
    return QEasingCurve(QEasingCurve::OutQuart);
}

namespace Motion {

const Animation &snap() { static const Animation a{Animation::Kind::spring, 0.26, 0.82}; return a; }
const Animation &smooth() { static const Animation a{Animation::Kind::spring, 0.38, 0.86}; return a; }
const Animation &gentle() { static const Animation a{Animation::Kind::spring, 0.55, 0.9}; return a; }
const Animation &quick() { static const Animation a{Animation::Kind::easeOut, 0.14, 1}; return a; }
const Animation &metric() { static const Animation a{Animation::Kind::easeOut, 0.5, 1}; return a; }

std::optional<Animation> resolve(const Animation &animation, bool reduceMotion)
{
    if (reduceMotion)
        return std::nullopt;
    return animation;
}

} // namespace Motion
