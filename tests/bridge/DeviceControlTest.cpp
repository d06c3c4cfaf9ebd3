#include "bridge/ADBService.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("R58M");
QStringList onDevice(QStringList args) { return QStringList{QStringLiteral("-s"), kSerial} + args; }

class DeviceControl : public ::testing::Test {
protected:
    FakeTool fake;
    ADBService adb{fake.adbPath()};
};

TEST_F(DeviceControl, CommandLinesAreExact)
{
    fake.setDefault({});
    runSync(adb.restartServer());
    runSync(adb.connect(QStringLiteral("192.168.1.25:5555")));
    runSync(adb.disconnect(QStringLiteral("192.168.1.25:5555")));
    runSync(adb.pair(QStringLiteral("192.168.1.25:37000"), QStringLiteral("123456")));
    runSync(adb.enableWirelessMode(kSerial));
    runSync(adb.setScreenSize(QStringLiteral("1080x2400"), kSerial));
    runSync(adb.resetScreenSize(kSerial));
    runSync(adb.setScreenDensity(420, kSerial));
    runSync(adb.resetScreenDensity(kSerial));
    runSync(adb.setScreenTimeout(-1, kSerial));
    runSync(adb.sendKeyEvent(QStringLiteral("KEYCODE_HOME"), kSerial));
    runSync(adb.sendKeyEvent(QStringLiteral("26"), kSerial));
    runSync(adb.sendKeyEvent(QStringLiteral("HOME"), kSerial));
    runSync(adb.sendKeyEvent(QStringLiteral("MEDIA_PLAY_PAUSE"), kSerial));
    runSync(adb.launchPackage(QStringLiteral("com.example.app"), kSerial));
    runSync(adb.forceStopPackage(QStringLiteral("com.example.app"), kSerial));
    const QList<QStringList> expected{
        {QStringLiteral("kill-server")},
        {QStringLiteral("start-server")},
        {QStringLiteral("connect"), QStringLiteral("192.168.1.25:5555")},
        {QStringLiteral("disconnect"), QStringLiteral("192.168.1.25:5555")},
        {QStringLiteral("pair"), QStringLiteral("192.168.1.25:37000"), QStringLiteral("123456")},
        onDevice({QStringLiteral("tcpip"), QStringLiteral("5555")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("size"), QStringLiteral("1080x2400")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("size"), QStringLiteral("reset")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("density"), QStringLiteral("420")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("density"), QStringLiteral("reset")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("put"), QStringLiteral("system"),
                  QStringLiteral("screen_off_timeout"), QStringLiteral("-1")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("input"), QStringLiteral("keyevent"), QStringLiteral("KEYCODE_HOME")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("input"), QStringLiteral("keyevent"), QStringLiteral("26")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("input"), QStringLiteral("keyevent"), QStringLiteral("HOME")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("input"), QStringLiteral("keyevent"),
                  QStringLiteral("MEDIA_PLAY_PAUSE")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("monkey"), QStringLiteral("-p"), QStringLiteral("com.example.app"),
                  QStringLiteral("-c"), QStringLiteral("android.intent.category.LAUNCHER"), QStringLiteral("1")}),
        onDevice({QStringLiteral("shell"), QStringLiteral("am"), QStringLiteral("force-stop"), QStringLiteral("com.example.app")}),
    };
    EXPECT_EQ(fake.calls(), expected);
}

TEST_F(DeviceControl, RestartRunsStartServerEvenWhenKillFails)
{
    fake.on({QStringLiteral("kill-server")}, {.err = QStringLiteral("cannot connect to daemon"), .exit = 1});
    fake.on({QStringLiteral("start-server")}, {.err = QStringLiteral("* daemon started successfully")});
    EXPECT_EQ(runSync(adb.restartServer()), (CommandResult{0, QString(), QStringLiteral("* daemon started successfully")}));
}

TEST_F(DeviceControl, UncheckedTextNeverReachesTheDevice)
{
    fake.setDefault({});
    const QList<std::pair<const char *, std::function<CommandResult()>>> cases{
        {"size with shell text", [&] { return runSync(adb.setScreenSize(QStringLiteral("1080x2400; reboot"), kSerial)); }},
        {"size without x", [&] { return runSync(adb.setScreenSize(QStringLiteral("1080*2400"), kSerial)); }},
        {"empty size", [&] { return runSync(adb.setScreenSize(QString(), kSerial)); }},
        {"lower-case key", [&] { return runSync(adb.sendKeyEvent(QStringLiteral("keycode_home"), kSerial)); }},
        {"key with shell text", [&] { return runSync(adb.sendKeyEvent(QStringLiteral("KEYCODE_HOME;reboot"), kSerial)); }},
        {"key with space", [&] { return runSync(adb.sendKeyEvent(QStringLiteral("3 4"), kSerial)); }},
        {"empty key", [&] { return runSync(adb.sendKeyEvent(QString(), kSerial)); }},
        {"key with a dash", [&] { return runSync(adb.sendKeyEvent(QStringLiteral("-1"), kSerial)); }},
        {"key with a quote", [&] { return runSync(adb.sendKeyEvent(QStringLiteral("HOME'"), kSerial)); }},
        {"key with a line break", [&] { return runSync(adb.sendKeyEvent(QStringLiteral("HOME\nreboot"), kSerial)); }},
        {"blank disconnect", [&] { return runSync(adb.disconnect(QString())); }},
        {"spaced disconnect", [&] { return runSync(adb.disconnect(QStringLiteral("  "))); }},
        {"connect with option", [&] { return runSync(adb.connect(QStringLiteral("-h"))); }},
        {"port out of range", [&] { return runSync(adb.connect(QStringLiteral("10.0.0.2:70000"))); }},
        {"pair with space", [&] { return runSync(adb.pair(QStringLiteral("10.0.0.2 :1"), QStringLiteral("1"))); }},
        {"package with shell text", [&] { return runSync(adb.launchPackage(QStringLiteral("com.x;reboot"), kSerial)); }},
        {"package with a space", [&] { return runSync(adb.forceStopPackage(QStringLiteral("com.x reboot"), kSerial)); }},
    };
    for (const auto &[what, run] : cases) {
        const CommandResult r = run();
        EXPECT_EQ(r.exitCode, -1) << what;
        EXPECT_TRUE(r.stdErr.startsWith(QStringLiteral("Неверн")) || r.stdErr.startsWith(QStringLiteral("Недопустим")))
            << what;
    }
    EXPECT_TRUE(fake.calls().isEmpty());
}

TEST_F(DeviceControl, VersionIsTheFirstTrimmedLine)
{
    fake.onSequence({QStringLiteral("version")},
                    {{.out = QStringLiteral("\t Android Debug Bridge version 1.0.41 \nVersion 34.0.5\n")},
                     {.out = QStringLiteral("whatever"), .exit = 1},
                     {.out = QString()},
                     {.out = QStringLiteral("\n   \nsecond")}});
    EXPECT_EQ(runSync(adb.version()), QStringLiteral("Android Debug Bridge version 1.0.41"));
    EXPECT_EQ(runSync(adb.version()), std::nullopt);
    EXPECT_EQ(runSync(adb.version()), std::nullopt);
    EXPECT_EQ(runSync(adb.version()), QString());
}

TEST(DeviceAddress, PrefersTheWlanRouteAndNeedsAnAddress)
{
    struct Case { QString output; std::optional<QString> address; };
    const QList<Case> cases{
        {QStringLiteral("192.168.1.0/24 dev wlan0 proto kernel scope link src 192.168.1.25\n"), QStringLiteral("192.168.1.25")},
        {QStringLiteral("10.0.0.0/8 dev rmnet0 proto kernel scope link src\n10.1.0.0/16 dev rmnet1 src 10.0.0.7\n"),
         QStringLiteral("10.0.0.7")},
        {QStringLiteral("10.120.0.0/16 dev rmnet_data0 proto kernel scope link src 10.120.4.9\n"
                        "192.168.1.0/24 dev wlan0 proto kernel scope link src 192.168.1.25\n"),
         QStringLiteral("192.168.1.25")},
        {QStringLiteral("default via 192.168.1.1 dev wlan0\n"), std::nullopt},
        {QStringLiteral("x dev wlan0 src garbage\n"), std::nullopt},
        {QString(), std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ADBService::parseDeviceIPAddress(c.output), c.address) << c.output.toStdString();
}

TEST_F(DeviceControl, AddressAndTimeoutReadsReturnNoneOnFailure)
{
    fake.onSequence(onDevice({QStringLiteral("shell"), QStringLiteral("ip route")}),
                    {{.out = QStringLiteral("192.168.1.0/24 dev wlan0 src 192.168.1.25\n")},
                     {.out = QStringLiteral("192.168.1.0/24 dev wlan0 src 192.168.1.25\n"), .exit = 1}});
    EXPECT_EQ(runSync(adb.deviceIPAddress(kSerial)), QStringLiteral("192.168.1.25"));
    EXPECT_EQ(runSync(adb.deviceIPAddress(kSerial)), std::nullopt);

    const QStringList get = onDevice({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("get"),
                                      QStringLiteral("system"), QStringLiteral("screen_off_timeout")});
    fake.onSequence(get, {{.out = QStringLiteral("600000\n")}, {.out = QStringLiteral("null\n")},
                          {.out = QStringLiteral("-1")}, {.out = QStringLiteral("1.5")},
                          {.out = QStringLiteral("99999999999999999999")}, {.out = QStringLiteral("60000"), .exit = 255}});
    const QList<std::optional<qint64>> expected{600000, std::nullopt, -1, std::nullopt, std::nullopt, std::nullopt};
    for (const auto &value : expected)
        EXPECT_EQ(runSync(adb.readScreenTimeout(kSerial)), value);
}

TEST(AdbConnect, OnlyConnectedWordsCountAsALink)
{
    struct Case { CommandResult result; bool linked; };
    const QList<Case> cases{
        {{0, QStringLiteral("connected to 192.168.1.25:5555\n"), {}}, true},
        {{0, QStringLiteral("already connected to 192.168.1.25:5555\n"), {}}, true},
        {{0, QStringLiteral("failed to connect to '192.168.1.25:5555': Connection refused\n"), {}}, false},
        {{0, QStringLiteral("cannot connect to 192.168.1.25:5555: No route to host (113)\n"), {}}, false},
        {{0, QString(), {}}, false},
        {{1, QStringLiteral("connected to 192.168.1.25:5555\n"), {}}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ADBService::connectionEstablished(c.result), c.linked) << c.result.stdOut.toStdString();
}

} // namespace
