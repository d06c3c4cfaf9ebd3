#include "ModelHarness.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A folder holding an executable script under the given names.
struct ToolFolder {
    QTemporaryDir dir;
    explicit ToolFolder(const QStringList &names)
    {
        for (const QString &name : names) {
            QFile f(dir.path() + QLatin1Char('/') + name);
            f.open(QIODevice::WriteOnly);
            f.write("#!/bin/sh\nexit 0\n");
            f.close();
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        }
    }
    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
};

TEST(ActivityLog, EntriesAreStampedTrimmedAndCappedAt500)
{
    ModelHarness h;
    h->clearLog();
    h->appendLog(QStringLiteral("   первая строка\n"));
    ASSERT_EQ(h->logs().size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] первая строка$"))
                    .match(h->logs().first()).hasMatch())
        << h->logs().first().toStdString();

    h->appendLog(QStringLiteral("a\nb"));
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("a\nb")); // one entry over two lines

    for (int i = 0; i < 499; ++i)
        h->appendLog(QStringLiteral("n%1").arg(i));
    ASSERT_EQ(h->logs().size(), 500);
    EXPECT_EQ(logTexts(*h).first(), QStringLiteral("a\nb")); // the 501st call removed the first entry
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("n498"));

    h->clearLog();
    EXPECT_TRUE(h->logs().isEmpty());
}

TEST(ActivityLog, AppendResultWritesCommandOutputAndFailureCode)
{
    struct Case {
        CommandResult result;
        QStringList expected;
    };
    const QList<Case> cases = {
        {{1, QStringLiteral("  \n"), QString()}, {QStringLiteral("$ adb x"), QStringLiteral("Код завершения: 1")}},
        {{0, QString(), QString()}, {QStringLiteral("$ adb x")}},
        {{0, QStringLiteral("ok\n"), QStringLiteral("warn")}, {QStringLiteral("$ adb x"), QStringLiteral("ok\n\nwarn")}},
        {{-1, QString(), QStringLiteral("не запускается")},
         {QStringLiteral("$ adb x"), QStringLiteral("не запускается"), QStringLiteral("Код завершения: -1")}},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        h->clearLog();
        h->appendResult(QStringLiteral("adb x"), c.result);
        EXPECT_EQ(logTexts(*h), c.expected);
    }
}

TEST(ActivityLog, SetBusyKeepsStatusWithoutOne)
{
    ModelHarness h;
    BusyLedger::Token busy = h->beginBusy(QStringLiteral("Работаю"));
    EXPECT_TRUE(h->isBusy());
    busy.release();
    EXPECT_FALSE(h->isBusy());
    EXPECT_EQ(h->statusText(), QStringLiteral("Работаю"));
}

TEST(StartUp, MissingAdbShowsSetupAndStillFindsFastbootInFixedPlaces)
{
    ToolFolder fixed({QStringLiteral("fastboot")});
    TempSettings settings;
    ToolSearchEnvironment env;
    env.fixedFolders = {fixed.dir.path()};
    AppModel model(settings.settings.get(), std::nullopt, true, false, AppModel::defaultDeviceMonitorIntervalNanoseconds, env);
    EXPECT_TRUE(model.showADBSetup());
    EXPECT_FALSE(model.service);
    EXPECT_EQ(logTexts(model), QStringList{QStringLiteral("ADB не найден. Установите Android Platform Tools.")});
    ASSERT_TRUE(model.fastbootService);
    EXPECT_EQ(model.fastbootService->executableURL, fixed.path(QStringLiteral("fastboot")));
    // The start-up refresh reports the missing tool.
    EXPECT_EQ(model.statusText(), QStringLiteral("ADB не установлен"));
    EXPECT_FALSE(model.isDeviceMonitorRunning());
}

TEST(StartUp, FoundAdbIsLoggedAndAdopted)
{
    ToolFolder fixed({QStringLiteral("adb")});
    TempSettings settings;
    ToolSearchEnvironment env;
    env.path = fixed.dir.path();
    AppModel model(settings.settings.get(), std::nullopt, false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds, env);
    ASSERT_TRUE(model.service);
    EXPECT_EQ(model.service->executableURL, fixed.path(QStringLiteral("adb")));
    EXPECT_FALSE(model.showADBSetup());
    EXPECT_EQ(logTexts(model), QStringList{QStringLiteral("ADB найден: ") + fixed.path(QStringLiteral("adb"))});
    EXPECT_FALSE(model.fastbootService);
}

TEST(StartUp, GivenServiceIsLoggedAndFastbootIsTakenFromBesideIt)
{
    FakeTool fake;
    ToolFolder elsewhere({QStringLiteral("fastboot")});
    TempSettings settings;
    ToolSearchEnvironment env;
    env.fixedFolders = {elsewhere.dir.path()};
    AppModel model(settings.settings.get(), ADBService(fake.adbPath()), false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, env);
    EXPECT_EQ(logTexts(model), QStringList{QStringLiteral("ADB для тестирования: ") + fake.adbPath()});
    ASSERT_TRUE(model.fastbootService);
    EXPECT_EQ(model.fastbootService->executableURL, fake.fastbootPath());
    EXPECT_EQ(model.statusText(), QStringLiteral("Готово"));
}

TEST(StartUp, RefreshAndMonitorFollowTheirFlags)
{
    const quint64 fastNs = 30'000'000;
    {
        // Neither a refresh (busy at once) nor a monitor loop was started, so nothing can call adb later.
        ModelHarness h(false, std::nullopt, fastNs);
        EXPECT_FALSE(h->isDeviceMonitorRunning());
        EXPECT_TRUE(h->deviceMonitorLifetime().expired());
        EXPECT_FALSE(h->isBusy());
        EXPECT_EQ(h->statusText(), QStringLiteral("Готово"));
        ASSERT_TRUE(settleCommands());
        EXPECT_TRUE(h.fake.calls().isEmpty());
    }
    {
        ModelHarness h(false, true, fastNs);
        h.fake.on(devicesArgs, {.out = deviceList({QStringLiteral("A device")})});
        EXPECT_TRUE(h->isDeviceMonitorRunning());
        ASSERT_TRUE(waitUntil([&] { return h->devices().size() == 1; }));
        // Only polls ran: nothing of them is logged as a command.
        EXPECT_FALSE(logTexts(*h).contains(QStringLiteral("$ adb devices -l")));
    }
    {
        FakeTool fake;
        fake.on(devicesArgs, {.out = deviceList({QStringLiteral("A device")})});
        serveOnePackage(fake, QStringLiteral("A"));
        TempSettings settings;
        AppModel model(settings.settings.get(), ADBService(fake.adbPath()), true, std::nullopt, fastNs,
                       ToolSearchEnvironment{});
        QStringList statuses;
        model.observe(model.statusText, &model, [&] { statuses << model.statusText(); });
        EXPECT_TRUE(model.isDeviceMonitorRunning());
        EXPECT_EQ(model.statusText(), QStringLiteral("Поиск устройств…"));
        // The device listing reports first; the catalogue of the ready device follows.
        ASSERT_TRUE(waitUntil([&] { return statuses.contains(QStringLiteral("Найдено устройств: 1")); }));
        // A monitor poll may apply the same list before the refresh's own listing returns and is logged.
        EXPECT_TRUE(waitUntil([&] { return logTexts(model).contains(QStringLiteral("$ adb devices -l")); }));
    }
}

} // namespace
