#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

QStringList on(const QStringList &args) { return QStringList{QStringLiteral("-s"), QStringLiteral("S1")} + args; }
QStringList disableOf(const QString &name) { return on(S({"shell", "pm", "disable-user", "--user", "0"}) << name); }
const QStringList waitForDevice = on(S({"wait-for-device"}));
const QStringList installedList = on(S({"shell", "pm", "list", "packages", "--user", "0"}));
const QStringList disabledList = on(S({"shell", "pm", "list", "packages", "-d", "--user", "0"}));

QString confirmedDisable(const QString &name) { return QStringLiteral("Package %1 new state: disabled-user\n").arg(name); }

// A ready device "S1" with five packages, whose link drops in the middle of a batch that disables
// them: com.a and com.b are confirmed, the command for com.c is cut off (exit 0, nothing printed),
// com.d and com.e find the device offline.
struct LinkLoss : ModelHarness {
    const QStringList names = S({"com.a", "com.b", "com.c", "com.d", "com.e"});

    LinkLoss()
    {
        model->devices.set({AndroidDevice{QStringLiteral("S1"), QStringLiteral("device"), {}, {}}});
        model->selectedDeviceID.set(QStringLiteral("S1"));
        fake.setDefault({});
        for (const char *n : {"com.a", "com.b"})
            fake.on(disableOf(QString::fromLatin1(n)), {.out = confirmedDisable(QString::fromLatin1(n))});
        fake.on(disableOf(QStringLiteral("com.c")), {});
        for (const char *n : {"com.d", "com.e"})
            fake.on(disableOf(QString::fromLatin1(n)), {.err = QStringLiteral("error: device offline"), .exit = 1});
        fake.on(installedList, {.out = QStringLiteral("package:com.a\npackage:com.b\npackage:com.c\npackage:com.d\n"
                                                      "package:com.e\n")});
        model->clearLog();
    }
    bool called(const QStringList &call) const { return fake.calls().contains(call); }
    const OperationRecord &summary() const { return model->recentOperations().first(); }
};

// The command in flight when the link dropped counts by what the device shows once it is back.
TEST(BatchLinkLoss, TheCommandCutOffCountsByTheDevicesStateOnceItIsBack)
{
    struct Case { const char *disabledOnDevice; const char *detail; const char *verdict; };
    const Case cases[] = {
        {"package:com.a\npackage:com.b\n", "Ошибок: 3 из 5", "com.c: по состоянию на устройстве действие не выполнено"},
        {"package:com.a\npackage:com.b\npackage:com.c\n", "Ошибок: 2 из 5",
         "com.c: по состоянию на устройстве действие выполнено"},
    };
    for (const Case &c : cases) {
        LinkLoss h;
        h.fake.on(disabledList, {.out = QString::fromUtf8(c.disabledOnDevice)});
        runSync(h->execute(PackageAction::disable, h.names));
        ASSERT_FALSE(h->recentOperations().isEmpty());
        EXPECT_EQ(h.summary().detail, QString::fromUtf8(c.detail));
        EXPECT_FALSE(h.summary().succeeded);
        const QStringList log = logTexts(*h);
        EXPECT_TRUE(log.contains(QStringLiteral("com.c: код 0, но устройство не подтвердило действие (связь могла прерваться)")))
            << log.join(u'\n').toStdString();
        EXPECT_TRUE(log.contains(QString::fromUtf8(c.verdict))) << log.join(u'\n').toStdString();
        // Waited for the device before reading the states, and read them once.
        const QList<QStringList> calls = h.fake.calls();
        ASSERT_TRUE(calls.contains(waitForDevice));
        EXPECT_LT(calls.indexOf(waitForDevice), calls.indexOf(disabledList));
        EXPECT_LT(calls.indexOf(disableOf(QStringLiteral("com.e"))), calls.indexOf(waitForDevice));
        EXPECT_FALSE(h->isBusy());
        EXPECT_FALSE(h->runningOperation());
    }
}

// A device that does not come back, or whose states cannot be read, leaves the command counted
// as failed; the batch still ends, within the time it was given.
TEST(BatchLinkLoss, WithoutTheDeviceTheCommandCutOffStaysAFailure)
{
    struct Case { const char *why; FakeResponse wait; std::optional<FakeResponse> installed; };
    const Case cases[] = {
        {"the device never returns", {.gate = QStringLiteral("never")}, std::nullopt},
        {"adb gives up waiting", {.err = QStringLiteral("error: no devices/emulators found"), .exit = 1}, std::nullopt},
        {"the states come back empty", {}, FakeResponse{}},
    };
    for (const Case &c : cases) {
        LinkLoss h;
        h->deviceReturnTimeout = std::chrono::milliseconds(300);
        h.fake.on(waitForDevice, c.wait);
        if (c.installed)
            h.fake.on(installedList, *c.installed);
        QStringList statuses;
        h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });
        runSync(h->execute(PackageAction::disable, h.names));
        ASSERT_FALSE(h->recentOperations().isEmpty()) << c.why;
        EXPECT_EQ(h.summary().detail, QStringLiteral("Ошибок: 3 из 5")) << c.why;
        EXPECT_TRUE(statuses.contains(QStringLiteral("Завершено с ошибками: 3"))) << c.why;
        EXPECT_FALSE(h->isBusy()) << c.why;
    }
}

// Clearing data leaves no mark the package lists show: unconfirmed, it stays a failure, and
// nothing waits for the device. A batch the device confirms throughout never waits either.
TEST(BatchLinkLoss, OnlyACheckableUnconfirmedCommandWaitsForTheDevice)
{
    {
        LinkLoss h;
        runSync(h->execute(PackageAction::clearData, S({"com.a"})));
        EXPECT_EQ(h.summary().detail, QStringLiteral("Ошибок: 1 из 1"));
        EXPECT_FALSE(h.called(waitForDevice));
    }
    {
        LinkLoss h;
        runSync(h->execute(PackageAction::disable, S({"com.a", "com.b"})));
        EXPECT_EQ(h.summary().detail, QStringLiteral("Обработано пакетов: 2"));
        EXPECT_FALSE(h.called(waitForDevice));
    }
}

} // namespace
