#include "DebloatGroups.h"

#include <QHash>

#include <algorithm>
#include <limits>

RemovalRisk DebloatGroup::lowestRisk() const
{
    if (items.isEmpty())
        return RemovalRisk::safe;
    RemovalRisk lowest = items.first().verdict.risk;
    for (const DebloatPlanItem &item : items)
        lowest = std::min(lowest, item.verdict.risk);
    return lowest;
}

qint64 DebloatGroup::bytes() const
{
    qint64 total = 0;
    for (const DebloatPlanItem &item : items)
        if (item.package.apkSize && __builtin_add_overflow(total, *item.package.apkSize, &total))
            return std::numeric_limits<qint64>::max();
    return total;
}

QString DebloatEntry::id() const
{
    return kind == Kind::header ? QStringLiteral("h:") + category : QStringLiteral("r:") + item.package.name;
}

bool DebloatEntry::looksLike(const DebloatEntry &other) const
{
    if (kind != other.kind || isFirst != other.isFirst || isLast != other.isLast || isSelected != other.isSelected
        || count != other.count || bytes != other.bytes || category != other.category)
        return false;
    if (kind == Kind::header)
        return true;
    const AndroidPackage &a = item.package, &b = other.item.package;
    if (a.name != b.name || a.displayName != b.displayName || a.apkSize != b.apkSize || a.kind != b.kind
        || a.state != b.state || a.apkPath != b.apkPath || item.verdict != other.item.verdict)
        return false;
    if (a.iconData.has_value() != b.iconData.has_value())
        return false;
    return !a.iconData || a.iconData->constData() == b.iconData->constData() || *a.iconData == *b.iconData;
}

namespace DebloatGroups {

QList<DebloatGroup> groups(const QList<DebloatPlanItem> &candidates)
{
    QList<DebloatGroup> out;
    QHash<QString, qsizetype> slot;
    for (const DebloatPlanItem &item : candidates) {
        const auto found = slot.constFind(item.verdict.category);
        if (found != slot.cend()) {
            out[*found].items.append(item);
            continue;
        }
        slot.insert(item.verdict.category, out.size());
        out.append(DebloatGroup{item.verdict.category, {item}});
    }
    // Stable: groups that tie stay in order of first appearance.
    std::vector<std::pair<RemovalRisk, qsizetype>> keys;
    keys.reserve(out.size());
    for (const DebloatGroup &g : out)
        keys.emplace_back(g.lowestRisk(), g.items.size());
    std::vector<qsizetype> order(out.size());
    for (qsizetype i = 0; i < out.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (keys[a].first != keys[b].first)
            return keys[a].first < keys[b].first;
        return keys[a].second > keys[b].second;
    });
    QList<DebloatGroup> sorted;
    sorted.reserve(out.size());
    for (qsizetype i : order)
        sorted.append(std::move(out[i]));
    return sorted;
}

QList<DebloatEntry> entries(const QList<DebloatGroup> &groups, const QSet<QString> &selection)
{
    QList<DebloatEntry> out;
    qsizetype total = 0;
    for (const DebloatGroup &g : groups)
        total += g.items.size() + 1;
    out.reserve(total);
    for (const DebloatGroup &g : groups) {
        DebloatEntry header;
        header.kind = DebloatEntry::Kind::header;
        header.category = g.category;
        header.count = int(g.items.size());
        header.bytes = g.bytes();
        out.append(std::move(header));
        for (qsizetype i = 0; i < g.items.size(); ++i) {
            DebloatEntry row;
            row.category = g.category;
            row.item = g.items.at(i);
            row.isFirst = i == 0;
            row.isLast = i == g.items.size() - 1;
            row.isSelected = selection.contains(row.item.package.name);
            out.append(std::move(row));
        }
    }
    return out;
}

QList<DebloatEntry> entries(const QList<DebloatPlanItem> &candidates, const QSet<QString> &selection)
{
    return entries(groups(candidates), selection);
}

} // namespace DebloatGroups
