#include "ModelHarness.h"

#include <gtest/gtest.h>

namespace {

const QString kFastboot = QStringLiteral("fastboot");
const QStringList fbDevices{QStringLiteral("devices")};
QStringList getvar(const QString &serial)
{
    return {QStringLiteral("-s"), serial, QStringLiteral("getvar"), QStringLiteral("all")};
}

struct FastbootHarness : ModelHarness {
    FastbootHarness()
    {
        model->fastbootService = FastbootService(fake.fastbootPath());
        fake.on(devicesArgs, {.out = deviceList({})});
    }
};

TEST(FastbootWorkflows, WithoutTheToolOnlyTheSearchSpeaks)
{
    ModelHarness h;
    h->fastbootService.reset();
    h->fastbootDevices.set({{QStringLiteral("X"), QStringLiteral("fastboot")}});
    EXPECT_FALSE(h->isFastbootAvailable());
    runSync(h->loadFastbootVariables());
    runSync(h->fastbootReboot(std::nullopt, QStringLiteral("Fastboot: загрузка системы")));
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Fastboot-устройства не найдены"));
    runSync(h->refreshFastboot());
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Утилита fastboot не найдена рядом с adb"));
    EXPECT_EQ(h->fastbootDevices().size(), 1);
    EXPECT_TRUE(h.fake.calls(kFastboot).isEmpty());
    EXPECT_TRUE(h->recentOperations().isEmpty());
}

TEST(FastbootWorkflows, SearchKeepsVariablesOnlyForTheSameFirstDevice)
{
    FastbootHarness h;
    EXPECT_TRUE(h->isFastbootAvailable());
    h.fake.onSequence(fbDevices,
                      {{.out = QStringLiteral("AAA\tfastboot\nBBB\tfastboot\n")},
                       {.out = QStringLiteral("AAA\tfastboot\n")},
                       {.out = QStringLiteral("BBB\tfastboot\n")},
                       {.out = QString()}},
                      kFastboot);
    h.fake.on(getvar(QStringLiteral("AAA")),
              {.err = QStringLiteral("(bootloader) product:sargo\n(bootloader) product:other\n"
                                     "(bootloader) partition-size:boot_a:0x4000000\n"
                                     "(bootloader) partition-size:boot_b:0x4000000\nall:\nFinished. Total time: 0.1s\n")},
              kFastboot);

    runSync(h->refreshFastboot());
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Найдено устройств: 2"));
    runSync(h->loadFastbootVariables());
    const QMap<QString, QString> expected{{QStringLiteral("product"), QStringLiteral("sargo")},
                                          {QStringLiteral("partition-size:boot_a"), QStringLiteral("0x4000000")},
                                          {QStringLiteral("partition-size:boot_b"), QStringLiteral("0x4000000")}};
    EXPECT_EQ(h->fastbootVariables(), expected);
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Переменных получено: 3"));
    EXPECT_FALSE(h->isFastbootBusy());

    runSync(h->refreshFastboot()); // AAA still first
    EXPECT_EQ(h->fastbootVariables(), expected);
    runSync(h->refreshFastboot()); // BBB first now
    EXPECT_TRUE(h->fastbootVariables().isEmpty());
    h->fastbootVariables.set(expected);
    runSync(h->refreshFastboot()); // none
    EXPECT_TRUE(h->fastbootDevices().isEmpty());
    EXPECT_TRUE(h->fastbootVariables().isEmpty());
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Fastboot-устройства не найдены"));
    EXPECT_FALSE(h->isFastbootBusy());
}

TEST(FastbootWorkflows, ErrorsAndMissingPermissionsAreNotDevices)
{
    FastbootHarness h;
    h.fake.onSequence(fbDevices,
                      {{.out = QStringLiteral("no permissions (missing udev rules? user is in the plugdev group); "
                                              "see [http://developer.android.com/tools/device.html]\tfastboot\n")},
                       {.err = QStringLiteral("error: could not open device\n"), .exit = 1}},
                      kFastboot);
    runSync(h->refreshFastboot());
    EXPECT_TRUE(h->fastbootDevices().isEmpty());
    EXPECT_TRUE(h->fastbootStatusText().contains(QStringLiteral("Нет прав")));
    runSync(h->refreshFastboot());
    EXPECT_TRUE(h->fastbootDevices().isEmpty());
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Fastboot-устройства не найдены"));
}

TEST(FastbootWorkflows, EmptyVariableReadAndEmptyListLeaveTheStatus)
{
    FastbootHarness h;
    runSync(h->loadFastbootVariables());
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Fastboot-устройства не найдены"));
    EXPECT_TRUE(h.fake.calls(kFastboot).isEmpty());

    h->fastbootDevices.set({{QStringLiteral("AAA"), QStringLiteral("fastboot")}});
    h.fake.on(getvar(QStringLiteral("AAA")), {.err = QStringLiteral("getvar:all FAILED (remote: 'unknown command')\n"), .exit = 1},
              kFastboot);
    runSync(h->loadFastbootVariables());
    EXPECT_EQ(h->fastbootStatusText(), QStringLiteral("Загрузчик не вернул переменные"));
    EXPECT_FALSE(h->isFastbootBusy());
}

TEST(FastbootWorkflows, RebootLogsRecordsAndSearchesAgain)
{
    FastbootHarness h;
    h->fastbootDevices.set({{QStringLiteral("AAA"), QStringLiteral("fastboot")}});
    h.fake.onPrefix({QStringLiteral("-s"), QStringLiteral("AAA"), QStringLiteral("reboot")}, {}, kFastboot);
    h.fake.on(fbDevices, {.out = QString()}, kFastboot);
    runSync(h->fastbootReboot(std::nullopt, QStringLiteral("Fastboot: загрузка системы")));
    EXPECT_EQ(h->recentOperations().value(0).title, QStringLiteral("Fastboot: загрузка системы"));
    EXPECT_EQ(h->recentOperations().value(0).detail, QStringLiteral("Команда отправлена"));
    // The log trims its lines, so the trailing space of "fastboot reboot " does not show.
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ fastboot reboot")));
    EXPECT_EQ(h.fake.calls(kFastboot),
              (QList<QStringList>{{QStringLiteral("-s"), QStringLiteral("AAA"), QStringLiteral("reboot")}, fbDevices}));
    EXPECT_EQ(callsAmong(h.fake, {devicesArgs}), QList<QStringList>{devicesArgs});
    EXPECT_FALSE(h->isFastbootBusy());

    h->fastbootDevices.set({{QStringLiteral("AAA"), QStringLiteral("fastboot")}});
    h.fake.onPrefix({QStringLiteral("-s"), QStringLiteral("AAA"), QStringLiteral("reboot")},
                    {.err = QStringLiteral("FAILED (remote: 'locked')"), .exit = 1}, kFastboot);
    runSync(h->fastbootReboot(QStringLiteral("bootloader"), QStringLiteral("Fastboot: bootloader")));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ fastboot reboot bootloader")));
    EXPECT_FALSE(h->recentOperations().value(0).succeeded);
    EXPECT_EQ(h->recentOperations().value(0).detail, QStringLiteral("FAILED (remote: 'locked')"));
}

} // namespace
