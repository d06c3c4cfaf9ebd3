#include "bridge/ADBService.h"
#include "bridge/DeviceSnapshot.h"
#include "bridge/DeviceText.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QString fixture(const char *name)
{
    QFile file(QStringLiteral(KESTREL_TEST_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

DeviceSnapshot parse(const QString &text, const QString &serial = QStringLiteral("SER1"))
{
    return DeviceSnapshot::parse(text, serial);
}

TEST(ProbeScript, IsExactlyTheBytesTheDeviceShellExpects)
{
    const QByteArray bytes = DeviceSnapshot::probeScript().toUtf8();
    EXPECT_EQ(bytes.size(), 564);
    EXPECT_FALSE(bytes.endsWith('\n'));
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[1], QByteArray("  echo \"prop $key=$(getprop $key)\""));
    EXPECT_EQ(lines[8], QByteArray("echo '##root'; command -v su 2>/dev/null || echo ''"));
    EXPECT_TRUE(lines[0].startsWith("for key in ro.product.model ro.product.manufacturer "));
    EXPECT_TRUE(lines[0].endsWith(" ro.build.type ro.product.cpu.abi; do"));
}

TEST(SnapshotParser, ReadsEverySectionOfARealProbe)
{
    const DeviceSnapshot s = parse(fixture("probe-pixel.txt"), QStringLiteral("28A1B"));
    EXPECT_EQ(s.serial, QStringLiteral("28A1B"));
    EXPECT_TRUE(s.capturedAt.has_value());
    EXPECT_EQ(s.model, QStringLiteral("Pixel 7"));
    EXPECT_EQ(s.manufacturer, QStringLiteral("Google"));
    EXPECT_EQ(s.brand, QStringLiteral("google"));
    EXPECT_EQ(s.codename, QStringLiteral("panther"));
    EXPECT_EQ(s.androidRelease, QStringLiteral("14"));
    EXPECT_EQ(s.sdkLevel, 34);
    EXPECT_EQ(s.securityPatch, QStringLiteral("2024-03-05"));
    EXPECT_EQ(s.buildID, QStringLiteral("UQ1A.240205.004"));
    EXPECT_EQ(s.buildType, QStringLiteral("user"));
    EXPECT_EQ(s.abi, QStringLiteral("arm64-v8a"));
    EXPECT_EQ(s.batteryLevel, 85);
    EXPECT_EQ(s.batteryStatusCode, 2);
    EXPECT_EQ(s.batteryHealthCode, 2);
    EXPECT_DOUBLE_EQ(s.batteryTemperature.value(), 30.5);
    EXPECT_DOUBLE_EQ(s.batteryVoltage.value(), 4.321);
    EXPECT_EQ(s.isCharging, true);
    EXPECT_EQ(s.storageTotalBytes, 119237512LL * 1024);
    EXPECT_EQ(s.storageUsedBytes, 60123456LL * 1024);
    EXPECT_EQ(s.storageFreeBytes, 59114056LL * 1024);
    EXPECT_EQ(s.ramTotalBytes, 7987200000LL);
    EXPECT_EQ(s.ramAvailableBytes, 3900000LL * 1024);
    EXPECT_EQ(s.screenSize, QStringLiteral("1080x2400"));
    EXPECT_EQ(s.screenOverrideSize, QStringLiteral("720x1600"));
    EXPECT_EQ(s.screenDensity, 420);
    EXPECT_EQ(s.screenOverrideDensity, 320);
    EXPECT_DOUBLE_EQ(s.uptime.value(), 12345.67);
    EXPECT_FALSE(s.suPath.has_value()); // only the empty fallback line
}

TEST(SnapshotParser, EmptySnapshotAndEqualityIncludeCaptureTime)
{
    const DeviceSnapshot empty;
    EXPECT_EQ(empty.serial, QString());
    EXPECT_FALSE(empty.capturedAt.has_value());
    DeviceSnapshot a = parse(QStringLiteral("prop ro.product.model=X"));
    DeviceSnapshot b = a;
    EXPECT_EQ(a, b);
    b.capturedAt = a.capturedAt->addMSecs(1);
    EXPECT_NE(a, b);
}

TEST(SnapshotParser, PropertyLines)
{
    // Without any marker every line is a property line.
    DeviceSnapshot s = parse(QStringLiteral(
        "prop ro.product.brand=\n"
        "prop ro.build.version.sdk=abc\n"
        "prop ro.product.model=Model=With=Equals  \n"
        "prop  ro.product.device=padded-key\n"
        "prop ro.product.manufacturer\n"
        "propro.build.type=eng\n"
        "level: 50\n"));
    EXPECT_FALSE(s.brand.has_value());
    EXPECT_FALSE(s.sdkLevel.has_value());
    EXPECT_EQ(s.model, QStringLiteral("Model=With=Equals"));
    EXPECT_FALSE(s.codename.has_value()); // the key is not trimmed
    EXPECT_FALSE(s.manufacturer.has_value());
    EXPECT_FALSE(s.buildType.has_value());
    EXPECT_FALSE(s.batteryLevel.has_value());

    // A later line replaces an earlier one; an empty value keeps what was there.
    s = parse(QStringLiteral("prop ro.product.model=A\nprop ro.product.model=B\nprop ro.product.model=\n"
                             "prop ro.build.version.sdk=33\nprop ro.build.version.sdk=x"));
    EXPECT_EQ(s.model, QStringLiteral("B"));
    EXPECT_FALSE(s.sdkLevel.has_value());
}

TEST(SnapshotParser, BatteryLines)
{
    struct Case { const char *line; std::optional<qint64> level; };
    const Case cases[] = {
        {"level: 85", 85},       {"level: 85%", std::nullopt}, {"level:85", 85},
        {"level: +7", 7},        {"level: 1.5", std::nullopt}, {"level: ", std::nullopt},
        {"::level: 3", 3},       {"level::4", std::nullopt},   {"Level: 9", std::nullopt},
        {"level: 99999999999999999999", std::nullopt},
    };
    for (const Case &c : cases) {
        const DeviceSnapshot s = parse(QStringLiteral("##battery\n") + QLatin1String(c.line));
        EXPECT_EQ(s.batteryLevel, c.level) << c.line;
    }

    DeviceSnapshot s = parse(QStringLiteral("##battery\nAC powered: false\nUSB powered: false\nWireless powered: false"));
    EXPECT_FALSE(s.isCharging.has_value());
    s = parse(QStringLiteral("##battery\nWireless powered: true\nAC powered: false\nUSB powered: TRUE"));
    EXPECT_EQ(s.isCharging, true);

    s = parse(QStringLiteral("##battery\ntemperature: 30.5e1\nvoltage: 4321\nstatus: 3\nhealth: x\n"));
    EXPECT_DOUBLE_EQ(*s.batteryTemperature, 30.5);
    EXPECT_DOUBLE_EQ(*s.batteryVoltage, 4.321);
    EXPECT_EQ(s.batteryStatusCode, 3);
    EXPECT_FALSE(s.batteryHealthCode.has_value()); // unreadable is absent, never zero

    s = parse(QStringLiteral("##battery\ntemperature: 305\ntemperature: warm\nvoltage: 4,3"));
    EXPECT_FALSE(s.batteryTemperature.has_value());
    EXPECT_FALSE(s.batteryVoltage.has_value());
}

TEST(SnapshotParser, StorageAndMemoryLines)
{
    DeviceSnapshot s = parse(QStringLiteral("##storage\nFilesystem 1 2 3\n/dev/a 100 40 60 40% /data\n"
                                            "/dev/b 1G 2G 3G\n/dev/c 1 2\n"));
    EXPECT_EQ(s.storageTotalBytes, 102400);
    EXPECT_EQ(s.storageUsedBytes, 40960);
    EXPECT_EQ(s.storageFreeBytes, 61440);

    s = parse(QStringLiteral("##memory\nMemTotal: 7800000 kB\nMemFree: 5 kB\nMemAvailable: many kB\nMemTotal:\n"));
    EXPECT_EQ(s.ramTotalBytes, 7987200000LL);
    EXPECT_FALSE(s.ramAvailableBytes.has_value());
}

TEST(SnapshotParser, KilobyteCountsBeyondSixtyFourBitsAreNotReported)
{
    const qint64 limit = std::numeric_limits<qint64>::max() / 1024;
    const QString big = QString::number(limit + 1);
    DeviceSnapshot s = parse(QStringLiteral("##storage\n/dev/a %1 %2 %3\n##memory\nMemTotal: %1 kB\nMemAvailable: %2 kB")
                                 .arg(big, QString::number(limit), QStringLiteral("-5")));
    EXPECT_FALSE(s.storageTotalBytes.has_value());
    EXPECT_EQ(s.storageUsedBytes, limit * 1024);
    EXPECT_EQ(s.storageFreeBytes, -5 * 1024);
    EXPECT_FALSE(s.ramTotalBytes.has_value());
    EXPECT_EQ(s.ramAvailableBytes, limit * 1024);
    EXPECT_FALSE(s.ramProgress().has_value());
}

TEST(SnapshotParser, UptimeScreenRootAndUnknownSections)
{
    DeviceSnapshot s = parse(QStringLiteral(
        "##uptime\n12345.67 54321.00\n##screen\nPhysical size: 1080x2400\nPhysical density: 4x\n"
        "##root\nnot a path\n/system/xbin/su\n##\nprop ro.product.model=Ignored\n##bogus\nlevel: 3"));
    EXPECT_DOUBLE_EQ(*s.uptime, 12345.67);
    EXPECT_EQ(s.screenSize, QStringLiteral("1080x2400"));
    EXPECT_FALSE(s.screenOverrideSize.has_value());
    EXPECT_FALSE(s.screenDensity.has_value());
    EXPECT_FALSE(s.screenOverrideDensity.has_value());
    EXPECT_EQ(s.suPath, QStringLiteral("/system/xbin/su"));
    EXPECT_FALSE(s.model.has_value());
    EXPECT_FALSE(s.batteryLevel.has_value());

    s = parse(QStringLiteral("##uptime\nsoon 5\n##screen\nPhysical size:\n"));
    EXPECT_FALSE(s.uptime.has_value());
    EXPECT_EQ(s.screenSize, QString()); // an empty size is stored as empty text
}

TEST(SnapshotParser, EveryLineBreakCharacterSplitsLines)
{
    for (const char16_t br : {u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u2028', u'\u2029'}) {
        const QString text = QStringLiteral("##battery") + QChar(br) + QStringLiteral("level: 42") + QChar(br)
                             + QStringLiteral("##root") + QChar(br) + QStringLiteral("\t/sbin/su ");
        const DeviceSnapshot s = parse(text);
        EXPECT_EQ(s.batteryLevel, 42) << int(br);
        EXPECT_EQ(s.suPath, QStringLiteral("/sbin/su")) << int(br);
    }
}

TEST(DeviceTextReading, IntegersAndNumbers)
{
    using DeviceText::readInteger;
    using DeviceText::readNumber;
    EXPECT_EQ(readInteger(u"9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(readInteger(u"-9223372036854775808"), std::numeric_limits<qint64>::min());
    for (const char16_t *bad : {u"9223372036854775808", u"-9223372036854775809", u"", u"+", u"-", u" 1", u"1 ",
                                u"1e3", u"٣", u"0x10"})
        EXPECT_FALSE(readInteger(bad).has_value()) << QString::fromUtf16(bad).toStdString();
    EXPECT_DOUBLE_EQ(*readNumber(u"1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(*readNumber(u".5"), 0.5);
    EXPECT_TRUE(std::isinf(*readNumber(u"inf")));
    for (const char16_t *bad : {u"", u" 1", u"1 ", u"1,5", u"1.5kB", u"\u00a01"})
        EXPECT_FALSE(readNumber(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(DeviceSnapshotLoading, SendsTheScriptAsOneArgumentAndParsesStdout)
{
    FakeTool fake;
    fake.on({QStringLiteral("-s"), QStringLiteral("ABC"), QStringLiteral("shell"), DeviceSnapshot::probeScript()},
            {.out = QStringLiteral("prop ro.product.model=Pixel\n##battery\nlevel: 77\n"),
             .err = QStringLiteral("##battery\nlevel: 5\n")});
    const ADBService adb(fake.adbPath());
    const DeviceSnapshotLoad load = runSync(adb.deviceSnapshot(QStringLiteral("ABC")));
    ASSERT_EQ(fake.calls().size(), 1);
    const QStringList args = fake.calls().first();
    ASSERT_EQ(args.size(), 4);
    EXPECT_EQ(QCryptographicHash::hash(args[3].toUtf8(), QCryptographicHash::Sha256),
              QCryptographicHash::hash(DeviceSnapshot::probeScript().toUtf8(), QCryptographicHash::Sha256));
    EXPECT_EQ(args[3].toUtf8().size(), 564);
    EXPECT_TRUE(load.result.succeeded());
    EXPECT_EQ(load.snapshot.serial, QStringLiteral("ABC"));
    EXPECT_EQ(load.snapshot.model, QStringLiteral("Pixel"));
    EXPECT_EQ(load.snapshot.batteryLevel, 77); // standard error is not parsed
}

TEST(DeviceSnapshotLoading, FailedRunGivesTheEmptySnapshotAndItsResult)
{
    FakeTool fake;
    fake.setDefault({.out = QStringLiteral("prop ro.product.model=Pixel\n"), .err = QStringLiteral("device offline"),
                     .exit = 1});
    const DeviceSnapshotLoad load = runSync(ADBService(fake.adbPath()).deviceSnapshot(QStringLiteral("ABC")));
    EXPECT_EQ(load.snapshot, DeviceSnapshot{});
    EXPECT_EQ(load.result.exitCode, 1);
    EXPECT_EQ(load.result.stdErr, QStringLiteral("device offline"));
}

} // namespace
