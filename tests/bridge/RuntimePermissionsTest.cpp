#include "bridge/ADBService.h"
#include "bridge/AppPermission.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Trimmed from a real "dumpsys package": requested and install-time lists come first,
// then one block per user with its runtime list and the next section's heading.
const QString kDumpsys = QStringLiteral(
    "Packages:\n"
    "  Package [com.example.app] (1a2b3c):\n"
    "    requested permissions:\n"
    "      android.permission.CAMERA: granted=true\n"
    "    install permissions:\n"
    "      android.permission.INTERNET: granted=true\n"
    "    User 0: ceDataInode=123 installed=true hidden=false\n"
    "      gids=[3003]\n"
    "      runtime permissions:\n"
    "        android.permission.READ_MEDIA_VIDEO: granted=false, flags=[ USER_SENSITIVE_WHEN_GRANTED|USER_SENSITIVE_WHEN_DENIED]\n"
    "        android.permission.CAMERA: granted=true, flags=[ USER_SET|SYSTEM_FIXED_EXTRA]\r\n"
    "        : granted=true, flags=[ USER_SET ]\n"
    "        android.permission.BROKEN: granted=maybe\n"
    "        com.vendor.permission.bluetooth_glue: granted=true, flags=[   ]\n"
    "        android.permission.READ_MEDIA_AUDIO: granted=true, flags=[ SYSTEM_FIXED|GRANTED_BY_DEFAULT ]\n"
    "        android.permission.RECORD_AUDIO: granted=false, flags=[ POLICY_FIXED\n"
    "        CUSTOMPERM: granted=false\n"
    "      disabledComponents:\n"
    "        android.permission.SEND_SMS: granted=true\n"
    "    User 10: ceDataInode=0 installed=true hidden=false\n"
    "      runtime permissions:\n"
    "        android.permission.READ_SMS: granted=true, flags=[ USER_SET ]\n"
    "    User 1: ceDataInode=0 installed=true\n"
    "      runtime permissions:\n"
    "        android.permission.CALL_PHONE: granted=false\n");

std::string names(const QList<AppPermission> &list)
{
    QStringList out;
    for (const auto &p : list)
        out << p.name;
    return out.join(QLatin1Char(',')).toStdString();
}

std::string joined(const QStringList &list) { return list.join(QLatin1Char(',')).toStdString(); }

TEST(RuntimePermissions, ParsesOnlyTheUsersRuntimeListSortedByLabel)
{
    const auto user0 = ADBService::parseRuntimePermissions(kDumpsys, 0);
    // Labels: Аудио, Видео, Камера, Микрофон, then the unlisted ones by their last
    // component, case-insensitively (bluetooth_glue before CUSTOMPERM).
    EXPECT_EQ(names(user0), joined({
                                QStringLiteral("android.permission.READ_MEDIA_AUDIO"),
                                QStringLiteral("android.permission.READ_MEDIA_VIDEO"),
                                QStringLiteral("android.permission.CAMERA"),
                                QStringLiteral("android.permission.RECORD_AUDIO"),
                                QStringLiteral("com.vendor.permission.bluetooth_glue"),
                                QStringLiteral("CUSTOMPERM"),
                            }));
    const auto find = [&](const QString &name) {
        for (const auto &p : user0)
            if (p.name == name)
                return p;
        return AppPermission{};
    };
    const AppPermission camera = find(QStringLiteral("android.permission.CAMERA"));
    EXPECT_TRUE(camera.isGranted);
    EXPECT_EQ(camera.flags, (QStringList{QStringLiteral("USER_SET"), QStringLiteral("SYSTEM_FIXED_EXTRA")}));
    EXPECT_TRUE(camera.canChange()); // a flag that only begins with SYSTEM_FIXED does not fix it
    EXPECT_FALSE(find(QStringLiteral("android.permission.READ_MEDIA_AUDIO")).canChange());
    EXPECT_TRUE(find(QStringLiteral("com.vendor.permission.bluetooth_glue")).flags.isEmpty());
    // "flags=[" never closed: no flags, so the policy flag is not seen.
    EXPECT_TRUE(find(QStringLiteral("android.permission.RECORD_AUDIO")).flags.isEmpty());
    EXPECT_FALSE(find(QStringLiteral("android.permission.READ_MEDIA_VIDEO")).isGranted);

    EXPECT_EQ(names(ADBService::parseRuntimePermissions(kDumpsys, 10)),
              "android.permission.READ_SMS");
    EXPECT_EQ(names(ADBService::parseRuntimePermissions(kDumpsys, 1)),
              "android.permission.CALL_PHONE");
    EXPECT_TRUE(ADBService::parseRuntimePermissions(kDumpsys, 2).isEmpty());
    EXPECT_TRUE(ADBService::parseRuntimePermissions(QString(), 0).isEmpty());
}

TEST(RuntimePermissions, UserLineEndsTheListAndOtherLinesEndTheParse)
{
    const QString text = QStringLiteral(
        "User 0: installed=true\n runtime permissions:\n  a.B: granted=true\n"
        "User 10: x\n runtime permissions:\n  a.C: granted=true\n"
        "User 0: again\n runtime permissions:\n  a.D: granted=false\n  heading:\n  a.E: granted=true\n");
    EXPECT_EQ(names(ADBService::parseRuntimePermissions(text, 0)), "a.B,a.D");
}

TEST(RuntimePermissions, EqualLabelsKeepTheirOrder)
{
    const QString text = QStringLiteral(
        "User 0:\n runtime permissions:\n  z.vendor.SYNC: granted=true\n  a.vendor.sync: granted=false\n"
        "  m.other.SYNC: granted=true\n  x.READ_SMS: granted=true\n");
    EXPECT_EQ(names(ADBService::parseRuntimePermissions(text, 0)), "x.READ_SMS,z.vendor.SYNC,a.vendor.sync,m.other.SYNC");
}

TEST(RuntimePermissions, DisplayNameAndFlags)
{
    struct Case { QString name; QString label; };
    const Case cases[] = {
        {QStringLiteral("android.permission.READ_SMS"), QStringLiteral("Чтение SMS")},
        {QStringLiteral("com.vendor.permission.MAGIC"), QStringLiteral("MAGIC")},
        {QStringLiteral("PLAIN"), QStringLiteral("PLAIN")},
        {QStringLiteral("trailing.dot."), QStringLiteral("dot")},
        {QStringLiteral("..."), QStringLiteral("...")},
    };
    for (const Case &c : cases)
        EXPECT_EQ((AppPermission{c.name, false, {}}.displayName()), c.label) << c.name.toStdString();

    EXPECT_FALSE((AppPermission{QStringLiteral("p"), true, {QStringLiteral("USER_SET"), QStringLiteral("POLICY_FIXED")}}.canChange()));
    EXPECT_TRUE((AppPermission{QStringLiteral("p"), true, {QStringLiteral("policy_fixed")}}.canChange()));
}

TEST(RuntimePermissions, RecordsRawValues)
{
    EXPECT_EQ(rawValue(PermissionFilter::granted), QStringLiteral("Предоставлены"));
    EXPECT_EQ(fromRawValue<PermissionFilter>(QStringLiteral("Запрещены")), PermissionFilter::denied);
    EXPECT_EQ(fromRawValue<PermissionFilter>(QStringLiteral("все")), std::nullopt);
    EXPECT_EQ(rawValue(PermissionOperation::revoke), QStringLiteral("revoke"));
    EXPECT_EQ(title(PermissionOperation::grant), QStringLiteral("Предоставить"));
    EXPECT_EQ(fromRawValue<PermissionOperation>(QStringLiteral("grant")), PermissionOperation::grant);
    const AppPermission on{QStringLiteral("x"), true, {}};
    const AppPermission off{QStringLiteral("y"), false, {}};
    EXPECT_TRUE(admits(PermissionFilter::all, off));
    EXPECT_TRUE(admits(PermissionFilter::granted, on));
    EXPECT_FALSE(admits(PermissionFilter::granted, off));
    EXPECT_TRUE(admits(PermissionFilter::denied, off));
}

TEST(RuntimePermissions, LoadRunsDumpsysAndKeepsTheResult)
{
    FakeTool fake;
    fake.on({QStringLiteral("-s"), QStringLiteral("SER"), QStringLiteral("shell"), QStringLiteral("dumpsys"),
             QStringLiteral("package"), QStringLiteral("com.example.app")},
            {.out = kDumpsys});
    ADBService adb(fake.adbPath());
    const auto ok = runSync(adb.loadRuntimePermissions(QStringLiteral("com.example.app"), QStringLiteral("SER"), 0));
    EXPECT_TRUE(ok.result.succeeded());
    EXPECT_EQ(ok.permissions.size(), 6);

    const auto failed = runSync(adb.loadRuntimePermissions(QStringLiteral("com.other"), QStringLiteral("SER"), 0));
    EXPECT_FALSE(failed.result.succeeded());
    EXPECT_TRUE(failed.permissions.isEmpty());
}

TEST(RuntimePermissions, ChangeRunsExactlySevenArguments)
{
    FakeTool fake;
    fake.setDefault({});
    ADBService adb(fake.adbPath());
    const auto r = runSync(adb.changeRuntimePermission(QStringLiteral("com.example.app"),
                                                       QStringLiteral("android.permission.CAMERA"),
                                                       PermissionOperation::revoke, QStringLiteral("SER"), 0));
    EXPECT_TRUE(r.succeeded());
    runSync(adb.changeRuntimePermission(QStringLiteral("com.example.app"), QStringLiteral("a.B_1"),
                                        PermissionOperation::grant, QString(), 10));
    EXPECT_EQ(fake.calls(), (QList<QStringList>{
                                {"-s", "SER", "shell", "pm", "revoke", "--user", "0", "com.example.app",
                                 "android.permission.CAMERA"},
                                {"shell", "pm", "grant", "--user", "10", "com.example.app", "a.B_1"},
                            }));
}

TEST(RuntimePermissions, MalformedPermissionNamesNeverReachTheDevice)
{
    FakeTool fake;
    fake.setDefault({});
    ADBService adb(fake.adbPath());
    const QString bad[] = {QString(), QStringLiteral("a.b;reboot"), QStringLiteral("a b"), QStringLiteral("$(id)"),
                           QStringLiteral("-x"), QStringLiteral("a'b"), QStringLiteral("камера")};
    for (const QString &name : bad) {
        EXPECT_FALSE(isValidPermissionName(name)) << name.toStdString();
        const auto r = runSync(adb.changeRuntimePermission(QStringLiteral("com.example.app"), name,
                                                           PermissionOperation::grant, QStringLiteral("SER"), 0));
        EXPECT_EQ(r.exitCode, -1);
        EXPECT_TRUE(r.stdErr.contains(QStringLiteral("Недопустимое имя разрешения")));
    }
    // The package name is checked the same way, for reading and for changing.
    const auto badPackage = runSync(adb.changeRuntimePermission(QStringLiteral("com.x;reboot"),
                                                                QStringLiteral("android.permission.CAMERA"),
                                                                PermissionOperation::grant, QStringLiteral("SER"), 0));
    EXPECT_EQ(badPackage.exitCode, -1);
    const auto badRead = runSync(adb.loadRuntimePermissions(QStringLiteral("com.x reboot"), QStringLiteral("SER"), 0));
    EXPECT_EQ(badRead.result.exitCode, -1);
    EXPECT_TRUE(badRead.permissions.isEmpty());
    EXPECT_TRUE(fake.calls().isEmpty());
    EXPECT_TRUE(isValidPermissionName(QStringLiteral("com.vendor.permission.X_1")));
}

} // namespace
