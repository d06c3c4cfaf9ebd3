// The Overview: what it shows for a full, a partial and no snapshot, its actions through the
// fake adb, its layouts per width class, and pictures of its main states.
#include "screens/device/AdviceCard.h"
#include "screens/device/HeroTitle.h"
#include "screens/device/OverviewFacts.h"
#include "screens/device/OverviewScreen.h"

#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "screenkit/ScreenMemory.h"

#include "design/Accessibility.h"
#include "design/AdaptiveGrid.h"
#include "design/AdaptiveStacks.h"
#include "design/DeckButton.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/DeviceObject.h"
#include "design/Hairline.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "bridge/Bytes.h"
#include "design/MetricTile.h"
#include "design/Panel.h"
#include "design/ScreenHeader.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include "../shell/ShellHarness.h"
#include "FakeDesktop.h"
#include "PaintedText.h"
#include "ScreenTestSupport.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>

namespace {

using OverviewFacts::Tile;

const QString kSerial = QStringLiteral("R58N12ABCDE");

// The probe answer of a Pixel 7 (every fact reported).
DeviceSnapshot pixel()
{
    QFile file(QStringLiteral(KESTREL_TEST_DATA "/probe-pixel.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return DeviceSnapshot::parse(QString::fromUtf8(file.readAll()), kSerial);
}

DeviceSnapshot bare() { return DeviceSnapshot{.serial = kSerial}; }

DeviceSnapshot with(DeviceSnapshot s, const std::function<void(DeviceSnapshot &)> &edit)
{
    edit(s);
    return s;
}

// ---- What is shown, as values ----

TEST(OverviewFacts, BatteryTileByLevelAndFacts)
{
    struct Case {
        const char *what;
        std::optional<DeviceSnapshot> snapshot;
        QString value;
        std::optional<QString> unit;
        Tone tone;
        std::optional<double> progress;
        std::optional<QString> footnote;
        Tile::Accessory accessory = Tile::Accessory::none;
    };
    const auto level = [](qint64 l) {
        return with(bare(), [l](DeviceSnapshot &s) { s.batteryLevel = l; });
    };
    const QList<Case> cases{
        {"no snapshot", std::nullopt, QStringLiteral("—"), std::nullopt, Tone::neutral, std::nullopt, std::nullopt},
        {"no battery", bare(), QStringLiteral("—"), std::nullopt, Tone::neutral, std::nullopt,
         QStringLiteral("Аккумулятор не обнаружен")},
        {"14", level(14), QStringLiteral("14"), QStringLiteral("%"), Tone::danger, 0.14, std::nullopt},
        {"15", level(15), QStringLiteral("15"), QStringLiteral("%"), Tone::warning, 0.15, std::nullopt},
        {"34", level(34), QStringLiteral("34"), QStringLiteral("%"), Tone::warning, 0.34, std::nullopt},
        {"35", level(35), QStringLiteral("35"), QStringLiteral("%"), Tone::success, 0.35, std::nullopt},
        {"a battery without a level", with(bare(), [](DeviceSnapshot &s) { s.batteryStatusCode = 3; }),
         QStringLiteral("—"), QStringLiteral("%"), Tone::neutral, std::nullopt, QStringLiteral("Разряжается")},
        {"nothing worth a footnote",
         with(level(60),
              [](DeviceSnapshot &s) {
                  s.batteryStatusCode = 1;  // Неизвестно
                  s.batteryHealthCode = 2;  // Хорошее
                  s.batteryTemperature = 0;
              }),
         QStringLiteral("60"), QStringLiteral("%"), Tone::success, 0.6, std::nullopt},
        {"every fact", with(level(85),
                            [](DeviceSnapshot &s) {
                                s.batteryStatusCode = 2;
                                s.batteryTemperature = 30.55;
                                s.batteryHealthCode = 3;
                                s.isCharging = true;
                            }),
         QStringLiteral("85"), QStringLiteral("%"), Tone::success, 0.85,
         QStringLiteral("Заряжается · 30.6 °C · Перегрев"), Tile::Accessory::charging},
    };
    for (const Case &c : cases) {
        const Tile t = OverviewFacts::batteryTile(c.snapshot);
        EXPECT_EQ(t.label, QStringLiteral("Батарея")) << c.what;
        EXPECT_EQ(t.icon, QStringLiteral("bolt.fill")) << c.what;
        EXPECT_EQ(t.value, c.value) << c.what;
        EXPECT_EQ(t.unit, c.unit) << c.what;
        EXPECT_EQ(t.tone, c.tone) << c.what;
        EXPECT_EQ(t.progress.has_value(), c.progress.has_value()) << c.what;
        if (t.progress && c.progress)
            EXPECT_DOUBLE_EQ(*t.progress, *c.progress) << c.what;
        EXPECT_EQ(t.footnote, c.footnote) << c.what;
        EXPECT_EQ(t.accessory, c.accessory) << c.what;
    }
}

TEST(OverviewFacts, StorageMemoryAndApplicationTiles)
{
    const auto storage = [](qint64 used, qint64 total) {
        return with(bare(), [=](DeviceSnapshot &s) {
            s.storageUsedBytes = used;
            s.storageTotalBytes = total;
            s.storageFreeBytes = total - used;
        });
    };
    struct StorageCase {
        const char *what;
        std::optional<DeviceSnapshot> snapshot;
        Tone tone;
        std::optional<QString> footnote;
    };
    const QList<StorageCase> storageCases{
        {"no snapshot", std::nullopt, Tone::accent, std::nullopt},
        {"88 % exactly", storage(88'000, 100'000), Tone::accent, QStringLiteral("Занято 88% из 100 КБ")},
        {"88.1 %", storage(881'000, 1'000'000), Tone::warning, QStringLiteral("Занято 88% из 1 МБ")},
        {"99.9 % is 99", storage(999'000'000, 1'000'000'000), Tone::warning, QStringLiteral("Занято 99% из 1 ГБ")},
        {"share unknown", with(bare(), [](DeviceSnapshot &s) { s.storageFreeBytes = 5'000'000; }), Tone::accent,
         std::nullopt},
    };
    for (const StorageCase &c : storageCases) {
        const Tile t = OverviewFacts::storageTile(c.snapshot);
        EXPECT_EQ(t.label, QStringLiteral("Свободно в /data")) << c.what;
        EXPECT_EQ(t.tone, c.tone) << c.what;
        EXPECT_EQ(t.footnote, c.footnote) << c.what;
        EXPECT_EQ(t.progress.has_value(), c.footnote.has_value()) << c.what;
    }
    EXPECT_EQ(OverviewFacts::storageTile(std::nullopt).value, QStringLiteral("—"));
    EXPECT_EQ(OverviewFacts::storageTile(std::nullopt).unit, std::nullopt);

    const Tile memory = OverviewFacts::memoryTile(pixel());
    EXPECT_EQ(memory.tone, Tone::violet);
    EXPECT_EQ(memory.footnote, QStringLiteral("Всего ") + Bytes::shortText(pixel().ramTotalBytes));
    EXPECT_TRUE(memory.progress.has_value());
    EXPECT_EQ(OverviewFacts::memoryTile(bare()).footnote, std::nullopt);

    struct AppsCase {
        const char *what;
        qsizetype count;
        PackageCounts counts;
        bool busy;
        QString value;
        QString footnote;
        Tile::Accessory accessory;
    };
    const QList<AppsCase> appsCases{
        {"not loaded, loading", 0, {}, true, QStringLiteral("—"), QStringLiteral("Список ещё не загружен"),
         Tile::Accessory::loading},
        {"not loaded, idle", 0, {}, false, QStringLiteral("—"), QStringLiteral("Список ещё не загружен"),
         Tile::Accessory::none},
        {"only user", 12, {.userPackageCount = 12}, true, QStringLiteral("12"), QStringLiteral("12 пользовательских"),
         Tile::Accessory::none},
        {"all parts", 250, {.userPackageCount = 40, .disabledPackageCount = 3, .removedPackageCount = 1}, false,
         QStringLiteral("250"), QStringLiteral("40 пользовательских · 3 отключено · 1 удалено"), Tile::Accessory::none},
    };
    for (const AppsCase &c : appsCases) {
        const Tile t = OverviewFacts::applicationsTile(c.count, c.counts, c.busy);
        EXPECT_EQ(t.value, c.value) << c.what;
        EXPECT_EQ(t.footnote, c.footnote) << c.what;
        EXPECT_EQ(t.accessory, c.accessory) << c.what;
        EXPECT_EQ(t.tone, Tone::neutral) << c.what;
        EXPECT_FALSE(t.progress) << c.what;
    }
}

TEST(OverviewFacts, FactStripShowsOnlyWhatIsKnownConnectionFirst)
{
    using B = OverviewFacts::Badge;
    struct Case {
        const char *what;
        std::optional<DeviceSnapshot> snapshot;
        QList<B> badges;
    };
    const DeviceSnapshot p = pixel();
    const QList<Case> cases{
        {"no snapshot", std::nullopt, {{QStringLiteral("cable.connector"), QStringLiteral("—")}}},
        {"nothing reported", bare(), {{QStringLiteral("cable.connector"), QStringLiteral("USB")}}},
        {"a user build", p,
         {{QStringLiteral("cable.connector"), QStringLiteral("USB")},
          {QStringLiteral("shield.lefthalf.filled"), QStringLiteral("2024-03-05")},
          {QStringLiteral("cpu"), QStringLiteral("arm64-v8a")},
          {QStringLiteral("clock"), *p.uptimeText()}}},
        {"rooted debug build over Wi-Fi", with(bare(),
                                               [](DeviceSnapshot &s) {
                                                   s.serial = QStringLiteral("192.168.1.25:5555");
                                                   s.suPath = QStringLiteral("/system/xbin/su");
                                                   s.buildType = QStringLiteral("userdebug");
                                               }),
         {{QStringLiteral("wifi"), QStringLiteral("Wi-Fi")},
          {QStringLiteral("key.fill"), QStringLiteral("root"), Tone::violet, BadgeStyle::soft},
          {QStringLiteral("hammer"), QStringLiteral("userdebug"), Tone::warning, BadgeStyle::soft}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OverviewFacts::factBadges(c.snapshot), c.badges) << c.what;
}

TEST(OverviewFacts, TitleScreenAndDensityTexts)
{
    AndroidDevice device;
    device.id = kSerial;
    device.model = QStringLiteral("Pixel_7");
    EXPECT_EQ(OverviewFacts::deviceTitle(pixel(), device), QStringLiteral("Google Pixel 7"));
    EXPECT_EQ(OverviewFacts::deviceTitle(std::nullopt, device), device.displayName());
    EXPECT_EQ(OverviewFacts::deviceTitle(std::nullopt, std::nullopt), QStringLiteral("Устройство"));
    EXPECT_EQ(OverviewFacts::androidLine(std::nullopt), QStringLiteral("Android —"));

    struct Case {
        std::optional<QString> size, overrideSize;
        std::optional<qint64> density, overrideDensity;
        QString screen, dpi;
    };
    const QList<Case> cases{
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt, QStringLiteral("—"), QStringLiteral("—")},
        {QStringLiteral("1080x2400"), std::nullopt, 420, std::nullopt, QStringLiteral("1080x2400"),
         QStringLiteral("420 dpi")},
        {QStringLiteral("1080x2400"), QStringLiteral("720x1600"), 420, 320, QStringLiteral("1080x2400 → 720x1600"),
         QStringLiteral("420 → 320 dpi")},
        {std::nullopt, QStringLiteral("720x1600"), std::nullopt, 320, QStringLiteral("—"), QStringLiteral("—")},
    };
    for (const Case &c : cases) {
        const DeviceSnapshot s = with(bare(), [&](DeviceSnapshot &d) {
            d.screenSize = c.size;
            d.screenOverrideSize = c.overrideSize;
            d.screenDensity = c.density;
            d.screenOverrideDensity = c.overrideDensity;
        });
        EXPECT_EQ(OverviewFacts::screenText(s), c.screen);
        EXPECT_EQ(OverviewFacts::densityText(s), c.dpi);
    }
    EXPECT_EQ(OverviewFacts::screenText(std::nullopt), QStringLiteral("—"));
    EXPECT_EQ(OverviewFacts::densityText(std::nullopt), QStringLiteral("—"));
}

TEST(OverviewFacts, TechnicalRows)
{
    const QStringList labels{QStringLiteral("Производитель"), QStringLiteral("Модель"), QStringLiteral("Кодовое имя"),
                             QStringLiteral("Бренд"), QStringLiteral("Android"), QStringLiteral("Уровень API"),
                             QStringLiteral("Сборка"), QStringLiteral("Тип сборки"),
                             QStringLiteral("Патч безопасности"), QStringLiteral("Архитектура"),
                             QStringLiteral("Экран"), QStringLiteral("Плотность"), QStringLiteral("Время работы"),
                             QStringLiteral("Root"), QStringLiteral("Серийный номер"), QStringLiteral("Версия ADB")};
    const auto column = [](const QList<OverviewFacts::InfoLine> &rows, auto member) {
        QList<std::decay_t<decltype(rows[0].*member)>> values;
        for (const auto &row : rows)
            values << row.*member;
        return values;
    };

    // Nothing measured: every row, Root included, says so with a dash.
    const auto none = OverviewFacts::technicalRows(std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(column(none, &OverviewFacts::InfoLine::label), labels);
    EXPECT_EQ(column(none, &OverviewFacts::InfoLine::value), QStringList(16, QStringLiteral("—")));

    const auto full = OverviewFacts::technicalRows(pixel(), kSerial, QStringLiteral("Android Debug Bridge version 1.0.41"));
    EXPECT_EQ(column(full, &OverviewFacts::InfoLine::value),
              (QStringList{QStringLiteral("Google"), QStringLiteral("Pixel 7"), QStringLiteral("panther"),
                           QStringLiteral("google"), QStringLiteral("14"), QStringLiteral("34"),
                           QStringLiteral("UQ1A.240205.004"), QStringLiteral("user"), QStringLiteral("2024-03-05"),
                           QStringLiteral("arm64-v8a"), QStringLiteral("1080x2400 → 720x1600"),
                           QStringLiteral("420 → 320 dpi"), *pixel().uptimeText(), QStringLiteral("не обнаружен"),
                           kSerial, QStringLiteral("Android Debug Bridge version 1.0.41")}));
    EXPECT_EQ(column(full, &OverviewFacts::InfoLine::mono),
              (QList<bool>{false, false, true, false, false, false, true, true, true, true, true, true, false, true,
                           true, true}));
    EXPECT_EQ(column(full, &OverviewFacts::InfoLine::copyable),
              (QList<bool>{false, false, false, false, false, false, true, false, false, false, false, false, false,
                           false, true, false}));
    // A build without an ID is not offered for copying.
    EXPECT_FALSE(OverviewFacts::technicalRows(bare(), kSerial, std::nullopt)[6].copyable);
    const auto rooted = OverviewFacts::technicalRows(
        with(bare(), [](DeviceSnapshot &s) { s.suPath = QStringLiteral("/system/bin/su"); }), kSerial, std::nullopt);
    EXPECT_EQ(rooted[13].value, QStringLiteral("/system/bin/su"));
}

// ---- The screen ----

// The screen inside a width-class reader, on a model with one ready device whose probe answers
// as `probe` says. Motion is reduced (ShellHarness) unless a test turns it on.
struct OverviewFixture {
    ShellHarness h;
    FakeDesktop desktop;
    ScreenMemory memory;
    std::unique_ptr<DeckSizeReader> reader;
    OverviewScreen *screen = nullptr;

    explicit OverviewFixture(std::optional<DeviceSnapshot> snapshot = pixel(), bool connected = true)
    {
        h->adviceClock = [] { return QDateTime(QDate(2026, 1, 1), QTime(12, 0)); };
        h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
        // The probe is answered with nothing usable: the snapshot the test sets stays.
        h.fake.on({QStringLiteral("-s"), kSerial, QStringLiteral("shell"), DeviceSnapshot::probeScript()}, {.exit = 1});
        if (connected) {
            h.connect(QStringLiteral("device"), kSerial);
            waitUntil([&] { return !h->isSnapshotLoading() && !h->isBusy(); });
        }
        h->snapshot.set(snapshot);
    }
    OverviewScreen *show(int width = 1200, int height = 1400)
    {
        screen = new OverviewScreen(h.model.get(), &memory);
        reader = std::make_unique<DeckSizeReader>(screen);
        reader->resize(width, height);
        reader->show();
        settle();
        waitUntil([&] { return !h->isSnapshotLoading(); });
        settle();
        return screen;
    }
    QList<QStringList> callsStartingWith(const QStringList &words) const
    {
        QList<QStringList> picked;
        for (const QStringList &call : h.fake.calls())
            if (call.mid(0, 2) == QStringList{QStringLiteral("-s"), kSerial} && call.mid(2, words.size()) == words)
                picked << call;
        return picked;
    }
};

QList<AndroidPackage> catalogue()
{
    QList<AndroidPackage> list;
    for (int i = 0; i < 3; ++i)
        list << AndroidPackage(QStringLiteral("com.example.a%1").arg(i), QString(), PackageKind::user);
    list << AndroidPackage(QStringLiteral("com.vendor.gone"), QString(), PackageKind::system, std::nullopt,
                           PackageState::removedForUser);
    return list;
}

QList<OperationRecord> records(int n)
{
    QList<OperationRecord> list;
    for (int i = 0; i < n; ++i)
        list << OperationRecord(QStringLiteral("Операция %1").arg(n - i), QStringLiteral("подробности"),
                                QDateTime(QDate(2026, 1, 1), QTime(14, 5)), i % 3 != 1);
    return list;
}

TEST(OverviewScreen, HeroShowsTheDeviceAndItsFacts)
{
    OverviewFixture f(with(pixel(), [](DeviceSnapshot &s) { s.buildType = QStringLiteral("eng"); }));
    OverviewScreen *s = f.show();
    EXPECT_EQ(s->titleLabel()->text(), QStringLiteral("Google Pixel 7"));
    EXPECT_EQ(s->androidText()->text(), QStringLiteral("Android 14 · API 34"));
    EXPECT_EQ(s->serialValue()->value(), kSerial);
    EXPECT_EQ(s->linkTitle()->text(), title(f.h->linkState()));
    EXPECT_EQ(s->badges().size(), 5); // connection, patch, ABI, uptime, build type
    EXPECT_EQ(s->badges().last()->tone(), Tone::warning);
    EXPECT_EQ(s->badges().first()->badgeStyle(), BadgeStyle::outline);

    // Without a snapshot: the device's own name, dashes, and the connection badge alone.
    f.h->snapshot.set(std::nullopt);
    settle();
    EXPECT_EQ(s->titleLabel()->text(), f.h->selectedDevice()->displayName());
    EXPECT_EQ(s->androidText()->text(), QStringLiteral("Android —"));
    EXPECT_EQ(s->badges().size(), 1);

    // "обновление…" stands beside the state only while the snapshot loads.
    EXPECT_TRUE(s->loadingText()->isHidden());
    f.h->isSnapshotLoading.set(true);
    settle();
    EXPECT_FALSE(s->loadingText()->isHidden());
    f.h->isSnapshotLoading.set(false);
    settle();
    EXPECT_TRUE(s->loadingText()->isHidden());
}

TEST(OverviewScreen, TilesFollowTheSnapshotAndTheCatalogue)
{
    OverviewFixture f;
    f.h->packages.set(catalogue());
    OverviewScreen *s = f.show();
    const QList<MetricTile *> tiles = s->tiles();
    ASSERT_EQ(tiles.size(), 4);
    EXPECT_EQ(tiles[0]->figure()->value(), QStringLiteral("85"));
    EXPECT_EQ(tiles[0]->tone(), Tone::success);
    EXPECT_NE(tiles[0]->accessory(), nullptr); // charging over USB
    EXPECT_EQ(tiles[2]->tone(), Tone::violet);
    EXPECT_EQ(tiles[3]->figure()->value(), QStringLiteral("4"));
    EXPECT_EQ(tiles[3]->footnoteLabel()->text(), QStringLiteral("3 пользовательских · 1 удалено"));
    // Every label line fits its tile whole (wide labels and the charging badge widen the columns).
    settle();
    for (MetricTile *tile : tiles) {
        const int shape = tile->width() - s->tileGrid()->itemOutsets().left() - s->tileGrid()->itemOutsets().right();
        EXPECT_GE(shape, tile->labelLineWidth()) << tile->accessibilityLabel().toStdString();
        EXPECT_GE(shape, OverviewScreen::kTileMinimum);
        EXPECT_EQ(tile->figure()->x() - tile->panelRect().left(), Space::l); // the padding is the whole inset
    }

    // A new level keeps the tile (its figure rolls); a new tone makes a new one.
    f.h->snapshot.set(with(pixel(), [](DeviceSnapshot &d) { d.batteryLevel = 80; }));
    settle();
    EXPECT_EQ(s->tiles()[0], tiles[0]);
    EXPECT_EQ(s->tiles()[0]->figure()->value(), QStringLiteral("80"));
    f.h->snapshot.set(with(pixel(), [](DeviceSnapshot &d) { d.batteryLevel = 10; }));
    settle();
    EXPECT_EQ(s->tiles()[0]->tone(), Tone::danger);
    EXPECT_EQ(s->tiles()[0]->figure()->value(), QStringLiteral("10"));

    // No catalogue while the model works: a dash and the skeleton.
    f.h->packages.set({});
    BusyLedger::Token busy = f.h->beginBusy();
    settle();
    EXPECT_EQ(s->tiles()[3]->figure()->value(), QStringLiteral("—"));
    EXPECT_NE(s->tiles()[3]->accessory(), nullptr);
    busy.release();
    settle();
    EXPECT_EQ(s->tiles()[3]->accessory(), nullptr);
}

TEST(OverviewScreen, AdviceCardsAndTheAllClearPanel)
{
    OverviewFixture f(with(pixel(), [](DeviceSnapshot &s) { s.suPath = QStringLiteral("/system/xbin/su"); }));
    f.h->packages.set(catalogue());
    OverviewScreen *s = f.show();
    // A patch of March 2024 seen on the first of January 2026, su found, one package removed:
    // patch and root without action, removed with one.
    const struct {
        QString name;
        bool action;
    } expected[] = {
        {QStringLiteral("Патч безопасности устарел. Последнее обновление безопасности от 2024-03-05 — это 21 месяц "
                        "назад."),
         false},
        {QStringLiteral("Обнаружен root-доступ. На устройстве найден бинарник su. Команды выполняются с расширенными "
                        "правами — будьте внимательны с системными пакетами."),
         false},
        {QStringLiteral("Удалено для пользователя: 1. Эти пакеты остались в прошивке и могут быть восстановлены одной "
                        "командой без сброса устройства."),
         true},
    };
    ASSERT_EQ(s->adviceCards().size(), std::size(expected));
    EXPECT_EQ(s->adviceHeader()->subtitleLabel()->text(), QStringLiteral("Выводы на основе данных устройства"));
    EXPECT_EQ(s->allClearPanel(), nullptr);
    for (qsizetype i = 0; i < s->adviceCards().size(); ++i) {
        AdviceCard *card = s->adviceCards()[i];
        EXPECT_EQ(card->accessibleName(), expected[i].name);
        EXPECT_EQ(card->actionButton() != nullptr, expected[i].action) << card->advice().id.toStdString();
        EXPECT_EQ(card->layout()->contentsRect().left() - card->panelRect().left(), Space::l);
    }
    // The removed-packages card leads to the applications.
    AdviceCard *removed = nullptr;
    for (AdviceCard *card : s->adviceCards())
        if (card->advice().id == QStringLiteral("removed"))
            removed = card;
    ASSERT_NE(removed, nullptr);
    removed->actionButton()->click();
    EXPECT_EQ(f.h->route(), AppRoute::applications);

    // Nothing to say: the green panel.
    f.h->packages.set({});
    f.h->snapshot.set(with(pixel(), [](DeviceSnapshot &d) { d.securityPatch = QStringLiteral("2025-12-05"); }));
    settle();
    EXPECT_TRUE(s->adviceCards().isEmpty());
    ASSERT_NE(s->allClearPanel(), nullptr);
    EXPECT_EQ(s->adviceHeader()->subtitleLabel()->text(), QStringLiteral("Проблем не обнаружено"));
}

TEST(OverviewScreen, HistoryShowsTheNewestSevenAndCountsAll)
{
    struct Case {
        int records;
        int rows;
        QString count;
    };
    for (const Case &c : {Case{0, 0, QString()}, Case{1, 1, QStringLiteral("1")}, Case{12, 7, QStringLiteral("12")}}) {
        OverviewFixture f;
        f.h->recentOperations.set(records(c.records));
        OverviewScreen *s = f.show();
        EXPECT_EQ(s->historyRows().size(), c.rows) << c.records;
        EXPECT_EQ(s->historyCount()->isHidden(), c.records == 0) << c.records;
        if (c.records > 0)
            EXPECT_EQ(s->historyCount()->text(), c.count) << c.records;
        EXPECT_EQ(s->historyEmpty() != nullptr, c.records == 0) << c.records;
        // A hairline between rows, none before the first.
        const auto hairlines = s->historyRows().isEmpty() ? 0 : s->historyRows().first()->parentWidget()->findChildren<Hairline *>().size();
        EXPECT_EQ(hairlines, std::max(0, c.rows - 1)) << c.records;
        for (int i = 0; i < c.rows; ++i) {
            const OperationRecord &r = f.h->recentOperations()[i];
            EXPECT_TRUE(s->historyRows()[i]->accessibleName().startsWith(r.title + QStringLiteral(", "))) << i;
            EXPECT_TRUE(s->historyRows()[i]->accessibleName().endsWith(QStringLiteral("14:05"))) << i;
            EXPECT_EQ(s->historyRows()[i]->property("symbol").toString(),
                      r.succeeded ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("exclamationmark.triangle.fill"));
        }
    }
}

TEST(OverviewScreen, TechnicalDetailsOpenCloseAndRootWithoutASnapshot)
{
    OverviewFixture f(std::nullopt);
    OverviewScreen *s = f.show();
    EXPECT_FALSE(s->isDetailsOpen());
    EXPECT_TRUE(s->detailsPanel()->isHidden());
    s->detailsButton()->click();
    // Reduce motion: open at once.
    EXPECT_FALSE(s->detailsPanel()->isHidden());
    ASSERT_EQ(s->detailRows().size(), 16);
    InfoRow *root = s->detailRows()[13];
    EXPECT_EQ(root->accessibilityLabel(), QStringLiteral("Root: —"));
    EXPECT_EQ(s->detailRows()[14]->accessibilityLabel(), QStringLiteral("Серийный номер: ") + kSerial);

    f.h->snapshot.set(pixel());
    settle();
    EXPECT_EQ(s->detailRows()[13]->accessibilityLabel(), QStringLiteral("Root: не обнаружен"));

    s->detailsButton()->click();
    EXPECT_TRUE(s->detailsPanel()->isHidden());
    EXPECT_FALSE(s->isDetailsOpen());
}

TEST(OverviewScreen, DetailsStayOpenAcrossARebuildButCloseWhenTheRouteChanges)
{
    OverviewFixture f;
    f.show();
    f.screen->setDetailsOpen(true);
    // A theme switch builds the screen again from the same memory.
    auto *again = new OverviewScreen(f.h.model.get(), &f.memory);
    EXPECT_TRUE(again->isDetailsOpen());
    delete again;
    f.h->route.set(AppRoute::tools);
    f.h->route.set(AppRoute::overview);
    auto *later = new OverviewScreen(f.h.model.get(), &f.memory);
    EXPECT_FALSE(later->isDetailsOpen());
    delete later;
}

TEST(OverviewScreen, ActionsNeedAReadyIdleDeviceButNavigationDoesNot)
{
    OverviewFixture f(std::nullopt, false);
    OverviewScreen *s = f.show();
    EXPECT_FALSE(s->screenshotButton()->isEnabled());
    EXPECT_FALSE(s->rebootButton()->isEnabled());
    EXPECT_FALSE(s->refreshButton()->isEnabled());
    EXPECT_EQ(s->serialValue()->value(), QStringLiteral("—"));
    EXPECT_EQ(s->titleLabel()->text(), QStringLiteral("Устройство"));
    s->cleanupButton()->click();
    EXPECT_EQ(f.h->route(), AppRoute::debloat);
    s->applicationsButton()->click();
    EXPECT_EQ(f.h->route(), AppRoute::applications);

    f.h.connect(QStringLiteral("device"), kSerial);
    settle();
    EXPECT_TRUE(s->screenshotButton()->isEnabled());
    EXPECT_TRUE(s->rebootButton()->isEnabled());
    EXPECT_TRUE(s->refreshButton()->isEnabled());
    BusyLedger::Token busy = f.h->beginBusy();
    settle();
    EXPECT_FALSE(s->screenshotButton()->isEnabled());
    busy.release();
}

TEST(OverviewScreen, RebootMenuRunsTheThreeReboots)
{
    OverviewFixture f;
    OverviewScreen *s = f.show();
    const QList<QAction *> items = s->rebootMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Перезагрузить"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Перезагрузить в Recovery"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("Перезагрузить в Bootloader"));
    const QList<QStringList> expected{{QStringLiteral("reboot")},
                                      {QStringLiteral("reboot"), QStringLiteral("recovery")},
                                      {QStringLiteral("reboot"), QStringLiteral("bootloader")}};
    for (int i = 0; i < 3; ++i) {
        f.h.fake.clearCalls();
        items[i]->trigger();
        ASSERT_TRUE(waitUntil([&] { return !f.h->isBusy(); }));
        const QList<QStringList> sent{QStringList{QStringLiteral("-s"), kSerial} + expected[i]};
        EXPECT_EQ(f.callsStartingWith({QStringLiteral("reboot")}), sent);
    }
    // No confirmation here and no record: the Overview's reboots are the menu's.
    EXPECT_TRUE(f.h->recentOperations().isEmpty());
}

TEST(OverviewScreen, RefreshReloadsSnapshotThenCatalogueAndNamesTheWindowShortcut)
{
    OverviewFixture f;
    OverviewScreen *s = f.show();
    EXPECT_EQ(s->refreshButton()->toolTip(),
              QStringLiteral("Обновить данные устройства (%1)")
                  .arg(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText)));
    EXPECT_EQ(s->refreshButton()->accessibleName(), QStringLiteral("Обновить данные устройства"));
    // The screen binds no key of its own: Ctrl+R stays the window's one action.
    EXPECT_TRUE(s->findChildren<QShortcut *>().isEmpty());
    for (QAction *action : s->findChildren<QAction *>())
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();

    f.h.fake.clearCalls();
    s->refreshButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.callsStartingWith({QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list")}).isEmpty(); }));
    const QList<QStringList> calls = f.h.fake.calls();
    const QStringList probe{QStringLiteral("-s"), kSerial, QStringLiteral("shell"), DeviceSnapshot::probeScript()};
    ASSERT_TRUE(calls.contains(probe));
    EXPECT_EQ(calls.indexOf(probe), 0);
}

TEST(OverviewScreen, ScreenshotThroughTheSaveChooser)
{
    OverviewFixture f;
    OverviewScreen *s = f.show();
    const QStringList capture{QStringLiteral("-s"), kSerial, QStringLiteral("exec-out"), QStringLiteral("screencap"),
                              QStringLiteral("-p")};

    // Cancelled: nothing captured, nothing recorded.
    f.h.fake.clearCalls();
    s->screenshotButton()->click();
    ASSERT_EQ(f.desktop.requests.size(), 1);
    const FileRequest request = f.desktop.requests.first();
    EXPECT_EQ(request.title, QStringLiteral("Сохранить снимок экрана"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^android-screenshot-\\d{8}-\\d{6}\\.png$"))
                    .match(request.suggestedName)
                    .hasMatch())
        << request.suggestedName.toStdString();
    EXPECT_EQ(request.nameFilters, QStringList{QStringLiteral("PNG (*.png)")});
    EXPECT_FALSE(f.h.fake.calls().contains(capture));
    EXPECT_TRUE(f.h->recentOperations().isEmpty());

    // Chosen over the user's existing file, and the device answers with an error: the file is
    // left alone and the record carries the device's words.
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/screen.png");
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
    }
    f.h.fake.on(capture, {.err = QStringLiteral("error: closed"), .exit = 1});
    f.desktop.saveAnswer = path;
    s->screenshotButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.h->recentOperations().isEmpty(); }));
    EXPECT_TRUE(f.h.fake.calls().contains(capture));
    const OperationRecord record = f.h->recentOperations().first();
    EXPECT_EQ(record.title, QStringLiteral("Снимок экрана"));
    EXPECT_FALSE(record.succeeded);
    EXPECT_EQ(record.detail, QStringLiteral("screen.png: error: closed"));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
}

TEST(OverviewScreen, IllustrationWidthAndLayoutsPerWidthClass)
{
    struct Case {
        int width;
        DeckSize size;
        qreal objectWidth;
        bool compactStack;
        int titlePixels;
        bool stackedColumns;
    };
    const QList<Case> cases{
        {640, DeckSize::compact, 104, true, int(Typo::pixelSize(Typo::heroCompact())), true},
        {900, DeckSize::medium, 128, false, int(Typo::pixelSize(Typo::heroCompact())), true},
        {1200, DeckSize::wide, 150, false, int(Typo::pixelSize(Typo::hero())), false},
    };
    for (const Case &c : cases) {
        OverviewFixture f;
        OverviewScreen *s = f.show(c.width);
        EXPECT_EQ(s->deckSize(), c.size) << c.width;
        EXPECT_EQ(s->deviceObject()->bodyWidth(), c.objectWidth) << c.width;
        EXPECT_EQ(s->heroStack()->isCompact(), c.compactStack) << c.width;
        EXPECT_EQ(int(Typo::pixelSize(s->titleLabel()->titleFont())), c.titlePixels) << c.width;
        EXPECT_EQ(s->columns()->isStacked(), c.stackedColumns) << c.width;
        // Beside the details the illustration leans 16 px into the 24 px margin.
        const int left = s->heroStack()->mapTo(s, QPoint(0, 0)).x();
        EXPECT_EQ(left, c.compactStack ? 24 : 8) << c.width;
    }
    // One window resized across the classes follows them.
    OverviewFixture f;
    OverviewScreen *s = f.show(1200);
    f.reader->resize(640, 1400);
    settle();
    EXPECT_EQ(s->deviceObject()->bodyWidth(), 104);
    EXPECT_TRUE(s->heroStack()->isCompact());
}

TEST(OverviewScreen, TitleShrinksBeforeItTruncates)
{
    HeroTitle title(QStringLiteral("Samsung Galaxy Z Fold5 Enterprise Edition Ultra"), Typo::hero());
    EXPECT_DOUBLE_EQ(title.scaleFor(2000), 1.0);
    const qreal narrow = title.scaleFor(260);
    EXPECT_LT(narrow, 1.0);
    EXPECT_GE(narrow, HeroTitle::kMinimumScale);
    title.resize(260, title.heightForWidth(260));
    title.show();
    settle();
    // Drawn smaller, and still no more than two lines (the second elided when even that is not enough).
    EXPECT_LT(Typo::pixelSize(title.font()), Typo::pixelSize(Typo::hero()));
    EXPECT_GE(Typo::pixelSize(title.font()), Typo::pixelSize(Typo::hero()) * HeroTitle::kMinimumScale - 1);
    EXPECT_LE(title.shownLineCountFor(260), HeroTitle::kMaximumLines);
    EXPECT_EQ(title.height(), title.heightForWidth(260));
}

// The illustration moves only while the Overview is on screen and motion is allowed; once
// another route is shown the Overview is gone and a change of the model reaches nothing of it.
TEST(OverviewScreen, AnimatesOnlyWhileShownAndCostsNothingElsewhere)
{
    {
        OverviewFixture f;
        OverviewScreen *s = f.show();
        EXPECT_FALSE(s->deviceObject()->isSweeping());
        EXPECT_FALSE(s->deviceObject()->isOrbiting());
    }
    ShellHarness h;
    const FullMotion motion;
    h.fake.on({QStringLiteral("-s"), kSerial, QStringLiteral("shell"), DeviceSnapshot::probeScript()}, {.exit = 1});
    h.connect(QStringLiteral("device"), kSerial);
    RootView root(h.model.get(), h.settings.get());
    root.resize(1200, 900);
    root.show();
    h->route.set(AppRoute::overview);
    settle();
    QPointer<OverviewScreen> shown = root.findChild<OverviewScreen *>();
    ASSERT_TRUE(shown);
    ASSERT_TRUE(waitUntil([&] { return shown->deviceObject()->isSweeping(); }));
    shown->hide();
    EXPECT_FALSE(shown->deviceObject()->isSweeping());
    shown->show();

    const int following = h->observerCount(&h->recentOperations);
    EXPECT_GE(following, 1);
    h->route.set(AppRoute::logs);
    // The left screen is gone as soon as control is back in the event loop, and with it every
    // observer it had: a change of the model reaches nothing of it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(root.findChild<DeviceObject *>(), nullptr);
    EXPECT_EQ(h->observerCount(&h->recentOperations), following - 1);
}

// Side by side the advice and history panels stand Space::m apart, shape to shape, between the
// gutters; stacked, the history starts Space::m below the last advice panel.
TEST(OverviewScreen, AdviceAndHistoryColumnsAreSpaceMApart)
{
    const auto shapes = [](OverviewScreen *s) {
        QList<QRect> out;
        for (DeckPanel *panel : s->columns()->findChildren<DeckPanel *>())
            if (panel->isVisible())
                out << QRect(panel->mapTo(s, panel->panelRect().topLeft().toPoint()), panel->panelRect().size().toSize());
        return out;
    };
    {
        OverviewFixture f;
        OverviewScreen *s = f.show(1300);
        ASSERT_FALSE(s->columns()->isStacked());
        const int middle = s->width() / 2;
        int leftEdge = INT_MAX, leftColumnRight = INT_MIN, rightColumnLeft = INT_MAX, rightEdge = INT_MIN;
        for (const QRect &shape : shapes(s)) {
            leftEdge = std::min(leftEdge, shape.left());
            rightEdge = std::max(rightEdge, shape.right() + 1);
            if (shape.center().x() < middle)
                leftColumnRight = std::max(leftColumnRight, shape.right() + 1);
            else
                rightColumnLeft = std::min(rightColumnLeft, shape.left());
        }
        EXPECT_EQ(leftEdge, int(Space::gutter));
        EXPECT_EQ(rightEdge, s->width() - int(Space::gutter));
        EXPECT_NEAR(rightColumnLeft - leftColumnRight, Space::m, 1);
    }
    OverviewFixture f;
    OverviewScreen *s = f.show(900);
    ASSERT_TRUE(s->columns()->isStacked());
    SectionHeader *history = nullptr;
    for (SectionHeader *header : s->columns()->findChildren<SectionHeader *>())
        if (header->titleLabel()->text() == QStringLiteral("Последние операции"))
            history = header;
    ASSERT_TRUE(history);
    const int historyTop = history->mapTo(s, QPoint(0, 0)).y();
    int adviceBottom = INT_MIN;
    for (const QRect &shape : shapes(s))
        if (shape.top() < historyTop)
            adviceBottom = std::max(adviceBottom, shape.bottom() + 1);
    EXPECT_NEAR(historyTop - adviceBottom, Space::m, 1);
}

// ---- Pictures ----

// The Tab stops of `screen`, in the order Tab visits them.
QList<QWidget *> tabStops(QWidget *screen)
{
    QList<QWidget *> stops;
    QWidget *window = screen->window();
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()
            && (screen == window || screen->isAncestorOf(w)))
            stops << w;
    return stops;
}

// Tab follows the reading order in the main window: the sidebar, then the Overview top to
// bottom and left to right along a line. Controls made after the rest (the serial's copy
// button, the advice cards' buttons, the technical rows) take their places there too, also when
// the screen is built again or they are made again.
TEST(OverviewScreen, TabFollowsTheReadingOrder)
{
    OverviewFixture f;
    f.h->packages.set(catalogue()); // a removed package: an advice card with a button
    f.h->route.set(AppRoute::overview);
    KestrelApp app(f.h.model.get(), f.h.settings.get());
    MainWindow &window = *app.mainWindow();
    window.resize(1360, 880);
    app.showMainWindow();
    settle();
    // The screen shown now: a change of the device's state builds it again.
    const auto shown = [&] { return qobject_cast<OverviewScreen *>(window.root()->detailContent()); };
    OverviewScreen *s = shown();
    ASSERT_TRUE(s);
    const auto check = [&](const char *when) {
        s = shown();
        ASSERT_TRUE(s) << when;
        const QList<QWidget *> all = tabStops(&window);
        const QList<QWidget *> tab = tabStops(s);
        // The screen's stops follow the sidebar's, all together.
        ASSERT_GE(all.size(), tab.size()) << when;
        EXPECT_EQ(all.mid(all.size() - tab.size()), tab) << when;
        QList<QWidget *> reading = tab;
        const auto centre = [&](const QWidget *w) { return w->mapTo(s, w->rect().center()); };
        std::stable_sort(reading.begin(), reading.end(), [&](const QWidget *a, const QWidget *b) {
            const QPoint pa = centre(a), pb = centre(b);
            if (std::abs(pa.y() - pb.y()) > 2)
                return pa.y() < pb.y();
            return pa.x() < pb.x();
        });
        const auto names = [](const QList<QWidget *> &list) {
            QStringList out;
            for (const QWidget *w : list) {
                const auto *button = qobject_cast<const QAbstractButton *>(w);
                out << (!w->accessibleName().isEmpty() ? w->accessibleName()
                        : button                       ? button->text()
                                                       : QString::fromLatin1(w->metaObject()->className()));
            }
            return out;
        };
        EXPECT_EQ(names(tab), names(reading)) << when;
        // What the eye meets first: the serial's copy button, then the actions.
        ASSERT_FALSE(tab.isEmpty()) << when;
        EXPECT_EQ(tab.first(), s->serialValue()) << when;
        EXPECT_GT(tab.indexOf(s->detailsButton()), tab.indexOf(s->serialValue())) << when;
    };
    check("shown");
    ASSERT_GE(s->adviceCards().size(), 1);

    // A change of scheme builds the screen again, apart from the window, all its parts at once.
    f.h.settings->appearance.set(AppearanceMode::light);
    f.h.settings->applyAppearance();
    settle();
    check("after a change of scheme");

    // Another device: the serial's button is made again.
    f.h.connect(QStringLiteral("device"), QStringLiteral("0B2C3D4E"));
    f.h->snapshot.set(with(pixel(), [](DeviceSnapshot &d) { d.serial = QStringLiteral("0B2C3D4E"); }));
    settle();
    ASSERT_TRUE(shown());
    ASSERT_EQ(shown()->serialValue()->value(), QStringLiteral("0B2C3D4E"));
    check("after another device");

    // The technical rows, made when the details open, come after their header.
    shown()->detailsButton()->click();
    settle();
    ASSERT_GT(shown()->detailRows().size(), 1);
    check("with the details open");
}

// The technical details' header shows the keyboard focus with a ring that touches neither its
// title nor its chevron, and its title stays in line with the other section titles.
TEST(OverviewScreen, TheDetailsHeadersRingClearsItsTitleAndMark)
{
    OverviewFixture f;
    OverviewScreen *s = f.show();
    QWidget *window = s->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QAbstractButton *header = s->detailsButton();
    header->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(header->hasFocus());
    EXPECT_EQ(inkUnderTheFocusRing(*header), 0);

    const auto titleLeft = [&](QWidget *part, const QString &title) {
        const auto painted = PaintedText::of(*part);
        for (const PaintedText::Run &r : painted->runs)
            if (r.text == title)
                return part->mapTo(s, r.at.toPoint()).x();
        ADD_FAILURE() << "no title " << title.toStdString();
        return -1;
    };
    EXPECT_EQ(titleLeft(header, QStringLiteral("Технические данные")),
              titleLeft(s->adviceHeader(), QStringLiteral("Требует внимания")));
}

TEST(OverviewScreenshots, MainStates)
{
    ScreenshotGuard guard;
    struct Shot {
        const char *name;
        ColorScheme scheme;
        bool contrast;
        int width;
        bool full;
    };
    const QList<Shot> shots{
        {"full-wide-dark", ColorScheme::dark, false, 1240, true},
        {"full-wide-light", ColorScheme::light, false, 1240, true},
        {"full-wide-contrast", ColorScheme::dark, true, 1240, true},
        {"full-medium-dark", ColorScheme::dark, false, 900, true},
        {"full-compact-dark", ColorScheme::dark, false, 640, true},
        {"full-compact-light", ColorScheme::light, false, 640, true},
        {"nosnapshot-wide-dark", ColorScheme::dark, false, 1240, false},
        {"nosnapshot-medium-light", ColorScheme::light, false, 900, false},
    };
    for (const Shot &shot : shots) {
        Theme::apply(shot.scheme, shot.contrast);
        A11y::setIncreaseContrast(shot.contrast);
        OverviewFixture f(shot.full ? std::optional(with(pixel(),
                                                         [](DeviceSnapshot &s) {
                                                             s.suPath = QStringLiteral("/system/xbin/su");
                                                             s.storageUsedBytes = 112'000'000'000;
                                                             s.storageFreeBytes = 10'000'000'000;
                                                         }))
                                    : std::nullopt);
        Theme::apply(shot.scheme, shot.contrast);
        if (shot.full) {
            f.h->packages.set(catalogue());
            f.h->recentOperations.set(records(9));
        }
        OverviewScreen *s = f.show(shot.width, 1700);
        if (shot.full)
            s->setDetailsOpen(true);
        settle();
        EXPECT_EQ(GeometryWalk::seenFaults(f.reader.get()), QStringList()) << shot.name;
        EXPECT_TRUE(saveScreenshot(f.reader.get(), QStringLiteral("overview"), QString::fromLatin1(shot.name)));
    }
}

} // namespace
