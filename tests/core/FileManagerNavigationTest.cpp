#include "FileManagerHarness.h"

#include "core/PlatformTexts.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using Outcome = DeviceFileManagerModel::ListingOutcome;

TEST(FileManagerPaths, NormalizedDevicePathTable)
{
    struct Case { const char *typed, *base, *expected; };
    const Case cases[] = {
        {"", "/sdcard", "/sdcard"},
        {"  \n", "/sdcard", "/sdcard"},
        {"  DCIM/Camera ", "/sdcard", "/sdcard/DCIM/Camera"},
        {"a//b/./c/..", "/sdcard", "/sdcard/a/b"},
        {"/../../x", "/sdcard", "/x"},
        {"..", "/", "/"},
        {"~/x", "/sdcard", "/sdcard/~/x"},
        {"/sdcard/.../x", "/", "/sdcard/.../x"},
        {"/sdcard/", "/", "/sdcard"},
        {"x", "/", "/x"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DeviceFileManagerModel::normalizedDevicePath(QString::fromUtf8(c.typed), QString::fromUtf8(c.base)),
                  QString::fromUtf8(c.expected))
            << c.typed << " against " << c.base;
}

TEST(FileManagerPaths, ParentAndChildTable)
{
    const QList<std::pair<const char *, const char *>> parents{
        {"/", "/"}, {"/sdcard", "/"}, {"/sdcard/DCIM/", "/sdcard"}, {"sdcard/a", "/sdcard"}, {"/a/../b", "/"}};
    for (const auto &[path, parent] : parents)
        EXPECT_EQ(DeviceFileManagerModel::parentDevicePath(QString::fromUtf8(path)), QString::fromUtf8(parent)) << path;
    EXPECT_EQ(DeviceFileManagerModel::deviceChildPath(QStringLiteral("/"), QStringLiteral("x")), QStringLiteral("/x"));
    EXPECT_EQ(DeviceFileManagerModel::deviceChildPath(QStringLiteral("/sdcard"), QStringLiteral("x")),
              QStringLiteral("/sdcard/x"));
}

TEST(FileManagerPaths, SharedStorageIgnoresLetterCase)
{
    using M = FileNaming::NameMatch;
    const QList<std::pair<const char *, M>> cases{
        {"/sdcard", M::ignoringCase},          {"/sdcard/DCIM", M::ignoringCase},
        {"/storage/emulated/0", M::ignoringCase}, {"/storage/1A2B-3C4D/Music", M::ignoringCase},
        {"/mnt/sdcard/x", M::ignoringCase},    {"/data/media/0", M::ignoringCase},
        {"/data/local/tmp", M::exact},         {"/sdcardx", M::exact},
        {"/", M::exact},                       {"/storage", M::exact},
    };
    for (const auto &[folder, match] : cases)
        EXPECT_EQ(DeviceFileManagerModel::nameMatch(QString::fromUtf8(folder)), match) << folder;
}

TEST(FileManagerModel, StartsInDownloadsOrHomeAndUnbound)
{
    FileManagerHarness h;
    EXPECT_EQ(h.model->localDirectory(), h.downloads);
    EXPECT_EQ(h.model->localPathInput(), h.downloads);
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard"));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Готово"));
    EXPECT_FALSE(h.model->isDeviceReady());

    QTemporaryDir bare;
    DeviceFileManagerModel model(bare.path());
    EXPECT_EQ(model.localDirectory(), QDir::cleanPath(bare.path()));
}

TEST(FileManagerModel, ConfigureKeepsTheFolderForTheSameBindingAndResetsForAnother)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("DCIM"), true}});
    EXPECT_TRUE(h.model->isDeviceReady());
    EXPECT_EQ(h.deviceNames(), QStringList{QStringLiteral("DCIM")});
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Объектов на Android: 1"));

    h.answerListing(QStringLiteral("/sdcard/DCIM"), {{QStringLiteral("a.jpg")}});
    runSync(h.model->openDevice(h.model->deviceItems().at(0)));
    h.model->deviceSelection.set({QStringLiteral("/sdcard/DCIM/a.jpg")});
    runSync(h.model->configure(h.adb(), FileManagerHarness::serial));
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard/DCIM"));
    EXPECT_EQ(h.model->deviceSelection(), QSet<QString>{QStringLiteral("/sdcard/DCIM/a.jpg")});

    // Another adb at another path is another binding.
    FakeTool other;
    other.setDefault({});
    runSync(h.model->configure(ADBService(other.adbPath()), FileManagerHarness::serial));
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard"));
    EXPECT_TRUE(h.model->deviceSelection().isEmpty());

    // No serial: the pane empties, nothing is run.
    h.fake.clearCalls();
    other.clearCalls();
    runSync(h.model->configure(h.adb(), std::nullopt));
    EXPECT_FALSE(h.model->isDeviceReady());
    EXPECT_TRUE(h.model->deviceItems().isEmpty());
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Android-устройство недоступно"));
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_TRUE(other.calls().isEmpty());
}

TEST(FileManagerModel, DeviceParentStopsAtTheRootAndRunsNothingThere)
{
    FileManagerHarness h;
    h.bind();
    h.answerListing(QStringLiteral("/"), {{QStringLiteral("sdcard"), true}, {QStringLiteral("system"), true}});
    runSync(h.model->goToDeviceParent());
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/"));
    EXPECT_EQ(h.deviceNames(), (QStringList{QStringLiteral("sdcard"), QStringLiteral("system")}));
    h.fake.clearCalls();
    runSync(h.model->goToDeviceParent());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

// A folder the device refuses, reached by any move: the model goes back to the folder whose
// entries the pane still shows, so the next new folder lands there and not in the refused one.
TEST(FileManagerModel, FailedListingAfterAMoveReturnsToTheShownFolder)
{
    struct Move { const char *name; std::function<QCoro::Task<void>(DeviceFileManagerModel &)> run; };
    const QList<Move> moves{
        {"open", [](DeviceFileManagerModel &m) { return m.openDevice(m.deviceItems().at(0)); }},
        {"path", [](DeviceFileManagerModel &m) {
             m.devicePathInput.set(QStringLiteral("Android"));
             return m.goToDevicePath();
         }},
    };
    for (const Move &move : moves) {
        FileManagerHarness h;
        h.bind({{QStringLiteral("Android"), true}, {QStringLiteral("notes.txt")}});
        h.refuseListing(QStringLiteral("/sdcard/Android"), QStringLiteral("cd: /sdcard/Android: Permission denied"));
        runSync(move.run(*h.model));
        EXPECT_EQ(h.model->errorMessage(), QStringLiteral("cd: /sdcard/Android: Permission denied")) << move.name;
        EXPECT_EQ(h.model->statusText(), QStringLiteral("Ошибка")) << move.name;
        EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard")) << move.name;
        EXPECT_EQ(h.model->devicePathInput(), QStringLiteral("/sdcard")) << move.name;
        EXPECT_EQ(h.deviceNames(), (QStringList{QStringLiteral("Android"), QStringLiteral("notes.txt")})) << move.name;
        EXPECT_FALSE(h.model->isBusy()) << move.name;

        h.fake.clearCalls();
        runSync(h.model->createFolder(QStringLiteral("New"), FileManagerSide::device));
        EXPECT_EQ(h.changeCalls(), QList<QStringList>{FileManagerHarness::shell(QStringLiteral("mkdir -- '/sdcard/New'"))})
            << move.name;
    }
}

// An error left by another operation does not make a good jump look failed.
TEST(FileManagerModel, GoToDevicePathJudgesItsOwnListing)
{
    FileManagerHarness h;
    h.bind();
    h.model->errorMessage.set(QStringLiteral("an older error"));
    h.answerListing(QStringLiteral("/sdcard/Music"), {{QStringLiteral("song.mp3")}});
    h.model->devicePathInput.set(QStringLiteral(" Music/ "));
    runSync(h.model->goToDevicePath());
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard/Music"));
    EXPECT_EQ(h.model->devicePathInput(), QStringLiteral("/sdcard/Music"));
    EXPECT_EQ(h.deviceNames(), QStringList{QStringLiteral("song.mp3")});
}

TEST(FileManagerModel, NameThatIsNotUtf8IsListedButTakesNoAction)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("Camera"), true}});
    QByteArray unreadable = FileManagerHarness::records({{QStringLiteral("bad"), true}});
    unreadable.insert(unreadable.size() - 1, '\xff'); // "bad\xff": not UTF-8
    h.fake.on(FileManagerHarness::listing(QStringLiteral("/sdcard")),
              {.outBytes = FileManagerHarness::records({{QStringLiteral("camera"), true}, {QStringLiteral("notes.txt")}}) +
                           unreadable});
    EXPECT_EQ(runSync(h.model->refreshDevice(false)), Outcome::shown);
    EXPECT_FALSE(h.model->errorMessage());
    const QString bad = QStringLiteral("bad") + QChar(QChar::ReplacementCharacter);
    EXPECT_EQ(h.deviceNames(), (QStringList{bad, QStringLiteral("camera"), QStringLiteral("notes.txt")}));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Объектов на Android: 3 · недоступны (имя не в UTF-8): 1"));

    // Nothing takes it, not even through a selection that names it.
    const DeviceFileItem unusable = h.model->deviceItems().first();
    ASSERT_FALSE(unusable.isUsable());
    h.model->deviceSelection.set({unusable.path});
    EXPECT_TRUE(h.model->selectedDeviceItems().isEmpty());
    h.fake.clearCalls();
    runSync(h.model->openDevice(unusable));
    runSync(h.model->renameSelected(QStringLiteral("x"), FileManagerSide::device));
    runSync(h.model->deleteSelected(FileManagerSide::device));
    runSync(h.model->downloadSelected());
    EXPECT_EQ(h.fake.calls(), QList<QStringList>{});
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard"));

    // The rest of the listing serves the clash checks ("camera" takes "Camera" on shared storage).
    runSync(h.model->createFolder(QStringLiteral("Camera"), FileManagerSide::device));
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Объект «Camera» уже существует на Android"));
    EXPECT_EQ(h.fake.calls(), QList<QStringList>{});

    // A listing of that folder that failed serves none: the device decides.
    h.refuseListing(QStringLiteral("/sdcard"), QStringLiteral("ls: /sdcard: I/O error"));
    EXPECT_EQ(runSync(h.model->refreshDevice(false)), Outcome::failed);
    h.fake.clearCalls();
    runSync(h.model->createFolder(QStringLiteral("Camera"), FileManagerSide::device));
    EXPECT_EQ(h.changeCalls(), QList<QStringList>{FileManagerHarness::shell(QStringLiteral("mkdir -- '/sdcard/Camera'"))});
}

TEST(FileManagerModel, LateListingOfAFolderLeftIsDropped)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("A"), true}, {QStringLiteral("B"), true}});
    h.answerListing(QStringLiteral("/sdcard/A"), {{QStringLiteral("from-a")}});
    h.answerListing(QStringLiteral("/sdcard/B"), {{QStringLiteral("from-b")}});
    auto first = h.model->openDevice(h.model->deviceItems().at(0));
    auto second = h.model->openDevice(h.model->deviceItems().at(1));
    runSync(std::move(first));
    runSync(std::move(second));
    EXPECT_EQ(h.model->deviceDirectory(), QStringLiteral("/sdcard/B"));
    EXPECT_EQ(h.deviceNames(), QStringList{QStringLiteral("from-b")});
    EXPECT_FALSE(h.model->isBusy());
}

TEST(FileManagerModel, SilentFailureReportsButLeavesBusyAndCountAlone)
{
    FileManagerHarness h;
    h.bind({{QStringLiteral("a")}});
    h.fake.on(FileManagerHarness::listing(QStringLiteral("/sdcard")), {.exit = 1});
    QList<bool> busy;
    QObject receiver;
    h.model->observe(h.model->isBusy, &receiver, [&] { busy << h.model->isBusy(); });
    EXPECT_EQ(runSync(h.model->refreshDevice(true)), Outcome::failed);
    EXPECT_TRUE(busy.isEmpty());
    EXPECT_EQ(h.model->errorMessage(), QStringLiteral("Android не разрешил открыть /sdcard"));
    EXPECT_EQ(h.model->statusText(), QStringLiteral("Ошибка"));
    EXPECT_EQ(h.deviceNames(), QStringList{QStringLiteral("a")});
}

TEST(FileManagerModel, LocalListingSortsFoldersFirstIgnoringCaseAndHidesDotFiles)
{
    FileManagerHarness h;
    for (const char *name : {"b", "A", "a", ".hidden"})
        h.writeFile(h.downloads + QLatin1Char('/') + QString::fromUtf8(name));
    QDir(h.downloads).mkdir(QStringLiteral("Zeta"));
    QDir(h.downloads).mkdir(QStringLiteral("Альфа"));
    runSync(h.model->refreshLocal());
    const QStringList names = h.localNames();
    ASSERT_EQ(names.size(), 5);
    EXPECT_EQ(names.mid(0, 2), (QStringList{QStringLiteral("Альфа"), QStringLiteral("Zeta")}));
    EXPECT_EQ(QSet<QString>(names.begin() + 2, names.begin() + 4), (QSet<QString>{QStringLiteral("A"), QStringLiteral("a")}));
    EXPECT_EQ(names.at(4), QStringLiteral("b"));
    EXPECT_FALSE(h.model->localItems().at(0).size);
    EXPECT_EQ(h.model->localItems().at(4).size, 1);

    h.model->showHiddenFiles.set(true);
    runSync(h.model->refreshLocal());
    EXPECT_TRUE(h.localNames().contains(QStringLiteral(".hidden")));
}

TEST(FileManagerModel, LocalNavigation)
{
    FileManagerHarness h;
    QDir(h.downloads).mkdir(QStringLiteral("Sub"));
    runSync(h.model->refreshLocal());
    h.model->localSelection.set({h.downloads + QStringLiteral("/Sub")});
    runSync(h.model->openLocal(h.model->localItems().at(0)));
    EXPECT_EQ(h.model->localDirectory(), h.downloads + QStringLiteral("/Sub"));
    EXPECT_TRUE(h.model->localSelection().isEmpty());
    runSync(h.model->goToLocalParent());
    EXPECT_EQ(h.model->localDirectory(), h.downloads);

    h.model->localPathInput.set(QStringLiteral("~/Downloads/Sub/.."));
    runSync(h.model->goToLocalPath());
    EXPECT_EQ(h.model->localDirectory(), h.downloads);

    h.writeFile(h.downloads + QStringLiteral("/file.txt"));
    h.model->localPathInput.set(h.downloads + QStringLiteral("/file.txt"));
    runSync(h.model->goToLocalPath());
    EXPECT_EQ(h.model->errorMessage(),
              PlatformTexts::text(QStringLiteral("Папка Mac не найдена: ")) + h.downloads + QStringLiteral("/file.txt"));
    EXPECT_EQ(h.model->localPathInput(), h.downloads);

    DeviceFileManagerModel atRoot(h.home.path());
    runSync(atRoot.chooseLocalDirectory(QStringLiteral("/")));
    runSync(atRoot.goToLocalParent());
    EXPECT_EQ(atRoot.localDirectory(), QStringLiteral("/"));
}

TEST(FileManagerModel, UnreadableLocalFolderKeepsTheShownOne)
{
    FileManagerHarness h;
    h.writeFile(h.downloads + QStringLiteral("/keep.txt"));
    runSync(h.model->refreshLocal());
    QDir(h.downloads).mkdir(QStringLiteral("Gone"));
    LocalFileItem gone{h.downloads + QStringLiteral("/Gone"), QStringLiteral("Gone"), true, std::nullopt, std::nullopt};
    QDir(h.downloads).rmdir(QStringLiteral("Gone"));
    runSync(h.model->openLocal(gone));
    ASSERT_TRUE(h.model->errorMessage());
    EXPECT_TRUE(h.model->errorMessage()->startsWith(PlatformTexts::text(QStringLiteral("Не удалось открыть папку Mac: "))));
    EXPECT_EQ(h.model->localDirectory(), h.downloads);
    EXPECT_EQ(h.model->localPathInput(), h.downloads);
    EXPECT_EQ(h.localNames(), QStringList{QStringLiteral("keep.txt")});
}

// Executables and launchers are shown in their folder instead of being run.
TEST(FileManagerModel, OpeningAFileNeverStartsAProgram)
{
    FileManagerHarness h;
    struct Case { const char *name; bool executable; bool opensFolder; };
    const Case cases[] = {
        {"notes.txt", false, false},
        {"tool", true, true},
        {"app.desktop", false, true},
        {"App.DESKTOP", false, true},
        {"script.sh", true, true},
    };
    QStringList opened;
    h.model->pathOpener = [&](const QString &path) { opened << path; };
    for (const Case &c : cases) {
        const QString path = h.downloads + QLatin1Char('/') + QString::fromUtf8(c.name);
        h.writeFile(path);
        if (c.executable)
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        opened.clear();
        runSync(h.model->openLocal({path, QString::fromUtf8(c.name), false, 1, std::nullopt}));
        EXPECT_EQ(opened, QStringList{c.opensFolder ? h.downloads : path}) << c.name;
    }
}

} // namespace
