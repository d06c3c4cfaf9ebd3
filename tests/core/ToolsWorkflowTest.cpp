#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("R5CT1");
QStringList onDevice(QStringList args) { return QStringList{QStringLiteral("-s"), kSerial} + args; }
const QStringList ipRoute = onDevice({QStringLiteral("shell"), QStringLiteral("ip route")});
const QStringList tcpip = onDevice({QStringLiteral("tcpip"), QStringLiteral("5555")});

// A model with one ready device selected and the fake's call log cleared.
struct ToolsHarness : ModelHarness {
    ToolsHarness()
    {
        fake.on(devicesArgs, {.out = deviceList({kSerial + QStringLiteral(" device model:Pixel_7 transport_id:3")})});
        runSync(model->refreshDevices());
        model->wirelessSwitchDelay = std::chrono::milliseconds(10);
        model->logs.set({});
        fake.clearCalls();
    }
    OperationRecord lastRecord() const { return model->recentOperations().value(0); }
};

TEST(ToolsWorkflows, NothingHappensWithoutAReadyDeviceOrAdb)
{
    ModelHarness h; // no device listed
    h->wirelessPairAddress.set(QStringLiteral("10.0.0.2:37000"));
    h->wirelessPairCode.set(QStringLiteral("123456"));
    h->logs.set({});
    runSync(h->switchToWireless());
    runSync(h->loadScreenTimeout());
    runSync(h->applyScreenTimeout(60000));
    runSync(h->applyScreenSize(QStringLiteral("1080x2400")));
    runSync(h->resetScreenSize());
    runSync(h->applyScreenDensity(420));
    runSync(h->resetScreenDensity());
    runSync(h->sendKey(QStringLiteral("KEYCODE_HOME"), QStringLiteral("Домой")));
    runSync(h->disconnectWireless(QStringLiteral("   ")));
    h->service.reset();
    runSync(h->restartADBServer());
    runSync(h->pairWireless());
    runSync(h->disconnectWireless(QStringLiteral("10.0.0.2:5555")));
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_TRUE(h->logs().isEmpty());
    EXPECT_TRUE(h->recentOperations().isEmpty());
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Готово"));
    EXPECT_EQ(h->statusText(), QStringLiteral("Готово"));
}

TEST(ToolsWorkflows, PairingTrimsNeverShowsTheCodeAndClearsItOnlyOnSuccess)
{
    ToolsHarness h;
    const QStringList pair{QStringLiteral("pair"), QStringLiteral("10.0.0.2:37000"), QStringLiteral("482913")};
    h.fake.onSequence(pair, {{.exit = 1}, {.out = QStringLiteral("Successfully paired to 10.0.0.2:37000\n")}});
    h->wirelessPairAddress.set(QStringLiteral("  10.0.0.2:37000 \n"));
    h->wirelessPairCode.set(QStringLiteral(" 482913 "));

    runSync(h->pairWireless());
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("Сопряжение не удалось"));
    EXPECT_EQ(h.lastRecord().detail, QStringLiteral("10.0.0.2:37000")); // no output: the address
    EXPECT_EQ(h->wirelessPairCode(), QStringLiteral(" 482913 "));
    EXPECT_FALSE(h->isBusy());

    runSync(h->pairWireless());
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("Сопряжение выполнено"));
    EXPECT_TRUE(h->wirelessPairCode().isEmpty());
    EXPECT_EQ(h->wirelessPairAddress(), QStringLiteral("  10.0.0.2:37000 \n"));
    EXPECT_EQ(callsAmong(h.fake, {pair, devicesArgs}), (QList<QStringList>{pair, pair, devicesArgs}));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb pair 10.0.0.2:37000")));
    for (const QString &line : h->logs())
        EXPECT_FALSE(line.contains(QStringLiteral("482913")));
    for (const auto &record : h->recentOperations())
        EXPECT_FALSE(record.detail.contains(QStringLiteral("482913")));

    h->wirelessPairCode.set(QStringLiteral("   "));
    h.fake.clearCalls();
    runSync(h->pairWireless());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

TEST(ToolsWorkflows, SwitchReadsTheAddressOverUsbThenConnects)
{
    ToolsHarness h;
    h.fake.on(ipRoute, {.out = QStringLiteral("10.1.0.0/16 dev rmnet0 src 10.1.4.9\n"
                                              "192.168.1.0/24 dev wlan0 proto kernel scope link src 192.168.1.25\n")});
    h.fake.on(tcpip, {.out = QStringLiteral("restarting in TCP mode port: 5555\n")});
    const QStringList connect{QStringLiteral("connect"), QStringLiteral("192.168.1.25:5555")};
    h.fake.on(connect, {.out = QStringLiteral("connected to 192.168.1.25:5555\n")});
    runSync(h->switchToWireless());
    EXPECT_EQ(callsAmong(h.fake, {ipRoute, tcpip, connect, devicesArgs}), (QList<QStringList>{ipRoute, tcpip, connect, devicesArgs}));
    EXPECT_EQ(h->wirelessAddress(), QStringLiteral("192.168.1.25:5555"));
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("Устройство доступно по Wi-Fi"));
    EXPECT_TRUE(h.lastRecord().succeeded);
    EXPECT_FALSE(h->isBusy());
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb tcpip 5555")));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb connect 192.168.1.25:5555")));
}

TEST(ToolsWorkflows, SwitchFailuresAreReportedAsFailures)
{
    {
        // adb connect exits 0 when it could not connect.
        ToolsHarness h;
        h.fake.on(ipRoute, {.out = QStringLiteral("192.168.1.0/24 dev wlan0 src 192.168.1.25\n")});
        h.fake.on(tcpip, {});
        h.fake.on({QStringLiteral("connect"), QStringLiteral("192.168.1.25:5555")},
                  {.out = QStringLiteral("failed to connect to '192.168.1.25:5555': Connection refused\n")});
        runSync(h->switchToWireless());
        EXPECT_EQ(h.lastRecord().title, QStringLiteral("Не удалось подключиться"));
        EXPECT_FALSE(h.lastRecord().succeeded);
        EXPECT_TRUE(h.lastRecord().detail.contains(QStringLiteral("Connection refused")));
    }
    {
        // No address: the device still goes into TCP mode, so the advice to connect by hand
        // can be followed; nothing is connected.
        ToolsHarness h;
        h->wirelessAddress.set(QStringLiteral("old:5555"));
        h.fake.on(ipRoute, {.out = QStringLiteral("default via 10.0.0.1 dev rmnet0\n")});
        h.fake.on(tcpip, {.out = QStringLiteral("restarting in TCP mode port: 5555\n")});
        runSync(h->switchToWireless());
        EXPECT_EQ(h.fake.calls(), (QList<QStringList>{ipRoute, tcpip}));
        EXPECT_EQ(h.lastRecord().title, QStringLiteral("IP-адрес устройства не найден"));
        EXPECT_EQ(h.lastRecord().detail, QStringLiteral("Подключитесь вручную, указав адрес из настроек Wi-Fi"));
        EXPECT_EQ(h->wirelessAddress(), QStringLiteral("old:5555"));
        EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb tcpip 5555")));
        EXPECT_FALSE(h->isBusy());
    }
    {
        // No address and TCP mode refused: the refusal is what the user learns, not the advice.
        ToolsHarness h;
        h.fake.on(ipRoute, {.exit = 1});
        h.fake.on(tcpip, {.err = QStringLiteral("error: closed"), .exit = 1});
        runSync(h->switchToWireless());
        EXPECT_EQ(h.fake.calls(), (QList<QStringList>{ipRoute, tcpip}));
        EXPECT_EQ(h->recentOperations().size(), 1);
        EXPECT_EQ(h.lastRecord().title, QStringLiteral("Не удалось включить Wi-Fi-режим"));
        EXPECT_FALSE(h->isBusy());
    }
    {
        ToolsHarness h;
        h.fake.on(ipRoute, {.out = QStringLiteral("192.168.1.0/24 dev wlan0 src 192.168.1.25\n")});
        h.fake.on(tcpip, {.err = QStringLiteral("error: closed"), .exit = 1});
        runSync(h->switchToWireless());
        EXPECT_EQ(h.fake.calls(), (QList<QStringList>{ipRoute, tcpip}));
        EXPECT_EQ(h.lastRecord().title, QStringLiteral("Не удалось включить Wi-Fi-режим"));
        EXPECT_EQ(h.lastRecord().detail, QStringLiteral("error: closed"));
    }
}

TEST(ToolsWorkflows, DisconnectAndRestart)
{
    ToolsHarness h;
    h.fake.on({QStringLiteral("disconnect"), QStringLiteral("10.0.0.2:5555")}, {.out = QStringLiteral("disconnected 10.0.0.2:5555\n")});
    h.fake.on({QStringLiteral("kill-server")}, {.exit = 1});
    h.fake.on({QStringLiteral("start-server")}, {.err = QStringLiteral("could not install *smartsocket* listener"), .exit = 1});
    runSync(h->disconnectWireless(QStringLiteral("10.0.0.2:5555")));
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("Отключено"));
    EXPECT_EQ(h.lastRecord().detail, QStringLiteral("10.0.0.2:5555"));
    runSync(h->restartADBServer());
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("ADB-сервер перезапущен"));
    EXPECT_EQ(h.lastRecord().detail, QStringLiteral("could not install *smartsocket* listener"));
    EXPECT_FALSE(h.lastRecord().succeeded);
    EXPECT_EQ(h->toasts().last().tone, Tone::warning);
    const QList<QStringList> expected{{QStringLiteral("disconnect"), QStringLiteral("10.0.0.2:5555")}, devicesArgs,
                                      {QStringLiteral("kill-server")}, {QStringLiteral("start-server")}, devicesArgs};
    EXPECT_EQ(callsAmong(h.fake, expected), expected);
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb kill-server && adb start-server")));
}

TEST(ToolsWorkflows, ScreenSettingsAndKeys)
{
    ToolsHarness h;
    h.fake.setDefault({});
    const QStringList get = onDevice({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("get"),
                                      QStringLiteral("system"), QStringLiteral("screen_off_timeout")});
    h.fake.on(get, {.out = QStringLiteral("30000\n")});
    runSync(h->loadScreenTimeout());
    EXPECT_EQ(h->screenTimeoutMilliseconds(), 30000);

    runSync(h->applyScreenTimeout(60000));
    EXPECT_EQ(h->screenTimeoutMilliseconds(), 60000);
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Тайм-аут экрана обновлён"));
    EXPECT_TRUE(h->recentOperations().isEmpty());
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ settings put system screen_off_timeout 60000")));

    runSync(h->applyScreenDensity(420));
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("Плотность экрана"));
    EXPECT_EQ(h.lastRecord().detail, QStringLiteral("420 dpi"));
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Плотность изменена"));
    runSync(h->resetScreenSize());
    EXPECT_EQ(h.lastRecord().title, QStringLiteral("Разрешение экрана сброшено"));
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Разрешение сброшено"));

    h.fake.on(onDevice({QStringLiteral("shell"), QStringLiteral("input"), QStringLiteral("keyevent"),
                        QStringLiteral("KEYCODE_POWER")}), {.exit = 1});
    runSync(h->sendKey(QStringLiteral("KEYCODE_HOME"), QStringLiteral("Домой")));
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Домой: отправлено"));
    runSync(h->sendKey(QStringLiteral("KEYCODE_POWER"), QStringLiteral("Питание")));
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Питание: ошибка"));

    // Checked text: nothing runs and the reason reaches the user.
    h.fake.clearCalls();
    runSync(h->applyScreenSize(QStringLiteral("1080x2400; reboot")));
    runSync(h->sendKey(QStringLiteral("KEYCODE_HOME && reboot"), QStringLiteral("Домой")));
    for (const QStringList &call : h.fake.calls()) // only the snapshot probe that follows a screen change
        EXPECT_FALSE(call.contains(QStringLiteral("wm")) || call.contains(QStringLiteral("input"))) << call.join(' ').toStdString();
    EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Домой: ошибка"));
    const auto sizeRecord = h.lastRecord();
    EXPECT_EQ(sizeRecord.title, QStringLiteral("Разрешение экрана"));
    EXPECT_FALSE(sizeRecord.succeeded);
    EXPECT_TRUE(sizeRecord.detail.contains(QStringLiteral("Неверное разрешение")));

    // Another device: the time-out read from the old one is gone.
    h.fake.on(devicesArgs, {.out = deviceList({QStringLiteral("T900 device model:Tab transport_id:4")})});
    runSync(h->refreshDevices());
    EXPECT_EQ(h->screenTimeoutMilliseconds(), std::nullopt);
}

} // namespace

namespace {

// A confirmed reboot is recorded with what the device answered, and not at all when no
// command ran.
TEST(ToolsWorkflows, ConfirmedRebootRecordsItsOutcome)
{
    struct Case {
        const char *what;
        bool withDevice;
        FakeResponse answer;
        std::optional<OperationRecord> expected;
    };
    const QList<Case> cases{
        {"no device", false, {}, std::nullopt},
        {"sent", true, {}, OperationRecord(QStringLiteral("Загрузить Recovery"), QStringLiteral("Команда отправлена устройству"), {}, true)},
        {"refused", true, {.err = QStringLiteral("error: device unauthorized"), .exit = 1},
         OperationRecord(QStringLiteral("Загрузить Recovery"), QStringLiteral("error: device unauthorized"), {}, false)},
    };
    const auto check = [](const Case &c, ModelHarness &h) {
        h.fake.on(onDevice({QStringLiteral("reboot"), QStringLiteral("recovery")}), c.answer);
        runSync(h->rebootAndRecord(QStringLiteral("recovery"), QStringLiteral("Загрузить Recovery")));
        if (!c.expected) {
            EXPECT_TRUE(h->recentOperations().isEmpty()) << c.what;
            EXPECT_TRUE(h->toasts().isEmpty()) << c.what;
            EXPECT_TRUE(h.fake.calls().isEmpty()) << c.what;
            return;
        }
        EXPECT_EQ(h.fake.calls(), QList<QStringList>{onDevice({QStringLiteral("reboot"), QStringLiteral("recovery")})})
            << c.what;
        ASSERT_EQ(h->recentOperations().size(), 1) << c.what;
        const OperationRecord record = h->recentOperations().first();
        EXPECT_EQ(record.title, c.expected->title) << c.what;
        EXPECT_EQ(record.detail, c.expected->detail) << c.what;
        EXPECT_EQ(record.succeeded, c.expected->succeeded) << c.what;
        EXPECT_EQ(h->toasts().last().tone, c.expected->succeeded ? Tone::success : Tone::warning) << c.what;
    };
    for (const Case &c : cases) {
        if (c.withDevice) {
            ToolsHarness h;
            check(c, h);
        } else {
            ModelHarness h;
            check(c, h);
        }
    }
}

// The display panel waits while its own command runs: the model says so from the moment the
// command starts until its result is on the status line.
TEST(ToolsWorkflows, DisplayCommandsMarkTheDisplayBusy)
{
    const QList<std::pair<const char *, std::function<QCoro::Task<void>(AppModel &)>>> operations{
        {"size", [](AppModel &m) { return m.applyScreenSize(QStringLiteral("1080x2400")); }},
        {"size reset", [](AppModel &m) { return m.resetScreenSize(); }},
        {"density", [](AppModel &m) { return m.applyScreenDensity(420); }},
        {"density reset", [](AppModel &m) { return m.resetScreenDensity(); }},
        {"time-out", [](AppModel &m) { return m.applyScreenTimeout(30000); }},
    };
    for (const auto &[what, start] : operations) {
        ToolsHarness h;
        h.fake.setDefault({});
        QStringList busyAtStatus;
        h->observe(h->toolsStatusText, h.model.get(),
                   [&] { busyAtStatus << (h->isDisplayBusy() ? QStringLiteral("busy ") : QStringLiteral("idle ")) + h->toolsStatusText(); });
        bool done = false;
        auto run = [](QCoro::Task<void> task, bool *finished) -> QCoro::Task<void> {
            co_await std::move(task);
            *finished = true;
        };
        auto task = run(start(*h), &done);
        EXPECT_TRUE(h->isDisplayBusy()) << what;
        ASSERT_TRUE(waitUntil([&] { return done; })) << what;
        EXPECT_FALSE(h->isDisplayBusy()) << what;
        ASSERT_FALSE(busyAtStatus.isEmpty()) << what;
        // The result is written once the command is over.
        EXPECT_TRUE(busyAtStatus.last().startsWith(QStringLiteral("idle "))) << what << busyAtStatus.join(", ").toStdString();
    }
}

TEST(ToolsWorkflows, ShowingAndRefreshingTheToolsLoadTheirState)
{
    ToolsHarness h;
    h->fastbootService = FastbootService(h.fake.fastbootPath());
    h.fake.setDefault({});
    const QStringList get = onDevice({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("get"),
                                      QStringLiteral("system"), QStringLiteral("screen_off_timeout")});
    const QStringList probe = onDevice({QStringLiteral("shell"), DeviceSnapshot::probeScript()});
    h.fake.on(get, {.out = QStringLiteral("60000\n")});
    runSync(h->loadToolsState());
    EXPECT_EQ(h.fake.calls(), QList<QStringList>{get});
    EXPECT_EQ(h.fake.calls(QStringLiteral("fastboot")), QList<QStringList>{{QStringLiteral("devices")}});
    EXPECT_EQ(h->screenTimeoutMilliseconds(), 60000);

    h.fake.clearCalls();
    runSync(h->refreshToolsState());
    EXPECT_EQ(h.fake.calls(), (QList<QStringList>{probe, get}));
    EXPECT_EQ(h.fake.calls(QStringLiteral("fastboot")), QList<QStringList>{{QStringLiteral("devices")}});
}

TEST(ToolsWorkflows, KeysByNumberOrName)
{
    ToolsHarness h;
    h.fake.setDefault({});
    for (const char *code : {"KEYCODE_HOME", "HOME", "3", "VOLUME_UP"}) {
        h.fake.clearCalls();
        runSync(h->sendKey(QString::fromLatin1(code), QStringLiteral("Клавиша")));
        EXPECT_EQ(h.fake.calls(), QList<QStringList>{onDevice({QStringLiteral("shell"), QStringLiteral("input"),
                                                               QStringLiteral("keyevent"), QString::fromLatin1(code)})})
            << code;
        EXPECT_EQ(h->toolsStatusText(), QStringLiteral("Клавиша: отправлено")) << code;
    }
}

} // namespace
