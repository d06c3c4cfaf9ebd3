#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/RemovalRisk.h"

#include <QCollator>
#include <QList>
#include <QSet>

inline size_t qHash(PackageState state, size_t seed = 0) noexcept { return ::qHash(int(state), seed); }

// The Applications list's filter and sort settings.
struct PackageListQuery {
    QString searchText;
    PackageFilter packageFilter = PackageFilter::all;
    QSet<PackageState> stateFilters;
    QSet<RemovalRisk> riskFilters;
    PackageSort sortOrder = PackageSort::name;
    bool sortAscending = true;

    // Any filter (not the sort) differs from its initial value; blank search is none.
    bool hasActiveFilters() const;
};

// Counts over a whole catalogue; filters and search do not apply.
struct PackageCounts {
    int userPackageCount = 0;
    int systemPackageCount = 0;
    int disabledPackageCount = 0;
    int removedPackageCount = 0;
    int reclaimableCount = 0;      // system, enabled and safe to remove
    qint64 reclaimableBytes = 0;   // their known sizes

    bool operator==(const PackageCounts &) const = default;
};

// Keeps the packages that pass the kind, state, risk and search tests, in a stable
// sort by the chosen order, reversed as a whole when descending.
QList<AndroidPackage> displayedPackages(const QList<AndroidPackage> &packages, const PackageListQuery &query);

// Stable sort by display name under the collator above.
void sortByDisplayName(QList<AndroidPackage> &packages);

PackageCounts countPackages(const QList<AndroidPackage> &packages);
