#include "LoopbackPort.h"
#include "ModelHarness.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString realAdb = QStringLiteral("/usr/bin/adb");

// Debian's adb against a server on a private port of its own, killed at the end
// even when a check fails. Only loopback is involved. The server scans no emulator
// ports (5555 and up), no USB and no network service announcements: a phone plugged
// into this machine, or one on its network, is not a device here.
class RealAdb : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo(realAdb).isExecutable())
            GTEST_SKIP() << "adb is not installed";
        reserved = std::make_unique<LoopbackPort>();
        ASSERT_TRUE(reserved->isValid()) << "no free loopback port outside the ephemeral range";
        port = QByteArray::number(reserved->number());
        qputenv("ANDROID_ADB_SERVER_PORT", port);
        qputenv("ADB_LOCAL_TRANSPORT_MAX_PORT", "5553");
        qputenv("ADB_USB", "0");
        qputenv("ADB_MDNS", "0");
    }

    void TearDown() override
    {
        if (port.isEmpty())
            return;
        runProcess(realAdb, {QStringLiteral("kill-server")});
        qunsetenv("ANDROID_ADB_SERVER_PORT");
        qunsetenv("ADB_LOCAL_TRANSPORT_MAX_PORT");
        qunsetenv("ADB_USB");
        qunsetenv("ADB_MDNS");
    }

    std::unique_ptr<LoopbackPort> reserved;
    QByteArray port;
};

TEST_F(RealAdb, VersionDevicesAndKillServer)
{
    const ADBService adb(realAdb);

    const CommandResult version = runSync(adb.run({QStringLiteral("version")}));
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.stdOut.startsWith(QStringLiteral("Android Debug Bridge version"))) << version.stdOut.toStdString();

    // The first listing starts the private server; no device is attached here.
    const CommandResult listing = runSync(adb.run({QStringLiteral("devices"), QStringLiteral("-l")}));
    EXPECT_EQ(listing.exitCode, 0) << listing.stdErr.toStdString();
    EXPECT_TRUE(listing.stdOut.startsWith(QStringLiteral("List of devices attached"))) << listing.stdOut.toStdString();
    EXPECT_TRUE(AppModel::parseDevices(listing.stdOut).isEmpty());

    // The model end to end against the running server.
    TempSettings settings;
    AppModel model(settings.settings.get(), adb, false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                   ToolSearchEnvironment{});
    runSync(model.refreshDevices());
    EXPECT_EQ(model.statusText(), QStringLiteral("Устройства не найдены"));
    runSync(model.pollDeviceChanges());
    EXPECT_EQ(model.statusText(), QStringLiteral("Устройства не найдены"));

    const CommandResult kill = runSync(adb.run({QStringLiteral("kill-server")}));
    EXPECT_EQ(kill.exitCode, 0) << kill.stdErr.toStdString();
}

} // namespace
