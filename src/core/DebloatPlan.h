#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/DebloatVerdict.h"
#include "bridge/PresetAction.h"

#include <QList>

// One debloat candidate: a package of the device with the catalogue's verdict on it.
struct DebloatPlanItem {
    AndroidPackage package;
    DebloatVerdict verdict;

    const QString &id() const { return package.name; }

    bool operator==(const DebloatPlanItem &) const = default;
};

// The chosen candidates, in candidate order, and what the run does to each.
struct DebloatPlan {
    QList<DebloatPlanItem> items;
    PresetAction action = PresetAction::disable;

    // Sum of the known APK sizes.
    qint64 reclaimableBytes() const;
    // The greatest risk among the items; safe for an empty plan.
    RemovalRisk highestRisk() const;
    // The items of advanced or critical risk, in plan order.
    QList<DebloatPlanItem> criticalItems() const;
    int systemCount() const;

    bool operator==(const DebloatPlan &) const = default;
};
