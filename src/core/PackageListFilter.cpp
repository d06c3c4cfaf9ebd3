#include "PackageListFilter.h"

#include "bridge/NameCollation.h"

#include <QHash>

#include <algorithm>
#include <limits>
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

// Collation keys of the names shown, remembered per thread: a key compares with a
// plain byte comparison, so a keystroke sorts thousands of names without running
// the collator again. Bounded, since labels change from device to device.
std::vector<const QCollatorSortKey *> collationKeys(const std::vector<const AndroidPackage *> &packages,
                                                    QString AndroidPackage::*field)
{
    thread_local QHash<QString, QCollatorSortKey> cache;
    if (cache.size() > 50'000)
        cache.clear();
    const QCollator &collator = NameCollation::collator();
    for (const AndroidPackage *p : packages) {
        const QString &text = p->*field;
        if (cache.constFind(text) == cache.constEnd())
            cache.emplace(text, collator.sortKey(text));
    }
    // No insertion from here on, so the addresses stay valid.
    std::vector<const QCollatorSortKey *> keys;
    keys.reserve(packages.size());
    for (const AndroidPackage *p : packages)
        keys.push_back(&*cache.constFind(p->*field));
    return keys;
}

struct Keyed {
    const QCollatorSortKey *key;
    int rank;
    const AndroidPackage *package;
};

// Stable sort by (rank, collation of `field`); rank order is given by `rankBefore`.
template <typename RankBefore>
void sortByCollation(std::vector<const AndroidPackage *> &packages, QString AndroidPackage::*field,
                     const std::vector<int> &ranks, RankBefore rankBefore)
{
    const auto keys = collationKeys(packages, field);
    std::vector<Keyed> keyed;
    keyed.reserve(packages.size());
    for (size_t i = 0; i < packages.size(); ++i)
        keyed.push_back({keys[i], ranks.empty() ? 0 : ranks[i], packages[i]});
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed &a, const Keyed &b) {
        if (a.rank != b.rank)
            return rankBefore(a.rank, b.rank);
        return a.key->compare(*b.key) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        packages[i] = keyed[i].package;
}

} // namespace

void sortByDisplayName(QList<AndroidPackage> &packages)
{
    std::vector<const AndroidPackage *> order;
    order.reserve(size_t(packages.size()));
    for (const AndroidPackage &p : packages)
        order.push_back(&p);
    sortByCollation(order, &AndroidPackage::displayName, {}, std::less<int>());
    QList<AndroidPackage> sorted;
    sorted.reserve(packages.size());
    for (const AndroidPackage *p : order)
        sorted.append(*p);
    packages = std::move(sorted);
}

bool PackageListQuery::hasActiveFilters() const
{
    return packageFilter != PackageFilter::all || !stateFilters.isEmpty() || !riskFilters.isEmpty()
        || !searchText.trimmed().isEmpty();
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

    switch (query.sortOrder) {
    case PackageSort::name:
        sortByCollation(kept, &AndroidPackage::displayName, {}, std::less<int>());
        break;
    case PackageSort::packageID:
        sortByCollation(kept, &AndroidPackage::name, {}, std::less<int>());
        break;
    case PackageSort::size:
        std::stable_sort(kept.begin(), kept.end(), [](const AndroidPackage *a, const AndroidPackage *b) {
            return a->apkSize.value_or(-1) > b->apkSize.value_or(-1);
        });
        break;
    case PackageSort::risk: {
        std::vector<int> ranks;
        ranks.reserve(kept.size());
        for (const AndroidPackage *p : kept)
            ranks.push_back(int(p->risk().risk));
        sortByCollation(kept, &AndroidPackage::displayName, ranks, std::greater<int>()); // riskiest first
        break;
    }
    case PackageSort::state: {
        std::vector<int> ranks;
        ranks.reserve(kept.size());
        for (const AndroidPackage *p : kept)
            ranks.push_back(stateRank(p->state));
        sortByCollation(kept, &AndroidPackage::displayName, ranks, std::less<int>());
        break;
    }
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
            // Sizes come from the device: saturate rather than overflow.
            const qint64 size = std::max<qint64>(0, p.apkSize.value_or(0));
            if (__builtin_add_overflow(c.reclaimableBytes, size, &c.reclaimableBytes))
                c.reclaimableBytes = std::numeric_limits<qint64>::max();
        }
    }
    return c;
}
