#include "ModelHarness.h"

#include "bridge/Resources.h"

#include <gtest/gtest.h>

namespace {

QStringList on(const QStringList &args) { return QStringList{QStringLiteral("-s"), QStringLiteral("S1")} + args; }

// A ready device whose catalogue refresh lists `a`, `b` and `c` (no metadata program).
struct Actions : ModelHarness {
    Actions()
    {
        model->devices.set({AndroidDevice{QStringLiteral("S1"), QStringLiteral("device"), {}, {}}});
        model->selectedDeviceID.set(QStringLiteral("S1"));
        const QStringList list = S({"-s", "S1", "shell", "pm", "list", "packages"});
        fake.on(list + S({"-f", "-3"}), {.out = QStringLiteral("package:/a.apk=com.a\npackage:/b.apk=com.b\npackage:/c.apk=com.c\n")});
        fake.on(list + S({"-f", "-s"}), {});
        fake.onPrefix(list + S({"-d"}), {});
        fake.onPrefix(list + S({"-u"}), {});
        model->clearLog();
    }

    QList<QStringList> actionCalls() const
    {
        QList<QStringList> result;
        // The batch's own commands: not the follow-up catalogue listings or device probe.
        for (const QStringList &call : fake.calls()) {
            const bool packageCommand = call.size() > 4
                && ((call[3] == QStringLiteral("pm") && call[4] != QStringLiteral("list")) || call[3] == QStringLiteral("cmd"));
            if (packageCommand)
                result << call;
        }
        return result;
    }
};

TEST(PackageActions, NonDestructiveRunsAtOnceInNameOrderThenRefreshes)
{
    Actions h;
    h.fake.setDefault({.out = QStringLiteral("Package com.x new state: enabled")});
    h->selectedPackageIDs.set({QStringLiteral("com.c"), QStringLiteral("com.a"), QStringLiteral("com.b")});
    QList<std::optional<RunningOperation>> progress;
    QStringList statuses;
    h->observe(h->runningOperation, h.model.get(), [&] { progress << h->runningOperation(); });
    h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });

    h->request(PackageAction::enable);
    EXPECT_EQ(h->pendingAction(), std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && statuses.contains(QStringLiteral("Приложений: 3, с метаданными: 0")); }));

    EXPECT_EQ(h.actionCalls(), (QList<QStringList>{on(S({"shell", "pm", "enable", "com.a"})),
                                                   on(S({"shell", "pm", "enable", "com.b"})),
                                                   on(S({"shell", "pm", "enable", "com.c"}))}));
    const QString t = QStringLiteral("Включить");
    EXPECT_EQ(progress, (QList<std::optional<RunningOperation>>{
                            RunningOperation{t, std::nullopt, 0.0, false},
                            RunningOperation{t, QStringLiteral("1 из 3 · com.a"), 0.0, false},
                            RunningOperation{t, QStringLiteral("2 из 3 · com.b"), 1.0 / 3, false},
                            RunningOperation{t, QStringLiteral("3 из 3 · com.c"), 2.0 / 3, false},
                            std::nullopt}));
    EXPECT_EQ(statuses.mid(0, 2), S({"Включить…", "Операция завершена: 3"}));
    ASSERT_FALSE(h->recentOperations().isEmpty());
    const OperationRecord &record = h->recentOperations().first();
    EXPECT_EQ(record.title, t);
    EXPECT_EQ(record.detail, QStringLiteral("Обработано пакетов: 3"));
    EXPECT_TRUE(record.succeeded);
    EXPECT_EQ(logTexts(*h).mid(0, 2), S({"$ shell pm enable com.a", "Package com.x new state: enabled"}));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ pm list packages -f -3"))); // the follow-up refresh
    // ... and then the device snapshot, read again.
    ASSERT_TRUE(waitUntil([&] { return !h.fake.calls().isEmpty() && h.fake.calls().last().value(3).contains(QStringLiteral("getprop")); }));
}

TEST(PackageActions, FailuresAreCountedAndTheBatchGoesOn)
{
    Actions h;
    const QStringList names = S({"com.e", "com.d", "com.c", "com.b", "com.a"});
    for (const QString &n : names) {
        const bool fails = n == QStringLiteral("com.d") || n == QStringLiteral("com.a");
        h.fake.on(on(S({"shell", "pm", "disable-user", "--user", "0"}) << n),
                  fails ? FakeResponse{.err = QStringLiteral("Unknown package"), .exit = 1}
                        : FakeResponse{.out = QStringLiteral("Package %1 new state: disabled-user\n").arg(n)});
    }
    QStringList statuses;
    h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });
    runSync(h->execute(PackageAction::disable, names));
    QStringList order;
    for (const QStringList &call : h.actionCalls())
        order << call.last();
    EXPECT_EQ(order, names); // a given list runs as given
    EXPECT_TRUE(statuses.contains(QStringLiteral("Завершено с ошибками: 2")));
    EXPECT_EQ(h->recentOperations().first().detail, QStringLiteral("Ошибок: 2 из 5"));
    EXPECT_FALSE(h->recentOperations().first().succeeded);
    EXPECT_EQ(h->toasts().last().tone, Tone::warning);
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Код завершения: 1")));
}

TEST(PackageActions, RestoreLogsItsWholeCommandLine)
{
    Actions h;
    h.fake.setDefault({.out = QStringLiteral("Package com.a installed for user: 0")});
    runSync(h->execute(PackageAction::restore, S({"com.a"})));
    EXPECT_EQ(logTexts(*h).first(), QStringLiteral("$ shell cmd package install-existing --user 0 com.a"));
    EXPECT_EQ(h.actionCalls(), QList<QStringList>{on(S({"shell", "cmd", "package", "install-existing", "--user", "0", "com.a"}))});
}

TEST(PackageActions, BadNamesNeverReachTheDeviceAndCountAsFailures)
{
    Actions h;
    h.fake.setDefault({.out = QStringLiteral("Success\n")});
    QStringList statuses;
    h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });
    runSync(h->execute(PackageAction::uninstall, S({"com.ok", "com.bad;reboot", "-s", "com.also.ok"})));
    QStringList sent;
    for (const QStringList &call : h.actionCalls())
        sent << call.last();
    EXPECT_EQ(sent, S({"com.ok", "com.also.ok"}));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Завершено с ошибками: 2")));
    EXPECT_EQ(h->recentOperations().first().detail, QStringLiteral("Ошибок: 2 из 4"));
    EXPECT_TRUE(std::any_of(h->logs().begin(), h->logs().end(), [](const QString &line) {
        return line.contains(QStringLiteral("Недопустимое имя пакета «com.bad;reboot»"));
    }));
}

TEST(PackageActions, DestructiveActionsWaitAndKeepTheRequestedList)
{
    Actions h;
    h.fake.setDefault({});
    h->request(PackageAction::clearData); // nothing selected: nothing pending
    EXPECT_EQ(h->pendingAction(), std::nullopt);

    h->selectedPackageIDs.set({QStringLiteral("com.b"), QStringLiteral("com.a")});
    h->request(PackageAction::uninstall);
    EXPECT_EQ(h->pendingAction(), PackageAction::uninstall);
    EXPECT_EQ(h->pendingActionPackageNames(), S({"com.a", "com.b"}));
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(h.fake.calls().isEmpty());

    // A refresh lands before the confirmation and the selection changes under it.
    h->selectedPackageIDs.set({QStringLiteral("com.c")});
    h->confirmPendingAction();
    EXPECT_EQ(h->pendingAction(), std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !h->recentOperations().isEmpty(); }));
    EXPECT_EQ(h.actionCalls(), (QList<QStringList>{on(S({"shell", "pm", "uninstall", "--user", "0", "com.a"})),
                                                   on(S({"shell", "pm", "uninstall", "--user", "0", "com.b"}))}));

    h->selectedPackageIDs.set({QStringLiteral("com.a")});
    h->request(PackageAction::clearData);
    h->cancelPendingAction();
    EXPECT_EQ(h->pendingAction(), std::nullopt);
    h->confirmPendingAction(); // nothing pending any more
    EXPECT_FALSE(h->runningOperation().has_value()); // a batch shows itself at once
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(h.actionCalls().size(), 2);
}

TEST(PackageActions, DeviceChangeDropsThePendingActionAndSelection)
{
    Actions h;
    h->selectedPackageIDs.set({QStringLiteral("com.a")});
    h->request(PackageAction::uninstall);
    runSync(h->selectDevice(std::nullopt));
    EXPECT_EQ(h->pendingAction(), std::nullopt);
    EXPECT_TRUE(h->selectedPackageIDs().isEmpty());
    EXPECT_TRUE(h->pendingActionPackageNames().isEmpty());
}

TEST(PackageActions, NothingWithoutServiceOrDevice)
{
    Actions h;
    h->selectedDeviceID.set(std::nullopt);
    h->selectedPackageIDs.set({QStringLiteral("com.a")});
    runSync(h->execute(PackageAction::disable));
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_TRUE(h->logs().isEmpty());
    EXPECT_FALSE(h->isBusy());
}

TEST(PackageActions, ARefreshEndingMidBatchKeepsTheBatchBusyAndItsStatus)
{
    Actions h;
    h.fake.on(on(S({"shell", "pm", "disable-user", "--user", "0", "com.a"})), {.gate = QStringLiteral("batch")});
    bool batchDone = false;
    auto batch = [](AppModel *m, bool *done) -> QCoro::Task<void> {
        co_await m->execute(PackageAction::disable, QStringList{QStringLiteral("com.a")});
        *done = true;
    };
    auto task = batch(h.model.get(), &batchDone);
    ASSERT_TRUE(h->isBusy());
    runSync(h->refreshPackages(false)); // ends while the command still runs
    EXPECT_FALSE(batchDone);
    EXPECT_TRUE(h->isBusy());
    EXPECT_EQ(h->statusText(), QStringLiteral("Отключить…"));
    EXPECT_TRUE(h->runningOperation().has_value());
    h.fake.open(QStringLiteral("batch"));
    ASSERT_TRUE(waitUntil([&] { return batchDone; }));
    EXPECT_FALSE(h->isBusy());
}

TEST(PackageActions, ADeviceListingEndingMidBatchKeepsTheBatchBusy)
{
    Actions h;
    h.fake.on(devicesArgs, {.out = deviceList({QStringLiteral("S1 device model:Pixel transport_id:1")})});
    h.fake.on(on(S({"shell", "pm", "disable-user", "--user", "0", "com.a"})), {.gate = QStringLiteral("batch")});
    runSync(h->refreshPackages(false)); // a catalogue is held, so the listing loads none
    bool batchDone = false;
    auto batch = [](AppModel *m, bool *done) -> QCoro::Task<void> {
        co_await m->execute(PackageAction::disable, QStringList{QStringLiteral("com.a")});
        *done = true;
    };
    auto task = batch(h.model.get(), &batchDone);
    ASSERT_TRUE(h->isBusy());
    runSync(h->refreshDevices()); // the same device stays selected and ready
    EXPECT_FALSE(batchDone);
    EXPECT_TRUE(h->isBusy());
    h.fake.open(QStringLiteral("batch"));
    ASSERT_TRUE(waitUntil([&] { return batchDone; }));
    EXPECT_FALSE(h->isBusy());
}

} // namespace
