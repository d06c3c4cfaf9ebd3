#include "DebloatPlan.h"

qint64 DebloatPlan::reclaimableBytes() const
{
    qint64 total = 0;
    for (const DebloatPlanItem &item : items)
        total += item.package.apkSize.value_or(0);
    return total;
}

RemovalRisk DebloatPlan::highestRisk() const
{
    RemovalRisk highest = RemovalRisk::safe;
    for (const DebloatPlanItem &item : items)
        if (item.verdict.risk > highest)
            highest = item.verdict.risk;
    return highest;
}

QList<DebloatPlanItem> DebloatPlan::criticalItems() const
{
    QList<DebloatPlanItem> out;
    for (const DebloatPlanItem &item : items)
        if (item.verdict.risk >= RemovalRisk::advanced)
            out << item;
    return out;
}

int DebloatPlan::systemCount() const
{
    int count = 0;
    for (const DebloatPlanItem &item : items)
        count += item.package.kind == PackageKind::system ? 1 : 0;
    return count;
}
