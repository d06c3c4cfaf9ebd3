#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("SER1");
const QString kPackage = QStringLiteral("com.example.app");

QStringList dumpsysArgs(const QString &serial = kSerial, const QString &package = kPackage)
{
    return {QStringLiteral("-s"), serial, QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("package"), package};
}

QString runtimeList(const QStringList &lines)
{
    return QStringLiteral("Packages:\n  Package [com.example.app]:\n    User 0: installed=true\n      runtime permissions:\n")
           + lines.join(QLatin1Char('\n')) + QStringLiteral("\n    disabledComponents:\n");
}

const QString kThree = runtimeList({
    QStringLiteral("        android.permission.CAMERA: granted=true, flags=[ USER_SET ]"),
    QStringLiteral("        android.permission.RECORD_AUDIO: granted=true, flags=[ USER_SET ]"),
    QStringLiteral("        android.permission.READ_SMS: granted=true, flags=[ USER_SET ]"),
    QStringLiteral("        android.permission.SEND_SMS: granted=false, flags=[ POLICY_FIXED ]"),
    QStringLiteral("        android.permission.READ_CONTACTS: granted=false"),
});

struct PermissionHarness : ModelHarness {
    PermissionHarness()
    {
        model->devices.set({AndroidDevice{kSerial, QStringLiteral("device"), QStringLiteral("Pixel"), QStringLiteral("1")},
                            AndroidDevice{QStringLiteral("SER2"), QStringLiteral("device"), QString(), QStringLiteral("2")}});
        model->selectedDeviceID.set(kSerial);
        model->packages.set({somePackage(kPackage), somePackage(QStringLiteral("com.other"))});
        model->selectedPackageIDs.set({kPackage});
    }

    // Opens the manager and waits for the list.
    void open(const QString &dumpsys = kThree)
    {
        fake.on(dumpsysArgs(), {.out = dumpsys});
        model->openPermissionManager();
        ASSERT_TRUE(waitUntil([&] { return !model->isPermissionBusy() && !model->permissions().isEmpty(); }));
    }

    QList<QStringList> pmCalls() const
    {
        QList<QStringList> out;
        for (const QStringList &c : fake.calls())
            if (c.size() > 3 && c[3] == QStringLiteral("pm"))
                out << c;
        return out;
    }
};

QStringList names(const QList<AppPermission> &list)
{
    QStringList out;
    for (const auto &p : list)
        out << p.name;
    return out;
}

} // namespace

namespace {

TEST(PermissionWorkflow, OpensOnlyForOneCataloguedPackage)
{
    struct Case { QSet<QString> selection; };
    const Case cases[] = {{{kPackage, QStringLiteral("com.other")}}, {{QStringLiteral("com.gone")}}, {{}}};
    for (const Case &c : cases) {
        PermissionHarness h;
        h->selectedPackageIDs.set(c.selection);
        h->openPermissionManager();
        EXPECT_FALSE(h->permissionPackage().has_value());
        EXPECT_TRUE(h.fake.calls().isEmpty());
    }
}

TEST(PermissionWorkflow, LoadsFiltersAndSearches)
{
    PermissionHarness h;
    h->permissionSearchText.set(QStringLiteral("old"));
    h->permissionFilter.set(PermissionFilter::granted);
    h.open();
    EXPECT_EQ(h->permissionPackage()->name, kPackage);
    EXPECT_EQ(h->permissionSearchText(), QString()); // reset on opening
    EXPECT_EQ(h->permissionFilter(), PermissionFilter::all);
    EXPECT_EQ(h->permissions().size(), 5);
    EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Runtime-разрешений: 5, предоставлено: 3"));
    const QStringList log = logTexts(*h);
    EXPECT_TRUE(log.contains(QStringLiteral("$ dumpsys package com.example.app (runtime permissions, user 0)")));
    EXPECT_TRUE(log.contains(QStringLiteral("Runtime-разрешения com.example.app: 5, предоставлено 3")));

    struct Case { PermissionFilter filter; QString search; QStringList expected; };
    const Case cases[] = {
        {PermissionFilter::denied, QString(), {"android.permission.SEND_SMS", "android.permission.READ_CONTACTS"}},
        {PermissionFilter::all, QStringLiteral("  sms "), {"android.permission.SEND_SMS", "android.permission.READ_SMS"}},
        {PermissionFilter::all, QStringLiteral("камер"), {"android.permission.CAMERA"}},          // by label
        {PermissionFilter::all, QStringLiteral("record_audio"), {"android.permission.RECORD_AUDIO"}}, // by name
        {PermissionFilter::granted, QStringLiteral("чтение"), {"android.permission.READ_SMS"}},
    };
    for (const Case &c : cases) {
        h->permissionFilter.set(c.filter);
        h->permissionSearchText.set(c.search);
        QStringList got = names(h->filteredPermissions());
        QStringList want = c.expected;
        got.sort();
        want.sort();
        EXPECT_EQ(got.join(u','), want.join(u',')) << c.search.toStdString();
    }
}

TEST(PermissionWorkflow, TargetsSkipFixedAndUnchangedPermissions)
{
    PermissionHarness h;
    h.open();
    h->selectedPermissionIDs.set({"android.permission.CAMERA", "android.permission.SEND_SMS"});
    EXPECT_TRUE(h->permissionTargets(PermissionOperation::grant).isEmpty()); // granted or policy-fixed
    h->requestPermissionOperation(PermissionOperation::grant);
    EXPECT_FALSE(h->pendingPermissionOperation().has_value());
    EXPECT_EQ(names(h->permissionTargets(PermissionOperation::revoke)), QStringList{"android.permission.CAMERA"});
    h->requestPermissionOperation(PermissionOperation::revoke);
    EXPECT_EQ(h->pendingPermissionOperation(), PermissionOperation::revoke);
}

TEST(PermissionWorkflow, BatchCountsFailuresAndReloads)
{
    PermissionHarness h;
    h.open();
    const QStringList pm{"-s", kSerial, "shell", "pm", "revoke", "--user", "0", kPackage};
    h.fake.on(pm + QStringList{"android.permission.CAMERA"}, {});
    h.fake.on(pm + QStringList{"android.permission.RECORD_AUDIO"}, {.err = "Security exception", .exit = 255});
    h.fake.on(pm + QStringList{"android.permission.READ_SMS"}, {});
    h->selectedPermissionIDs.set({"android.permission.CAMERA", "android.permission.RECORD_AUDIO",
                                  "android.permission.READ_SMS", "android.permission.GONE"});
    h->requestPermissionOperation(PermissionOperation::revoke);
    h.fake.clearCalls();
    h->confirmPermissionOperation();
    EXPECT_FALSE(h->pendingPermissionOperation().has_value());
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 4 && !h->isPermissionBusy(); }));
    // The list's order (by label): Камера, Микрофон, Чтение SMS.
    EXPECT_EQ(h.fake.calls(), (QList<QStringList>{pm + QStringList{"android.permission.CAMERA"},
                                                  pm + QStringList{"android.permission.RECORD_AUDIO"},
                                                  pm + QStringList{"android.permission.READ_SMS"}, dumpsysArgs()}));
    const QStringList log = logTexts(*h);
    EXPECT_TRUE(log.contains(QStringLiteral("$ pm revoke --user 0 com.example.app android.permission.RECORD_AUDIO")));
    EXPECT_TRUE(log.contains(QStringLiteral("Код завершения: 255")));
    // The batch's summary outlives the reload; the vanished name left the selection.
    EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Завершено с ошибками: 1 из 3"));
    EXPECT_FALSE(h->selectedPermissionIDs().contains(QStringLiteral("android.permission.GONE")));
    EXPECT_TRUE(h->selectedPermissionIDs().contains(QStringLiteral("android.permission.CAMERA")));
    EXPECT_TRUE(log.contains(QStringLiteral("Runtime-разрешения com.example.app: 5, предоставлено 3")));
}

TEST(PermissionWorkflow, BatchStatusTexts)
{
    PermissionHarness h;
    h.open();
    // Hold the reload so the batch's own status can be read.
    h.fake.on(dumpsysArgs(), {.out = kThree, .delayMs = 400});
    h.fake.onPrefix({"-s", kSerial, "shell", "pm", "revoke"}, {.exit = 1});
    h->selectedPermissionIDs.set({"android.permission.CAMERA", "android.permission.READ_SMS"});
    h->requestPermissionOperation(PermissionOperation::revoke);
    h->confirmPermissionOperation();
    EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Отозвать…"));
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 4 && !h->isPermissionBusy(); }));
    // Reloading shows its own progress, then the batch's summary comes back.
    ASSERT_TRUE(waitUntil([&] { return h->permissionStatusText().startsWith(QStringLiteral("Завершено")); }));
    EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Завершено с ошибками: 2 из 2"));
    h.fake.clearCalls();

    h.fake.on(dumpsysArgs(), {.out = kThree, .delayMs = 400});
    h.fake.onPrefix({"-s", kSerial, "shell", "pm", "grant"}, {});
    h->selectedPermissionIDs.set({"android.permission.READ_CONTACTS"});
    h->requestPermissionOperation(PermissionOperation::grant);
    h->confirmPermissionOperation();
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 2 && !h->isPermissionBusy(); }));
    ASSERT_TRUE(waitUntil([&] { return h->permissionStatusText().startsWith(QStringLiteral("Операция")); }));
    EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Операция завершена: 1"));

    // A reload that fails keeps its own status and alert.
    h.fake.on(dumpsysArgs(), {.exit = 1});
    h->requestPermissionOperation(PermissionOperation::grant);
    h->confirmPermissionOperation();
    ASSERT_TRUE(waitUntil([&] { return h->permissionErrorMessage().has_value(); }));
    EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Не удалось прочитать разрешения"));
}

TEST(PermissionWorkflow, FailedReadKeepsTheListAndExplains)
{
    struct Case { FakeResponse response; QString message; };
    const Case cases[] = {
        {{.exit = 1}, QStringLiteral("ADB не вернул данные о разрешениях")},
        {{.err = "error: device offline", .exit = 1}, QStringLiteral("error: device offline")},
    };
    for (const Case &c : cases) {
        PermissionHarness h;
        h.open();
        h->selectedPermissionIDs.set({"android.permission.CAMERA"});
        h.fake.on(dumpsysArgs(), c.response);
        runSync(h->loadPermissions());
        EXPECT_EQ(h->permissionErrorMessage(), c.message);
        EXPECT_EQ(h->permissionStatusText(), QStringLiteral("Не удалось прочитать разрешения"));
        EXPECT_EQ(h->permissions().size(), 5);
        EXPECT_EQ(h->selectedPermissionIDs().size(), 1);
        EXPECT_FALSE(h->isPermissionBusy());
        EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ dumpsys package com.example.app")));
    }
}

TEST(PermissionWorkflow, DeviceSwitchDuringReadShowsNoOldList)
{
    PermissionHarness h;
    h.fake.on(dumpsysArgs(), {.out = kThree, .gate = QStringLiteral("read")});
    h.fake.on(devicesArgs, {.out = deviceList({"SER2\tdevice transport_id:2"})});
    // The read as openPermissionManager starts it, kept so the test can wait for its end.
    h->permissionPackage.set(somePackage(kPackage));
    auto read = h->loadPermissions();
    EXPECT_TRUE(h->isPermissionBusy());
    runSync(h->refreshDevices()); // SER1 is gone: the reset closes the manager
    EXPECT_FALSE(h->permissionPackage().has_value());
    EXPECT_FALSE(h->isPermissionBusy());
    h.fake.open(QStringLiteral("read"));
    runSync(std::move(read)); // the old device's answer arrived and was dropped
    EXPECT_TRUE(h->permissions().isEmpty());
    EXPECT_FALSE(h->permissionPackage().has_value());
    EXPECT_FALSE(h->isPermissionBusy());
}

// The list on screen was read from one device and package; a change confirmed
// against it must not be sent to another.
TEST(PermissionWorkflow, ChangesGoOnlyWhereTheListCameFrom)
{
    for (int variant = 0; variant < 2; ++variant) {
        PermissionHarness h;
        h.open();
        h.fake.setDefault({});
        h->selectedPermissionIDs.set({"android.permission.CAMERA"});
        h->requestPermissionOperation(PermissionOperation::revoke);
        ASSERT_TRUE(h->pendingPermissionOperation().has_value());
        if (variant == 0)
            h->selectedDeviceID.set(QStringLiteral("SER2")); // selection moved without a reset
        else
            h->permissionPackage.set(somePackage(QStringLiteral("com.other")));
        h.fake.clearCalls();
        h->confirmPermissionOperation();
        ASSERT_TRUE(settleCommands());
        EXPECT_TRUE(h.pmCalls().isEmpty()) << variant;
        EXPECT_FALSE(h->isPermissionBusy());
    }
}

TEST(PermissionWorkflow, CloseClearsTheManagerButKeepsItsTexts)
{
    PermissionHarness h;
    h.open();
    h->selectedPermissionIDs.set({"android.permission.CAMERA"});
    h->requestPermissionOperation(PermissionOperation::revoke);
    h->permissionErrorMessage.set(QStringLiteral("x"));
    h->permissionSearchText.set(QStringLiteral("cam"));
    h->closePermissionManager();
    EXPECT_FALSE(h->permissionPackage().has_value());
    EXPECT_TRUE(h->permissions().isEmpty());
    EXPECT_TRUE(h->selectedPermissionIDs().isEmpty());
    EXPECT_FALSE(h->pendingPermissionOperation().has_value());
    EXPECT_EQ(h->permissionErrorMessage(), QStringLiteral("x"));
    EXPECT_EQ(h->permissionSearchText(), QStringLiteral("cam"));
    h->confirmPermissionOperation();
    EXPECT_TRUE(h.pmCalls().isEmpty());
}

} // namespace
