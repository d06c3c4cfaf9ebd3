#include "ModelHarness.h"

#include "bridge/DeviceSnapshot.h"

#include <gtest/gtest.h>

namespace {

const AndroidDevice pixel{QStringLiteral("R5CT1"), QStringLiteral("device"), QStringLiteral("Pixel_7"), QStringLiteral("3")};
const AndroidDevice tablet{QStringLiteral("T900"), QStringLiteral("device"), QStringLiteral("Tab_S9"), QStringLiteral("4")};

QStringList probeArgs(const QString &serial)
{
    return {QStringLiteral("-s"), serial, QStringLiteral("shell"), DeviceSnapshot::probeScript()};
}

const QStringList versionArgs{QStringLiteral("version")};

void select(AppModel &m, const QList<AndroidDevice> &devices, const std::optional<QString> &id)
{
    m.devices.set(devices);
    m.selectedDeviceID.set(id);
}

int callsOf(const FakeTool &fake, const QStringList &args)
{
    const QList<QStringList> calls = fake.calls();
    return int(std::count(calls.begin(), calls.end(), args));
}

TEST(DeviceDataState, NewModelStartsEmpty)
{
    ModelHarness h;
    AppModel &m = *h;
    EXPECT_EQ(m.route(), AppRoute::overview);
    EXPECT_EQ(m.debloatRiskFilter(), (QSet<RemovalRisk>{RemovalRisk::safe, RemovalRisk::review}));
    EXPECT_EQ(m.debloatAction(), PresetAction::disable);
    EXPECT_EQ(m.fastbootStatusText(), QStringLiteral("Fastboot-устройства не найдены"));
    EXPECT_EQ(m.toolsStatusText(), QStringLiteral("Готово"));
    EXPECT_FALSE(m.snapshot() || m.adbVersionText() || m.inspectorPackageID() || m.packageDetails()
                 || m.screenTimeoutMilliseconds());
    EXPECT_FALSE(m.isSnapshotLoading() || m.isDetailsLoading() || m.isDebloatReviewPresented() || m.isFastbootBusy());
    EXPECT_TRUE(m.debloatSelection().isEmpty() && m.debloatSearchText().isEmpty() && m.fastbootDevices().isEmpty()
                && m.fastbootVariables().isEmpty() && m.wirelessPairAddress().isEmpty()
                && m.wirelessPairCode().isEmpty());
}

TEST(DeviceDataState, DeviceChangeClearsOnlyDeviceBoundState)
{
    ModelHarness h;
    AppModel &m = *h;
    select(m, {pixel, tablet}, pixel.id);
    m.snapshot.set(DeviceSnapshot::parse(QStringLiteral("prop ro.product.model=P"), pixel.id));
    m.isSnapshotLoading.set(true);
    m.inspectorPackageID.set(QStringLiteral("com.a"));
    m.packageDetails.set(PackageDetails{});
    m.isDetailsLoading.set(true);
    m.screenTimeoutMilliseconds.set(30000);
    m.debloatSelection.set({QStringLiteral("com.a")});
    m.isDebloatReviewPresented.set(true);
    // kept
    m.adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
    m.route.set(AppRoute::tools);
    m.debloatRiskFilter.set({RemovalRisk::critical});
    m.debloatSearchText.set(QStringLiteral("face"));
    m.debloatAction.set(PresetAction::uninstall);
    m.fastbootDevices.set({FastbootDevice{QStringLiteral("FB1"), QStringLiteral("fastboot")}});
    m.fastbootVariables.set({{QStringLiteral("product"), QStringLiteral("panther")}});
    m.fastbootStatusText.set(QStringLiteral("Найдено: 1"));
    m.toolsStatusText.set(QStringLiteral("Размер применён"));
    m.wirelessPairAddress.set(QStringLiteral("10.0.0.2:37000"));
    m.wirelessPairCode.set(QStringLiteral("123456"));

    runSync(m.selectDevice(tablet.id));

    EXPECT_FALSE(m.snapshot() || m.inspectorPackageID() || m.packageDetails() || m.screenTimeoutMilliseconds());
    EXPECT_FALSE(m.isSnapshotLoading() || m.isDetailsLoading() || m.isDebloatReviewPresented());
    EXPECT_TRUE(m.debloatSelection().isEmpty());
    EXPECT_EQ(m.adbVersionText(), QStringLiteral("Android Debug Bridge version 1.0.41"));
    EXPECT_EQ(m.route(), AppRoute::tools);
    EXPECT_EQ(m.debloatRiskFilter(), QSet<RemovalRisk>{RemovalRisk::critical});
    EXPECT_EQ(m.debloatSearchText(), QStringLiteral("face"));
    EXPECT_EQ(m.debloatAction(), PresetAction::uninstall);
    EXPECT_EQ(m.fastbootDevices().size(), 1);
    EXPECT_EQ(m.fastbootVariables().size(), 1);
    EXPECT_EQ(m.fastbootStatusText(), QStringLiteral("Найдено: 1"));
    EXPECT_EQ(m.toolsStatusText(), QStringLiteral("Размер применён"));
    EXPECT_EQ(m.wirelessPairAddress(), QStringLiteral("10.0.0.2:37000"));
    EXPECT_EQ(m.wirelessPairCode(), QStringLiteral("123456"));
}

TEST(LinkStateRules, FirstRuleThatAppliesDecides)
{
    using C = LinkState::Case;
    auto dev = [](const char *id, const char *state) {
        return AndroidDevice{QString::fromUtf8(id), QString::fromUtf8(state), {}, {}};
    };
    const FastbootDevice fb{QStringLiteral("FB1"), QStringLiteral("fastboot")};
    struct Case {
        const char *name;
        bool adb;
        std::optional<QString> operation;
        QList<FastbootDevice> fastboot;
        QList<AndroidDevice> devices;
        std::optional<QString> selected;
        bool busy;
        LinkState expected;
    };
    const Case cases[] = {
        {"no adb beats everything", false, QStringLiteral("Работа"), {fb}, {dev("A", "device")}, QStringLiteral("A"), true, C::adbMissing},
        {"operation beats device state", true, QStringLiteral("Отключение"), {}, {dev("A", "unauthorized")}, QStringLiteral("A"), false,
         LinkState::working(QStringLiteral("Отключение"))},
        {"selected device beats fastboot list", true, {}, {fb}, {dev("A", "device")}, QStringLiteral("A"), false, C::connected},
        {"fastboot list without selection", true, {}, {fb}, {}, {}, false, C::fastboot},
        {"unauthorized", true, {}, {}, {dev("A", "unauthorized")}, QStringLiteral("A"), false, C::unauthorized},
        {"offline", true, {}, {}, {dev("A", "offline")}, QStringLiteral("A"), false, C::offline},
        {"recovery", true, {}, {}, {dev("A", "recovery")}, QStringLiteral("A"), false, C::recovery},
        {"sideload", true, {}, {}, {dev("A", "sideload")}, QStringLiteral("A"), false, C::sideload},
        {"bootloader", true, {}, {}, {dev("A", "bootloader")}, QStringLiteral("A"), false, C::fastboot},
        {"fastboot state", true, {}, {}, {dev("A", "fastboot")}, QStringLiteral("A"), false, C::fastboot},
        {"unknown state", true, {}, {}, {dev("A", "host")}, QStringLiteral("A"), false, C::offline},
        {"state is case-sensitive", true, {}, {}, {dev("A", "Device")}, QStringLiteral("A"), false, C::offline},
        {"nothing listed, busy", true, {}, {}, {}, {}, true, C::searching},
        {"nothing listed, idle", true, {}, {}, {}, {}, false, C::noDevice},
        {"listed, none selected", true, {}, {}, {dev("A", "device")}, {}, false, C::offline},
        {"selection names no listed device", true, {}, {}, {}, QStringLiteral("gone"), false, C::noDevice},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        std::unique_ptr<AppModel> noAdb;
        AppModel *m = h.model.get();
        if (!c.adb) {
            noAdb = std::make_unique<AppModel>(h.settings.settings.get(), std::nullopt, false, false,
                                               AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
            m = noAdb.get();
        }
        if (c.operation)
            m->runningOperation.set(RunningOperation{.title = *c.operation});
        m->fastbootDevices.set(c.fastboot);
        select(*m, c.devices, c.selected);
        m->isBusy.set(c.busy);
        EXPECT_EQ(m->linkState(), c.expected) << c.name;
        const bool usable = std::any_of(c.devices.begin(), c.devices.end(), [&](const AndroidDevice &d) {
            return d.id == c.selected && d.state == QStringLiteral("device");
        });
        EXPECT_EQ(m->isDeviceUsable(), usable) << c.name;
    }
}

TEST(AdbShortVersion, CutsAfterTheFirstVersionWord)
{
    const std::pair<std::optional<QString>, std::optional<QString>> cases[] = {
        {std::nullopt, std::nullopt},
        {QStringLiteral("Android Debug Bridge version 1.0.41"), QStringLiteral("ADB 1.0.41")},
        {QStringLiteral("adb version  1.0.39 \t"), QStringLiteral("ADB 1.0.39")},
        {QStringLiteral("Android Debug Bridge Version 1.0.41"), QStringLiteral("Android Debug Bridge Version 1.0.41")},
        {QStringLiteral("custom build"), QStringLiteral("custom build")},
        {QStringLiteral("version 1 version 2"), QStringLiteral("ADB 1 version 2")},
        {QStringLiteral("tool version    "), QStringLiteral("ADB ")},
    };
    for (const auto &[text, expected] : cases) {
        ModelHarness h;
        h->adbVersionText.set(text);
        EXPECT_EQ(h->adbShortVersion(), expected) << text.value_or(QStringLiteral("<none>")).toStdString();
    }
}

TEST(EnsureDeviceData, ReadsVersionThenSnapshotAndThenNothingMore)
{
    ModelHarness h;
    h.fake.on(versionArgs, {.out = QStringLiteral("Android Debug Bridge version 1.0.41\nVersion 34.0.5\n")});
    h.fake.on(probeArgs(pixel.id), {.out = QStringLiteral("prop ro.product.model=Pixel 7\n")});
    select(*h, {pixel}, pixel.id);

    runSync(h->ensureDeviceData());
    EXPECT_EQ(h->adbVersionText(), QStringLiteral("Android Debug Bridge version 1.0.41"));
    ASSERT_TRUE(h->snapshot());
    EXPECT_EQ(h->snapshot()->model, QStringLiteral("Pixel 7"));
    EXPECT_EQ(h->snapshot()->serial, pixel.id);
    EXPECT_FALSE(h->isSnapshotLoading());
    EXPECT_EQ(h.fake.calls(), (QList<QStringList>{versionArgs, probeArgs(pixel.id)}));

    h.fake.clearCalls();
    runSync(h->ensureDeviceData());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

TEST(EnsureDeviceData, FailedVersionStaysNoneAndIsTriedAgain)
{
    ModelHarness h;
    h.fake.onSequence(versionArgs, {{.err = QStringLiteral("boom"), .exit = 1}, {.out = QStringLiteral("adb version 2\n")}});
    select(*h, {AndroidDevice{pixel.id, QStringLiteral("unauthorized"), {}, {}}}, pixel.id);
    runSync(h->ensureDeviceData());
    EXPECT_EQ(h->adbVersionText(), std::nullopt);
    EXPECT_TRUE(h->logs().isEmpty() || !logTexts(*h).contains(QStringLiteral("$ version")));
    runSync(h->ensureDeviceData());
    EXPECT_EQ(h->adbVersionText(), QStringLiteral("adb version 2"));
    EXPECT_EQ(callsOf(h.fake, probeArgs(pixel.id)), 0); // not ready: no probe
}

TEST(RefreshSnapshot, GuardsRunNothing)
{
    struct Case { const char *name; QList<AndroidDevice> devices; std::optional<QString> selected; };
    const Case cases[] = {
        {"no selection", {pixel}, std::nullopt},
        {"selection not listed", {tablet}, pixel.id},
        {"not ready", {AndroidDevice{pixel.id, QStringLiteral("offline"), {}, {}}}, pixel.id},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        select(*h, c.devices, c.selected);
        runSync(h->refreshSnapshot(true));
        EXPECT_TRUE(h.fake.calls().isEmpty()) << c.name;
        EXPECT_FALSE(h->isSnapshotLoading()) << c.name;
    }
    ModelHarness h;
    AppModel noAdb(h.settings.settings.get(), std::nullopt, false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    select(noAdb, {pixel}, pixel.id);
    runSync(noAdb.refreshSnapshot(true));
    EXPECT_FALSE(noAdb.isSnapshotLoading());
}

TEST(RefreshSnapshot, OnlyAForcedRefreshOverlapsARunningOne)
{
    ModelHarness h;
    h.fake.on(probeArgs(pixel.id), {.out = QStringLiteral("prop ro.product.model=Pixel\n"), .delayMs = 300});
    select(*h, {pixel}, pixel.id);

    auto first = h->refreshSnapshot(false);
    EXPECT_TRUE(h->isSnapshotLoading());
    runSync(h->refreshSnapshot(false)); // returns at once
    auto forced = h->refreshSnapshot(true);
    runSync(std::move(first));
    runSync(std::move(forced));
    EXPECT_EQ(callsOf(h.fake, probeArgs(pixel.id)), 2);
    EXPECT_FALSE(h->isSnapshotLoading());
    EXPECT_EQ(h->snapshot()->model, QStringLiteral("Pixel"));
}

TEST(RefreshSnapshot, FailedProbeKeepsTheOldSnapshotAndIsLogged)
{
    ModelHarness h;
    h.fake.onSequence(probeArgs(pixel.id), {{.out = QStringLiteral("prop ro.product.model=Old\n")},
                                            {.err = QStringLiteral("error: closed"), .exit = 1}});
    select(*h, {pixel}, pixel.id);
    runSync(h->refreshSnapshot(true));
    runSync(h->refreshSnapshot(true));
    ASSERT_TRUE(h->snapshot());
    EXPECT_EQ(h->snapshot()->model, QStringLiteral("Old"));
    const QStringList logs = logTexts(*h);
    const qsizetype at = logs.indexOf(QStringLiteral("$ device probe"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(logs.mid(at + 1), (QStringList{QStringLiteral("error: closed"), QStringLiteral("Код завершения: 1")}));
}

TEST(RefreshSnapshot, ALateResultForAnotherDeviceIsDropped)
{
    ModelHarness h;
    h.fake.on(probeArgs(pixel.id), {.out = QStringLiteral("prop ro.product.model=Pixel\n"), .delayMs = 300});
    h.fake.on(probeArgs(tablet.id), {.err = QStringLiteral("late failure"), .exit = 1, .delayMs = 300});
    select(*h, {pixel, tablet}, pixel.id);

    auto load = h->refreshSnapshot(false);
    runSync(h->selectDevice(tablet.id));
    runSync(std::move(load));
    EXPECT_FALSE(h->snapshot());
    EXPECT_FALSE(h->isSnapshotLoading());

    // A failure for a device that went away is not logged either.
    auto failing = h->refreshSnapshot(false);
    h->devices.set({pixel});
    runSync(std::move(failing));
    EXPECT_FALSE(logTexts(*h).contains(QStringLiteral("$ device probe")));
}

TEST(RefreshSnapshot, AReleasedModelIsNotTouched)
{
    ModelHarness h;
    h.fake.on(probeArgs(pixel.id), {.out = QStringLiteral("prop ro.product.model=Pixel\n"), .delayMs = 200});
    select(*h, {pixel}, pixel.id);
    auto load = h->refreshSnapshot(false);
    h.model.reset();
    runSync(std::move(load));
    // The probe ran to its end and nothing followed it on the phone.
    EXPECT_EQ(h.fake.calls(), QList<QStringList>{probeArgs(pixel.id)});
    // A model made afterwards (the next window) starts with nothing of the late answer.
    h.model = std::make_unique<AppModel>(h.settings.settings.get(), ADBService(h.fake.adbPath()), false, false,
                                         AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    EXPECT_FALSE(h->snapshot());
    EXPECT_FALSE(h->isSnapshotLoading());
    EXPECT_FALSE(logTexts(*h).contains(QStringLiteral("$ device probe")));
    EXPECT_EQ(h.fake.calls().size(), 1);
}

} // namespace
