#include "core/DebloatPlan.h"

#include <gtest/gtest.h>

namespace {

DebloatPlanItem item(const QString &name, RemovalRisk risk, PackageKind kind, std::optional<qint64> size)
{
    AndroidPackage p(name, std::nullopt, kind);
    p.apkSize = size;
    return DebloatPlanItem{p, DebloatVerdict{risk, QStringLiteral("s"), QStringLiteral("c"), QStringLiteral("k")}};
}

TEST(DebloatPlanRecords, DerivedValues)
{
    const DebloatPlan empty;
    EXPECT_EQ(empty.reclaimableBytes(), 0);
    EXPECT_EQ(empty.highestRisk(), RemovalRisk::safe);
    EXPECT_TRUE(empty.criticalItems().isEmpty());
    EXPECT_EQ(empty.systemCount(), 0);

    const DebloatPlan plan{{item("a", RemovalRisk::review, PackageKind::system, 10),
                            item("b", RemovalRisk::advanced, PackageKind::user, std::nullopt),
                            item("c", RemovalRisk::safe, PackageKind::system, 5'000'000'000)},
                           PresetAction::uninstall};
    EXPECT_EQ(plan.reclaimableBytes(), 5'000'000'010); // sizes past 32 bits add up
    EXPECT_EQ(plan.highestRisk(), RemovalRisk::advanced);
    ASSERT_EQ(plan.criticalItems().size(), 1);
    EXPECT_EQ(plan.criticalItems().first().id(), QStringLiteral("b"));
    EXPECT_EQ(plan.systemCount(), 2);

    const DebloatPlan critical{{item("x", RemovalRisk::critical, PackageKind::system, 1)}, PresetAction::disable};
    EXPECT_EQ(critical.criticalItems().size(), 1);
    EXPECT_EQ(critical.highestRisk(), RemovalRisk::critical);
}

TEST(DebloatPlanRecords, EqualityCoversOrderAndAction)
{
    const auto a = item("a", RemovalRisk::safe, PackageKind::system, 1);
    const auto b = item("b", RemovalRisk::safe, PackageKind::system, 1);
    EXPECT_EQ((DebloatPlan{{a, b}, PresetAction::disable}), (DebloatPlan{{a, b}, PresetAction::disable}));
    EXPECT_NE((DebloatPlan{{a, b}, PresetAction::disable}), (DebloatPlan{{b, a}, PresetAction::disable}));
    EXPECT_NE((DebloatPlan{{a}, PresetAction::disable}), (DebloatPlan{{a}, PresetAction::uninstall}));
    auto changed = a;
    changed.verdict.summary = QStringLiteral("other");
    EXPECT_NE(a, changed);
}

} // namespace
