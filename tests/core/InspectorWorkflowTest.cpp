#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("SER1");

QStringList adb(const QStringList &args, const QString &serial = kSerial)
{
    return QStringList{QStringLiteral("-s"), serial} + args;
}

QString dump(const QString &package, const QString &version)
{
    return QStringLiteral("Packages:\n  Package [%1] (abc):\n    versionCode=7 minSdk=26 targetSdk=34\n"
                          "    versionName=%2\n")
        .arg(package, version);
}

struct InspectorHarness : ModelHarness {
    InspectorHarness(const QString &state = QStringLiteral("device"))
    {
        model->devices.set({AndroidDevice{kSerial, state, QStringLiteral("Pixel"), QStringLiteral("1")},
                            AndroidDevice{QStringLiteral("SER2"), QStringLiteral("device"), QString(), QStringLiteral("2")}});
        model->selectedDeviceID.set(kSerial);
        model->packages.set({somePackage(QStringLiteral("com.a")), somePackage(QStringLiteral("com.b"))});
        fake.onPrefix(adb({"shell", "pm", "path"}), {.out = "package:/data/app/base.apk\n"});
    }
    // With a gate, the answer waits until the test opens it.
    void details(const QString &package, const QString &version, const QString &gate = {})
    {
        fake.on(adb({"shell", "dumpsys", "package", package}), {.out = dump(package, version), .gate = gate});
    }
    int dumpsysCalls() const
    {
        int n = 0;
        for (const QStringList &c : fake.calls())
            n += c.contains(QStringLiteral("dumpsys")) ? 1 : 0;
        return n;
    }
};

TEST(Inspector, ShowsLoadsAndKeepsDetails)
{
    InspectorHarness h;
    h.details("com.a", "1.0");
    h->showInspector(QStringLiteral("com.a"));
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.a"));
    EXPECT_TRUE(h->isDetailsLoading());
    ASSERT_TRUE(waitUntil([&] { return h->packageDetails().has_value(); }));
    EXPECT_EQ(h->packageDetails()->versionName, QStringLiteral("1.0"));
    EXPECT_FALSE(h->isDetailsLoading());
    EXPECT_EQ(h->inspectorPackage()->name, QStringLiteral("com.a"));

    // The same package again: nothing reloads, the details stay.
    h->showInspector(QStringLiteral("com.a"));
    EXPECT_EQ(h.dumpsysCalls(), 1);
    EXPECT_TRUE(h->packageDetails().has_value());

    // A refresh that drops the package leaves the name but no catalogue entry.
    h->packages.set({somePackage(QStringLiteral("com.b"))});
    EXPECT_FALSE(h->inspectorPackage().has_value());
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.a"));

    h->showInspector(std::nullopt);
    EXPECT_FALSE(h->inspectorPackageID().has_value());
    EXPECT_FALSE(h->packageDetails().has_value());
    h->showInspector(std::nullopt); // closing a closed inspector changes nothing
    EXPECT_EQ(h.dumpsysCalls(), 1);
}

TEST(Inspector, LateDetailsOfAnotherPackageOrDeviceAreDropped)
{
    // Each load is started as showInspector starts it, but the test keeps A's task
    // so it can wait for A's answer to have arrived.
    for (const bool answeredFirst : {true, false}) {
        SCOPED_TRACE(answeredFirst ? "B answers first" : "A answers first");
        InspectorHarness h;
        h.details("com.a", "A", QStringLiteral("a"));
        h.details("com.b", "B", QStringLiteral("b"));
        h->inspectorPackageID.set(QStringLiteral("com.a"));
        auto lateA = h->loadPackageDetails();
        h->showInspector(QStringLiteral("com.b"));
        EXPECT_FALSE(h->packageDetails().has_value());
        if (answeredFirst) {
            h.fake.open(QStringLiteral("b"));
            ASSERT_TRUE(waitUntil([&] { return h->packageDetails().has_value(); }));
        }
        h.fake.open(QStringLiteral("a"));
        runSync(std::move(lateA)); // A's answer arrived and was dropped
        // A's end does not end B's loading.
        EXPECT_EQ(h->isDetailsLoading(), !answeredFirst);
        h.fake.open(QStringLiteral("b"));
        ASSERT_TRUE(waitUntil([&] { return h->packageDetails().has_value() && !h->isDetailsLoading(); }));
        EXPECT_EQ(h->packageDetails()->packageName, QStringLiteral("com.b"));
        EXPECT_EQ(h->packageDetails()->versionName, QStringLiteral("B"));
    }
    {
        InspectorHarness h;
        h.details("com.a", "A", QStringLiteral("a"));
        h->inspectorPackageID.set(QStringLiteral("com.a"));
        auto late = h->loadPackageDetails();
        h->selectedDeviceID.set(QStringLiteral("SER2")); // moved without the reset's help
        h.fake.open(QStringLiteral("a"));
        runSync(std::move(late));
        EXPECT_FALSE(h->packageDetails().has_value());
        EXPECT_FALSE(h->isDetailsLoading());
    }
}

TEST(Inspector, NotReadyDeviceRunsNothing)
{
    for (const QString &state : {QStringLiteral("unauthorized"), QStringLiteral("offline")}) {
        InspectorHarness h(state);
        h->showInspector(QStringLiteral("com.a"));
        ASSERT_TRUE(settleCommands());
        EXPECT_TRUE(h.fake.calls().isEmpty());
        EXPECT_FALSE(h->isDetailsLoading());
        EXPECT_FALSE(h->packageDetails().has_value());
    }
}

// A failed "dumpsys package" must not show a package without facts as if it had none.
TEST(Inspector, FailedDumpsysIsExplained)
{
    struct Case { FakeResponse response; QString message; };
    const Case cases[] = {
        {{.err = "error: closed", .exit = 1}, QStringLiteral("Не удалось получить сведения о пакете: error: closed")},
        {{.exit = 255}, QStringLiteral("Не удалось получить сведения о пакете (код завершения 255)")},
    };
    for (const Case &c : cases) {
        InspectorHarness h;
        h.fake.on(adb({"shell", "dumpsys", "package", "com.a"}), c.response);
        runSync([&]() -> QCoro::Task<void> {
            h->inspectorPackageID.set(QStringLiteral("com.a"));
            co_await h->loadPackageDetails();
        }());
        EXPECT_FALSE(h->packageDetails().has_value());
        EXPECT_EQ(h->packageDetailsError(), c.message);
        EXPECT_FALSE(h->isDetailsLoading());

        // The next package clears the message; a good reload too.
        h.details("com.b", "2");
        h->showInspector(QStringLiteral("com.b"));
        EXPECT_FALSE(h->packageDetailsError().has_value());
        ASSERT_TRUE(waitUntil([&] { return h->packageDetails().has_value(); }));
    }
}

TEST(Inspector, LaunchAndForceStopLogAndToast)
{
    struct Case {
        bool launch;
        FakeResponse response;
        QStringList command;
        QString logged, title, icon;
        Tone tone;
    };
    const QStringList monkey{"shell", "monkey", "-p", "com.a", "-c", "android.intent.category.LAUNCHER", "1"};
    const QStringList stop{"shell", "am", "force-stop", "com.a"};
    const Case cases[] = {
        {true, {.out = "Events injected: 1"}, monkey, "$ monkey -p com.a 1", "Приложение запущено", "play.circle.fill", Tone::success},
        {true, {.err = "no activities", .exit = 252}, monkey, "$ monkey -p com.a 1", "Не удалось запустить",
         "exclamationmark.triangle.fill", Tone::warning},
        {false, {}, stop, "$ am force-stop com.a", "Приложение остановлено", "stop.circle.fill", Tone::success},
        {false, {.exit = 1}, stop, "$ am force-stop com.a", "Не удалось остановить", "exclamationmark.triangle.fill",
         Tone::warning},
    };
    for (const Case &c : cases) {
        // An offline device still gets the command: readiness is not tested here.
        InspectorHarness h(QStringLiteral("offline"));
        h->inspectorPackageID.set(QStringLiteral("com.a"));
        h.fake.on(adb(c.command), c.response);
        c.launch ? h->launchInspectedPackage() : h->forceStopInspectedPackage();
        ASSERT_TRUE(waitUntil([&] { return !h->toasts().isEmpty(); }));
        EXPECT_EQ(h.fake.calls(), QList<QStringList>{adb(c.command)});
        const ToastMessage &t = h->toasts().last();
        EXPECT_EQ(t.title, c.title);
        EXPECT_EQ(t.detail, QStringLiteral("com.a"));
        EXPECT_EQ(t.icon, c.icon);
        EXPECT_EQ(t.tone, c.tone);
        EXPECT_TRUE(logTexts(*h).contains(c.logged));
        EXPECT_EQ(logTexts(*h).contains(QStringLiteral("Код завершения: %1").arg(c.response.exit)), c.response.exit != 0);
        EXPECT_TRUE(h->recentOperations().isEmpty());
        EXPECT_EQ(h->statusText(), QStringLiteral("Готово"));
    }
    // Without an inspected package nothing runs.
    InspectorHarness h;
    h->launchInspectedPackage();
    h->forceStopInspectedPackage();
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

TEST(Inspector, DeviceResetClosesTheInspector)
{
    InspectorHarness h;
    h.details("com.a", "1");
    h->showInspector(QStringLiteral("com.a"));
    ASSERT_TRUE(waitUntil([&] { return h->packageDetails().has_value(); }));
    h.fake.on(devicesArgs, {.out = deviceList({"SER2\tdevice transport_id:2"})});
    runSync(h->refreshDevices());
    EXPECT_FALSE(h->inspectorPackageID().has_value());
    EXPECT_FALSE(h->packageDetails().has_value());
    EXPECT_FALSE(h->packageDetailsError().has_value());
}

} // namespace
