#include "bridge/ADBService.h"
#include "bridge/PackageName.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

PackageDetails nameOnly(const QString &name)
{
    PackageDetails d;
    d.packageName = name;
    return d;
}

TEST(PackageName, AndroidForm)
{
    struct Case { const char *name; bool valid; };
    const Case cases[] = {
        {"com.example.app", true}, {"android", true}, {"a.b_c.D9", true}, {"com.Example.App_2", true},
        {"", false}, {".com.app", false}, {"com..app", false}, {"com.app.", false}, {"com.1app", false},
        {"_com.app", false}, {"com.app-x", false}, {"com.app x", false}, {"com.app;reboot", false},
        {"com.app'$(id)'", false}, {"com.app\n", false}, {"com.прил", false}, {"-s", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isValidPackageName(QString::fromUtf8(c.name)), c.valid) << c.name;
    const CommandResult refused = invalidPackageNameResult(QStringLiteral("bad name"));
    EXPECT_EQ(refused.exitCode, -1);
    EXPECT_TRUE(refused.stdErr.contains(QStringLiteral("bad name")));
}

TEST(PackageQueries, ParsePackageNames)
{
    const QString out = QStringLiteral(
        "package:com.a\r\n  package:/data/app/x=y/base.apk=com.b  \n"
        "package:\npackage:a=b=c\rnot a package line\u2028package:=\u0085package:com.a\n");
    EXPECT_EQ(ADBService::parsePackageNames(out),
              (QSet<QString>{QStringLiteral("com.a"), QStringLiteral("com.b"), QStringLiteral("c")}));
}

TEST(PackageQueries, ParseApkPaths)
{
    const QString out = QStringLiteral(
        "package:/data/app/base.apk\n package:/data/app/base.apk \npackage:relative/x.apk\n"
        "package:/data/app/split.apk.tmp\npackage:/DATA/APP/UPPER.APK\r\npackage:/data/app/split_config.apk\n");
    EXPECT_EQ(ADBService::parsePackageAPKPaths(out),
              S({"/data/app/base.apk", "/DATA/APP/UPPER.APK", "/data/app/split_config.apk"}));
}

TEST(PackageQueries, ParseDetails)
{
    const QString out = QStringLiteral(
        "Activity Resolver Table:\n"
        "  Non-Data Actions:\n"
        "      android.intent.action.MAIN:\n"
        "        1a2b com.ex/.MainActivity filter 3c\n"
        "        4d5e com.ex/.MainActivity filter 6f\n"
        "        7a8b com.other/.Main filter 9c\n"
        "Receiver Resolver Table:\n"
        "        11 com.ex/com.ex.BootReceiver}\n"
        "Service Resolver Table:\n"
        "        12 com.ex/.SyncService, com.ex/.Zed\n"
        "Provider Resolver Table:\n"
        "        13 com.ex/.Provider\n"
        "Packages:\n"
        "  Package [com.ex] (abc):\n"
        "    versionCode=42 minSdk=24 targetSdk=34\n"
        "    versionName=1.2 beta\n"
        "    versionCode=99\n"
        "    dataDir=/data/user/0/com.ex\n"
        "    primaryCpuAbi=arm64-v8a\n"
        "    installerPackageName=\n"
        "    installerPackageName=com.android.vending\n"
        "    firstInstallTime=2024-01-02 03:04:05\n"
        "    lastUpdateTime=2024-02-03 04:05:06\n"
        "    declared permissions:\n"
        "      com.ex.permission.C2D: prot=signature\n"
        "      android.permission.X: prot=normal\n"
        "      com.ex.permission.C2D: prot=signature\n"
        "    requested permissions:\n"
        "      android.permission.INTERNET\n"
        "    install permissions:\n"
        "      android.permission.INTERNET: granted=true\n"
        "    User 0: ceDataInode=1 installed=true\n"
        "      runtime permissions:\n"
        "        android.permission.CAMERA: granted=true, flags=[ USER_SET ]\n"
        "        android.permission.RECORD_AUDIO: granted=false, flags=[ ]\n"
        "      enabledComponents:\n"
        "        android.permission.LATE: granted=true\n"
        "    User 10:\n"
        "      runtime permissions:\n"
        "        android.permission.CAMERA: granted=true\n");
    const PackageDetails d = ADBService::parsePackageDetails(out, QStringLiteral("com.ex"));
    EXPECT_EQ(d.packageName, QStringLiteral("com.ex"));
    EXPECT_EQ(d.versionCode, QStringLiteral("42"));
    EXPECT_EQ(d.versionName, QStringLiteral("1.2"));
    EXPECT_EQ(d.minSDK, QStringLiteral("24"));
    EXPECT_EQ(d.targetSDK, QStringLiteral("34"));
    EXPECT_EQ(d.dataDirectory, QStringLiteral("/data/user/0/com.ex"));
    EXPECT_EQ(d.primaryCPUABI, QStringLiteral("arm64-v8a"));
    EXPECT_EQ(d.installer, QStringLiteral("com.android.vending"));
    EXPECT_EQ(d.firstInstallTime, QStringLiteral("2024-01-02 03:04:05"));
    EXPECT_EQ(d.lastUpdateTime, QStringLiteral("2024-02-03 04:05:06"));
    EXPECT_EQ(d.declaredPermissions, S({"com.ex.permission.C2D", "android.permission.X", "com.ex.permission.C2D"}));
    EXPECT_EQ(d.runtimePermissionsTotal, 3);
    EXPECT_EQ(d.runtimePermissionsGranted, 2);
    EXPECT_EQ(d.activities, S({".MainActivity"}));
    EXPECT_EQ(d.receivers, S({"com.ex.BootReceiver"}));
    EXPECT_EQ(d.services, S({".SyncService", ".Zed"}));
    EXPECT_TRUE(d.apkPaths.isEmpty());

    EXPECT_EQ(ADBService::parsePackageDetails(QString(), QStringLiteral("com.ex")),
              nameOnly(QStringLiteral("com.ex")));
}

// The framework writes "null" for a fact it does not have: such a fact is absent (the inspector
// shows "—"), and being the first occurrence it is not filled from the older package further down.
TEST(PackageQueries, ANullValueIsAnAbsentFact)
{
    const QString out = QStringLiteral(
        "Packages:\n"
        "  Package [com.ex] (abc):\n"
        "    versionName=null\n"
        "    versionCode=null minSdk=null targetSdk=null\n"
        "    dataDir=null\n"
        "    primaryCpuAbi=null\n"
        "    secondaryCpuAbi=null\n"
        "    installerPackageName=null\n"
        "Hidden system packages:\n"
        "  Package [com.ex] (def):\n"
        "    versionName=1.0 versionCode=1 minSdk=21 targetSdk=30\n"
        "    dataDir=/data/user/0/com.ex\n"
        "    primaryCpuAbi=armeabi-v7a\n"
        "    installerPackageName=com.android.vending\n");
    const PackageDetails d = ADBService::parsePackageDetails(out, QStringLiteral("com.ex"));
    const struct {
        const char *fact;
        std::optional<QString> value;
    } facts[] = {
        {"versionName", d.versionName}, {"versionCode", d.versionCode}, {"minSdk", d.minSDK},
        {"targetSdk", d.targetSDK},     {"dataDir", d.dataDirectory},   {"primaryCpuAbi", d.primaryCPUABI},
        {"installerPackageName", d.installer},
    };
    for (const auto &f : facts)
        EXPECT_EQ(f.value, std::nullopt) << f.fact;

    // A value that merely contains the word is the device's own text.
    const PackageDetails named = ADBService::parsePackageDetails(
        QStringLiteral("    versionName=nullable primaryCpuAbi=Null\n"), QStringLiteral("com.ex"));
    EXPECT_EQ(named.versionName, QStringLiteral("nullable"));
    EXPECT_EQ(named.primaryCPUABI, QStringLiteral("Null"));
}

TEST(PackageQueries, PackageStatesRunsBothListingsAtOnce)
{
    FakeTool fake;
    // Each listing answers only once both have started: one after the other they would fail.
    fake.on(S({"-s", "S1", "shell", "pm", "list", "packages", "-d", "--user", "0"}),
            {.out = QStringLiteral("package:com.off\n"), .awaitCalls = 2});
    fake.on(S({"-s", "S1", "shell", "pm", "list", "packages", "-u", "--user", "0"}),
            {.out = QStringLiteral("package:com.off\npackage:com.gone\n"), .awaitCalls = 2});
    const ADBService adb(fake.adbPath());
    const PackageStates s = runSync(adb.packageStates(QStringLiteral("S1")));
    EXPECT_EQ(s.disabled, QSet<QString>{QStringLiteral("com.off")});
    EXPECT_EQ(s.known, (QSet<QString>{QStringLiteral("com.off"), QStringLiteral("com.gone")}));
    EXPECT_TRUE(s.result.succeeded());
    EXPECT_EQ(s.result.stdOut, QStringLiteral("package:com.off\npackage:com.gone\n"));
}

TEST(PackageQueries, PackageStatesReportsTheFirstFailure)
{
    FakeTool fake;
    fake.on(S({"-s", "S1", "shell", "pm", "list", "packages", "-d", "--user", "0"}),
            {.out = QStringLiteral("package:com.off\n"), .err = QStringLiteral("first"), .exit = 2});
    fake.on(S({"-s", "S1", "shell", "pm", "list", "packages", "-u", "--user", "0"}),
            {.out = QStringLiteral("package:com.k\n"), .err = QStringLiteral("second"), .exit = 3});
    const PackageStates s = runSync(ADBService(fake.adbPath()).packageStates(QStringLiteral("S1")));
    EXPECT_EQ(s.result.exitCode, 2);
    EXPECT_EQ(s.disabled.size(), 1);
    EXPECT_EQ(s.known.size(), 1);
}

TEST(PackageQueries, DetailsRunsDumpsysThenPmPath)
{
    FakeTool fake;
    fake.on(S({"-s", "S1", "shell", "dumpsys", "package", "com.ex"}),
            {.out = QStringLiteral("    versionName=3.0\n")});
    fake.on(S({"-s", "S1", "shell", "pm", "path", "com.ex"}),
            {.out = QStringLiteral("package:/data/app/com.ex/base.apk\n")});
    const ADBService adb(fake.adbPath());
    const PackageDetailsAnswer a = runSync(adb.packageDetails(QStringLiteral("com.ex"), QStringLiteral("S1")));
    EXPECT_EQ(a.details.versionName, QStringLiteral("3.0"));
    EXPECT_EQ(a.details.apkPaths, S({"/data/app/com.ex/base.apk"}));
    EXPECT_EQ(a.result.stdOut, QStringLiteral("    versionName=3.0\n"));
    EXPECT_EQ(fake.calls().size(), 2);
}

TEST(PackageQueries, FailedDumpsysSkipsPmPath)
{
    FakeTool fake;
    fake.on(S({"-s", "S1", "shell", "dumpsys", "package", "com.ex"}),
            {.out = QStringLiteral("versionName=3.0\n"), .err = QStringLiteral("denied"), .exit = 1});
    const ADBService adb(fake.adbPath());
    const PackageDetailsAnswer a = runSync(adb.packageDetails(QStringLiteral("com.ex"), QStringLiteral("S1")));
    EXPECT_EQ(a.details, nameOnly(QStringLiteral("com.ex")));
    EXPECT_EQ(a.result.exitCode, 1);
    EXPECT_EQ(fake.calls().size(), 1);

    fake.on(S({"-s", "S1", "shell", "pm", "path", "com.ex"}), {.out = QStringLiteral("package:/a.apk\n"), .exit = 1});
    const PackageAPKPaths p = runSync(adb.packageAPKPaths(QStringLiteral("com.ex"), QStringLiteral("S1")));
    EXPECT_TRUE(p.paths.isEmpty());
    EXPECT_EQ(p.result.exitCode, 1);
}

TEST(PackageQueries, BadPackageNameNeverReachesTheDevice)
{
    FakeTool fake;
    fake.setDefault({.out = QStringLiteral("package:/x.apk\n")});
    const ADBService adb(fake.adbPath());
    const QString bad = QStringLiteral("com.ex;reboot");
    const PackageDetailsAnswer d = runSync(adb.packageDetails(bad, QStringLiteral("S1")));
    EXPECT_EQ(d.result.exitCode, -1);
    EXPECT_TRUE(d.result.stdErr.contains(bad));
    EXPECT_EQ(d.details.packageName, bad);
    const PackageAPKPaths p = runSync(adb.packageAPKPaths(bad, QStringLiteral("S1")));
    EXPECT_EQ(p.result.exitCode, -1);
    EXPECT_TRUE(p.paths.isEmpty());
    EXPECT_TRUE(fake.calls().isEmpty());
}

} // namespace
