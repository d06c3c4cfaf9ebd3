#include "bridge/DebloatCatalog.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

using R = RemovalRisk;

TEST(DebloatCatalog, HoldsTheRulesInTheirProportions)
{
    const auto rules = DebloatCatalog::describeRules();
    ASSERT_EQ(rules.size(), DebloatCatalog::catalogSize);
    QHash<QString, int> byMatch;
    QHash<R, int> byRisk;
    for (const auto &r : rules) {
        ++byMatch[r.match];
        ++byRisk[r.verdict.risk];
        EXPECT_FALSE(r.verdict.summary.isEmpty()) << r.pattern.toStdString();
        EXPECT_TRUE(r.verdict.consequence.endsWith(u'.')) << r.pattern.toStdString();
        EXPECT_TRUE(r.verdict.summary.endsWith(u'.')) << r.pattern.toStdString();
    }
    EXPECT_EQ(byMatch.value(QStringLiteral("exact")), 35);
    EXPECT_EQ(byMatch.value(QStringLiteral("prefix")), 20);
    EXPECT_EQ(byMatch.value(QStringLiteral("contains")), 30);
    EXPECT_EQ(byRisk.value(R::safe), 26);
    EXPECT_EQ(byRisk.value(R::review), 20);
    EXPECT_EQ(byRisk.value(R::advanced), 15);
    EXPECT_EQ(byRisk.value(R::critical), 24);
}

// One name per rule, in catalogue order, that this rule must decide.
TEST(DebloatCatalog, EveryRuleDecidesItsOwnName)
{
    const char *names[] = {
        "android", "com.android.systemui", "com.android.settings", "com.android.providers.media",
        "com.android.phone", "com.android.server.telecom", "vendor.telephony.service", "com.android.shell",
        "com.android.packageinstaller", "com.google.android.packageinstaller", "com.android.permissioncontroller",
        "com.google.android.permissioncontroller", "com.google.android.webview", "com.google.android.gms",
        "com.google.android.gsf", "com.android.bluetooth", "com.android.wifi.resources", "com.android.nfc",
        "com.android.externalstorage", "com.android.documentsui", "com.android.mtp", "com.android.keychain",
        "com.android.certinstaller", "com.google.android.inputmethod.latin", "com.android.launcher3",
        "com.sec.android.app.launcher", "com.qualcomm.location", "com.mediatek.ims", "com.android.emergency",
        "com.android.cellbroadcastreceiver", "com.android.vending", "com.google.android.setupwizard",
        "com.oem.ota", "com.oem.updater", "com.android.printspooler", "com.google.android.apps.wellbeing",
        "com.google.android.projection.gearhead", "com.android.dialer", "com.android.contacts",
        "com.android.camera2", "vendor.com.android.calendar", "com.oem.gallery3d", "com.oem.backup",
        "com.miui.securitycenter", "com.oem.analytics", "com.oem.adservices", "com.oem.ads.core", "com.oem.adsdk",
        "com.miui.analytics", "com.miui.msa.global", "com.facebook.appmanager", "com.google.android.apps.tachyon",
        "com.google.android.videos", "com.google.android.music", "com.google.android.apps.books",
        "com.google.android.apps.docs", "com.google.android.youtube", "com.google.android.apps.magazines",
        "com.google.android.apps.podcasts", "com.netflix.partner.activation", "com.netflix.mediaclient",
        "com.booking", "com.linkedin.android", "com.spotify.music", "com.alibaba.aliexpresshd", "com.oem.browser",
        "com.miui.notes", "com.xiaomi.mipicks", "com.heytap.market", "com.coloros.filemanager", "com.oplus.games",
        "com.realme.link", "com.samsung.android.game.gamehome", "com.sec.android.app.voicenote", "com.huawei.hwid",
        "com.transsion.phonemaster", "com.vivo.weather", "com.samsung.android.bixby.agent", "com.oem.bixby.wakeup",
        "com.oem.themestore", "com.oem.wallpaper", "com.oem.assistant", "com.google.android.apps.photos",
        "com.google.android.gms.location", "com.android.chrome",
    };
    const auto rules = DebloatCatalog::describeRules();
    ASSERT_EQ(std::size(names), size_t(rules.size()));
    for (int i = 0; i < rules.size(); ++i) {
        const QString name = QString::fromLatin1(names[i]);
        for (PackageKind kind : {PackageKind::user, PackageKind::system})
            EXPECT_EQ(DebloatCatalog::verdict(name, kind), rules[i].verdict)
                << "rule " << i + 1 << " (" << rules[i].pattern.toStdString() << ") for " << names[i];
    }
}

TEST(DebloatCatalog, LookupOrder)
{
    struct Case { const char *name; R risk; const char *category; const char *summaryOf; };
    // summaryOf names the rule pattern whose verdict must win.
    const Case cases[] = {
        {"com.android.launcher3", R::critical, "Ядро системы", "com.android.launcher"},
        {"com.sec.android.app.launcher", R::advanced, "Ядро системы", "launcher"},
        {"com.miui.securitycenter", R::advanced, "Оболочка производителя", "securitycenter"},
        {"com.google.android.apps.wellbeing", R::review, "Сервисы Google", "com.google.android.apps.wellbeing"},
        {"com.google.android.apps.photos", R::safe, "Сервисы Google", "com.google.android.apps."},
        {"com.android.calendar", R::review, "Ядро системы", "com.android."},
        {"com.google.android.gms.location", R::review, "Сервисы Google", "com.google.android."},
        {"com.android.camera2", R::advanced, "Оболочка производителя", "camera"},
        {"com.sec.android.app.camera", R::advanced, "Оболочка производителя", "camera"},
        {"com.android.chrome", R::review, "Ядро системы", "com.android."},
        // A critical contains rule beats an exact safe one and a more specific prefix.
        {"com.samsung.android.bixby.agent.updater", R::advanced, "Ядро системы", "updat"},
    };
    QHash<QString, DebloatVerdict> byPattern;
    for (const auto &r : DebloatCatalog::describeRules())
        byPattern.insert(r.pattern, r.verdict);
    for (const Case &c : cases) {
        const auto &v = DebloatCatalog::verdict(QString::fromLatin1(c.name), PackageKind::system);
        EXPECT_EQ(v.risk, c.risk) << c.name;
        EXPECT_EQ(v.category, QString::fromUtf8(c.category)) << c.name;
        EXPECT_EQ(v, byPattern.value(QString::fromLatin1(c.summaryOf))) << c.name;
    }
}

TEST(DebloatCatalog, FallbackDependsOnKindOnly)
{
    for (const char *name : {"Com.Android.Settings", "org.mozilla.firefox", ""}) {
        const QString n = QString::fromLatin1(name);
        const auto &system = DebloatCatalog::verdict(n, PackageKind::system);
        const auto &user = DebloatCatalog::verdict(n, PackageKind::user);
        EXPECT_EQ(system.risk, R::review) << name;
        EXPECT_EQ(system.category, QStringLiteral("Не классифицировано"));
        EXPECT_EQ(system.summary, QStringLiteral("Системный пакет, отсутствующий в базе описаний."));
        EXPECT_EQ(user.risk, R::safe) << name;
        EXPECT_EQ(user.category, QStringLiteral("Предустановленные приложения"));
        EXPECT_EQ(user.consequence, QStringLiteral("Удаляется и устанавливается заново без последствий для системы."));
    }
}

TEST(DebloatCatalog, PackageRiskIsTheCatalogueVerdictForNameAndKind)
{
    // The per-name memo must keep the two kinds apart and agree with the catalogue.
    const AndroidPackage asUser(QStringLiteral("org.example.notes"), std::nullopt, PackageKind::user);
    const AndroidPackage asSystem(QStringLiteral("org.example.notes"), std::nullopt, PackageKind::system);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(asUser.risk().risk, R::safe);
        EXPECT_EQ(asSystem.risk().risk, R::review);
    }
    const AndroidPackage gms(QStringLiteral("com.google.android.gms"), std::nullopt, PackageKind::user);
    EXPECT_EQ(gms.risk(), DebloatCatalog::verdict(gms.name, PackageKind::user));
    EXPECT_EQ(gms.risk().risk, R::critical);
}

TEST(RemovalRisk, RawValuesOrderAndTexts)
{
    EXPECT_FALSE(removalRiskFromRawValue(4));
    EXPECT_FALSE(removalRiskFromRawValue(-1));
    EXPECT_EQ(removalRiskFromRawValue(2), R::advanced);
    QList<R> levels = {R::critical, R::safe, R::advanced, R::review};
    std::sort(levels.begin(), levels.end());
    EXPECT_EQ(levels, allCases<R>());
    EXPECT_EQ(title(R::review), QStringLiteral("Проверьте"));
    EXPECT_EQ(shortTitle(R::critical), QStringLiteral("Critical"));
    EXPECT_EQ(tone(R::advanced), Tone::warning);
    EXPECT_EQ(icon(R::safe), QStringLiteral("checkmark.shield.fill"));
}

} // namespace
