#include "screens/packages/AppInspectorView.h"
#include "screens/packages/ApplicationsFilterBar.h"
#include "screens/packages/PackageListPane.h"
#include "screens/packages/PackageListView.h"

#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/DeckSizeReader.h"
#include "design/FilterChip.h"
#include "design/Labels.h"
#include "design/MenuButton.h"
#include "design/ScreenHeader.h"
#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "shell/RouteScreens.h"

#include "ApplicationsHarness.h"
#include "FakeDesktop.h"
#include "GeometryWalk.h"
#include "MetadataProgramFixture.h"

#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList on(const QStringList &args) { return S({"-s", "R58N12ABCDE"}) + args; }

QList<AndroidPackage> manyPackages(int count)
{
    QList<AndroidPackage> list;
    for (int i = 0; i < count; ++i)
        list << package(QStringLiteral("com.example.p%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("P%1").arg(i));
    return list;
}

TEST(ApplicationsScreen, TheRouteShowsTheScreen)
{
    ShellHarness h;
    ScreenMemory memory;
    std::unique_ptr<QWidget> screen(RouteScreens::build(AppRoute::applications, h.model.get(), h.settings.get(), &memory));
    auto *view = qobject_cast<ApplicationsView *>(screen.get());
    ASSERT_TRUE(view);
    EXPECT_EQ(view->header()->titleLabel()->text(), QStringLiteral("Приложения"));
    EXPECT_EQ(view->header()->eyebrowLabel()->text().toLower(), QStringLiteral("каталог устройства"));
}

TEST(ApplicationsScreen, SubtitleCountsShownAndSelectedPackages)
{
    AppsHarness h(manyPackages(120));
    const auto subtitle = [&] {
        settle();
        return h.view->header()->subtitleLabel()->text();
    };
    EXPECT_EQ(subtitle(), QStringLiteral("Показано 120 из 120"));
    h->searchText.set(QStringLiteral("p00"));  // p000 … p009
    EXPECT_EQ(subtitle(), QStringLiteral("Показано 10 из 120"));
    h->selectedPackageIDs.set({QStringLiteral("com.example.p000"), QStringLiteral("com.example.p001"),
                               QStringLiteral("com.example.p119")});
    EXPECT_EQ(subtitle(), QStringLiteral("Показано 10 из 120 · выбрано 3"));
    h->searchText.set(QStringLiteral("nothing"));
    EXPECT_EQ(subtitle(), QStringLiteral("Показано 0 из 120 · выбрано 3"));
    h->packages.set({});
    h->selectedPackageIDs.set({});
    EXPECT_EQ(subtitle(), QStringLiteral("Список пуст"));
    BusyLedger::Token busy = h->beginBusy();
    EXPECT_EQ(subtitle(), QStringLiteral("Загрузка каталога устройства…"));
    busy.release();
}

TEST(ApplicationsScreen, SearchFieldBySizeClassAndCtrlFFocusesIt)
{
    AppsHarness h;
    const struct {
        DeckSize size;
        const char *placeholder;
        int width;
        bool hint;
    } cases[] = {{DeckSize::compact, "Поиск", 170, false},
                 {DeckSize::medium, "Название или пакет", 250, true},
                 {DeckSize::wide, "Название или пакет", 250, true}};
    for (const auto &c : cases) {
        h.view->setDeckSize(c.size);
        settle();
        DeckSearchField *field = h.view->searchField();
        SCOPED_TRACE(int(c.size));
        EXPECT_EQ(field->lineEdit()->placeholderText(), QString::fromUtf8(c.placeholder));
        EXPECT_EQ(field->maximumWidth(), c.width);
        EXPECT_EQ(field->keyHint() != nullptr, c.hint);
        if (c.hint)
            EXPECT_EQ(field->keyHint()->keys(), QKeySequence(Qt::CTRL | Qt::Key_F).toString(QKeySequence::NativeText));
    }
    // The search text survives the change of form.
    h->searchText.set(QStringLiteral("бета"));
    h.view->setDeckSize(DeckSize::compact);
    EXPECT_EQ(h.view->searchField()->text(), QStringLiteral("бета"));

    QApplication::setActiveWindow(h.window.get());
    h.view->listPane()->list()->setFocus();
    settle();
    ASSERT_FALSE(h.view->searchField()->lineEdit()->hasFocus());
    QTest::keyClick(h.view->listPane()->list(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(h.view->searchField()->lineEdit()->hasFocus());
    // Typing goes to the model.
    QTest::keyClicks(h.view->searchField()->lineEdit(), QStringLiteral("alpha"));
    EXPECT_EQ(h->searchText(), QStringLiteral("alpha"));
}

TEST(ApplicationsScreen, RefreshButtonEmptiesTheIconCacheFirstThenReadsMetadataAgain)
{
    AppsHarness h;
    MetadataProgramResource resource;
    AppIconCache &cache = AppIconCache::shared();
    const AndroidPackage alpha = samplePackages()[0];
    ASSERT_FALSE(cache.pixmap(alpha, 28, 1, false).isNull());
    // The model must not be asked before the cache is empty.
    bool emptyWhenAsked = false;
    h.fake.onPrefix(on(S({"shell", "pm", "list", "packages", "-f", "-3"})), {});
    QObject::connect(&cache, &AppIconCache::cleared, h.view, [&] { emptyWhenAsked = !h->isBusy(); });
    h.view->refreshButton()->click();
    EXPECT_TRUE(emptyWhenAsked);
    EXPECT_FALSE(cache.contains(alpha.name));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy(); }));
    EXPECT_TRUE(h.fake.calls().contains(on(kMetadataRun)));
}

TEST(ApplicationsScreen, InstallChoosesSeveralFilesAndForgetsIconsAfterwards)
{
    AppsHarness h;
    FakeDesktop desktop;
    desktop.openFilesAnswer = {QStringLiteral("/home/u/a.apk"), QStringLiteral("/home/u/b.apk")};
    // The install answers only once the test has drawn an icon during it.
    h.fake.onPrefix(on(S({"install-multiple"})), {.out = QStringLiteral("Success\n"), .gate = QStringLiteral("install")});
    QMenu *menu = h.view->installMenuButton()->menu();
    EXPECT_EQ(menuTexts(menu), S({"Установить APK или APKS…", "Выгрузить выбранные APK…"}));
    EXPECT_FALSE(menuAction(menu, QStringLiteral("Выгрузить выбранные APK…"))->isEnabled());
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha")});
    settle();
    EXPECT_TRUE(menuAction(menu, QStringLiteral("Выгрузить выбранные APK…"))->isEnabled());

    const AndroidPackage alpha = samplePackages()[0];
    ASSERT_FALSE(AppIconCache::shared().pixmap(alpha, 28, 1, false).isNull());
    menuAction(menu, QStringLiteral("Установить APK или APKS…"))->trigger();
    ASSERT_EQ(desktop.requests.size(), 1);
    EXPECT_EQ(desktop.requests[0].title, QStringLiteral("Выберите APK, split APK или APKS"));
    EXPECT_TRUE(desktop.requests[0].nameFilters.join(QLatin1Char(' ')).contains(QStringLiteral("*.apk *.apks")));
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().contains(on(S({"install-multiple", "-r", "/home/u/a.apk", "/home/u/b.apk"}))); }));
    // Icons drawn meanwhile are forgotten once the install has ended.
    ASSERT_FALSE(AppIconCache::shared().pixmap(alpha, 28, 1, false).isNull());
    h.fake.open(QStringLiteral("install"));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && !AppIconCache::shared().contains(alpha.name); }));

    // A cancelled chooser starts nothing.
    desktop.openFilesAnswer = {};
    const auto calls = h.fake.calls().size();
    menuAction(menu, QStringLiteral("Установить APK или APKS…"))->trigger();
    settle();
    EXPECT_EQ(h.fake.calls().size(), calls);
}

TEST(ApplicationsScreen, SortAndDensityMenu)
{
    AppsHarness h;
    MenuButton *button = h.view->sortMenuButton();
    EXPECT_EQ(button->toolTip(), QStringLiteral("Сортировка и плотность списка"));
    EXPECT_EQ(button->accessibleName(), QStringLiteral("Сортировка, плотность списка и колонка риска"));
    EXPECT_EQ(button->width(), 30);
    QMenu *menu = button->menu();
    EXPECT_EQ(menuTexts(menu), S({"[Сортировка]", "По названию", "По идентификатору", "По размеру", "По уровню риска",
                                  "По состоянию", "—", "По возрастанию", "[Плотность]", "Плотно", "Обычно", "Свободно",
                                  "—", "Показывать уровень риска"}));
    EXPECT_TRUE(menuAction(menu, QStringLiteral("По названию"))->isChecked());
    menuAction(menu, QStringLiteral("По размеру"))->trigger();
    EXPECT_EQ(h->sortOrder(), PackageSort::size);
    EXPECT_TRUE(h->sortAscending()); // the direction stays
    EXPECT_FALSE(menuAction(menu, QStringLiteral("По названию"))->isChecked());
    menuAction(menu, QStringLiteral("По возрастанию"))->trigger();
    EXPECT_FALSE(h->sortAscending());
    menuAction(menu, QStringLiteral("Плотно"))->trigger();
    EXPECT_EQ(h.settings->density(), ListDensity::compact);
    EXPECT_TRUE(menuAction(menu, QStringLiteral("Плотно"))->isChecked());
    EXPECT_FALSE(menuAction(menu, QStringLiteral("Обычно"))->isChecked());
    menuAction(menu, QStringLiteral("Показывать уровень риска"))->trigger();
    EXPECT_FALSE(h.settings->showRiskColumn());
    // Changed elsewhere, shown here.
    h.settings->density.set(ListDensity::comfortable);
    EXPECT_TRUE(menuAction(menu, QStringLiteral("Свободно"))->isChecked());
    // Usable while busy; the device controls are not.
    BusyLedger::Token busy = h->beginBusy();
    settle();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(h.view->searchField()->isEnabled());
    EXPECT_FALSE(h.view->refreshButton()->isEnabled());
    busy.release();
}

TEST(ApplicationsScreen, InspectorBesideTheListInWideAndMediumWindowsInPlaceOfItWhenCompact)
{
    AppsHarness h;
    h.fake.onPrefix(on(S({"shell", "dumpsys", "package"})), {.out = QStringLiteral("Packages:\n")});
    EXPECT_FALSE(h.view->inspector());
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha")});
    settle();
    ASSERT_TRUE(h.view->inspector());
    for (const int width : {1280, 860}) {
        h.window->resize(width, 820);
        h.view->resize(width, 820);
        settle();
        SCOPED_TRACE(width);
        EXPECT_TRUE(h.view->listPane()->isVisible());
        EXPECT_GE(h.view->inspector()->width(), AppInspectorView::kMinimumWidth);
        EXPECT_LE(h.view->inspector()->width(), AppInspectorView::kMaximumWidth);
        EXPECT_GE(h.view->listPane()->width(), 300);
    }
    // Dragging the divider stays within the bounds.
    QSplitter *splitter = h.view->splitter();
    const auto drag = [&](int toX) {
        QSplitterHandle *handle = splitter->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, handle->mapFrom(splitter, QPoint(toX, handle->mapTo(splitter, grip).y())));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->mapFrom(splitter, QPoint(toX, handle->mapTo(splitter, grip).y())));
        settle();
    };
    drag(5);
    EXPECT_GE(h.view->listPane()->width(), 300);
    EXPECT_LE(h.view->inspector()->width(), AppInspectorView::kMaximumWidth);
    drag(splitter->width() - 5);
    EXPECT_GE(h.view->inspector()->width(), AppInspectorView::kMinimumWidth);

    h.view->setDeckSize(DeckSize::compact);
    h.window->resize(640, 700);
    h.view->resize(640, 700);
    settle();
    EXPECT_FALSE(h.view->listPane()->isVisible());
    EXPECT_GE(h.view->inspector()->width(), 600);
    auto *close = h.view->inspector()->findChild<QAbstractButton *>(QStringLiteral("closeInspector"));
    ASSERT_TRUE(close);
    QTest::mouseClick(close, Qt::LeftButton);
    settle();
    EXPECT_FALSE(h.view->inspector());
    EXPECT_TRUE(h.view->listPane()->isVisible());
}

// The filter row's dividers stand only between two controls of one line, with the inspector
// open or not and the risk chips shown or hidden: at every width, also where the row breaks
// between the state and the risk chips, as at 1100 px with the inspector open.
TEST(ApplicationsScreen, FilterRowDividersStandOnlyBetweenControlsOfOneLine)
{
    AppsHarness h;
    h.fake.onPrefix(on(S({"shell", "dumpsys", "package"})), {.out = QStringLiteral("Packages:\n")});
    ApplicationsFilterBar *bar = h.view->filterBar();
    bool brokeBeforeTheRisks = false;
    for (bool inspector : {true, false}) {
        h->selectedPackageIDs.set(inspector ? QSet<QString>{QStringLiteral("com.example.alpha")} : QSet<QString>{});
        for (bool risks : {true, false}) {
            h.settings->showRiskColumn.set(risks);
            for (int width = 700; width <= 1600; width += 10) {
                h.window->resize(width, 820);
                h.view->resize(width, 820);
                settle();
                SCOPED_TRACE(testing::Message() << width << " px" << (inspector ? ", inspector" : "") << (risks ? ", risks" : ""));
                const QStringList stray = GeometryWalk::strayDividers(bar);
                EXPECT_TRUE(stray.isEmpty()) << stray.join(QStringLiteral("; ")).toStdString();
                if (risks)
                    brokeBeforeTheRisks |= !GeometryWalk::shareALine(bar->stateChip(PackageState::removedForUser),
                                                                     bar->riskChip(RemovalRisk::safe));
            }
        }
    }
    EXPECT_TRUE(brokeBeforeTheRisks);
}

TEST(ApplicationsScreen, StateSurvivesARebuild)
{
    AppsHarness h;
    h->searchText.set(QStringLiteral("com.example"));
    h->selectedPackageIDs.set({QStringLiteral("com.example.beta"), QStringLiteral("com.android.systemui")});
    settle();
    ApplicationsState *state = h.view->state();
    h.build(QSize(1280, 820));
    EXPECT_EQ(h.view->state(), state);
    EXPECT_EQ(h.view->searchField()->text(), QStringLiteral("com.example"));
    EXPECT_EQ(h.view->listPane()->list()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(h->selectedPackageIDs().size(), 2);
}

// The menu's "Обновить список приложений" reads labels and icons again: icons drawn from the
// older metadata must not stay.
TEST(ApplicationsScreen, AForcedRefreshFromTheMenuDecodesIconsFromTheNewMetadata)
{
    ShellHarness h;
    MetadataProgramResource resource;
    KestrelApp app(h.model.get(), h.settings.get());
    h.listDevices({device(kSerial)}, kSerial);
    const QString name = QStringLiteral("com.example.icon");
    h.fake.on(on(S({"shell", "pm", "list", "packages", "-f", "-3"})),
              {.out = QStringLiteral("package:/data/app/base.apk=") + name + QLatin1Char('\n')});
    const auto metadata = [&](QColor colour) {
        return QStringLiteral("{\"package\":\"%1\",\"label\":\"Icon\",\"size\":10,\"icon\":\"%2\"}\n")
            .arg(name, QString::fromLatin1(pngBytes(colour).toBase64()));
    };
    h.fake.onSequence(on(kMetadataRun), {{.out = metadata(Qt::red)}, {.out = metadata(Qt::blue)}});
    runSync(h->refreshPackages(false));
    ASSERT_EQ(h->packages().size(), 1);
    AppIconCache &cache = AppIconCache::shared();
    cache.reset();
    const QImage before = cache.pixmap(h->packages()[0], 28, 1, false).toImage();
    ASSERT_EQ(before.pixelColor(14, 14), QColor(Qt::red));

    QAction *refresh = nullptr;
    for (QAction *menu : app.mainWindow()->menuBar()->actions())
        if (menu->menu())
            if (QAction *item = menuAction(menu->menu(), QStringLiteral("Обновить список приложений")))
                refresh = item;
    ASSERT_TRUE(refresh);
    ASSERT_TRUE(refresh->isEnabled());
    refresh->trigger();
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && h->packages()[0].iconData == pngBytes(Qt::blue); }));
    const QImage after = cache.pixmap(h->packages()[0], 28, 1, false).toImage();
    EXPECT_EQ(after.pixelColor(14, 14), QColor(Qt::blue));
}

} // namespace
