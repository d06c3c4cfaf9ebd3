#pragma once

#include "core/DebloatPlan.h"

#include <QList>
#include <QSet>
#include <QString>

// One category of the Debloat list: its candidates in candidate order.
struct DebloatGroup {
    QString category;
    QList<DebloatPlanItem> items;

    RemovalRisk lowestRisk() const; // safe for an empty group
    qint64 bytes() const;           // the known APK sizes added up (saturating)
};

// One line of the Debloat list: a category heading or a candidate of that category.
struct DebloatEntry {
    enum class Kind { header, row };
    Kind kind = Kind::row;
    QString category;
    int count = 0;    // header: candidates in the group
    qint64 bytes = 0; // header: their known APK sizes
    DebloatPlanItem item; // row
    bool isFirst = false;
    bool isLast = false;
    bool isSelected = false;

    // "h:" + category for a heading, "r:" + package name for a candidate.
    QString id() const;
    // Whether the two draw the same. Unlike ==, icons shared by both compare by address first.
    bool looksLike(const DebloatEntry &other) const;
    bool operator==(const DebloatEntry &) const = default;
};

namespace DebloatGroups {
// The candidates grouped by category. Lower lowest risk first, then larger groups first; groups
// equal in both keep the order in which their categories first appear among the candidates, so
// the list never reorders when nothing but the selection changed.
QList<DebloatGroup> groups(const QList<DebloatPlanItem> &candidates);
// Each group as its heading followed by its candidates.
QList<DebloatEntry> entries(const QList<DebloatGroup> &groups, const QSet<QString> &selection);
QList<DebloatEntry> entries(const QList<DebloatPlanItem> &candidates, const QSet<QString> &selection);
} // namespace DebloatGroups
