#include "PackageListFilter.h"

#include <QLocale>

#include <algorithm>
#include <vector>

namespace {

bool kindPasses(PackageFilter filter, PackageKind kind)
{
    switch (filter) {
    case PackageFilter::all: return true;
    case PackageFilter::user: return kind == PackageKind::user;
    case PackageFilter::system: return kind == PackageKind::system;
    }
    return true;
}

// The order of the raw values as plain strings: "disabled", "enabled", "removedForUser".
int stateRank(PackageState state)
{
    switch (state) {
    case PackageState::disabled: return 0;
    case PackageState::enabled: return 1;
    case PackageState::removedForUser: return 2;
    }
    return 3;
}

} // namespace

bool PackageListQuery::hasActiveFilters() const
{
    return packageFilter != PackageFilter::all || !stateFilters.isEmpty() || !riskFilters.isEmpty()
        || !searchText.trimmed().isEmpty();
}

const QCollator &packageNameCollator()
{
    thread_local const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

QList<AndroidPackage> displayedPackages(const QList<AndroidPackage> &packages, const PackageListQuery &query)
{
    const QString needle = query.searchText.trimmed();
    std::vector<const AndroidPackage *> kept;
    kept.reserve(size_t(packages.size()));
    for (const AndroidPackage &p : packages) {
        if (!kindPasses(query.packageFilter, p.kind))
            continue;
        if (!query.stateFilters.isEmpty() && !query.stateFilters.contains(p.state))
            continue;
        if (!query.riskFilters.isEmpty() && !query.riskFilters.contains(p.risk().risk))
            continue;
        if (!needle.isEmpty() && !p.displayName.contains(needle, Qt::CaseInsensitive)
            && !p.name.contains(needle, Qt::CaseInsensitive))
            continue;
        kept.push_back(&p);
    }

    const QCollator &collator = packageNameCollator();
    auto byDisplayName = [&](const AndroidPackage *a, const AndroidPackage *b) {
        return collator.compare(a->displayName, b->displayName) < 0;
    };
    switch (query.sortOrder) {
    case PackageSort::name:
        std::stable_sort(kept.begin(), kept.end(), byDisplayName);
        break;
    case PackageSort::packageID:
        std::stable_sort(kept.begin(), kept.end(), [&](const AndroidPackage *a, const AndroidPackage *b) {
            return collator.compare(a->name, b->name) < 0;
        });
        break;
    case PackageSort::size:
        std::stable_sort(kept.begin(), kept.end(), [](const AndroidPackage *a, const AndroidPackage *b) {
            return a->apkSize.value_or(-1) > b->apkSize.value_or(-1);
        });
        break;
    case PackageSort::risk: {
        // Look each verdict up once, not once per comparison.
        std::vector<std::pair<int, const AndroidPackage *>> keyed;
        keyed.reserve(kept.size());
        for (const AndroidPackage *p : kept)
            keyed.emplace_back(int(p->risk().risk), p);
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto &a, const auto &b) {
            if (a.first != b.first)
                return a.first > b.first;
            return byDisplayName(a.second, b.second);
        });
        for (size_t i = 0; i < keyed.size(); ++i)
            kept[i] = keyed[i].second;
        break;
    }
    case PackageSort::state:
        std::stable_sort(kept.begin(), kept.end(), [&](const AndroidPackage *a, const AndroidPackage *b) {
            if (a->state != b->state)
                return stateRank(a->state) < stateRank(b->state);
            return byDisplayName(a, b);
        });
        break;
    }
    if (!query.sortAscending)
        std::reverse(kept.begin(), kept.end());

    QList<AndroidPackage> result;
    result.reserve(qsizetype(kept.size()));
    for (const AndroidPackage *p : kept)
        result.append(*p);
    return result;
}

PackageCounts countPackages(const QList<AndroidPackage> &packages)
{
    PackageCounts c;
    for (const AndroidPackage &p : packages) {
        if (p.kind == PackageKind::user)
            ++c.userPackageCount;
        else
            ++c.systemPackageCount;
        if (p.state == PackageState::disabled)
            ++c.disabledPackageCount;
        if (p.state == PackageState::removedForUser)
            ++c.removedPackageCount;
        if (p.kind == PackageKind::system && p.state == PackageState::enabled && p.risk().risk == RemovalRisk::safe) {
            ++c.reclaimableCount;
            c.reclaimableBytes += p.apkSize.value_or(0);
        }
    }
    return c;
}
