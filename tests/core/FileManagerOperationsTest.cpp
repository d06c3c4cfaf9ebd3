#include "FileManagerHarness.h"

#include "core/PlatformTexts.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using Calls = QList<QStringList>;

QStringList sh(const QString &line) { return FileManagerHarness::shell(line); }

TEST(FileManagerOperations, NamesAreValidatedBeforeAnythingHappens)
{
    struct Case { QString raw; std::optional<QString> accepted; };
    const Case cases[] = {
        {QStringLiteral(" \n\t"), std::nullopt},          {QStringLiteral("."), std::nullopt},
        {QStringLiteral(".."), std::nullopt},             {QStringLiteral("a/b"), std::nullopt},
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), std::nullopt},
        {QStringLiteral("  Отчёт 2024 "), QStringLiteral("Отчёт 2024")},
        {QStringLiteral(".nomedia"), QStringLiteral(".nomedia")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DeviceFileManagerModel::acceptableName(c.raw), c.accepted) << c.raw.toStdString();
        if (c.accepted)
            continue;
        FileManagerHarness h;
        h.bind();
        h.fake.clearCalls();
        for (const FileManagerSide side : {FileManagerSide::local, FileManagerSide::device}) {
            h.model->errorMessage.set(std::nullopt);
            runSync(h.model->createFolder(c.raw, side));
            EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Укажите корректное имя без символа /."));
            EXPECT_EQ(h.model->statusText(), QStringLiteral("Ошибка"));
        }
        EXPECT_TRUE(h.fake.calls().isEmpty());
        EXPECT_TRUE(QDir(h.downloads).isEmpty());
    }
}

TEST(FileManagerOperations, LocalCreateRefusesAnyExistingNameEvenADanglingLink)
{
    FileManagerHarness h;
    h.writeFile(h.downloads + QStringLiteral("/taken"));
    QFile::link(h.downloads + QStringLiteral("/nowhere"), h.downloads + QStringLiteral("/link"));
    for (const char *name : {"taken", "link"}) {
        runSync(h.model->createFolder(QString::fromUtf8(name), FileManagerSide::local));
        EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Объект «%1» уже существует").arg(QString::fromUtf8(name)));
    }
    EXPECT_FALSE(QFileInfo::exists(h.downloads + QStringLiteral("/nowhere")));
    runSync(h.model->createFolder(QStringLiteral(" Новая папка "), FileManagerSide::local));
    EXPECT_TRUE(QFileInfo(h.downloads + QStringLiteral("/Новая папка")).isDir());
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Папка создана: Новая папка"));
    EXPECT_TRUE(h.localNames().contains(QStringLiteral("Новая папка")));
}

TEST(FileManagerOperations, LocalRenameNeverReplacesAndSelectsTheNewName)
{
    FileManagerHarness h;
    h.writeFile(h.downloads + QStringLiteral("/a.txt"), "mine");
    h.writeFile(h.downloads + QStringLiteral("/b.txt"), "other");
    runSync(h.model->refreshLocal());
    h.model->localSelection.set({h.downloads + QStringLiteral("/a.txt")});
    runSync(h.model->renameSelected(QStringLiteral("b.txt"), FileManagerSide::local));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Объект «b.txt» уже существует"));

    runSync(h.model->renameSelected(QStringLiteral("c.txt"), FileManagerSide::local));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Переименовано: c.txt"));
    EXPECT_EQ(h.model->localSelection(), QSet<QString>{h.downloads + QStringLiteral("/c.txt")});
    EXPECT_EQ(h.localNames(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}));

    // Two or no selected items, or the same name: nothing at all.
    const QString status = h.model->statusText();
    h.model->errorMessage.set(std::nullopt);
    runSync(h.model->renameSelected(QStringLiteral("c.txt"), FileManagerSide::local));
    h.model->localSelection.set({h.downloads + QStringLiteral("/b.txt"), h.downloads + QStringLiteral("/c.txt")});
    runSync(h.model->renameSelected(QStringLiteral("d.txt"), FileManagerSide::local));
    EXPECT_EQ(h.model->statusText(), status);
    EXPECT_FALSE(h.model->errorMessage());
    EXPECT_EQ(h.localNames(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}));
}

// The renamed item stays in its own folder, wherever the pane is on its way to.
TEST(FileManagerOperations, RenameWhileAnotherFolderIsOpeningStaysInTheItemsFolder)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("Other"), true}, {QStringLiteral("a.txt")}});
    h.answerListing(QStringLiteral("/sdcard/Other"), {});
    QObject receiver;
    bool renamed = false;
    h.model->observe(h.model->statusText, &receiver, [&] {
        if (renamed || h.model->statusText() != QStringLiteral("Чтение /sdcard/Other…"))
            return;
        renamed = true;
        h.model->deviceSelection.set({QStringLiteral("/sdcard/a.txt")});
        h.model->renameSelected(QStringLiteral("b.txt"), FileManagerSide::device);
    });
    runSync(h.model->openDevice(h.model->deviceItems().at(0)));
    ASSERT_TRUE(renamed);
    ASSERT_TRUE(waitUntil([&] { return !h.model->isBusy(); }));
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(h.changeCalls(), Calls{sh(QStringLiteral("if [ -e '/sdcard/b.txt' ] || [ -L '/sdcard/b.txt' ]; then exit 17; fi; "
                                                       "mv -- '/sdcard/a.txt' '/sdcard/b.txt'"))});

    // The computer's side alike.
    QDir(h.downloads).mkdir(QStringLiteral("Sub"));
    h.writeFile(h.downloads + QStringLiteral("/x.txt"));
    runSync(h.model->refreshLocal());
    h.model->localSelection.set({h.downloads + QStringLiteral("/x.txt")});
    h.model->localDirectory.set(h.downloads + QStringLiteral("/Sub"));
    runSync(h.model->renameSelected(QStringLiteral("y.txt"), FileManagerSide::local));
    EXPECT_TRUE(QFileInfo::exists(h.downloads + QStringLiteral("/y.txt")));
    EXPECT_FALSE(QFileInfo::exists(h.downloads + QStringLiteral("/Sub/y.txt")));
}

TEST(FileManagerOperations, DeviceClashesFollowTheStoragesNotionOfEqualNames)
{
    struct Case { const char *folder; const char *listed; const char *wanted; bool refused; };
    const Case cases[] = {
        {"/sdcard/Music", "Photos", "photos", true},
        {"/sdcard/Music", "Photos", "Photos", true},
        {"/storage/emulated/0", "ALBUM", "album", true},
        {"/data/local/tmp", "Photos", "photos", false},
        {"/data/local/tmp", "Photos", "Photos", true},
    };
    for (const Case &c : cases) {
        FileManagerHarness h;
        h.bind();
        const QString folder = QString::fromUtf8(c.folder);
        h.answerListing(folder, {{QString::fromUtf8(c.listed), true}});
        h.model->devicePathInput.set(folder);
        runSync(h.model->goToDevicePath());
        h.fake.clearCalls();
        runSync(h.model->createFolder(QString::fromUtf8(c.wanted), FileManagerSide::device));
        if (c.refused) {
            EXPECT_EQ(h.model->errorMessage(),
                      QStringLiteral("Объект «%1» уже существует на Android").arg(QString::fromUtf8(c.wanted)))
                << c.folder << " " << c.wanted;
            EXPECT_TRUE(h.changeCalls().isEmpty()) << c.folder << " " << c.wanted;
        } else {
            EXPECT_EQ(h.changeCalls(), Calls{sh(QStringLiteral("mkdir -- '%1/%2'").arg(folder, QString::fromUtf8(c.wanted)))});
            EXPECT_FALSE(h.model->errorMessage());
        }
    }
}

// On shared storage a change of letter case alone goes through a temporary name, because the
// device sees the new name as taken by the item itself.
TEST(FileManagerOperations, CaseOnlyRenameOnSharedStorage)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("photo.JPG")}});
    h.model->deviceSelection.set({QStringLiteral("/sdcard/photo.JPG")});
    h.fake.clearCalls();
    runSync(h.model->renameSelected(QStringLiteral("photo.jpg"), FileManagerSide::device));
    const Calls calls = h.changeCalls();
    ASSERT_EQ(calls.size(), 2);
    const QRegularExpression first(QStringLiteral("mv -- '/sdcard/photo\\.JPG' '(/sdcard/\\.kestrel-rename-[0-9a-f]{12})'$"));
    const auto step = first.match(calls[0].value(3));
    ASSERT_TRUE(step.hasMatch()) << calls[0].value(3).toStdString();
    EXPECT_TRUE(calls[1].value(3).endsWith(QStringLiteral("mv -- '%1' '/sdcard/photo.jpg'").arg(step.captured(1))));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Операция завершена"));
}

TEST(FileManagerOperations, FailedDeviceOperationReportsTheToolOrAFixedText)
{
    FileManagerHarness h;
    h.bind();
    h.fake.on(sh(QStringLiteral("mkdir -- '/sdcard/x'")), {.err = QStringLiteral("  mkdir: Read-only file system\n"), .exit = 1});
    h.fake.on(sh(QStringLiteral("mkdir -- '/sdcard/y'")), {.exit = 1});
    runSync(h.model->createFolder(QStringLiteral("x"), FileManagerSide::device));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("mkdir: Read-only file system"));
    runSync(h.model->createFolder(QStringLiteral("y"), FileManagerSide::device));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Команда ADB завершилась с ошибкой"));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Ошибка"));
    EXPECT_FALSE(h.model->isBusy());
}

TEST(FileManagerOperations, DeviceDeleteShowsProgressAndRemovesEachItem)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("a"), true}, {QStringLiteral("b c")}, {QStringLiteral("it's")}});
    h.model->deviceSelection.set({QStringLiteral("/sdcard/a"), QStringLiteral("/sdcard/b c"), QStringLiteral("/sdcard/it's")});
    h.fake.on(sh(QStringLiteral("rm -rf -- '/sdcard/b c'")), {.err = QStringLiteral("rm: busy"), .exit = 1});
    QStringList statuses;
    QObject receiver;
    h.model->observe(h.model->statusText, &receiver, [&] { statuses << h.model->statusText(); });
    h.fake.clearCalls();
    runSync(h.model->deleteSelected(FileManagerSide::device));
    EXPECT_EQ(h.changeCalls(), (Calls{sh(QStringLiteral("rm -rf -- '/sdcard/a'")), sh(QStringLiteral("rm -rf -- '/sdcard/b c'")),
                                      sh(QStringLiteral("rm -rf -- '/sdcard/it'\\''s'"))}));
    EXPECT_EQ(statuses.mid(0, 3), (QStringList{QStringLiteral("Удаление 1 из 3…"), QStringLiteral("Удаление 2 из 3…"),
                                              QStringLiteral("Удаление 3 из 3…")}));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("b c: rm: busy"));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Ошибка"));
    EXPECT_TRUE(h.model->deviceSelection().isEmpty());

    h.model->deviceSelection.set({QStringLiteral("/sdcard/a")});
    h.fake.on(sh(QStringLiteral("rm -rf -- '/sdcard/b c'")), {});
    runSync(h.model->deleteSelected(FileManagerSide::device));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Удалено с Android: 1"));
}

TEST(FileManagerOperations, LocalDeleteGoesToTheRealTrash)
{
    FileManagerHarness h;
    QTemporaryDir data; // the desktop Trash lives under XDG_DATA_HOME
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    h.writeFile(h.downloads + QStringLiteral("/one.txt"), "1");
    QDir(h.downloads).mkdir(QStringLiteral("two"));
    h.writeFile(h.downloads + QStringLiteral("/two/inner.txt"), "2");
    runSync(h.model->refreshLocal());
    h.model->localSelection.set({h.downloads + QStringLiteral("/one.txt"), h.downloads + QStringLiteral("/two")});
    runSync(h.model->deleteSelected(FileManagerSide::local));
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Перемещено в Корзину: 2"));
    EXPECT_FALSE(h.model->errorMessage());
    EXPECT_TRUE(h.localNames().isEmpty());
    EXPECT_TRUE(h.model->localSelection().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(data.path() + QStringLiteral("/Trash/files/one.txt")));
    EXPECT_TRUE(QFileInfo::exists(data.path() + QStringLiteral("/Trash/files/two/inner.txt")));
}

TEST(FileManagerOperations, UploadChoosesFreeNamesAndPushesEachItem)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("report.pdf")}, {QStringLiteral("Report-2.PDF")}, {QStringLiteral("Photos"), true}});
    h.writeFile(h.downloads + QStringLiteral("/report.pdf"));
    QDir(h.downloads).mkdir(QStringLiteral("photos"));
    h.writeFile(h.downloads + QStringLiteral("/new.txt"));
    runSync(h.model->refreshLocal());
    h.model->localSelection.set({h.downloads + QStringLiteral("/report.pdf"), h.downloads + QStringLiteral("/photos"),
                                 h.downloads + QStringLiteral("/new.txt")});
    h.fake.clearCalls();
    runSync(h.model->uploadSelected());
    Calls expected = FileManagerHarness::pushCalls(h.downloads + QStringLiteral("/photos"), QStringLiteral("/sdcard/photos-2"));
    expected += FileManagerHarness::pushCalls(h.downloads + QStringLiteral("/new.txt"), QStringLiteral("/sdcard/new.txt"));
    expected += FileManagerHarness::pushCalls(h.downloads + QStringLiteral("/report.pdf"), QStringLiteral("/sdcard/report-3.pdf"));
    EXPECT_EQ(h.changeCalls(), expected);
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Скопировано на Android: 3 из 3"));
    EXPECT_FALSE(h.model->isBusy());
}

// A name the listing did not show (it appeared meanwhile) is refused by the device; the item
// then takes the next free name instead of failing or replacing.
TEST(FileManagerOperations, UploadRefusedByTheDeviceTakesTheNextFreeName)
{
    FileManagerHarness h;
    h.bind();
    h.writeFile(h.downloads + QStringLiteral("/a.txt"));
    runSync(h.model->refreshLocal());
    h.model->localSelection.set({h.downloads + QStringLiteral("/a.txt")});
    h.fake.on(FileManagerHarness::pushCalls(QString(), QStringLiteral("/sdcard/a.txt"))[0], {.exit = ADBService::kTargetExistsExitCode});
    h.fake.clearCalls();
    runSync(h.model->uploadSelected());
    Calls expected{FileManagerHarness::pushCalls(QString(), QStringLiteral("/sdcard/a.txt"))[0]};
    expected += FileManagerHarness::pushCalls(h.downloads + QStringLiteral("/a.txt"), QStringLiteral("/sdcard/a-2.txt"));
    EXPECT_EQ(h.changeCalls(), expected);
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Скопировано на Android: 1 из 1"));
}

struct UploadRun {
    FileManagerHarness h;
    QObject receiver;

    UploadRun()
    {
        h.bind({{QStringLiteral("Music"), true}, {QStringLiteral("Other"), true}});
        h.answerListing(QStringLiteral("/sdcard/Music"), {{QStringLiteral("one.mp3")}});
        h.answerListing(QStringLiteral("/sdcard/Other"), {});
        h.model->devicePathInput.set(QStringLiteral("/sdcard/Music"));
        runSync(h.model->goToDevicePath());
        h.writeFile(h.downloads + QStringLiteral("/one.mp3"));
        h.writeFile(h.downloads + QStringLiteral("/two.mp3"));
        runSync(h.model->refreshLocal());
        h.model->localSelection.set({h.downloads + QStringLiteral("/one.mp3"), h.downloads + QStringLiteral("/two.mp3")});
    }
    // Runs `interrupt` once, as the first item starts.
    void whenFirstItemStarts(std::function<void()> interrupt)
    {
        h.model->observe(h.model->statusText, &receiver, [this, interrupt, done = false]() mutable {
            if (!done && h.model->statusText().startsWith(QStringLiteral("На Android 1 из 2"))) {
                done = true;
                interrupt();
            }
        });
    }
    Calls pushes() const
    {
        Calls out;
        for (const QStringList &call : h.fake.calls())
            if (call.value(2) == QStringLiteral("push"))
                out << call;
        return out;
    }
};

// The batch's folder and names are fixed when it starts: moving the pane meanwhile sends
// nothing into a folder whose names were never checked.
TEST(FileManagerOperations, NavigatingDuringAnUploadKeepsTheBatchInItsFolder)
{
    UploadRun run;
    run.whenFirstItemStarts([&] {
        run.h.model->devicePathInput.set(QStringLiteral("/sdcard/Other"));
        run.h.model->goToDevicePath();
    });
    runSync(run.h.model->uploadSelected());
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(run.pushes(), (Calls{FileManagerHarness::pushCalls(run.h.downloads + QStringLiteral("/one.mp3"),
                                                                 QStringLiteral("/sdcard/Music/one-2.mp3"))[1],
                                   FileManagerHarness::pushCalls(run.h.downloads + QStringLiteral("/two.mp3"),
                                                                 QStringLiteral("/sdcard/Music/two.mp3"))[1]}));
    EXPECT_FALSE(run.h.model->errorMessage());
    EXPECT_EQ(run.h.model->deviceDirectory(), QStringLiteral("/sdcard/Other"));
}

TEST(FileManagerOperations, AnotherDeviceStopsAnUploadAndReportsTheRest)
{
    UploadRun run;
    run.h.answerListing(QStringLiteral("/sdcard"), {}, QStringLiteral("OTHER"));
    run.whenFirstItemStarts([&] { run.h.model->configure(run.h.adb(), QStringLiteral("OTHER")); });
    runSync(run.h.model->uploadSelected());
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(run.pushes().size(), 1);
    EXPECT_EQ(run.h.model->errorMessage(), QStringLiteral("two.mp3: не скопировано (устройство сменилось)"));
    EXPECT_FALSE(run.h.model->isBusy());
}

TEST(FileManagerOperations, UploadStopsWhenTheFolderCannotBeReadFirst)
{
    UploadRun run;
    run.h.refuseListing(QStringLiteral("/sdcard/Music"), QStringLiteral("cd: I/O error"));
    run.h.fake.clearCalls();
    runSync(run.h.model->uploadSelected());
    EXPECT_TRUE(run.pushes().isEmpty());
    EXPECT_EQ(run.h.model->errorMessage(), QStringLiteral("Папка /sdcard/Music не прочитана: cd: I/O error\n"
                                                          "one.mp3: не скопировано\ntwo.mp3: не скопировано"));
    EXPECT_EQ(run.h.model->statusText(), QStringLiteral("Ошибка"));
    EXPECT_FALSE(run.h.model->isBusy());
}

TEST(FileManagerOperations, StopEndsABatchBeforeItsNextItem)
{
    UploadRun run;
    run.whenFirstItemStarts([&] { run.h.model->stop(); });
    runSync(run.h.model->uploadSelected());
    EXPECT_EQ(run.pushes().size(), 1);
    EXPECT_EQ(run.h.model->errorMessage(), QStringLiteral("two.mp3: не скопировано (работа остановлена)"));
}

// Busy counts operations: a listing that ends in the middle of a batch leaves the batch busy.
TEST(FileManagerOperations, BusyLastsUntilTheLastOverlappingOperationEnds)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("a")}, {QStringLiteral("b")}});
    h.model->deviceSelection.set({QStringLiteral("/sdcard/a"), QStringLiteral("/sdcard/b")});
    QObject receiver;
    bool listingDone = false;
    std::optional<bool> busyAfterListing;
    h.model->observe(h.model->statusText, &receiver, [&] {
        const QString status = h.model->statusText();
        if (status == QStringLiteral("Удаление 1 из 2…")) {
            [](FileManagerHarness &h, bool &done) -> QCoro::Task<void> {
                co_await h.model->refreshDevice(false);
                done = true;
            }(h, listingDone);
        } else if (status == QStringLiteral("Удаление 2 из 2…")) {
            EXPECT_TRUE(waitUntil([&] { return listingDone; }));
            busyAfterListing = h.model->isBusy();
        }
    });
    runSync(h.model->deleteSelected(FileManagerSide::device));
    ASSERT_TRUE(busyAfterListing);
    EXPECT_TRUE(*busyAfterListing);
    EXPECT_FALSE(h.model->isBusy());
}

// An adb stand-in whose pull leaves what a real pull would at the destination (a folder for
// remote paths ending in "/DCIM" or "/photos.2020", else a file), and whose listing prints the
// records the test wrote. Every call goes to "calls", one argument vector per line.
struct PullingAdb {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/adb");

    explicit PullingAdb(const QByteArray &records)
    {
        QFile listing(dir.path() + QStringLiteral("/listing.bin"));
        listing.open(QIODevice::WriteOnly);
        listing.write(records);
        QFile script(path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\n"
                     "here=$(dirname \"$0\")\n"
                     "echo \"$*\" >> \"$here/calls\"\n"
                     "case \"$3\" in\n"
                     "  shell) case \"$4\" in 'cd '*) cat \"$here/listing.bin\";; esac;;\n"
                     "  pull) case \"$4\" in */DCIM|*/photos.2020) mkdir \"$5\";; *) : > \"$5\";; esac;;\n"
                     "esac\n"
                     "exit 0\n");
        script.close();
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    QStringList pulls() const
    {
        QFile f(dir.path() + QStringLiteral("/calls"));
        f.open(QIODevice::ReadOnly);
        QStringList out;
        for (const QByteArray &line : f.readAll().split('\n'))
            if (line.contains(" pull "))
                out << QString::fromUtf8(line);
        return out;
    }
};

TEST(FileManagerOperations, DownloadNeverWritesOverAnythingNotEvenThroughADanglingLink)
{
    FileManagerHarness h;
    PullingAdb adb(FileManagerHarness::records(
        {{QStringLiteral("report.pdf")}, {QStringLiteral("photos.2020"), true}, {QStringLiteral("DCIM"), true}}));
    runSync(h.model->configure(ADBService(adb.path), FileManagerHarness::serial));
    ASSERT_EQ(h.deviceNames().size(), 3);
    const QString d = h.downloads;
    const QString outside = h.home.path() + QStringLiteral("/outside.pdf");
    QFile::link(outside, d + QStringLiteral("/report.pdf"));
    QDir(d).mkdir(QStringLiteral("photos.2020"));
    h.model->deviceSelection.set({QStringLiteral("/sdcard/report.pdf"), QStringLiteral("/sdcard/photos.2020"),
                                  QStringLiteral("/sdcard/DCIM")});
    runSync(h.model->downloadSelected());
    runSync(h.model->downloadSelected());
    EXPECT_EQ(adb.pulls(), (QStringList{
                               QStringLiteral("-s R58M pull /sdcard/DCIM %1/DCIM").arg(d),
                               QStringLiteral("-s R58M pull /sdcard/photos.2020 %1/photos-2").arg(d),
                               QStringLiteral("-s R58M pull /sdcard/report.pdf %1/report-2.pdf").arg(d),
                               QStringLiteral("-s R58M pull /sdcard/DCIM %1/DCIM-2").arg(d),
                               QStringLiteral("-s R58M pull /sdcard/photos.2020 %1/photos-3").arg(d),
                               QStringLiteral("-s R58M pull /sdcard/report.pdf %1/report-3.pdf").arg(d),
                           }));
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_EQ(h.model->statusText(), PlatformTexts::text(QStringLiteral("Скопировано на Mac: ")) + QStringLiteral("3 из 3"));
    EXPECT_FALSE(h.model->errorMessage());
    EXPECT_TRUE(h.localNames().contains(QStringLiteral("report-3.pdf")));
}

// A file added to the computer's folder since its last listing shows before anything is copied.
TEST(FileManagerOperations, DownloadListsTheComputerFolderBeforeItsFirstItem)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("a.txt")}});
    h.writeFile(h.downloads + QStringLiteral("/added-meanwhile.txt"));
    ASSERT_FALSE(h.localNames().contains(QStringLiteral("added-meanwhile.txt")));
    h.fake.onPrefix({QStringLiteral("-s"), FileManagerHarness::serial, QStringLiteral("pull")}, {.gate = QStringLiteral("pull")});
    h.model->deviceSelection.set({QStringLiteral("/sdcard/a.txt")});
    auto download = h.model->downloadSelected();
    const auto pulling = [&] {
        for (const QStringList &call : h.fake.calls())
            if (call.value(2) == QStringLiteral("pull"))
                return true;
        return false;
    };
    ASSERT_TRUE(waitUntil(pulling));
    EXPECT_TRUE(h.localNames().contains(QStringLiteral("added-meanwhile.txt")));
    h.fake.open(QStringLiteral("pull"));
    runSync(std::move(download));
}

// The composed and the decomposed form of the same letters are one name in every clash check and
// every free-name search, on the device and on the computer (whose file system tells them apart).
TEST(FileManagerOperations, ComposedAndDecomposedFormsAreOneName)
{
    const QString composed = QStringLiteral("caf\u00e9");
    const QString decomposed = QStringLiteral("cafe\u0301");
    const QString txt = QStringLiteral(".txt");
    FileManagerHarness h;
    h.bind({{decomposed, true}, {decomposed + txt}});
    QDir(h.downloads).mkdir(decomposed);
    h.writeFile(h.downloads + QLatin1Char('/') + composed + txt);
    runSync(h.model->refreshLocal());
    h.fake.clearCalls();

    // Either form where the other is: refused on both sides before anything runs.
    runSync(h.model->createFolder(composed, FileManagerSide::local));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Объект «") + composed + QStringLiteral("» уже существует"));
    EXPECT_FALSE(QFileInfo::exists(h.downloads + QLatin1Char('/') + composed));
    runSync(h.model->createFolder(composed, FileManagerSide::device));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Объект «") + composed + QStringLiteral("» уже существует на Android"));
    EXPECT_EQ(h.changeCalls(), QList<QStringList>{});

    // The other form of an item's own name is its own name: a rename to it changes nothing.
    h.model->errorMessage.set(std::nullopt);
    h.model->localSelection.set({h.downloads + QLatin1Char('/') + decomposed});
    runSync(h.model->renameSelected(composed, FileManagerSide::local));
    h.model->deviceSelection.set({QStringLiteral("/sdcard/") + decomposed});
    runSync(h.model->renameSelected(composed, FileManagerSide::device));
    EXPECT_FALSE(h.model->errorMessage());
    EXPECT_TRUE(QFileInfo(h.downloads + QLatin1Char('/') + decomposed).isDir());
    EXPECT_EQ(h.changeCalls(), QList<QStringList>{});

    // Copies take a free name against both forms.
    h.model->localSelection.set({h.downloads + QLatin1Char('/') + composed + txt});
    runSync(h.model->uploadSelected());
    h.model->deviceSelection.set({QStringLiteral("/sdcard/") + decomposed + txt});
    runSync(h.model->downloadSelected());
    Calls expected = FileManagerHarness::pushCalls(h.downloads + QLatin1Char('/') + composed + txt,
                                                   QStringLiteral("/sdcard/") + composed + QStringLiteral("-2.txt"));
    expected << FileManagerHarness::pullCall(QStringLiteral("/sdcard/") + decomposed + txt,
                                             h.downloads + QLatin1Char('/') + decomposed + QStringLiteral("-2.txt"));
    EXPECT_EQ(h.changeCalls(), expected);
}

// A pull that exits with 0 but leaves nothing behind did not copy anything.
TEST(FileManagerOperations, DownloadCountsOnlyWhatArrived)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("a.txt")}, {QStringLiteral("b.txt")}});
    h.fake.onPrefix({QStringLiteral("-s"), FileManagerHarness::serial, QStringLiteral("pull"), QStringLiteral("/sdcard/b.txt")},
              {.err = QStringLiteral("adb: error: remote object does not exist"), .exit = 1});
    h.fake.onPrefix({QStringLiteral("-s"), FileManagerHarness::serial, QStringLiteral("pull"), QStringLiteral("/sdcard/a.txt")},
              {.out = QStringLiteral("1 file pulled")});
    h.model->deviceSelection.set({QStringLiteral("/sdcard/a.txt"), QStringLiteral("/sdcard/b.txt")});
    runSync(h.model->downloadSelected());
    EXPECT_EQ(h.model->errorMessage(),
              QStringLiteral("a.txt: 1 file pulled\nb.txt: adb: error: remote object does not exist"));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Ошибка"));
    EXPECT_FALSE(h.model->isBusy());
}

} // namespace
