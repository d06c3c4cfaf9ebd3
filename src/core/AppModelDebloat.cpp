#include "AppModel.h"


#include <QPointer>

#include <algorithm>

QList<DebloatPlanItem> AppModel::debloatCandidates() const
{
    const QString query = debloatSearchText().trimmed();
    const QSet<RemovalRisk> &risks = debloatRiskFilter();
    QList<DebloatPlanItem> items;
    for (const AndroidPackage &p : packages()) {
        if (p.state != PackageState::enabled)
            continue;
        const DebloatVerdict &verdict = p.risk();
        if (!risks.isEmpty() && !risks.contains(verdict.risk))
            continue;
        if (!query.isEmpty() && !p.displayName.contains(query, Qt::CaseInsensitive)
            && !p.name.contains(query, Qt::CaseInsensitive) && !verdict.summary.contains(query, Qt::CaseInsensitive))
            continue;
        items.append(DebloatPlanItem{p, verdict});
    }
    std::stable_sort(items.begin(), items.end(), [](const DebloatPlanItem &a, const DebloatPlanItem &b) {
        if (a.verdict.risk != b.verdict.risk)
            return a.verdict.risk < b.verdict.risk;
        return a.package.apkSize.value_or(0) > b.package.apkSize.value_or(0);
    });
    return items;
}

QHash<RemovalRisk, int> AppModel::debloatRiskCounts() const
{
    QHash<RemovalRisk, int> counts;
    for (const AndroidPackage &p : packages())
        if (p.state == PackageState::enabled)
            ++counts[p.risk().risk];
    return counts;
}

DebloatPlan AppModel::debloatPlan() const
{
    DebloatPlan plan;
    plan.action = debloatAction();
    for (DebloatPlanItem &item : debloatCandidates())
        if (debloatSelection().contains(item.package.name))
            plan.items.append(std::move(item));
    return plan;
}

void AppModel::toggleDebloatSelection(QString packageName)
{
    debloatSelection.mutate([&](QSet<QString> &s) {
        if (!s.remove(packageName))
            s.insert(packageName);
    });
}

void AppModel::selectAllSafeForDebloat()
{
    QSet<QString> selection = debloatSelection();
    for (const DebloatPlanItem &item : debloatCandidates())
        if (item.verdict.risk == RemovalRisk::safe && item.package.kind == PackageKind::system)
            selection.insert(item.package.name);
    debloatSelection.set(std::move(selection));
}

void AppModel::clearDebloatSelection()
{
    debloatSelection.set({});
}

void AppModel::excludeFromPlan(QString packageName)
{
    if (!debloatSelection().contains(packageName))
        return;
    debloatSelection.mutate([&](QSet<QString> &s) { s.remove(packageName); });
}

void AppModel::runDebloatPlan()
{
    const DebloatPlan plan = debloatPlan();
    if (plan.items.isEmpty())
        return;
    isDebloatReviewPresented.set(false);
    QStringList names;
    for (const DebloatPlanItem &item : plan.items)
        names << item.package.name;
    runDebloatNames(packageAction(plan.action), names); // runs on by itself
}

QCoro::Task<void> AppModel::runDebloatNames(PackageAction action, QStringList names)
{
    QPointer<AppModel> self(this);
    co_await execute(action, names);
    if (!self)
        co_return;
    debloatSelection.mutate([&](QSet<QString> &s) {
        for (const QString &n : names)
            s.remove(n);
    });
}

void AppModel::clearDebloatDeviceState()
{
    debloatSelection.set({});
    isDebloatReviewPresented.set(false);
}
