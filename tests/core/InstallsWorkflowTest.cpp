#include "ModelHarness.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kSerial = QStringLiteral("R5CT1");
QStringList onDevice(QStringList args) { return QStringList{QStringLiteral("-s"), kSerial} + args; }
QStringList pmPath(const QString &package)
{
    return onDevice({QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("path"), package});
}

// The calls whose first word is one of `words`: the device and package refreshes
// that follow a workflow run commands of their own.
QList<QStringList> callsStartingWith(const FakeTool &fake, const QStringList &words)
{
    QList<QStringList> picked;
    for (const QStringList &call : fake.calls())
        if (!call.isEmpty() && words.contains(call.first()))
            picked << call;
    return picked;
}

struct DeviceHarness : ModelHarness {
    DeviceHarness()
    {
        fake.on(devicesArgs, {.out = deviceList({kSerial + QStringLiteral(" device model:Pixel_7 transport_id:3")})});
        runSync(model->refreshDevices());
        model->logs.set({});
        fake.clearCalls();
    }
};

TEST(InstallWorkflows, NothingWithoutADeviceOrAdb)
{
    ModelHarness h;
    h->logs.set({});
    QTemporaryDir dir;
    runSync(h->install({QStringLiteral("/x/a.apk")}));
    runSync(h->exportPackages({QStringLiteral("com.a.b")}, dir.path()));
    runSync(h->reboot(std::nullopt));
    runSync(h->saveScreenshot(dir.path() + QStringLiteral("/s.png")));
    h->wirelessAddress.set(QStringLiteral("   "));
    runSync(h->connectWireless());
    h->service.reset();
    h->wirelessAddress.set(QStringLiteral("10.0.0.2"));
    runSync(h->connectWireless());
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_TRUE(h->logs().isEmpty());
    EXPECT_EQ(h->statusText(), QStringLiteral("Готово"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(InstallWorkflows, InstallRebootAndScreenshot)
{
    DeviceHarness h;
    h.fake.onPrefix(onDevice({QStringLiteral("install-multiple")}), {.out = QStringLiteral("Success\n")});
    h.fake.on(onDevice({QStringLiteral("reboot"), QStringLiteral("bootloader")}), {});
    h.fake.on(onDevice({QStringLiteral("exec-out"), QStringLiteral("screencap"), QStringLiteral("-p")}),
              {.err = QStringLiteral("error: device offline"), .exit = 1});
    h->metadataCache[kSerial].insert(QStringLiteral("com.old"), PackageMetadata{QStringLiteral("com.old"), QStringLiteral("Old"), 1, {}});
    QStringList statuses;
    h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });
    runSync(h->install({QStringLiteral("/x/a.apk"), QStringLiteral("/y/b.apk")}));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ install a.apk, b.apk")));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Установка завершена")));
    EXPECT_FALSE(h->metadataCache.value(kSerial).contains(QStringLiteral("com.old"))); // metadata read afresh
    bool catalogueReloaded = false;
    for (const QStringList &call : h.fake.calls())
        catalogueReloaded |= call.mid(2, 3) == QStringList{QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list")};
    EXPECT_TRUE(catalogueReloaded);
    EXPECT_FALSE(h->isBusy());

    runSync(h->install({}));
    EXPECT_EQ(h->statusText(), QStringLiteral("Ошибка установки"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Файлы не выбраны")));

    runSync(h->reboot(QStringLiteral("bootloader")));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb reboot bootloader")));
    EXPECT_EQ(h->statusText(), QStringLiteral("Команда перезагрузки отправлена"));

    QTemporaryDir dir;
    runSync(h->saveScreenshot(dir.path() + QStringLiteral("/s.png")));
    EXPECT_EQ(h->statusText(), QStringLiteral("Ошибка снимка"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb exec-out screencap -p")));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("error: device offline")));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/s.png")));
}

// The outcome of an install reaches the history and a toast, a failure with adb's reason.
TEST(InstallWorkflows, OutcomeIsRecordedWithAdbsReason)
{
    struct Case {
        const char *what;
        QStringList files;
        FakeResponse answer;
        QString title;
        QString detail;
        bool succeeded;
    };
    const QList<Case> cases{
        {"installed", {QStringLiteral("/x/a.apk")}, {.out = QStringLiteral("Performing Streamed Install\nSuccess\n")},
         QStringLiteral("Установка завершена"), QStringLiteral("a.apk"), true},
        {"not an APK", {QStringLiteral("/x/notes.apk")},
         {.out = QStringLiteral("Performing Streamed Install\n"),
          .err = QStringLiteral("adb: failed to install /x/notes.apk: Failure [INSTALL_PARSE_FAILED_NOT_APK: Failed to "
                                "parse /data/app/vmdl.tmp/base.apk]\n"),
          .exit = 1},
         QStringLiteral("Ошибка установки"), QStringLiteral("notes.apk: INSTALL_PARSE_FAILED_NOT_APK"), false},
        {"a failure that exits 0", {QStringLiteral("/x/a.apk"), QStringLiteral("/x/b.apk")},
         {.out = QStringLiteral("Failure [INSTALL_FAILED_VERSION_DOWNGRADE: Downgrade detected]\n")},
         QStringLiteral("Ошибка установки"), QStringLiteral("a.apk, b.apk: INSTALL_FAILED_VERSION_DOWNGRADE"), false},
    };
    for (const Case &c : cases) {
        DeviceHarness h;
        h.fake.onPrefix(onDevice({QStringLiteral("install")}), c.answer);
        h.fake.onPrefix(onDevice({QStringLiteral("install-multiple")}), c.answer);
        h.fake.setDefault({});
        runSync(h->install(c.files));
        ASSERT_EQ(h->recentOperations().size(), 1) << c.what;
        const OperationRecord &entry = h->recentOperations().first();
        EXPECT_EQ(entry.title, c.title) << c.what;
        EXPECT_EQ(entry.detail, c.detail) << c.what;
        EXPECT_EQ(entry.succeeded, c.succeeded) << c.what;
        ASSERT_EQ(h->toasts().size(), 1) << c.what;
        EXPECT_EQ(h->toasts().first().title, c.title) << c.what;
        EXPECT_EQ(h->toasts().first().tone, c.succeeded ? Tone::success : Tone::warning) << c.what;
        bool catalogueReloaded = false;
        for (const QStringList &call : h.fake.calls())
            catalogueReloaded |= call.mid(2, 3) == QStringList{QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list")};
        EXPECT_EQ(catalogueReloaded, c.succeeded) << c.what;
    }
}

TEST(InstallWorkflows, AnOperationEndingFirstLeavesTheOtherBusy)
{
    DeviceHarness h;
    h.fake.onPrefix(onDevice({QStringLiteral("install")}), {.out = QStringLiteral("Success\n"), .gate = QStringLiteral("install")});
    h.fake.onPrefix(onDevice({QStringLiteral("reboot")}), {});
    h.fake.setDefault({});
    bool installed = false;
    auto installing = [](AppModel *m, bool *done) -> QCoro::Task<void> {
        co_await m->install({QStringLiteral("/x/a.apk")});
        *done = true;
    };
    auto task = installing(h.model.get(), &installed);
    ASSERT_TRUE(h->isBusy());
    runSync(h->reboot(std::nullopt));
    EXPECT_FALSE(installed);
    EXPECT_TRUE(h->isBusy());
    h.fake.open(QStringLiteral("install"));
    ASSERT_TRUE(waitUntil([&] { return installed; }));
    EXPECT_FALSE(h->isBusy());
}

TEST(InstallWorkflows, ConnectCountsOnlyARealConnection)
{
    DeviceHarness h;
    h.fake.onSequence({QStringLiteral("connect"), QStringLiteral("192.168.1.25:5555")},
                      {{.out = QStringLiteral("connected to 192.168.1.25:5555\n")},
                       {.out = QStringLiteral("failed to connect to '192.168.1.25:5555': Connection refused\n")}});
    h.fake.on({QStringLiteral("connect"), QStringLiteral("192.168.1.25:37000")}, {.out = QStringLiteral("already connected to 192.168.1.25:37000\n")});
    h->wirelessAddress.set(QStringLiteral("  192.168.1.25 \n"));
    runSync(h->connectWireless());
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("$ adb connect 192.168.1.25")));
    EXPECT_TRUE(h->recentOperations().isEmpty());

    runSync(h->connectWireless());
    EXPECT_EQ(h->recentOperations().value(0).title, QStringLiteral("Не удалось подключиться"));
    EXPECT_TRUE(h->recentOperations().value(0).detail.contains(QStringLiteral("Connection refused")));

    h->wirelessAddress.set(QStringLiteral("192.168.1.25:37000"));
    runSync(h->connectWireless());
    EXPECT_EQ(h->recentOperations().size(), 1);
    const QList<QStringList> expected{
        {QStringLiteral("connect"), QStringLiteral("192.168.1.25:5555")}, devicesArgs,
        {QStringLiteral("connect"), QStringLiteral("192.168.1.25:5555")}, devicesArgs,
        {QStringLiteral("connect"), QStringLiteral("192.168.1.25:37000")}, devicesArgs,
    };
    EXPECT_EQ(callsStartingWith(h.fake, {QStringLiteral("connect"), QStringLiteral("devices")}), expected);
    EXPECT_EQ(h->wirelessAddress(), QStringLiteral("192.168.1.25:37000"));
}

TEST(InstallWorkflows, StatusOfAFailedConnectShowsBeforeTheRefresh)
{
    DeviceHarness h;
    h.fake.on({QStringLiteral("connect"), QStringLiteral("10.0.0.9:5555")},
              {.out = QStringLiteral("cannot connect to 10.0.0.9:5555: No route to host (113)\n")});
    h->wirelessAddress.set(QStringLiteral("10.0.0.9"));
    QStringList statuses;
    h->observe(h->statusText, h.model.get(), [&] { statuses << h->statusText(); });
    runSync(h->connectWireless());
    EXPECT_TRUE(statuses.contains(QStringLiteral("Ошибка подключения")));
    EXPECT_FALSE(statuses.contains(QStringLiteral("Команда подключения выполнена")));
}

TEST(UniqueDirectory, AddsANumberWhileTheNameIsTaken)
{
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/Kestrel-Export-20260101-120000");
    EXPECT_EQ(AppModel::uniqueDirectory(dir.path(), QStringLiteral("Kestrel-Export-20260101-120000")), base);
    QDir().mkpath(base);
    EXPECT_EQ(AppModel::uniqueDirectory(dir.path(), QStringLiteral("Kestrel-Export-20260101-120000")), base + QStringLiteral("-2"));
    QFile(base + QStringLiteral("-2")).open(QIODevice::WriteOnly); // a file takes the name too
    EXPECT_EQ(AppModel::uniqueDirectory(dir.path(), QStringLiteral("Kestrel-Export-20260101-120000")), base + QStringLiteral("-3"));
}

class Export : public ::testing::Test {
protected:
    DeviceHarness h;
    QTemporaryDir dir;

    QString exportFolder() const
    {
        const QStringList made = QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return made.isEmpty() ? QString() : dir.path() + QLatin1Char('/') + made.first();
    }
};

TEST_F(Export, CopiesEveryApkIntoAFolderPerPackage)
{
    h.fake.on(pmPath(QStringLiteral("com.a.one")),
              {.out = QStringLiteral("package:/data/app/one/base.apk\npackage:/data/app/one/split/base.apk\n")});
    h.fake.on(pmPath(QStringLiteral("com.b.two")), {.out = QStringLiteral("package:/data/app/two/base.apk\n")});
    h.fake.onPrefix(onDevice({QStringLiteral("pull")}), {});
    // The fake writes no file, so every pull that "succeeds" still counts as not copied.
    runSync(h->exportPackages({QStringLiteral("com.a.one"), QStringLiteral("com.b.two")}, dir.path()));
    EXPECT_EQ(h->statusText(), QStringLiteral("Скачано пакетов: 0 из 2"));
    EXPECT_EQ(h->packageExportErrorMessage(),
              QStringLiteral("com.a.one: не скачан base.apk\ncom.a.one: не скачан base-2.apk\ncom.b.two: не скачан base.apk"));
    const QString folder = exportFolder();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Kestrel-Export-\\d{8}-\\d{6}$")).match(QFileInfo(folder).fileName()).hasMatch())
        << folder.toStdString();
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/com.a.one")).isDir());
    const QList<QStringList> expected{
        pmPath(QStringLiteral("com.a.one")),
        onDevice({QStringLiteral("pull"), QStringLiteral("/data/app/one/base.apk"), folder + QStringLiteral("/com.a.one/base.apk")}),
        onDevice({QStringLiteral("pull"), QStringLiteral("/data/app/one/split/base.apk"), folder + QStringLiteral("/com.a.one/base-2.apk")}),
        pmPath(QStringLiteral("com.b.two")),
        onDevice({QStringLiteral("pull"), QStringLiteral("/data/app/two/base.apk"), folder + QStringLiteral("/com.b.two/base.apk")}),
    };
    EXPECT_EQ(h.fake.calls(), expected);
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Выгрузка APK завершена с ошибками: 3")));
    EXPECT_FALSE(h->isBusy());
}

TEST_F(Export, CountsPackagesAndFilesAndListsFailures)
{
    // A pull stand-in that writes the destination like adb does.
    QTemporaryDir bin;
    const QString adb = bin.path() + QStringLiteral("/adb");
    {
        QFile script(adb);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "[ \"$1\" = -s ] && shift 2\n"
                     "case \"$1\" in\n"
                     "  pull) printf 'APK' > \"$3\"; echo \"$2: 1 file pulled\";;\n"
                     "  shell) case \"$4\" in\n"
                     "      com.a.one) echo package:/data/app/one/base.apk; echo package:/data/app/one/split_x.apk;;\n"
                     "      com.c.three) echo package:/data/app/three/base.apk;;\n"
                     "      *) exit 1;;\n"
                     "    esac;;\n"
                     "esac\n");
    }
    QFile::setPermissions(adb, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    h->service = ADBService(adb);

    runSync(h->exportPackages({QStringLiteral("com.a.one"), QStringLiteral("com.b.two"), QStringLiteral("com.c.three")},
                              dir.path()));
    EXPECT_EQ(h->statusText(), QStringLiteral("Скачано пакетов: 2 из 3"));
    EXPECT_EQ(h->packageExportErrorMessage(), QStringLiteral("com.b.two: APK не найдены"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Выгрузка APK завершена с ошибками: 1")));
    const QString folder = exportFolder();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/com.a.one/split_x.apk")));
    ASSERT_EQ(h->recentOperations().size(), 1);
    EXPECT_EQ(h->recentOperations().first().title, QStringLiteral("Выгрузка APK завершена с ошибками"));
    EXPECT_EQ(h->recentOperations().first().detail, QStringLiteral("Скачано пакетов: 2 из 3 · ") + folder);
    EXPECT_FALSE(h->recentOperations().first().succeeded);
    EXPECT_EQ(h->toasts().last().tone, Tone::warning);

    QTemporaryDir second;
    runSync(h->exportPackages({QStringLiteral("com.a.one"), QStringLiteral("com.c.three")}, second.path()));
    EXPECT_EQ(h->statusText(), QStringLiteral("Скачано пакетов: 2, APK-файлов: 3"));
    EXPECT_EQ(h->packageExportErrorMessage(), std::nullopt);
    EXPECT_TRUE(logTexts(*h).last().startsWith(QStringLiteral("APK сохранены: ") + second.path()));
    const QString secondFolder = QDir(second.path()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot).value(0).filePath();
    ASSERT_EQ(h->recentOperations().size(), 2);
    EXPECT_EQ(h->recentOperations().first().title, QStringLiteral("Выгрузка APK завершена"));
    EXPECT_EQ(h->recentOperations().first().detail, QStringLiteral("APK-файлов: 3 · ") + secondFolder);
    EXPECT_TRUE(h->recentOperations().first().succeeded);
    EXPECT_EQ(h->toasts().last().tone, Tone::success);
}

TEST_F(Export, StopsWhenTheDeviceGoesAway)
{
    h.fake.on(pmPath(QStringLiteral("com.a.one")),
              {.out = QStringLiteral("package:/data/app/one/base.apk\npackage:/data/app/one/split.apk\n")});
    h.fake.onPrefix(onDevice({QStringLiteral("pull")}), {.gate = QStringLiteral("pull")});
    auto task = h->exportPackages({QStringLiteral("com.a.one"), QStringLiteral("com.b.two")}, dir.path());
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() >= 2; }));
    h->devices.set({}); // unplugged while the first file is being pulled
    h.fake.open(QStringLiteral("pull"));
    runSync(std::move(task));
    EXPECT_EQ(h->packageExportErrorMessage(),
              QStringLiteral("com.a.one: не скачан base.apk\nУстройство стало недоступно\nУстройство стало недоступно"));
    EXPECT_EQ(h.fake.calls().size(), 2);
    EXPECT_EQ(h->statusText(), QStringLiteral("Скачано пакетов: 0 из 2"));
}

TEST_F(Export, SelectedPackagesGoInNameOrder)
{
    h.fake.setDefault({.exit = 1});
    h->selectedPackageIDs.set({QStringLiteral("com.b.two"), QStringLiteral("com.a.one"), QStringLiteral("Com.c")});
    runSync(h->exportSelectedPackages(dir.path()));
    EXPECT_EQ(h.fake.calls(), (QList<QStringList>{pmPath(QStringLiteral("Com.c")), pmPath(QStringLiteral("com.a.one")),
                                                  pmPath(QStringLiteral("com.b.two"))}));
    EXPECT_EQ(h->statusText(), QStringLiteral("Скачано пакетов: 0 из 3"));

    h.fake.clearCalls();
    h->selectedPackageIDs.set({});
    runSync(h->exportSelectedPackages(dir.path()));
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

TEST_F(Export, UncreatableFolderIsReportedAndNothingRuns)
{
    runSync(h->exportPackages({QStringLiteral("com.a.one")}, dir.path() + QStringLiteral("/missing/parent")));
    ASSERT_TRUE(h->packageExportErrorMessage().has_value());
    EXPECT_TRUE(h->packageExportErrorMessage()->startsWith(QStringLiteral("Не удалось создать папку выгрузки: ")));
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_FALSE(h->isBusy());
    EXPECT_EQ(logTexts(*h).last(), *h->packageExportErrorMessage());
}

} // namespace

namespace {

const QByteArray kPng = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray("image-bytes");

// The user chose to replace an existing file: only a capture that returned a PNG may touch it,
// and the record says what the capture said.
TEST(InstallWorkflows, ScreenshotRecordFollowsTheCaptureNotTheFile)
{
    struct Case {
        const char *what;
        FakeResponse answer;
        bool succeeded;
        QStringList detailParts;
    };
    const QList<Case> cases{
        {"an error on standard output", {.out = QStringLiteral("error: no display")}, false,
         {QStringLiteral("shot.png: "), QStringLiteral("PNG"), QStringLiteral("error: no display")}},
        {"a failed run", {.err = QStringLiteral("error: device offline"), .exit = 1}, false,
         {QStringLiteral("shot.png: error: device offline")}},
        {"an image", {.outBytes = kPng}, true, {QStringLiteral("shot.png")}},
    };
    for (const Case &c : cases) {
        DeviceHarness h;
        h.fake.on(onDevice({QStringLiteral("exec-out"), QStringLiteral("screencap"), QStringLiteral("-p")}), c.answer);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/shot.png");
        {
            QFile before(path);
            ASSERT_TRUE(before.open(QIODevice::WriteOnly));
            before.write("the user's own picture");
        }
        runSync(h->takeScreenshot(path));
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly)) << c.what;
        EXPECT_EQ(after.readAll(), c.succeeded ? kPng : QByteArray("the user's own picture")) << c.what;
        ASSERT_EQ(h->recentOperations().size(), 1) << c.what;
        const OperationRecord record = h->recentOperations().first();
        EXPECT_EQ(record.title, QStringLiteral("Снимок экрана")) << c.what;
        EXPECT_EQ(record.succeeded, c.succeeded) << c.what;
        for (const QString &part : c.detailParts)
            EXPECT_TRUE(record.detail.contains(part)) << c.what << ": " << record.detail.toStdString();
        if (c.succeeded)
            EXPECT_EQ(record.detail, QStringLiteral("shot.png")) << c.what;
        EXPECT_EQ(h->toasts().last().detail, record.detail) << c.what;
        EXPECT_EQ(h->toasts().last().tone, c.succeeded ? Tone::success : Tone::warning) << c.what;
        EXPECT_FALSE(h->isBusy()) << c.what;
    }
}

TEST(InstallWorkflows, ScreenshotWithoutADeviceIsRecordedAsNotTaken)
{
    ModelHarness h;
    QTemporaryDir dir;
    runSync(h->takeScreenshot(dir.path() + QStringLiteral("/shot.png")));
    EXPECT_TRUE(h.fake.calls().isEmpty());
    ASSERT_EQ(h->recentOperations().size(), 1);
    EXPECT_FALSE(h->recentOperations().first().succeeded);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(InstallWorkflows, RebootReportsWhatRan)
{
    ModelHarness none;
    EXPECT_EQ(runSync(none->reboot(std::nullopt)), std::nullopt);

    DeviceHarness h;
    h.fake.on(onDevice({QStringLiteral("reboot")}), {});
    h.fake.on(onDevice({QStringLiteral("reboot"), QStringLiteral("recovery")}),
              {.err = QStringLiteral("error: device unauthorized"), .exit = 1});
    EXPECT_EQ(runSync(h->reboot(std::nullopt)), std::optional(CommandResult{}));
    const std::optional<CommandResult> failed = runSync(h->reboot(QStringLiteral("recovery")));
    ASSERT_TRUE(failed);
    EXPECT_FALSE(failed->succeeded());
    EXPECT_EQ(failed->stdErr, QStringLiteral("error: device unauthorized"));
    EXPECT_EQ(h->statusText(), QStringLiteral("Ошибка перезагрузки"));
}

TEST(InstallWorkflows, DeviceDataRefreshTakesTheSnapshotThenTheCatalogue)
{
    DeviceHarness h;
    h.fake.setDefault({});
    runSync(h->refreshDeviceData());
    const QList<QStringList> calls = h.fake.calls();
    const auto isProbe = [](const QStringList &call) { return call == onDevice({QStringLiteral("shell"), DeviceSnapshot::probeScript()}); };
    const auto isCatalogue = [](const QStringList &call) { return call.mid(2, 3) == S({"shell", "pm", "list"}); };
    const auto probe = std::find_if(calls.begin(), calls.end(), isProbe);
    const auto catalogue = std::find_if(calls.begin(), calls.end(), isCatalogue);
    ASSERT_NE(probe, calls.end());
    ASSERT_NE(catalogue, calls.end());
    EXPECT_LT(probe - calls.begin(), catalogue - calls.begin());
}

} // namespace
