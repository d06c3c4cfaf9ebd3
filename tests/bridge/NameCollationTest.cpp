#include "bridge/NameCollation.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(NameCollation, FoldersFirstThenNamesIgnoringCaseCyrillicFirstDigitsAsText)
{
    struct Entry { QString name; bool folder; };
    const QList<Entry> entries{
        {QStringLiteral("b.txt"), false}, {QStringLiteral("a10"), false}, {QStringLiteral("a2"), false},
        {QStringLiteral("Zeta"), true},   {QStringLiteral("альфа"), true}, {QStringLiteral("B.txt"), false},
        {QStringLiteral("Яблоко"), false},
    };
    const std::vector<int> order = NameCollation::displayOrder(
        int(entries.size()), [&](int i) { return entries.at(i).folder; }, [&](int i) { return entries.at(i).name; });
    QStringList names;
    for (int i : order)
        names << entries.at(i).name;
    // Equal names ("b.txt", "B.txt") keep their given order.
    EXPECT_EQ(names, (QStringList{QStringLiteral("альфа"), QStringLiteral("Zeta"), QStringLiteral("Яблоко"),
                                  QStringLiteral("a10"), QStringLiteral("a2"), QStringLiteral("b.txt"),
                                  QStringLiteral("B.txt")}));
    EXPECT_EQ(NameCollation::compare(QStringLiteral("README"), QStringLiteral("readme")), 0);
    EXPECT_LT(NameCollation::compare(QStringLiteral("я"), QStringLiteral("a")), 0);
}

} // namespace
