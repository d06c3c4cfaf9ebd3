#include "bridge/PackageAction.h"
#include "bridge/PackagePreset.h"
#include "bridge/PresetPreview.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

TEST(PackageAction, RawValuesAreTheRussianLabels)
{
    EXPECT_FALSE(fromRawValue<PackageAction>(QStringLiteral("disable")));
    EXPECT_EQ(fromRawValue<PackageAction>(QStringLiteral("Очистить данные")), PackageAction::clearData);
    QList<PackageAction> destructive;
    for (PackageAction a : allCases<PackageAction>())
        if (isDestructive(a))
            destructive << a;
    EXPECT_EQ(destructive, (QList<PackageAction>{PackageAction::uninstall, PackageAction::clearData}));
    EXPECT_EQ(title(PresetAction::uninstall), rawValue(PackageAction::uninstall));
    EXPECT_EQ(title(PresetAction::disable), QStringLiteral("Отключить"));
    EXPECT_EQ(packageAction(PresetAction::uninstall), PackageAction::uninstall);
}

TEST(PackageAction, CommandLines)
{
    const QString p = QStringLiteral("com.ex");
    EXPECT_EQ(commandArguments(PackageAction::disable, p).join(u' '), QStringLiteral("shell pm disable-user --user 0 com.ex"));
    EXPECT_EQ(commandArguments(PackageAction::enable, p).join(u' '), QStringLiteral("shell pm enable com.ex"));
    EXPECT_EQ(commandArguments(PackageAction::uninstall, p).join(u' '), QStringLiteral("shell pm uninstall --user 0 com.ex"));
    EXPECT_EQ(commandArguments(PackageAction::restore, p).join(u' '),
              QStringLiteral("shell cmd package install-existing --user 0 com.ex"));
    EXPECT_EQ(commandArguments(PackageAction::clearData, p).join(u' '), QStringLiteral("shell pm clear com.ex"));
}

// Only the line pm prints on success confirms an action: through adb a command cut off by a lost
// link ends with exit 0 and nothing at all.
TEST(PackageAction, OnlyTheDevicesOwnWordConfirms)
{
    using A = PackageAction;
    struct Case { A action; int exit; const char *out; bool confirmed; };
    const Case cases[] = {
        {A::disable, 0, "Package com.ex new state: disabled-user\n", true},
        {A::disable, 0, "", false},
        {A::disable, 0, "Package com.ex new state: enabled\n", false},
        {A::disable, 255, "Package com.ex new state: disabled-user\n", false},
        {A::enable, 0, "Package com.ex new state: enabled\r\n", true},
        {A::enable, 0, "Package com.ex new state: disabled-user", false},
        {A::uninstall, 0, "Success\n", true},
        {A::uninstall, 0, "Failure [not installed for 0]\n", false},
        {A::uninstall, 0, "", false},
        {A::restore, 0, "Package com.ex installed for user: 0\n", true},
        {A::restore, 0, "Success\n", false},
        {A::clearData, 0, "Success", true},
        {A::clearData, 0, "Failed\n", false},
        {A::clearData, 0, "  \n", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(confirmsAction(c.action, CommandResult{c.exit, QString::fromUtf8(c.out), QString()}), c.confirmed)
            << rawValue(c.action).toStdString() << " exit " << c.exit << " [" << c.out << "]";
}

QByteArray presetJson(const char *replaceKey = nullptr, const char *value = nullptr)
{
    QJsonObject o{{"version", 1}, {"name", "Тихий"}, {"description", ""}, {"action", "disable"},
                  {"packages", QJsonArray{"com.a", "com.b"}}, {"createdAt", "2026-01-02T03:04:05Z"}};
    if (replaceKey) {
        if (value)
            o.insert(QString::fromLatin1(replaceKey), QJsonDocument::fromJson(value).object().value("v"));
        else
            o.remove(QString::fromLatin1(replaceKey));
    }
    return QJsonDocument(o).toJson();
}

TEST(PackagePreset, DecodingIsStrictAboutKeysAndTypes)
{
    const auto good = PackagePreset::decode(presetJson());
    ASSERT_TRUE(good);
    EXPECT_EQ(good->packages, (QStringList{QStringLiteral("com.a"), QStringLiteral("com.b")}));
    EXPECT_EQ(good->action, PresetAction::disable);
    struct Case { const char *key; const char *value; bool decodes; };
    const Case cases[] = {
        {"description", nullptr, false}, {"version", nullptr, false}, {"action", R"({"v":"enable"})", false},
        {"action", R"({"v":1})", false}, {"version", R"({"v":1.5})", false}, {"version", R"({"v":"1"})", false},
        {"packages", R"({"v":["a",2]})", false}, {"createdAt", R"({"v":null})", false},
        {"extra", R"({"v":true})", true}, {"version", R"({"v":7})", true}, {"action", R"({"v":"uninstall"})", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PackagePreset::decode(presetJson(c.key, c.value)).has_value(), c.decodes) << c.key << " " << (c.value ? c.value : "-");
    EXPECT_FALSE(PackagePreset::decode("[1]"));
    EXPECT_FALSE(PackagePreset::decode("{"));
}

TEST(PackagePreset, EncodesSortedKeysAndTheSupportedVersion)
{
    auto preset = *PackagePreset::decode(presetJson("extra", R"({"v":true})"));
    preset.version = 7;
    preset.packages = {QStringLiteral("com.a/b")};
    const QByteArray text = preset.encode();
    const QJsonObject o = QJsonDocument::fromJson(text).object();
    EXPECT_EQ(o.keys(), (QStringList{"action", "createdAt", "description", "name", "packages", "version"}));
    EXPECT_EQ(o.value("version").toInteger(), 1);
    EXPECT_TRUE(text.contains("com.a/b"));
    EXPECT_LT(text.indexOf("\"action\""), text.indexOf("\"version\""));
    EXPECT_EQ(PackagePreset::timestamp(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 890), Qt::UTC)),
              QStringLiteral("2026-03-04T05:06:07Z"));
}

TEST(PresetPreview, CountsAndIdentity)
{
    const PackagePreset preset{1, QStringLiteral("p"), {}, PresetAction::disable, {}, {}};
    const QList<PresetPackageEntry> entries = {
        {QStringLiteral("s"), QStringLiteral("S"), PackageKind::system},
        {QStringLiteral("m"), QStringLiteral("m"), std::nullopt},
        {QStringLiteral("u"), QStringLiteral("U"), PackageKind::user},
    };
    const PresetPreview preview(preset, entries);
    EXPECT_EQ(preview.systemCount(), 1);
    EXPECT_EQ(preview.userCount(), 1);
    EXPECT_EQ(preview.missingEntries().size(), 1);
    EXPECT_EQ(preview.installedEntries().size(), 2);
    EXPECT_NE(preview, PresetPreview(preset, entries));
    const PresetPreview allMissing(preset, {{QStringLiteral("m"), QStringLiteral("m"), std::nullopt}});
    EXPECT_TRUE(allMissing.installedEntries().isEmpty());
    EXPECT_EQ(allMissing.systemCount() + allMissing.userCount(), 0);
}

} // namespace
