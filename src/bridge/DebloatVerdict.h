#pragma once

#include "RemovalRisk.h"

#include <QString>

// What removing a package risks, what it is, what stops working and where it is grouped.
struct DebloatVerdict {
    RemovalRisk risk = RemovalRisk::review;
    QString summary;
    QString consequence;
    QString category;

    bool operator==(const DebloatVerdict &) const = default;
};
