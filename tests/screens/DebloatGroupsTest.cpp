#include "screens/packages/DebloatGroups.h"
#include "screens/packages/DebloatState.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

DebloatPlanItem item(const QString &name, RemovalRisk risk, const QString &category, std::optional<qint64> size = 1000)
{
    AndroidPackage p(name, std::nullopt, PackageKind::system);
    p.apkSize = size;
    return DebloatPlanItem{p, DebloatVerdict{risk, QStringLiteral("s"), QStringLiteral("c"), category}};
}

QStringList categories(const QList<DebloatGroup> &groups)
{
    QStringList out;
    for (const DebloatGroup &g : groups)
        out << g.category;
    return out;
}

using R = RemovalRisk;

TEST(DebloatGroups, OrderTable)
{
    struct Case {
        const char *what;
        QList<DebloatPlanItem> candidates;
        QStringList expected;
    };
    const Case cases[] = {
        {"one safe item puts its group before any review group, however large",
         {item("a1", R::safe, "Безопасная"), item("b1", R::review, "Крупная"), item("b2", R::review, "Крупная"),
          item("b3", R::review, "Крупная")},
         {"Безопасная", "Крупная"}},
        {"equal lowest risk: the larger group first",
         {item("a1", R::review, "Малая"), item("b1", R::review, "Большая"), item("b2", R::review, "Большая")},
         {"Большая", "Малая"}},
        {"a group's lowest risk decides, not its first item's",
         {item("a1", R::critical, "Смешанная"), item("b1", R::review, "Обзор"), item("a2", R::safe, "Смешанная")},
         {"Смешанная", "Обзор"}},
        // Ties keep the order in which their categories first appear, whatever the names.
        {"ties in first-appearance order",
         {item("z", R::safe, "Яблоки"), item("m", R::safe, "Медиа"), item("a", R::safe, "Аналитика"),
          item("x", R::safe, "Zeta"), item("b", R::safe, "Beta"), item("q", R::safe, "Омега")},
         {"Яблоки", "Медиа", "Аналитика", "Zeta", "Beta", "Омега"}},
        {"ties between larger groups after a smaller one",
         {item("s", R::review, "Одна"), item("t1", R::review, "Вторая"), item("u1", R::review, "Первая"),
          item("t2", R::review, "Вторая"), item("u2", R::review, "Первая")},
         {"Вторая", "Первая", "Одна"}},
    };
    // Many ties (more than a small-range insertion sort would keep in place by chance), named
    // out of alphabetical and hash order.
    Case many{"forty ties in first-appearance order", {}, {}};
    for (int i = 0; i < 40; ++i) {
        const QString category = QStringLiteral("Категория %1").arg((i * 17) % 40);
        many.candidates << item(QStringLiteral("p%1").arg(i), R::review, category);
        many.expected << category;
    }
    for (const Case &c : {cases[0], cases[1], cases[2], cases[3], cases[4], many}) {
        EXPECT_EQ(categories(DebloatGroups::groups(c.candidates)), c.expected) << c.what;
        // The same candidates give the same order every time.
        EXPECT_EQ(categories(DebloatGroups::groups(c.candidates)), categories(DebloatGroups::groups(c.candidates)));
    }
}

TEST(DebloatGroups, EntriesMarkCardEdgesSelectionAndKnownBytes)
{
    const QList<DebloatPlanItem> candidates{item("a1", R::safe, "A", 3000), item("a2", R::safe, "A", std::nullopt),
                                            item("a3", R::safe, "A", 500), item("b1", R::review, "B", 7)};
    const QList<DebloatEntry> entries = DebloatGroups::entries(candidates, {"a2", "b1", "gone"});
    ASSERT_EQ(entries.size(), 6);
    struct Line {
        QString id;
        bool first, last, selected;
    };
    const Line expected[] = {{"h:A", false, false, false}, {"r:a1", true, false, false}, {"r:a2", false, false, true},
                             {"r:a3", false, true, false},  {"h:B", false, false, false}, {"r:b1", true, true, true}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(entries[i].id(), expected[i].id);
        EXPECT_EQ(entries[i].isFirst, expected[i].first) << i;
        EXPECT_EQ(entries[i].isLast, expected[i].last) << i;
        EXPECT_EQ(entries[i].isSelected, expected[i].selected) << i;
    }
    // A missing size adds nothing to the heading.
    EXPECT_EQ(entries[0].count, 3);
    EXPECT_EQ(entries[0].bytes, 3500);
    EXPECT_EQ(entries[4].bytes, 7);
    // Sizes near the limit saturate instead of wrapping.
    const DebloatGroup huge{"H", {item("h1", R::safe, "H", std::numeric_limits<qint64>::max()), item("h2", R::safe, "H")}};
    EXPECT_EQ(huge.bytes(), std::numeric_limits<qint64>::max());
}

TEST(DebloatGroups, SelectionChangeEditsOneRowWithoutReset)
{
    DebloatState state;
    QAbstractItemModelTester tester(state.listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QList<DebloatPlanItem> candidates;
    for (int i = 0; i < 30; ++i)
        candidates << item(QStringLiteral("p%1").arg(i), R(i % 3), QStringLiteral("C%1").arg(i % 5));
    state.show(DebloatGroups::entries(candidates, {}));
    const int rows = state.listModel()->rowCount();
    ASSERT_EQ(rows, 35);

    QSignalSpy resets(state.listModel(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(state.listModel(), &QAbstractItemModel::dataChanged);
    state.show(DebloatGroups::entries(candidates, {"p7"}));
    EXPECT_EQ(resets.count(), 0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().first().value<QModelIndex>().row(), state.rowOf("p7"));
    EXPECT_TRUE(state.entries().at(state.rowOf("p7")).isSelected);

    // The same lines again: nothing at all.
    state.show(DebloatGroups::entries(candidates, {"p7"}));
    EXPECT_EQ(changed.count(), 1);

    // Other lines (a search, a filter) are one reset.
    candidates.removeAt(4);
    state.show(DebloatGroups::entries(candidates, {"p7"}));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(state.listModel()->rowCount(), rows - 1);
}

} // namespace
