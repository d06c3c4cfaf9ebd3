#pragma once

#include "Motion.h"

#include <QAbstractAnimation>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

// Fades and slides of one widget. A transition owns its opacity effect and its animation, both
// children of the widget, so deleting the widget ends it, and nothing outside keeps a pointer to
// either. Starting a transition on a widget first settles the one running there (its end state
// and its `done` apply), so two never drive one widget and an effect is never deleted under a
// running animation. With no animation (reduce motion resolved the token to none) the end state
// and `done` apply at once.
//
// `step` and `done` run while the widget exists; what else they capture must outlive the widget.
namespace Transition {

struct Ends {
    // From → to; the widget draws through an opacity effect only while the value is below 1.
    std::optional<std::pair<qreal, qreal>> opacity;
    // From → to, in the parent's coordinates: the widget is moved.
    std::optional<std::pair<QPoint, QPoint>> position;
};

struct Hooks {
    // Each frame, with the eased progress from 0 to 1 (and 1 when the transition settles).
    std::function<void(qreal)> step;
    // Once, after the end state applied (also when settled early or run without animation).
    std::function<void()> done;
};

// Starts a transition of `widget` under `animation` (none: at once).
void run(QWidget *widget, const std::optional<Animation> &animation, const Ends &ends, Hooks hooks = {});

// Ends the transition running on `widget`, if any, in its end state.
void settle(QWidget *widget);

bool isRunning(const QWidget *widget);

// The animation of the transition running on `widget` (null when none), for a test that holds
// it at a known point.
QAbstractAnimation *animation(const QWidget *widget);

// The opacity a transition leaves `widget` drawn with (1 without an effect of ours).
qreal opacity(const QWidget *widget);

} // namespace Transition
