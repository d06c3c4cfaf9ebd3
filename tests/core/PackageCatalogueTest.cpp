#include "ModelHarness.h"

#include "bridge/Resources.h"

#include <QFile>
#include "MetadataProgramFixture.h"

#include <gtest/gtest.h>

namespace {

QStringList on(const QString &serial, const QStringList &args) { return QStringList{QStringLiteral("-s"), serial} + args; }

const QStringList kUser = S({"shell", "pm", "list", "packages", "-f", "-3"});
const QStringList kSystem = S({"shell", "pm", "list", "packages", "-f", "-s"});
const QStringList kDisabled = S({"shell", "pm", "list", "packages", "-d", "--user", "0"});
const QStringList kKnown = S({"shell", "pm", "list", "packages", "-u", "--user", "0"});
QString metaLine(const char *package, const char *label, qint64 size)
{
    return QStringLiteral("{\"package\":\"%1\",\"label\":\"%2\",\"size\":%3}\n")
        .arg(QString::fromUtf8(package), QString::fromUtf8(label))
        .arg(size);
}

struct Catalogue : ModelHarness {
    MetadataProgramResource resource;

    explicit Catalogue(const QString &serial = QStringLiteral("S1"))
    {
        model->devices.set({AndroidDevice{serial, QStringLiteral("device"), {}, {}},
                            AndroidDevice{QStringLiteral("S2"), QStringLiteral("device"), {}, {}}});
        model->selectedDeviceID.set(serial);
        model->clearLog();
    }

    // With a gate, every answer waits until the test opens it.
    void device(const QString &serial, const QString &gate = {})
    {
        fake.on(on(serial, kUser), {.out = QStringLiteral("package:/data/app/b==/base.apk=com.b.user\n"
                                                           "package:/data/app/a/base.apk=com.a.user\n"),
                                    .gate = gate});
        fake.on(on(serial, kSystem), {.out = QStringLiteral("package:/system/app/S.apk=com.sys\r\n"), .gate = gate});
        fake.on(on(serial, kDisabled), {.out = QStringLiteral("package:com.sys\npackage:com.ghost\n"), .gate = gate});
        fake.on(on(serial, kKnown), {.out = QStringLiteral("package:com.a.user\npackage:com.b.user\npackage:com.sys\n"
                                                            "package:com.removed\n"),
                                     .gate = gate});
    }

    void metadata(const QString &serial, const QString &out, const QString &gate = {}, const QString &err = {})
    {
        fake.on(resource.push(serial), {});
        fake.on(on(serial, kMetadataRun), {.out = out, .err = err, .gate = gate});
        fake.on(on(serial, kMetadataRemove), {});
    }

    QList<QStringList> sortedCalls() const
    {
        auto calls = fake.calls();
        std::sort(calls.begin(), calls.end());
        return calls;
    }
};

QStringList names(const QList<AndroidPackage> &list)
{
    QStringList result;
    for (const auto &p : list)
        result << p.name;
    return result;
}

TEST(PackageCatalogue, TwoPublicationsThenLabelsSizesAndStates)
{
    Catalogue h;
    h.device(QStringLiteral("S1"));
    h.metadata(QStringLiteral("S1"), metaLine("com.b.user", "Альфа", 10) + metaLine("com.a.user", "beta", 0)
                                         + metaLine("com.sys", "Zeta", 5) + metaLine("com.other", "Other", 1));
    QList<QList<AndroidPackage>> published;
    h->observe(h->packages, h.model.get(), [&] { published << h->packages(); });
    h->selectedPackageIDs.set({QStringLiteral("com.sys"), QStringLiteral("com.vanished")});

    runSync(h->refreshPackages(false));

    ASSERT_EQ(published.size(), 2);
    EXPECT_EQ(names(published[0]), S({"com.a.user", "com.b.user", "com.removed", "com.sys"}));
    for (const auto &p : published[0])
        EXPECT_EQ(p.state, p.name == QStringLiteral("com.removed") ? PackageState::removedForUser : PackageState::enabled);
    // Cyrillic before Latin, case ignored, as the Russian list orders them.
    EXPECT_EQ(names(published[1]), S({"com.b.user", "com.a.user", "com.removed", "com.sys"}));
    const auto &final = published[1];
    EXPECT_EQ(final[0].displayName, QStringLiteral("Альфа"));
    EXPECT_EQ(final[0].apkPath, QStringLiteral("/data/app/b==/base.apk"));
    EXPECT_EQ(final[1].apkSize, 0);
    EXPECT_EQ(final[2].state, PackageState::removedForUser);
    EXPECT_EQ(final[2].kind, PackageKind::system);
    EXPECT_EQ(final[2].apkPath, std::nullopt);
    EXPECT_EQ(final[3].state, PackageState::disabled);

    EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{QStringLiteral("com.sys")});
    EXPECT_EQ(h->metadataCache.value(QStringLiteral("S1")).size(), 4);
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 4, с метаданными: 4"));
    EXPECT_FALSE(h->isBusy());
    EXPECT_EQ(logTexts(*h), S({"$ pm list packages -f -3", "$ pm list packages -f -s", "Пакеты: пользовательских 2, системных 1",
                               "Отключено: 2, удалено для пользователя: 1", "$ metadata-helper", "Метаданные получены: 4"}));
    const auto calls = h.fake.calls();
    ASSERT_EQ(calls.size(), 7);
    QList<QStringList> queries = calls.mid(0, 4);
    std::sort(queries.begin(), queries.end());
    QList<QStringList> expected = {on("S1", kUser), on("S1", kSystem), on("S1", kDisabled), on("S1", kKnown)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(queries, expected);
    EXPECT_EQ(calls.mid(4), (QList<QStringList>{h.resource.push("S1"), on("S1", kMetadataRun), on("S1", kMetadataRemove)}));
}

TEST(PackageCatalogue, CacheIsUsedUnlessForcedAndSurvivesAnEmptyAnswer)
{
    Catalogue h;
    h.device(QStringLiteral("S1"));
    h.metadata(QStringLiteral("S1"), metaLine("com.sys", "Zeta", 5));
    runSync(h->refreshPackages(false));
    h.fake.clearCalls();
    h->clearLog();

    runSync(h->refreshPackages(false)); // cached: no program run, no metadata line
    EXPECT_EQ(h.fake.calls().size(), 4);
    EXPECT_FALSE(logTexts(*h).contains(QStringLiteral("$ metadata-helper")));
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 4, с метаданными: 1"));

    h.metadata(QStringLiteral("S1"), QStringLiteral("garbage\n"), QString(), QStringLiteral("  helper crashed \n"));
    h->clearLog();
    runSync(h->refreshPackages(true)); // forced: runs, answers nothing, the cache stays
    EXPECT_EQ(h.fake.calls().size(), 4 + 7);
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Метаданные недоступны: helper crashed")));
    EXPECT_EQ(h->metadataCache.value(QStringLiteral("S1")).size(), 1);
    const auto sys = std::find_if(h->packages().begin(), h->packages().end(),
                                  [](const auto &p) { return p.name == QStringLiteral("com.sys"); });
    EXPECT_EQ(sys->displayName, QStringLiteral("Zeta"));
}

// Icons decoded from older metadata are stale once a forced refresh stored new metadata, and
// only then: a first read, a cached one and a forced one that got nothing leave them.
TEST(PackageCatalogue, MetadataGenerationGrowsWhenAForcedRefreshStoresNewMetadata)
{
    Catalogue h;
    h.device(QStringLiteral("S1"));
    h.metadata(QStringLiteral("S1"), metaLine("com.sys", "Zeta", 5));
    QList<quint64> seenWithPackages;
    h->observe(h->packages, h.model.get(), [&] { seenWithPackages << h->metadataGeneration(); });
    const struct {
        bool force;
        const char *answer;
        quint64 generation;
    } steps[] = {{false, "new", 0}, {false, "cached", 0}, {true, "new", 1}, {true, "empty", 1}, {true, "new", 2}};
    for (const auto &step : steps) {
        if (QByteArray(step.answer) == "empty")
            h.metadata(QStringLiteral("S1"), QString());
        else
            h.metadata(QStringLiteral("S1"), metaLine("com.sys", "Zeta", 5));
        runSync(h->refreshPackages(step.force));
        EXPECT_EQ(h->metadataGeneration(), step.generation) << step.force << step.answer;
    }
    // The generation has grown before the packages carrying the new metadata are published.
    EXPECT_EQ(seenWithPackages.last(), 2u);
}

TEST(PackageCatalogue, MissingProgramListsPackagesByName)
{
    Catalogue h;
    Resources::setRootForTesting(QDir::tempPath() + QStringLiteral("/no-such-resources-folder"));
    h.device(QStringLiteral("S1"));
    runSync(h->refreshPackages(true));
    Resources::setRootForTesting(QString());
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Метаданные недоступны: В bundle отсутствует metadata-helper")));
    EXPECT_EQ(h->packages().size(), 4);
    EXPECT_TRUE(h->metadataCache.isEmpty());
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 4, с метаданными: 0"));
}

TEST(PackageCatalogue, FailedListingKeepsTheOldList)
{
    Catalogue h;
    h->packages.set({somePackage()});
    h.device(QStringLiteral("S1"));
    h.fake.on(on("S1", kSystem), {.out = QStringLiteral("partial"), .err = QStringLiteral("Error: pm died"), .exit = 1});
    runSync(h->refreshPackages(true));
    EXPECT_EQ(names(h->packages()), S({"com.example.app"}));
    EXPECT_EQ(h->statusText(), QStringLiteral("Не удалось получить список приложений"));
    EXPECT_FALSE(h->isBusy());
    EXPECT_EQ(logTexts(*h), S({"$ pm list packages -f -3", "$ pm list packages -f -s", "partial\nError: pm died"}));
}

TEST(PackageCatalogue, NothingWithoutAReadyDevice)
{
    Catalogue h;
    h->devices.set({AndroidDevice{QStringLiteral("S1"), QStringLiteral("unauthorized"), {}, {}}});
    runSync(h->refreshPackages(true));
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_EQ(h->packageRefreshGeneration, 0u);
}

TEST(PackageCatalogue, TheThreeQueriesRunTogether)
{
    Catalogue h;
    h.device(QStringLiteral("S1"), QStringLiteral("lists"));
    h.metadata(QStringLiteral("S1"), QString());
    auto refresh = h->refreshPackages(true);
    // Every listing has started while none has answered: one after another, only the first would.
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 4; }));
    h.fake.open(QStringLiteral("lists"));
    runSync(std::move(refresh));
    EXPECT_EQ(h->packages().size(), 4);
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 4, с метаданными: 0"));
}

TEST(PackageCatalogue, DeviceSwitchedWhileQueriesRunDropsTheResult)
{
    Catalogue h;
    h.device(QStringLiteral("S1"), QStringLiteral("lists"));
    auto task = h->refreshPackages(true);
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 4; }));
    h->selectedDeviceID.set(QStringLiteral("S2"));
    h.fake.open(QStringLiteral("lists"));
    runSync(std::move(task));
    EXPECT_TRUE(h->packages().isEmpty());
    EXPECT_TRUE(h->logs().isEmpty());
    EXPECT_EQ(h.fake.calls().size(), 4); // no metadata program for a dropped refresh
}

TEST(PackageCatalogue, DeviceSwitchedWhileTheProgramRunsLeavesTheCache)
{
    Catalogue h;
    h.device(QStringLiteral("S1"));
    h.metadata(QStringLiteral("S1"), metaLine("com.sys", "Zeta", 5), QStringLiteral("program"));
    bool done = false;
    auto refresh = [](AppModel *m, bool *flag) -> QCoro::Task<void> {
        co_await m->refreshPackages(true);
        *flag = true;
    };
    auto task = refresh(h.model.get(), &done);
    ASSERT_TRUE(waitUntil([&] { return logTexts(*h).contains(QStringLiteral("$ metadata-helper")); }));
    runSync(h->selectDevice(QStringLiteral("S2"))); // S2 lists nothing: its refresh fails quietly
    const int logsAfterSwitch = int(h->logs().size());
    h.fake.open(QStringLiteral("program"));
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_TRUE(h->metadataCache.isEmpty());
    EXPECT_EQ(h->logs().size(), logsAfterSwitch);
    EXPECT_FALSE(logTexts(*h).contains(QStringLiteral("Метаданные получены: 1")));
}

TEST(PackageCatalogue, NewerRefreshWinsOverAnOlderOne)
{
    Catalogue h;
    h.device(QStringLiteral("S1"));
    h.metadata(QStringLiteral("S1"), metaLine("com.sys", "Zeta", 5), QStringLiteral("program"));
    int finished = 0;
    auto refresh = [](AppModel *m, int *count) -> QCoro::Task<void> {
        co_await m->refreshPackages(true);
        ++*count;
    };
    auto first = refresh(h.model.get(), &finished);
    ASSERT_TRUE(waitUntil([&] { return logTexts(*h).contains(QStringLiteral("$ metadata-helper")); }));
    auto second = refresh(h.model.get(), &finished);
    // The second refresh reaches the program while the first run still holds it.
    ASSERT_TRUE(waitUntil([&] { return logTexts(*h).count(QStringLiteral("$ metadata-helper")) == 2; }));
    h.fake.open(QStringLiteral("program"));
    ASSERT_TRUE(waitUntil([&] { return finished == 2; }));
    EXPECT_EQ(logTexts(*h).count(QStringLiteral("Метаданные получены: 1")), 1);
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 4, с метаданными: 1"));
    EXPECT_FALSE(h->isBusy());
    // The overlapping program runs were one run: the device file was pushed and removed once.
    EXPECT_EQ(h.fake.calls().count(h.resource.push("S1")), 1);
    EXPECT_EQ(h.fake.calls().count(on("S1", kMetadataRemove)), 1);
}

// Ctrl+R's forced refresh still reads labels and icons when a newer refresh (a batch's own,
// from the cache) starts and ends: once the older one finds itself superseded, nothing runs
// and the model is idle.
TEST(PackageCatalogue, ASupersededRefreshEndingLastLeavesTheModelIdle)
{
    Catalogue h;
    h.device(QStringLiteral("S1"));
    h.fake.on(h.resource.push("S1"), {});
    h.fake.on(on("S1", kMetadataRemove), {});
    h.fake.onSequence(on("S1", kMetadataRun), {{.out = metaLine("com.sys", "Zeta", 5)},
                                               {.out = metaLine("com.sys", "Zeta", 5), .gate = QStringLiteral("held")}});
    runSync(h->refreshPackages(false)); // fills the cache
    ASSERT_FALSE(h->isBusy());

    bool forcedDone = false;
    auto refresh = [](AppModel *m, bool *flag) -> QCoro::Task<void> {
        co_await m->refreshPackages(true);
        *flag = true;
    };
    auto forced = refresh(h.model.get(), &forcedDone);
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().count(on("S1", kMetadataRun)) == 2; }));
    runSync(h->refreshPackages(false)); // from the cache: ends while the forced one is held
    EXPECT_FALSE(forcedDone);
    EXPECT_TRUE(h->isBusy()) << "the forced refresh still runs";

    h.fake.open(QStringLiteral("held"));
    ASSERT_TRUE(waitUntil([&] { return forcedDone; }));
    EXPECT_FALSE(h->isBusy()) << "busy with nothing running";
    EXPECT_EQ(h->statusText(), QStringLiteral("Приложений: 4, с метаданными: 1"));
}

} // namespace
