#include "bridge/ADBService.h"
#include "bridge/FastbootService.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

const QString kFastboot = QStringLiteral("fastboot");

TEST(FastbootParsers, DeviceLinesNeedAFastbootMode)
{
    struct Case { QString output; QList<FastbootDevice> devices; };
    const QList<Case> cases{
        {QStringLiteral("0A1B2C3D\tfastboot\n"), {{QStringLiteral("0A1B2C3D"), QStringLiteral("fastboot")}}},
        {QStringLiteral("  0A1B2C3D     fastboot   extra\n\n \t\nR58M\tfastbootd\n"),
         {{QStringLiteral("0A1B2C3D"), QStringLiteral("fastboot")}, {QStringLiteral("R58M"), QStringLiteral("fastbootd")}}},
        {QStringLiteral("lonely\n"), {}},
        {QString(), {}},
        // Texts that are not devices: start failures, waits, errors, missing permissions.
        {QStringLiteral("Не удалось запустить «/x/fastboot»: No such file or directory"), {}},
        {QStringLiteral("< waiting for any device >\n"), {}},
        {QStringLiteral("error: no devices/emulators found\n"), {}},
        {QStringLiteral("no permissions (missing udev rules? user is in the plugdev group); "
                        "see [http://developer.android.com/tools/device.html]\tfastboot\n"), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ADBService::parseFastbootDevices(c.output), c.devices) << c.output.toStdString();
    EXPECT_TRUE(ADBService::fastbootReportsNoPermissions(cases.last().output));
    EXPECT_FALSE(ADBService::fastbootReportsNoPermissions(cases.first().output));
}

TEST(FastbootParsers, VariablesComeOnlyFromBootloaderLines)
{
    const QString output = QStringLiteral(
        "(bootloader) version-bootloader: 1.0\n"
        "(bootloader) partition-type:system:ext4\n"
        "(bootloader) partition-size:boot_a:0x4000000\n"
        "(bootloader) partition-size:boot_b:0x4000000\n"
        "(bootloader) has-slot:boot:yes\n"
        "(bootloader) slot-successful:a:yes\n"
        "(bootloader) version-baseband:g5300-12345:abc\n"
        "\t(bootloader)  serialno :  ABC \n"
        "(bootloader) empty:\n"
        "(bootloader) all:anything\n"
        "(bootloader) nocolon\n"
        "(bootloader) current-slot:a\n"
        "(bootloader) current-slot:b\n"
        "all: \n"
        "Finished. Total time: 0.050s\n"
        "getvar:all FAILED (Status read failed (No such device))\n");
    const QList<FastbootVariable> expected{
        {QStringLiteral("version-bootloader"), QStringLiteral("1.0")},
        {QStringLiteral("partition-type:system"), QStringLiteral("ext4")},
        {QStringLiteral("partition-size:boot_a"), QStringLiteral("0x4000000")},
        {QStringLiteral("partition-size:boot_b"), QStringLiteral("0x4000000")},
        {QStringLiteral("has-slot:boot"), QStringLiteral("yes")},
        {QStringLiteral("slot-successful:a"), QStringLiteral("yes")},
        {QStringLiteral("version-baseband"), QStringLiteral("g5300-12345:abc")},
        {QStringLiteral("serialno"), QStringLiteral("ABC")},
        {QStringLiteral("current-slot"), QStringLiteral("a")},
        {QStringLiteral("current-slot"), QStringLiteral("b")},
    };
    EXPECT_EQ(ADBService::parseFastbootVariables(output), expected);
    EXPECT_TRUE(ADBService::parseFastbootVariables(QString()).isEmpty());
}

class Fastboot : public ::testing::Test {
protected:
    FakeTool fake;
    FastbootService service{fake.fastbootPath()};
};

TEST_F(Fastboot, CommandLinesAndParsedResults)
{
    fake.on({QStringLiteral("devices")}, {.out = QStringLiteral("0A1B\tfastboot\n")}, kFastboot);
    fake.onPrefix({QStringLiteral("getvar")}, {.err = QStringLiteral("< waiting for any device >\n"), .exit = 1}, kFastboot);
    fake.onPrefix({QStringLiteral("reboot")}, {}, kFastboot);
    fake.onPrefix({QStringLiteral("-s")}, {}, kFastboot);
    // fastboot prints its variables on standard error.
    fake.onPrefix({QStringLiteral("-s"), QStringLiteral("0A1B"), QStringLiteral("getvar")},
                  {.err = QStringLiteral("(bootloader) product:sargo\nall:\nFinished. Total time: 0.050s\n")}, kFastboot);

    const auto listed = runSync(service.devices());
    EXPECT_EQ(listed.devices, (QList<FastbootDevice>{{QStringLiteral("0A1B"), QStringLiteral("fastboot")}}));
    const auto vars = runSync(service.variables(QStringLiteral("0A1B")));
    EXPECT_EQ(vars.pairs, (QList<FastbootVariable>{{QStringLiteral("product"), QStringLiteral("sargo")}}));
    EXPECT_TRUE(vars.result.succeeded());
    const auto none = runSync(service.variables(QString()));
    EXPECT_TRUE(none.pairs.isEmpty());
    EXPECT_EQ(none.result.exitCode, 1);
    runSync(service.variables(std::nullopt));
    runSync(service.reboot(std::nullopt, QStringLiteral("0A1B")));
    runSync(service.reboot(QStringLiteral("bootloader"), QStringLiteral("0A1B")));
    runSync(service.reboot(std::nullopt, std::nullopt));
    const QList<QStringList> expected{
        {QStringLiteral("devices")},
        {QStringLiteral("-s"), QStringLiteral("0A1B"), QStringLiteral("getvar"), QStringLiteral("all")},
        {QStringLiteral("getvar"), QStringLiteral("all")},
        {QStringLiteral("getvar"), QStringLiteral("all")},
        {QStringLiteral("-s"), QStringLiteral("0A1B"), QStringLiteral("reboot")},
        {QStringLiteral("-s"), QStringLiteral("0A1B"), QStringLiteral("reboot"), QStringLiteral("bootloader")},
        {QStringLiteral("reboot")},
    };
    EXPECT_EQ(fake.calls(kFastboot), expected);
}

TEST_F(Fastboot, MissingToolIsNeverADevice)
{
    const FastbootService missing(QStringLiteral("/nonexistent/fastboot"));
    const auto listed = runSync(missing.devices());
    EXPECT_EQ(listed.result.exitCode, -1);
    EXPECT_TRUE(listed.devices.isEmpty());
}

TEST_F(Fastboot, AHangingToolIsStoppedSoTheCallerGetsControlBack)
{
    EXPECT_EQ(FastbootService().devicesTimeout, std::chrono::seconds(10));
    // The answer never comes; the listing ends at its limit.
    fake.on({QStringLiteral("devices")}, {.out = QStringLiteral("0A1B\tfastboot\n"), .gate = QStringLiteral("never")},
            kFastboot);
    FastbootService hurried = service;
    hurried.devicesTimeout = std::chrono::milliseconds(300);
    QElapsedTimer timer;
    timer.start();
    const auto listed = runSync(hurried.devices());
    EXPECT_GE(timer.elapsed(), 300);
    EXPECT_EQ(listed.result.exitCode, -1);
    EXPECT_TRUE(listed.result.stdErr.contains(QStringLiteral("не завершилась")));
    EXPECT_TRUE(listed.devices.isEmpty());
}

} // namespace
