#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

AndroidPackage pkg(const char *name, const char *label, PackageKind kind, PackageState state = PackageState::enabled,
                   std::optional<qint64> size = std::nullopt)
{
    std::optional<PackageMetadata> meta;
    if (label)
        meta = PackageMetadata{QString::fromUtf8(name), QString::fromUtf8(label), size.value_or(0), std::nullopt};
    AndroidPackage p(QString::fromUtf8(name), QStringLiteral("/a.apk"), kind, meta, state);
    if (!size)
        p.apkSize = std::nullopt;
    return p;
}

QStringList names(const QList<AndroidPackage> &list)
{
    QStringList result;
    for (const auto &p : list)
        result << p.name;
    return result;
}

// Catalogue order matters for the stable sorts; risks from the catalogue:
// gms critical, launcher3 critical, camera2 advanced, youtube safe, org.* fallbacks.
QList<AndroidPackage> catalogue()
{
    return {
        pkg("org.example.notes", "заметки", PackageKind::user, PackageState::enabled, 300),
        pkg("com.google.android.youtube", "YouTube", PackageKind::system, PackageState::enabled, 900),
        pkg("com.google.android.gms", "Сервисы", PackageKind::system, PackageState::disabled, 5000),
        pkg("com.android.camera2", "Камера", PackageKind::system, PackageState::enabled),
        pkg("org.example.Notes2", "Заметки", PackageKind::user, PackageState::removedForUser),
        pkg("com.android.launcher3", "Launcher", PackageKind::system, PackageState::enabled, 100),
    };
}

TEST(PackageListFilter, SortOrdersAndDirections)
{
    ModelHarness h;
    h->packages.set(catalogue());
    struct Case { PackageSort sort; bool ascending; QStringList expected; };
    const QList<Case> cases = {
        // Case-insensitive equals keep catalogue order; Cyrillic sorts before Latin.
        {PackageSort::name, true, {"org.example.notes", "org.example.Notes2", "com.android.camera2", "com.google.android.gms",
                                   "com.android.launcher3", "com.google.android.youtube"}},
        {PackageSort::name, false, {"com.google.android.youtube", "com.android.launcher3", "com.google.android.gms",
                                    "com.android.camera2", "org.example.Notes2", "org.example.notes"}},
        {PackageSort::packageID, true, {"com.android.camera2", "com.android.launcher3", "com.google.android.gms",
                                        "com.google.android.youtube", "org.example.notes", "org.example.Notes2"}},
        {PackageSort::size, true, {"com.google.android.gms", "com.google.android.youtube", "org.example.notes",
                                   "com.android.launcher3", "com.android.camera2", "org.example.Notes2"}},
        {PackageSort::size, false, {"org.example.Notes2", "com.android.camera2", "com.android.launcher3",
                                    "org.example.notes", "com.google.android.youtube", "com.google.android.gms"}},
        {PackageSort::risk, true, {"com.google.android.gms", "com.android.launcher3", "com.android.camera2",
                                   "org.example.notes", "org.example.Notes2", "com.google.android.youtube"}},
        {PackageSort::state, true, {"com.google.android.gms", "org.example.notes", "com.android.camera2",
                                    "com.android.launcher3", "com.google.android.youtube", "org.example.Notes2"}},
    };
    for (const Case &c : cases) {
        h->sortOrder.set(c.sort);
        h->sortAscending.set(c.ascending);
        EXPECT_EQ(names(h->displayedPackages()), c.expected) << rawValue(c.sort).toStdString() << " " << c.ascending;
    }
}

TEST(PackageListFilter, FiltersWorkTogether)
{
    ModelHarness h;
    h->packages.set(catalogue());
    h->searchText.set(QStringLiteral("  \n"));
    EXPECT_FALSE(h->hasActiveFilters());
    EXPECT_EQ(h->displayedPackages().size(), 6);

    h->searchText.set(QStringLiteral(" GOOGLE "));
    EXPECT_EQ(names(h->displayedPackages()), (QStringList{"com.google.android.gms", "com.google.android.youtube"}));
    h->searchText.set(QStringLiteral("камер")); // the label only
    EXPECT_EQ(names(h->displayedPackages()), QStringList{"com.android.camera2"});

    h->searchText.set(QStringLiteral("o"));
    h->packageFilter.set(PackageFilter::system);
    h->toggleStateFilter(PackageState::enabled);
    h->toggleStateFilter(PackageState::disabled);
    h->toggleRiskFilter(RemovalRisk::critical);
    EXPECT_EQ(names(h->displayedPackages()), (QStringList{"com.google.android.gms", "com.android.launcher3"}));
    h->toggleStateFilter(PackageState::disabled);
    EXPECT_EQ(names(h->displayedPackages()), QStringList{"com.android.launcher3"});
    h->toggleStateFilter(PackageState::disabled);
    EXPECT_EQ(h->stateFilters(), (QSet<PackageState>{PackageState::enabled, PackageState::disabled}));

    h->sortOrder.set(PackageSort::size);
    EXPECT_TRUE(h->hasActiveFilters());
    h->clearFilters();
    EXPECT_FALSE(h->hasActiveFilters());
    EXPECT_EQ(h->sortOrder(), PackageSort::size);
    EXPECT_EQ(h->searchText(), QString());
    EXPECT_EQ(h->displayedPackages().size(), 6);
}

TEST(PackageListFilter, CountsOverTheWholeCatalogue)
{
    ModelHarness h;
    EXPECT_EQ(h->reclaimableBytes(), 0);
    EXPECT_EQ(h->userPackageCount() + h->systemPackageCount(), 0);
    auto list = catalogue();
    list << pkg("com.netflix.mediaclient", nullptr, PackageKind::system)            // safe, unknown size
         << pkg("com.spotify.music", "Spotify", PackageKind::system, PackageState::removedForUser, 70);
    h->packages.set(list);
    h->searchText.set(QStringLiteral("nothing matches"));
    EXPECT_EQ(h->userPackageCount(), 2);
    EXPECT_EQ(h->systemPackageCount(), 6);
    EXPECT_EQ(h->disabledPackageCount(), 1);
    EXPECT_EQ(h->removedPackageCount(), 2);
    EXPECT_EQ(h->reclaimableCount(), 2); // youtube and netflix; the removed one never counts
    EXPECT_EQ(h->reclaimableBytes(), 900);
}

TEST(PackageListFilter, ReclaimableBytesSaturateInsteadOfOverflowing)
{
    ModelHarness h;
    const qint64 huge = std::numeric_limits<qint64>::max() - 10;
    h->packages.set({pkg("com.netflix.mediaclient", "A", PackageKind::system, PackageState::enabled, huge),
                     pkg("com.spotify.music", "B", PackageKind::system, PackageState::enabled, huge)});
    EXPECT_EQ(h->reclaimableCount(), 2);
    EXPECT_EQ(h->reclaimableBytes(), std::numeric_limits<qint64>::max());
}

} // namespace
