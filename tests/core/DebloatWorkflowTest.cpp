#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 MB = 1'000'000;

AndroidPackage pkg(const QString &name, PackageKind kind, std::optional<qint64> size,
                   PackageState state = PackageState::enabled, const QString &label = {})
{
    AndroidPackage p(name, std::nullopt, kind, std::nullopt, state);
    p.apkSize = size;
    if (!label.isEmpty())
        p.displayName = label;
    return p;
}

QStringList names(const QList<DebloatPlanItem> &items)
{
    QStringList out;
    for (const auto &i : items)
        out << i.package.name;
    return out;
}

// Safe: the analytics and ad rules, and user packages; review: unknown system packages;
// advanced: com.android.nfc; critical: com.android.settings.
QList<AndroidPackage> catalogue()
{
    return {
        pkg("com.android.nfc", PackageKind::system, 4 * MB),
        pkg("com.android.settings", PackageKind::system, 30 * MB),
        pkg("com.maker.mystery", PackageKind::system, 90 * MB),
        pkg("com.user.game", PackageKind::user, 10 * MB, PackageState::enabled, "Игра"),
        pkg("com.vendor.adservice", PackageKind::system, std::nullopt),
        pkg("com.vendor.analytics", PackageKind::system, 50 * MB),
        pkg("com.vendor.analytics.off", PackageKind::system, 70 * MB, PackageState::disabled),
        pkg("com.vendor.analytics.gone", PackageKind::system, 70 * MB, PackageState::removedForUser),
    };
}

TEST(Debloat, EmptyCatalogue)
{
    ModelHarness h;
    EXPECT_TRUE(h->debloatCandidates().isEmpty());
    EXPECT_TRUE(h->debloatRiskCounts().isEmpty());
    const DebloatPlan plan = h->debloatPlan();
    EXPECT_TRUE(plan.items.isEmpty());
    EXPECT_EQ(plan.highestRisk(), RemovalRisk::safe);
    EXPECT_EQ(plan.reclaimableBytes(), 0);
}

TEST(Debloat, CandidatesFilterAndOrderTable)
{
    ModelHarness h;
    h->packages.set(catalogue());
    struct Case { QSet<RemovalRisk> risks; QString search; QStringList expected; };
    const Case cases[] = {
        // Lower risk first, then larger size; an unknown size counts as 0. Inactive packages never appear.
        {{RemovalRisk::safe, RemovalRisk::review},
         {},
         {"com.vendor.analytics", "com.user.game", "com.vendor.adservice", "com.maker.mystery"}},
        {{},
         {},
         {"com.vendor.analytics", "com.user.game", "com.vendor.adservice", "com.maker.mystery", "com.android.nfc",
          "com.android.settings"}},
        {{RemovalRisk::critical}, {}, {"com.android.settings"}},
        {{}, QStringLiteral("  игра "), {"com.user.game"}},                  // display name, any case
        {{}, QStringLiteral("VENDOR.AD"), {"com.vendor.adservice"}},          // package name
        {{}, QStringLiteral("сбор АНАЛИТИКИ"), {"com.vendor.analytics"}},    // summary, other case
        {{}, QStringLiteral("пользовательские функции не"), {}},             // only in the consequence
    };
    for (const Case &c : cases) {
        h->debloatRiskFilter.set(c.risks);
        h->debloatSearchText.set(c.search);
        EXPECT_EQ(names(h->debloatCandidates()).join(u','), c.expected.join(u',')) << c.search.toStdString();
    }
    // The counts ignore filter and search, and count only enabled packages.
    const QHash<RemovalRisk, int> counts = h->debloatRiskCounts();
    EXPECT_EQ(counts.value(RemovalRisk::safe), 3);
    EXPECT_EQ(counts.value(RemovalRisk::review), 1);
    EXPECT_EQ(counts.value(RemovalRisk::advanced), 1);
    EXPECT_EQ(counts.value(RemovalRisk::critical), 1);
}

TEST(Debloat, PlanFollowsSelectionFilterAndAction)
{
    ModelHarness h;
    h->packages.set(catalogue());
    h->debloatRiskFilter.set({});
    h->toggleDebloatSelection("com.android.nfc");
    h->toggleDebloatSelection("com.maker.mystery");
    h->toggleDebloatSelection("com.vendor.analytics.off"); // selected, but not enabled
    DebloatPlan plan = h->debloatPlan();
    EXPECT_EQ(names(plan.items), (QStringList{"com.maker.mystery", "com.android.nfc"}));
    EXPECT_EQ(plan.action, PresetAction::disable);
    EXPECT_EQ(plan.highestRisk(), RemovalRisk::advanced);
    EXPECT_EQ(plan.criticalItems().size(), 1);
    EXPECT_EQ(plan.reclaimableBytes(), 94 * MB);

    h->debloatSearchText.set(QStringLiteral("mystery"));
    EXPECT_EQ(names(h->debloatPlan().items), QStringList{"com.maker.mystery"});
    EXPECT_TRUE(h->debloatSelection().contains("com.android.nfc")); // hidden, still selected
    h->debloatSearchText.set(QString());
    h->debloatAction.set(PresetAction::uninstall);
    EXPECT_EQ(h->debloatPlan().items.size(), 2);
    EXPECT_EQ(h->debloatPlan().action, PresetAction::uninstall);

    h->toggleDebloatSelection("com.android.nfc");
    h->excludeFromPlan("com.maker.mystery");
    h->excludeFromPlan("com.not.there");
    EXPECT_EQ(h->debloatSelection(), QSet<QString>{"com.vendor.analytics.off"});
    h->clearDebloatSelection();
    EXPECT_TRUE(h->debloatSelection().isEmpty());
}

TEST(Debloat, SelectAllSafeTakesOnlyVisibleSafeSystemPackages)
{
    ModelHarness h;
    h->packages.set(catalogue());
    h->debloatSelection.set({"com.android.nfc"});
    h->selectAllSafeForDebloat();
    EXPECT_EQ(h->debloatSelection(), (QSet<QString>{"com.android.nfc", "com.vendor.analytics", "com.vendor.adservice"}));

    h->debloatSelection.set({});
    h->debloatRiskFilter.set({RemovalRisk::review});
    h->selectAllSafeForDebloat();
    EXPECT_TRUE(h->debloatSelection().isEmpty());

    h->debloatRiskFilter.set({RemovalRisk::safe});
    h->debloatSearchText.set(QStringLiteral("adservice"));
    h->selectAllSafeForDebloat();
    EXPECT_EQ(h->debloatSelection(), QSet<QString>{"com.vendor.adservice"});
}

TEST(Debloat, EmptyPlanDoesNotRun)
{
    ModelHarness h;
    h->packages.set(catalogue());
    h->isDebloatReviewPresented.set(true);
    h->debloatSelection.set({"com.vendor.analytics.off"}); // selected, but no candidate
    h->runDebloatPlan();
    EXPECT_TRUE(h->isDebloatReviewPresented());
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

} // namespace

namespace {

TEST(Debloat, RunExecutesThePlanAndUnselectsItsNames)
{
    ModelHarness h;
    h->devices.set({AndroidDevice{"SER1", "device", "Pixel", "1"}});
    h->selectedDeviceID.set(QStringLiteral("SER1"));
    h->packages.set(catalogue());
    h->debloatRiskFilter.set({RemovalRisk::safe, RemovalRisk::review});
    h->debloatSelection.set({"com.vendor.analytics", "com.user.game", "com.maker.mystery", "com.android.nfc"});
    h->isDebloatReviewPresented.set(true);
    h.fake.setDefault({});
    const QStringList disable{"-s", "SER1", "shell", "pm", "disable-user", "--user", "0"};
    h.fake.on(disable + QStringList{"com.user.game"}, {.err = "boom", .exit = 1});
    h->runDebloatPlan();
    EXPECT_FALSE(h->isDebloatReviewPresented());
    h->toggleDebloatSelection("com.vendor.adservice"); // chosen while the plan runs
    ASSERT_TRUE(waitUntil([&] { return !h->recentOperations().isEmpty(); }));
    ASSERT_TRUE(waitUntil([&] { return !h->debloatSelection().contains("com.user.game"); }));
    QList<QStringList> disables;
    for (const QStringList &c : h.fake.calls())
        if (c.contains(QStringLiteral("disable-user")))
            disables << c;
    EXPECT_EQ(disables, (QList<QStringList>{disable + QStringList{"com.vendor.analytics"},
                                            disable + QStringList{"com.user.game"},
                                            disable + QStringList{"com.maker.mystery"}}));
    EXPECT_FALSE(h->recentOperations().first().succeeded);
    // The three that ran left the selection, the hidden one and the new one stay.
    EXPECT_EQ(h->debloatSelection(), (QSet<QString>{"com.android.nfc", "com.vendor.adservice"}));
}

} // namespace
