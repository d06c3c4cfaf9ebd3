#include "ModelHarness.h"

#include "bridge/DeviceSnapshot.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString pixelLine = QStringLiteral("R5CT1 device product:p model:Pixel_7 device:d transport_id:3");
const QString tabletLine = QStringLiteral("T900 device model:Tab_S9 transport_id:4");
const QString pixelUnauthorized = QStringLiteral("R5CT1 unauthorized transport_id:3");

TEST(RefreshDevices, ListsDevicesAndSelectsTheFirstReady)
{
    ModelHarness h;
    h.fake.on(devicesArgs, {.out = deviceList({QStringLiteral("U1 unauthorized"), tabletLine, pixelLine})});
    serveOnePackage(h.fake, QStringLiteral("T900"));
    QStringList statuses;
    h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });
    runSync(h->refreshDevices());
    // The listing, then the device data of the selected ready device.
    EXPECT_EQ(withoutCatalogueCalls(h.fake.calls()),
              (QList<QStringList>{devicesArgs, {QStringLiteral("version")},
                                  {QStringLiteral("-s"), QStringLiteral("T900"), QStringLiteral("shell"),
                                   DeviceSnapshot::probeScript()}}));
    ASSERT_EQ(h->devices().size(), 3);
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("T900"));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Найдено устройств: 3")));
    EXPECT_FALSE(h->isBusy());
    EXPECT_TRUE(h->canRunDeviceAction());
    EXPECT_EQ(h->selectedDevice()->displayName(), QStringLiteral("Tab S9"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb devices -l")));
}

TEST(RefreshDevices, SelectionRulesTable)
{
    struct Case {
        const char *name;
        std::optional<QString> before;
        QStringList lines;
        std::optional<QString> after;
    };
    const QList<Case> cases = {
        {"only unauthorized: the first", std::nullopt, {QStringLiteral("U1 unauthorized"), QStringLiteral("U2 unauthorized")}, QStringLiteral("U1")},
        {"kept while listed, even when not ready", QStringLiteral("U2"), {QStringLiteral("A device"), QStringLiteral("U2 offline")}, QStringLiteral("U2")},
        {"gone: first ready", QStringLiteral("X"), {QStringLiteral("U1 unauthorized"), QStringLiteral("B device")}, QStringLiteral("B")},
        {"empty list: none", QStringLiteral("X"), {}, std::nullopt},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        h.fake.on(devicesArgs, {.out = deviceList(c.lines)});
        if (c.before) {
            h->devices.set({AndroidDevice{*c.before, QStringLiteral("device"), {}, {}}});
            h->selectedDeviceID.set(c.before);
        }
        runSync(h->refreshDevices());
        EXPECT_EQ(h->selectedDeviceID(), c.after) << c.name;
    }
}

TEST(RefreshDevices, HeadingOnlyMeansNoDevices)
{
    ModelHarness h;
    h.fake.on(devicesArgs, {.out = QStringLiteral("List of devices attached\n\n")});
    runSync(h->refreshDevices());
    EXPECT_TRUE(h->devices().isEmpty());
    EXPECT_EQ(h->selectedDeviceID(), std::nullopt);
    EXPECT_EQ(h->statusText(), QStringLiteral("Устройства не найдены"));
}

TEST(RefreshDevices, FailureEmptiesTheListAndLogsTheRun)
{
    ModelHarness h;
    h->devices.set({AndroidDevice{QStringLiteral("A"), QStringLiteral("device"), {}, {}}});
    h->selectedDeviceID.set(QStringLiteral("A"));
    h->packages.set({somePackage()});
    h.fake.on(devicesArgs, {.err = QStringLiteral("adb: server failed"), .exit = 1});
    h->clearLog();
    runSync(h->refreshDevices());
    EXPECT_TRUE(h->devices().isEmpty());
    EXPECT_EQ(h->selectedDeviceID(), std::nullopt);
    EXPECT_TRUE(h->packages().isEmpty());
    EXPECT_EQ(h->statusText(), QStringLiteral("Ошибка ADB"));
    EXPECT_FALSE(h->isBusy());
    EXPECT_EQ(logTexts(*h), (QStringList{QStringLiteral("$ adb devices -l"), QStringLiteral("adb: server failed"),
                                         QStringLiteral("Код завершения: 1")}));
}

TEST(RefreshDevices, WithoutAdbReportsTheMissingTool)
{
    TempSettings settings;
    AppModel model(settings.settings.get(), std::nullopt, false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                   ToolSearchEnvironment{});
    model.showADBSetup.set(false);
    runSync(model.refreshDevices());
    EXPECT_EQ(model.statusText(), QStringLiteral("ADB не установлен"));
    EXPECT_TRUE(model.showADBSetup());
    runSync(model.pollDeviceChanges()); // does nothing, and does not fail
}

TEST(DeviceContext, SurvivesOnlyWhileTheSameReadyDeviceStaysSelected)
{
    struct Case {
        const char *name;
        QString before;
        QStringList after;
        bool survives;
    };
    const QList<Case> cases = {
        {"another device joins", pixelLine, {pixelLine, tabletLine}, true},
        {"device turns ready", pixelUnauthorized, {pixelLine}, false},
        {"device becomes unauthorized", pixelLine, {pixelUnauthorized}, false},
        {"selected device leaves", pixelLine, {tabletLine}, false},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        h.fake.onSequence(devicesArgs, {{.out = deviceList({c.before})}, {.out = deviceList(c.after)}});
        runSync(h->refreshDevices());
        h->packages.set({somePackage()});
        h->runningOperation.set(RunningOperation{QStringLiteral("Работа"), std::nullopt, std::nullopt, false});
        runSync(h->pollDeviceChanges());
        EXPECT_EQ(!h->packages().isEmpty(), c.survives) << c.name;
        EXPECT_EQ(h->runningOperation().has_value(), c.survives) << c.name;
    }
}

TEST(DeviceContext, SelectingAgainStillResets)
{
    ModelHarness h;
    h.fake.on(devicesArgs, {.out = deviceList({pixelLine})});
    runSync(h->refreshDevices());
    h->packages.set({somePackage()});
    h->isBusy.set(true);
    const quint64 generation = h->packageRefreshGeneration;
    runSync(h->selectDevice(QStringLiteral("R5CT1")));
    EXPECT_TRUE(h->packages().isEmpty());
    EXPECT_FALSE(h->isBusy());
    EXPECT_GT(h->packageRefreshGeneration, generation);
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("R5CT1"));
    runSync(h->selectDevice(std::nullopt));
    EXPECT_EQ(h->selectedDevice(), std::nullopt);
    EXPECT_FALSE(h->canRunDeviceAction());
}

// Every workflow clears what belongs to the device when another is selected; what belongs
// to the window (searches, typed text) stays.
TEST(DeviceContext, AnotherDeviceClearsEveryWorkflowsDeviceBoundState)
{
    struct Case {
        const char *what;
        std::function<void(AppModel &)> set;
        std::function<bool(const AppModel &)> cleared;
    };
    const QString text = QStringLiteral("x");
    const QList<Case> bound = {
        {"packages", [](AppModel &m) { m.packages.set({somePackage()}); }, [](const AppModel &m) { return m.packages().isEmpty(); }},
        {"package selection", [](AppModel &m) { m.selectedPackageIDs.set({QStringLiteral("com.example.app")}); },
         [](const AppModel &m) { return m.selectedPackageIDs().isEmpty(); }},
        {"pending action", [](AppModel &m) { m.pendingAction.set(PackageAction::uninstall); },
         [](const AppModel &m) { return !m.pendingAction(); }},
        {"preset preview", [](AppModel &m) { m.presetPreview.set(PresetPreview()); }, [](const AppModel &m) { return !m.presetPreview(); }},
        {"pending preset run", [](AppModel &m) { m.pendingPresetExecution.set(PresetPreview()); },
         [](const AppModel &m) { return !m.pendingPresetExecution(); }},
        {"preset alert", [&](AppModel &m) { m.presetErrorMessage.set(text); }, [](const AppModel &m) { return !m.presetErrorMessage(); }},
        {"permission manager", [](AppModel &m) { m.permissionPackage.set(somePackage()); },
         [](const AppModel &m) { return !m.permissionPackage(); }},
        {"pending permission change", [](AppModel &m) { m.pendingPermissionOperation.set(PermissionOperation::revoke); },
         [](const AppModel &m) { return !m.pendingPermissionOperation(); }},
        {"permission alert", [&](AppModel &m) { m.permissionErrorMessage.set(text); },
         [](const AppModel &m) { return !m.permissionErrorMessage(); }},
        {"export alert", [&](AppModel &m) { m.packageExportErrorMessage.set(text); },
         [](const AppModel &m) { return !m.packageExportErrorMessage(); }},
        {"snapshot", [](AppModel &m) { m.snapshot.set(DeviceSnapshot()); }, [](const AppModel &m) { return !m.snapshot(); }},
        {"inspected package", [&](AppModel &m) { m.inspectorPackageID.set(text); },
         [](const AppModel &m) { return !m.inspectorPackageID(); }},
        {"details error", [&](AppModel &m) { m.packageDetailsError.set(text); },
         [](const AppModel &m) { return !m.packageDetailsError(); }},
        {"debloat selection", [&](AppModel &m) { m.debloatSelection.set({text}); },
         [](const AppModel &m) { return m.debloatSelection().isEmpty(); }},
        {"debloat review", [](AppModel &m) { m.isDebloatReviewPresented.set(true); },
         [](const AppModel &m) { return !m.isDebloatReviewPresented(); }},
        {"screen timeout", [](AppModel &m) { m.screenTimeoutMilliseconds.set(30000); },
         [](const AppModel &m) { return !m.screenTimeoutMilliseconds(); }},
        {"running operation", [](AppModel &m) { m.runningOperation.set(RunningOperation{QStringLiteral("Работа")}); },
         [](const AppModel &m) { return !m.runningOperation(); }},
    };
    const QList<Case> kept = {
        {"package search", [&](AppModel &m) { m.searchText.set(text); }, [](const AppModel &m) { return m.searchText().isEmpty(); }},
        {"console input", [&](AppModel &m) { m.consoleInput.set(text); }, [](const AppModel &m) { return m.consoleInput().isEmpty(); }},
        {"wireless address", [&](AppModel &m) { m.wirelessAddress.set(text); },
         [](const AppModel &m) { return m.wirelessAddress().isEmpty(); }},
    };
    for (const bool clears : {true, false}) {
        for (const Case &c : clears ? bound : kept) {
            ModelHarness h;
            h->devices.set({AndroidDevice{QStringLiteral("A"), QStringLiteral("unauthorized"), {}, {}},
                            AndroidDevice{QStringLiteral("B"), QStringLiteral("unauthorized"), {}, {}}});
            h->selectedDeviceID.set(QStringLiteral("A"));
            c.set(*h);
            ASSERT_FALSE(c.cleared(*h)) << c.what;
            runSync(h->selectDevice(QStringLiteral("B")));
            EXPECT_EQ(c.cleared(*h), clears) << c.what;
        }
    }
}

TEST(DevicePoll, ChangesAreAppliedAndLoggedUnchangedListsAreSilent)
{
    ModelHarness h;
    h.fake.onSequence(devicesArgs, {{.out = deviceList({pixelLine})},
                                    {.out = deviceList({pixelLine})},
                                    {.out = deviceList({pixelLine, tabletLine})},
                                    {.out = deviceList({})}});
    serveOnePackage(h.fake, QStringLiteral("R5CT1"));
    const QStringList probe{QStringLiteral("-s"), QStringLiteral("R5CT1"), QStringLiteral("shell"),
                            DeviceSnapshot::probeScript()};
    h.fake.on({QStringLiteral("version")}, {.out = QStringLiteral("Android Debug Bridge version 1.0.41\n")});
    h.fake.on(probe, {.out = QStringLiteral("prop ro.product.model=Pixel 7\n")});
    runSync(h->pollDeviceChanges());
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Список устройств обновлён автоматически: 1")));
    h->statusText.set(QStringLiteral("Своё"));
    const int entries = h->logs().size();
    runSync(h->pollDeviceChanges()); // the same list
    EXPECT_EQ(h->logs().size(), entries);
    EXPECT_EQ(h->statusText(), QStringLiteral("Своё"));

    runSync(h->pollDeviceChanges());
    EXPECT_EQ(h->statusText(), QStringLiteral("Найдено устройств: 2"));
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("Список устройств обновлён автоматически: 2"));

    runSync(h->pollDeviceChanges());
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("Устройство отключено: Pixel 7"));
    EXPECT_EQ(h->statusText(), QStringLiteral("Устройства не найдены"));
    // Polls never name a serial; the device data of the kept device is read once.
    EXPECT_EQ(withoutCatalogueCalls(h.fake.calls()),
              (QList<QStringList>{devicesArgs, {QStringLiteral("version")}, probe, devicesArgs, devicesArgs, devicesArgs}));
    EXPECT_FALSE(logTexts(*h).contains(QStringLiteral("$ adb devices -l")));
}

TEST(DevicePoll, SecondFailureInARowDropsTheListOnce)
{
    ModelHarness h;
    h.fake.onSequence(devicesArgs, {{.out = deviceList({pixelLine})}, {.exit = 1}});
    runSync(h->pollDeviceChanges());
    h->packages.set({somePackage()});
    const QStringList before = h->logs();

    runSync(h->pollDeviceChanges()); // first failure: nothing visible
    EXPECT_EQ(h->devices().size(), 1);
    EXPECT_EQ(h->logs(), before);
    EXPECT_FALSE(h->packages().isEmpty());

    runSync(h->pollDeviceChanges()); // second: the list goes
    EXPECT_TRUE(h->devices().isEmpty());
    EXPECT_EQ(h->selectedDeviceID(), std::nullopt);
    EXPECT_TRUE(h->packages().isEmpty());
    EXPECT_EQ(h->statusText(), QStringLiteral("ADB недоступен"));
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("Связь с Pixel 7 потеряна"));
    EXPECT_EQ(h->logs().size(), before.size() + 1);

    runSync(h->pollDeviceChanges()); // third: nothing more
    EXPECT_EQ(h->logs().size(), before.size() + 1);
}

TEST(DevicePoll, LostListWithoutSelectionNamesNoDevice)
{
    ModelHarness h;
    h.fake.on(devicesArgs, {.exit = 1});
    h->devices.set({AndroidDevice{QStringLiteral("A"), QStringLiteral("offline"), {}, {}}});
    runSync(h->pollDeviceChanges());
    runSync(h->pollDeviceChanges());
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("Связь с устройством потеряна"));
}

TEST(DevicePoll, HungListingCountsAsAFailedPoll)
{
    ModelHarness h;
    h.fake.on(devicesArgs, {.out = deviceList({pixelLine})});
    runSync(h->pollDeviceChanges());
    ASSERT_EQ(h->devices().size(), 1);

    // Two listings that never answer: each poll ends at its limit and fails.
    h.fake.on(devicesArgs, {.out = deviceList({pixelLine}), .gate = QStringLiteral("never")});
    h->devicePollTimeout = std::chrono::milliseconds(200);
    runSync(h->pollDeviceChanges());
    runSync(h->pollDeviceChanges());
    EXPECT_EQ(h->statusText(), QStringLiteral("ADB недоступен"));
    EXPECT_TRUE(h->devices().isEmpty());

    h->devicePollTimeout = std::chrono::milliseconds(10'000);
    h.fake.on(devicesArgs, {.out = deviceList({tabletLine})});
    runSync(h->pollDeviceChanges()); // the next poll runs again
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("T900"));
}

TEST(DevicePoll, AnOlderListingNeverOverwritesANewerOne)
{
    ModelHarness h;
    // The refresh starts first but answers late; the poll starts later and answers at once.
    h.fake.onSequence(devicesArgs, {{.out = deviceList({pixelLine}), .gate = QStringLiteral("slow")},
                                    {.out = deviceList({tabletLine})}});
    serveOnePackage(h.fake, QStringLiteral("T900"));
    auto slow = h->refreshDevices();
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 1; }));
    runSync(h->pollDeviceChanges());
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("T900"));
    h.fake.open(QStringLiteral("slow"));
    runSync(std::move(slow));
    EXPECT_EQ(h->devices().size(), 1);
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("T900"));
    EXPECT_FALSE(h->isBusy());
    // The last word is the catalogue of the newer list's device, not the older listing.
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 1, с метаданными: 0"));
}

TEST(DevicePoll, AnOlderFailureDoesNotDropANewerList)
{
    ModelHarness h;
    h.fake.onSequence(devicesArgs, {{.exit = 1, .gate = QStringLiteral("slow")}, {.out = deviceList({tabletLine})}});
    auto slow = h->refreshDevices();
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 1; }));
    runSync(h->pollDeviceChanges());
    h.fake.open(QStringLiteral("slow"));
    runSync(std::move(slow));
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("T900"));
    EXPECT_NE(h->statusText(), QStringLiteral("Ошибка ADB"));
}

TEST(DeviceMonitor, PollsUntilStoppedAndRestarts)
{
    ModelHarness h(false, true, 20'000'000);
    h.fake.on(devicesArgs, {.out = deviceList({pixelLine})});
    serveOnePackage(h.fake, QStringLiteral("R5CT1"));
    const auto polls = [&] { return withoutCatalogueCalls(h.fake.calls()).size(); };
    ASSERT_TRUE(waitUntil([&] { return polls() >= 3; }));
    const std::weak_ptr<const void> loop = h->deviceMonitorLifetime();
    h->stopDeviceMonitoring();
    EXPECT_FALSE(h->isDeviceMonitorRunning());
    // The loop ends at its next wake-up, after a poll in flight; then nothing polls.
    ASSERT_TRUE(waitUntil([&] { return loop.expired(); }));
    const auto count = polls();
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(polls(), count);
    h->startDeviceMonitoring();
    h->startDeviceMonitoring(); // a second start adds no loop
    ASSERT_TRUE(waitUntil([&] { return polls() >= count + 3; }));
}

TEST(DeviceMonitor, ReleasedModelEndsTheLoop)
{
    FakeTool fake;
    fake.on(devicesArgs, {.out = deviceList({pixelLine}), .gate = QStringLiteral("poll")});
    TempSettings settings;
    auto model = std::make_unique<AppModel>(settings.settings.get(), ADBService(fake.adbPath()), false, true,
                                            10'000'000, ToolSearchEnvironment{});
    ASSERT_TRUE(waitUntil([&] { return !fake.calls().isEmpty(); }));
    const std::weak_ptr<const void> loop = model->deviceMonitorLifetime();
    model.reset(); // while a poll is in flight
    fake.open(QStringLiteral("poll"));
    ASSERT_TRUE(waitUntil([&] { return loop.expired(); }));
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(fake.calls().size(), 1);
}

TEST(CustomAdb, PathRulesTable)
{
    FakeTool other;
    QTemporaryDir dir;
    QFile plain(dir.path() + QStringLiteral("/adb"));
    plain.open(QIODevice::WriteOnly);
    plain.close();

    struct Case {
        const char *name;
        QString path;
        bool logsRefusal;
    };
    const QList<Case> cases = {
        {"directory", dir.path(), true},
        {"not executable", plain.fileName(), true},
        {"missing", QStringLiteral("/nonexistent/adb"), true},
        {"relative", QStringLiteral("adb"), true},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        const QString before = h->service->executableURL;
        h->clearLog();
        h->useCustomADB(QStringLiteral("  ") + c.path + QStringLiteral("\n"));
        EXPECT_EQ(h->service->executableURL, before) << c.name;
        EXPECT_EQ(logTexts(*h), QStringList{QStringLiteral("Указанный путь к adb не является исполняемым файлом: ") + c.path})
            << c.name;
    }
}

TEST(CustomAdb, SamePathOrBlankKeepsTheToolInUse)
{
    ModelHarness h;
    h->clearLog();
    h->useCustomADB(QStringLiteral("   "));
    h->useCustomADB(h.fake.adbPath());
    EXPECT_TRUE(h->logs().isEmpty());
    EXPECT_EQ(h->service->executableURL, h.fake.adbPath());
    EXPECT_FALSE(h->isBusy()); // an adoption's refresh would be busy at once
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

TEST(CustomAdb, AnotherExecutableIsAdoptedAndListsDevices)
{
    ModelHarness h;
    FakeTool other;
    other.on(devicesArgs, {.out = deviceList({pixelLine})});
    h->adbVersionText.set(QStringLiteral("1.0.41"));
    h->showADBSetup.set(true);
    h->useCustomADB(other.adbPath());
    EXPECT_EQ(h->service->executableURL, other.adbPath());
    EXPECT_EQ(h->fastbootService->executableURL, other.fastbootPath());
    EXPECT_FALSE(h->showADBSetup());
    EXPECT_EQ(h->adbVersionText(), std::nullopt);
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("ADB найден: ") + other.adbPath()));
    ASSERT_TRUE(waitUntil([&] { return h->devices().size() == 1; }));
    // The listing goes to the adopted tool; what follows it (the catalogue of the ready
    // device) may already be under way and goes there too, never to the old one.
    ASSERT_FALSE(other.calls().isEmpty());
    EXPECT_EQ(other.calls().first(), devicesArgs);
    EXPECT_EQ(withoutCatalogueCalls(other.calls()).count(devicesArgs), 1);
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

TEST(CustomAdb, BlankPathWithoutAdbSearchesAgain)
{
    FakeTool fake;
    fake.on(devicesArgs, {.out = deviceList({})});
    TempSettings settings;
    ToolSearchEnvironment env;
    AppModel model(settings.settings.get(), std::nullopt, false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds, env);
    model.relinkADB(); // still nothing to find
    EXPECT_TRUE(model.showADBSetup());
    EXPECT_FALSE(model.service);

    AppModel found(settings.settings.get(), std::nullopt, false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                   ToolSearchEnvironment{{}, {fake.dir()}, {}, std::nullopt});
    // The fake folder is searched now: a blank custom path adopts what is found there.
    found.service.reset();
    found.useCustomADB(QStringLiteral(" \t"));
    ASSERT_TRUE(found.service);
    EXPECT_EQ(found.service->executableURL, fake.adbPath());
    ASSERT_TRUE(waitUntil([&] { return found.statusText() == QStringLiteral("Устройства не найдены"); }));
}

} // namespace
