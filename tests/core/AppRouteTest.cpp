#include "core/AppRoute.h"
#include "core/OperationRecord.h"
#include "core/RunningOperation.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(AppRoute, RawValuesRoundTripExactly)
{
    for (AppRoute route : allCases<AppRoute>())
        EXPECT_EQ(fromRawValue<AppRoute>(rawValue(route)), route);
    EXPECT_EQ(fromRawValue<AppRoute>(QStringLiteral("overview")), AppRoute::overview);
    EXPECT_EQ(fromRawValue<AppRoute>(QStringLiteral("Overview")), std::nullopt);
    EXPECT_EQ(fromRawValue<AppRoute>(QString()), std::nullopt);
    EXPECT_EQ(allCases<AppRoute>().size(), 10);
    EXPECT_EQ(allCases<AppRoute>().first(), AppRoute::overview);
    EXPECT_EQ(allCases<AppRoute>().last(), AppRoute::settings);
}

TEST(AppRoute, ShortcutDigitsAreDistinctAndSettingsHasNone)
{
    EXPECT_EQ(shortcutIndex(AppRoute::settings), std::nullopt);
    EXPECT_EQ(shortcutIndex(AppRoute::overview), 1);
    EXPECT_EQ(shortcutIndex(AppRoute::logs), 9);
    QSet<int> digits;
    for (AppRoute route : allCases<AppRoute>())
        if (const auto digit = shortcutIndex(route))
            digits.insert(*digit);
    EXPECT_EQ(digits.size(), 9);
}

TEST(AppRoute, SectionsPartitionTheRoutesInOrder)
{
    QList<AppRoute> joined;
    for (RouteSection s : allCases<RouteSection>())
        joined += routes(s);
    EXPECT_EQ(joined, allCases<AppRoute>());
    EXPECT_EQ(routes(RouteSection::app), QList<AppRoute>{AppRoute::settings});
    EXPECT_EQ(title(RouteSection::app), std::nullopt);
    EXPECT_EQ(title(RouteSection::workflows), QStringLiteral("Рабочие сценарии"));
    EXPECT_EQ(fromRawValue<RouteSection>(QStringLiteral("system")), RouteSection::system);
}

TEST(AppRoute, TableTextsAndDeviceNeeds)
{
    EXPECT_EQ(title(AppRoute::debloat), QStringLiteral("Очистка"));
    EXPECT_EQ(eyebrow(AppRoute::tools), QStringLiteral("Управление устройством"));
    EXPECT_EQ(selectedIcon(AppRoute::presets), QStringLiteral("rectangle.stack.badge.play.fill"));
    EXPECT_EQ(icon(AppRoute::logs), selectedIcon(AppRoute::logs));
    QList<AppRoute> free;
    for (AppRoute route : allCases<AppRoute>())
        if (!needsDevice(route))
            free << route;
    EXPECT_EQ(free, (QList<AppRoute>{AppRoute::tools, AppRoute::logs, AppRoute::settings}));
}

TEST(OperationRecords, IdentityAndOptionalFields)
{
    const QDateTime now = QDateTime::currentDateTime();
    const OperationRecord a(QStringLiteral("t"), QStringLiteral("d"), now, true);
    const OperationRecord b(QStringLiteral("t"), QStringLiteral("d"), now, true);
    EXPECT_NE(a, b);
    const OperationRecord copy = a;
    EXPECT_EQ(copy, a);

    const RunningOperation half{QStringLiteral("x"), std::nullopt, 0.5, false};
    const RunningOperation open{QStringLiteral("x"), std::nullopt, std::nullopt, false};
    EXPECT_NE(half, open);
    EXPECT_EQ(open, (RunningOperation{QStringLiteral("x"), std::nullopt, std::nullopt, false}));
}

} // namespace
