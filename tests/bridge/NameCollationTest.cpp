#include "bridge/ADBService.h"
#include "bridge/NameCollation.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList sortedByName(QStringList names)
{
    std::stable_sort(names.begin(), names.end(), nameLess);
    return names;
}

// The tests run in the C locale, where a default collator would put Latin before Cyrillic.
TEST(NameCollation, RussianRulesWhateverTheLocaleAndCaseIgnored)
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
    EXPECT_EQ(nameCollator().compare(QStringLiteral("Ёлка"), QStringLiteral("ёлка")), 0);
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
