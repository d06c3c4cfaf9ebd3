#include "bridge/ADBService.h"
#include "bridge/NameCollation.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

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

QStringList sortedByName(QStringList names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const QString &a, const QString &b) { return NameCollation::compare(a, b) < 0; });
    return names;
}

// The tests run in the C locale, where a default collator would put Latin before Cyrillic.
TEST(NameCollation, RussianRulesWhateverTheLocale)
{
    struct Case {
        const char *what;
        QStringList given, expected;
    };
    const Case cases[] = {
        {"Cyrillic before Latin", {"zeta", "Альфа", "beta", "Яблоко"}, {"Альфа", "Яблоко", "beta", "zeta"}},
        {"ё sorts with е", {"жук", "ёж", "еда", "дом"}, {"дом", "еда", "ёж", "жук"}},
        {"case is ignored", {"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sortedByName(c.given), c.expected) << c.what;
    EXPECT_EQ(NameCollation::compare(QStringLiteral("Ёлка"), QStringLiteral("ёлка")), 0);
}

QByteArray record(const char *kind, const QString &name)
{
    return QByteArray(kind) + '\0' + "1" + '\0' + "1" + '\0' + name.toUtf8() + '\0';
}

// Device files and permissions come out in the order of the one helper.
TEST(NameCollation, DeviceFilesAndPermissionsShareTheOrder)
{
    const QStringList names = {"zeta", "Ель", "beta", "ёлка", "Альфа", "Beta2", "альфа"};
    const QStringList expected = sortedByName(names);
    ASSERT_EQ(expected.first(), QStringLiteral("Альфа"));

    QByteArray listing;
    QString dumpsys = QStringLiteral("User 0:\n runtime permissions:\n");
    for (const QString &name : names) {
        listing += record("f", name);
        dumpsys += QStringLiteral("  vendor.%1: granted=true\n").arg(name);
    }
    QStringList files;
    for (const DeviceFileItem &item : ADBService::parseDeviceDirectoryListing(QString::fromUtf8(listing), QStringLiteral("/x")))
        files << item.name;
    QStringList labels;
    for (const AppPermission &p : ADBService::parseRuntimePermissions(dumpsys, 0))
        labels << p.displayName();
    EXPECT_EQ(files, expected);
    EXPECT_EQ(labels, expected);
}

} // namespace
