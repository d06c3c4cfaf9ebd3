#include "screens/packages/ApplicationsState.h"
#include "screens/packages/PackageListPane.h"
#include "screens/packages/PackageListView.h"
#include "screens/packages/PackageRowDelegate.h"
#include "screens/packages/SelectionBar.h"

#include "design/Accessibility.h"
#include "design/AnimatedValue.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckText.h"
#include "design/MenuButton.h"
#include "design/Motion.h"
#include "design/RollingText.h"
#include "design/Skeleton.h"
#include "design/Transition.h"

#include "ApplicationsHarness.h"
#include "GeometryWalk.h"

#include <QAbstractItemModelTester>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

PackageListView *listOf(AppsHarness &h) { return h.view->listPane()->list(); }

QPoint rowCentre(AppsHarness &h, const QString &name) { return listOf(h)->rowRect(name).center(); }

TEST(PackageList, RowsFollowSearchFiltersAndSortUnderTheModelTester)
{
    AppsHarness h;
    QAbstractItemModelTester tester(h.state().listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(h.shownNames(), S({"com.example.alpha", "com.example.beta", "com.example.gamma",
                                 "com.facebook.appmanager", "com.android.systemui", "com.google.android.youtube"}));
    h->searchText.set(QStringLiteral("ГАМ"));
    EXPECT_EQ(h.shownNames(), S({"com.example.gamma"}));
    h->searchText.set(QString());
    h->packageFilter.set(PackageFilter::system);
    h->stateFilters.set({PackageState::enabled});
    EXPECT_EQ(h.shownNames(), S({"com.android.systemui", "com.google.android.youtube"}));
    h->sortAscending.set(false);
    EXPECT_EQ(h.shownNames(), S({"com.google.android.youtube", "com.android.systemui"}));
    // A burst of changes is one list update.
    // Counted only while `resets` lives: the harness, destroyed after it, resets the list as it goes.
    int resets = 0;
    QObject counter;
    QObject::connect(h.state().listModel(), &QAbstractItemModel::modelReset, &counter, [&] { ++resets; });
    h->clearFilters();
    h->sortAscending.set(true);
    settle();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(h.state().rows.size(), 6);
    // The same rows again change nothing.
    h->searchText.set(QStringLiteral(" "));
    settle();
    EXPECT_EQ(resets, 1);
    const QModelIndex first = h.state().listModel()->index(0, 0);
    EXPECT_EQ(first.data(Qt::DisplayRole).toString(), QStringLiteral("Альфа"));
    EXPECT_EQ(first.data(ApplicationsState::PackageNameRole).toString(), QStringLiteral("com.example.alpha"));
}

TEST(PackageList, RowHeightsAndIconsFollowTheDensity)
{
    AppsHarness h;
    const struct {
        ListDensity density;
        int height;
        qreal icon;
        bool secondLine;
    } cases[] = {{ListDensity::compact, 34, 18, false},
                 {ListDensity::regular, 46, 28, true},
                 {ListDensity::comfortable, 58, 36, true}};
    for (const auto &c : cases) {
        h.settings->density.set(c.density);
        settle();
        SCOPED_TRACE(rawValue(c.density).toStdString());
        const QRect row = listOf(h)->rowRect(QStringLiteral("com.example.alpha"));
        EXPECT_EQ(row.height(), c.height);
        EXPECT_EQ(listOf(h)->rowRect(QStringLiteral("com.example.beta")).top(), row.bottom() + 1);
        const auto layout = listOf(h)->rowDelegate()->layout(row, h->packages()[0]);
        EXPECT_EQ(layout.icon.size(), QSizeF(c.icon, c.icon));
        EXPECT_NEAR(layout.icon.center().y(), row.center().y() + 0.5, 0.51);
        EXPECT_EQ(!layout.packageName.isEmpty(), c.secondLine);
    }
}

TEST(PackageList, RowPartsByKindStateRiskAndSize)
{
    AppsHarness h;
    PackageRowDelegate *delegate = listOf(h)->rowDelegate();
    const QRect row(0, 0, 700, 46);
    const auto byName = [&](const QString &name) {
        for (const AndroidPackage &p : h->packages())
            if (p.name == name)
                return p;
        return AndroidPackage();
    };
    const struct {
        const char *name;
        bool gear, state, risk;
    } cases[] = {
        {"com.example.alpha", false, false, true},       // enabled user package: no badge but the risk
        {"com.example.beta", false, true, true},         // disabled: outline state badge
        {"com.facebook.appmanager", true, true, true},   // removed system package
        {"com.android.systemui", true, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto l = delegate->layout(row, byName(QString::fromUtf8(c.name)));
        EXPECT_EQ(!l.gear.isEmpty(), c.gear);
        EXPECT_EQ(!l.stateBadge.isEmpty(), c.state);
        EXPECT_EQ(!l.riskBadge.isEmpty(), c.risk);
        EXPECT_EQ(l.size.width(), PackageRowDelegate::kSizeBoxWidth);
        EXPECT_LE(l.name.right(), (l.riskBadge.isEmpty() ? l.size : l.riskBadge).left());
    }
    h.settings->showRiskColumn.set(false);
    settle();
    EXPECT_TRUE(delegate->layout(row, byName(QStringLiteral("com.example.alpha"))).riskBadge.isEmpty());

    // A long label is elided to the room it has; the package name in the middle.
    const AndroidPackage longOne = package(QStringLiteral("com.example.") + QString(80, QLatin1Char('x')),
                                           QString(120, QChar(0x0416)));
    const auto l = delegate->layout(QRect(0, 0, 420, 46), longOne);
    EXPECT_TRUE(l.shownName.endsWith(QChar(0x2026)));
    EXPECT_TRUE(l.shownPackageName.contains(QChar(0x2026)));
    EXPECT_TRUE(l.shownPackageName.startsWith(QStringLiteral("com.")));
}

TEST(PackageList, AccessibilityLabelReadsEveryFactWhetherOrNotTheRiskIsShown)
{
    AppsHarness h;
    h.settings->showRiskColumn.set(false);
    const struct {
        AndroidPackage package;
        const char *label;
    } cases[] = {
        {package(QStringLiteral("com.example.gamma"), QStringLiteral("Гамма"), PackageKind::user, PackageState::enabled,
                 std::nullopt),
         "Гамма, Пользовательское, Включено, риск Безопасно, размер неизвестен"},
        {package(QStringLiteral("com.example.zero"), QStringLiteral("Ноль"), PackageKind::system,
                 PackageState::removedForUser, 0),
         "Ноль, Системное, Удалено для пользователя, риск Проверьте, размер —"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ApplicationsState::accessibilityLabel(c.package), QString::fromUtf8(c.label));
    EXPECT_EQ(h.state().listModel()->index(0, 0).data(Qt::AccessibleTextRole).toString(),
              ApplicationsState::accessibilityLabel(h.state().packageAt(0)));
}

TEST(PackageList, SelectionKeepsNamesTheFiltersHide)
{
    AppsHarness h;
    PackageListView *list = listOf(h);
    QWidget *viewport = list->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(h, QStringLiteral("com.example.alpha")));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(h, QStringLiteral("com.example.beta")));
    EXPECT_EQ(h->selectedPackageIDs(), (QSet<QString>{QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta")}));

    // Hidden by the search, still selected; the view shows what is displayed of the set.
    h->searchText.set(QStringLiteral("альфа"));
    settle();
    EXPECT_EQ(h->selectedPackageIDs().size(), 2);
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
    h->searchText.set(QStringLiteral("a"));
    settle();
    // A modifier click adds a row and keeps the hidden ones.
    h->searchText.set(QStringLiteral("gamma"));
    settle();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(h, QStringLiteral("com.example.gamma")));
    EXPECT_EQ(h->selectedPackageIDs().size(), 3);
    h->searchText.set(QString());
    settle();
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 3);

    // A right click leaves the selection as it is.
    QTest::mousePress(viewport, Qt::RightButton, {}, rowCentre(h, QStringLiteral("com.android.systemui")));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, rowCentre(h, QStringLiteral("com.android.systemui")));
    EXPECT_EQ(h->selectedPackageIDs().size(), 3);

    // A plain click starts a new selection: hidden names go too.
    h->searchText.set(QStringLiteral("YouTube"));
    settle();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(h, QStringLiteral("com.google.android.youtube")));
    EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{QStringLiteral("com.google.android.youtube")});

    // A set written elsewhere (a preset) shows in the view.
    h->searchText.set(QString());
    h->selectedPackageIDs.set({QStringLiteral("com.example.beta"), QStringLiteral("com.android.systemui")});
    settle();
    QStringList shown;
    for (const QModelIndex &index : list->selectionModel()->selectedRows())
        shown << index.data(ApplicationsState::PackageNameRole).toString();
    shown.sort();
    EXPECT_EQ(shown, S({"com.android.systemui", "com.example.beta"}));
}

TEST(PackageList, OneSelectedNameOpensTheInspectorNoneClosesItMoreLeaveIt)
{
    AppsHarness h;
    h.fake.onPrefix(S({"-s", "R58N12ABCDE", "shell", "dumpsys", "package"}), {.out = QStringLiteral("Packages:\n")});
    QWidget *viewport = listOf(h)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(h, QStringLiteral("com.example.alpha")));
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.example.alpha"));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(h, QStringLiteral("com.example.beta")));
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.example.alpha"));
    // Selecting the package already inspected reads its details no second time.
    ASSERT_TRUE(waitUntil([&] { return !h->isDetailsLoading(); }));
    const auto dumps = [&] {
        const QList<QStringList> calls = h.fake.calls();
        return std::count_if(calls.cbegin(), calls.cend(),
                             [](const QStringList &c) { return c.contains(QStringLiteral("dumpsys")); });
    };
    const auto before = dumps();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(h, QStringLiteral("com.example.alpha")));
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.example.alpha"));
    EXPECT_EQ(dumps(), before);
    h->selectedPackageIDs.set({});
    EXPECT_EQ(h->inspectorPackageID(), std::nullopt);
}

TEST(PackageList, SkeletonWhileTheFirstCatalogueLoadsThenRowsOrTheEmptyState)
{
    AppsHarness h({});
    PackageListPane *pane = h.view->listPane();
    EXPECT_EQ(pane->overlay(), PackageListPane::Overlay::emptyCatalogue);
    BusyLedger::Token busy = h->beginBusy();
    settle();
    ASSERT_EQ(pane->overlay(), PackageListPane::Overlay::skeleton);
    // Ten placeholder rows of the density's height, each with an icon block of its icon size.
    const auto rows = pane->overlayWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    int placeholders = 0;
    for (QWidget *row : rows)
        if (row->height() == 46) {
            ++placeholders;
            const auto bars = row->findChildren<Skeleton *>();
            ASSERT_EQ(bars.size(), 4);
            EXPECT_EQ(bars[0]->size(), QSize(28, 28));
        }
    EXPECT_EQ(placeholders, PackageListPane::kSkeletonRows);

    h->packages.set(samplePackages());
    settle();
    EXPECT_EQ(pane->overlay(), PackageListPane::Overlay::none);
    // A refresh over a loaded catalogue keeps the rows; a search that finds nothing says so.
    h->searchText.set(QStringLiteral("nothing-like-this"));
    settle();
    ASSERT_EQ(pane->overlay(), PackageListPane::Overlay::noMatches);
    auto *empty = pane->overlayWidget()->findChild<DeckEmptyState *>();
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->titleLabel()->text(), QStringLiteral("Ничего не найдено"));
    auto *reset = qobject_cast<DeckButton *>(empty->actions());
    ASSERT_TRUE(reset);
    EXPECT_EQ(reset->text(), QStringLiteral("Сбросить фильтры"));
    h->packageFilter.set(PackageFilter::system);
    reset->click();
    settle();
    EXPECT_FALSE(h->hasActiveFilters());
    EXPECT_EQ(pane->overlay(), PackageListPane::Overlay::none);
    busy.release();

    // An empty catalogue offers a refresh, which leaves the icon cache alone.
    h->packages.set({});
    settle();
    ASSERT_EQ(pane->overlay(), PackageListPane::Overlay::emptyCatalogue);
    empty = pane->overlayWidget()->findChild<DeckEmptyState *>();
    EXPECT_EQ(empty->titleLabel()->text(), QStringLiteral("Каталог приложений пуст"));
    const AndroidPackage cached = samplePackages()[0];
    ASSERT_FALSE(AppIconCache::shared().pixmap(cached, 28, 1, false).isNull());
    qobject_cast<DeckButton *>(empty->actions())->click();
    EXPECT_TRUE(AppIconCache::shared().contains(cached.name));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy(); }));
    EXPECT_TRUE(h.fake.calls().contains(S({"-s", "R58N12ABCDE", "shell", "pm", "list", "packages", "-f", "-3"})));
}

TEST(PackageList, SelectionBarCountsHiddenNamesAndWrapsInANarrowPane)
{
    AppsHarness h;
    PackageListPane *pane = h.view->listPane();
    EXPECT_FALSE(pane->selectionBar()->isVisible());
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta"),
                               QStringLiteral("com.android.systemui")});
    h->searchText.set(QStringLiteral("альфа"));
    settle();
    SelectionBar *bar = pane->selectionBar();
    ASSERT_TRUE(waitUntil([&] { return bar->isVisible() && !bar->graphicsEffect(); }));
    EXPECT_EQ(bar->countLabel()->text(), QStringLiteral("3"));
    EXPECT_FALSE(bar->permissionsAction()->isEnabled());
    // Floats Space::l above the pane's bottom edge, inside its sides.
    const QRectF shape = QRectF(bar->geometry()).marginsRemoved(Panel::shadowMargins(bar->panelStyle()));
    EXPECT_NEAR(shape.bottom(), pane->height() - 16, 1.5);
    EXPECT_NEAR(shape.left(), 16, 1);
    const int oneLine = bar->height();
    h.view->splitter()->setSizes({320, 900});
    h.window->resize(700, 820);
    h.view->resize(700, 820);
    settle();
    pane->resize(320, pane->height());
    settle();
    EXPECT_GT(bar->height(), oneLine);

    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha")});
    settle();
    EXPECT_EQ(bar->countLabel()->text(), QStringLiteral("1"));
    EXPECT_TRUE(bar->permissionsAction()->isEnabled());
    h->selectedPackageIDs.set({});
    settle();
    ASSERT_TRUE(waitUntil([&] { return !bar->isVisible(); }));
}

// With the selection bar out, the list scrolls its last row whole into view above the bar's
// panel, in both schemes, at each window size, one name selected (the inspector beside the
// list) or two, and in a pane narrow enough for the bar to take more lines.
TEST(PackageList, TheLastRowScrollsClearOfTheSelectionBar)
{
    QList<AndroidPackage> many;
    for (int i = 0; i < 40; ++i)
        many << package(QStringLiteral("com.example.app%1").arg(i, 2, 10, QLatin1Char('0')),
                        QStringLiteral("Приложение %1").arg(i, 2, 10, QLatin1Char('0')));
    const auto lastRowFaults = [](AppsHarness &h) -> std::optional<std::string> {
        PackageListPane *pane = h.view->listPane();
        SelectionBar *bar = pane->selectionBar();
        if (!waitUntil([&] { return bar->isVisible() && !Transition::isRunning(bar); }))
            return "the selection bar never came to rest";
        PackageListView *list = pane->list();
        list->scrollToBottom();
        settle();
        const QModelIndex last = list->model()->index(list->model()->rowCount() - 1, 0);
        const QRect row = list->visualRect(last);
        const QRect panel = QRectF(bar->geometry()).marginsRemoved(Panel::shadowMargins(bar->panelStyle())).toRect();
        const int barTop = list->viewport()->mapFrom(pane, panel.topLeft()).y();
        // Rows are as wide as the list; what matters is where the last one ends.
        if (row.top() < 0 || row.bottom() >= list->viewport()->height() || row.bottom() >= barTop)
            return "the last row (" + std::to_string(row.top()) + "–" + std::to_string(row.bottom()) +
                   ") is not clear above the bar (" + std::to_string(barTop) + ") in a viewport of " +
                   std::to_string(list->viewport()->height());
        return std::nullopt;
    };
    for (QSize size : {QSize(820, 540), QSize(1100, 700), QSize(1360, 880)}) {
        for (ColorScheme scheme : {ColorScheme::dark, ColorScheme::light}) {
            for (int selected : {1, 2}) {
                SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " "
                                                << (scheme == ColorScheme::dark ? "dark" : "light") << ", " << selected);
                AppsHarness h(many, size);
                Theme::apply(scheme, false);
                QSet<QString> names;
                for (int i = 0; i < selected; ++i)
                    names << many[i].name;
                h->selectedPackageIDs.set(names);
                settle();
                if (!h.view->listPane()->isVisible())
                    continue; // a compact window shows the inspector in place of the list
                const std::optional<std::string> fault = lastRowFaults(h);
                EXPECT_FALSE(fault) << *fault;
            }
        }
    }
    // The narrowest pane beside the inspector: the bar takes more than one line.
    AppsHarness h(many, QSize(860, 540));
    h->selectedPackageIDs.set({many[0].name});
    settle();
    ASSERT_TRUE(h.view->inspector());
    h.view->splitter()->setSizes({1, 2000});
    settle();
    const std::optional<std::string> fault = lastRowFaults(h);
    EXPECT_FALSE(fault) << *fault;
    SelectionBar *bar = h.view->listPane()->selectionBar();
    EXPECT_GT(bar->height(), bar->heightForWidth(2000)) << h.view->listPane()->width();
    Theme::apply(ColorScheme::dark, false);
}

// The bar's actions wrap in pairs, the menu of more with the last pair, so no button goes down
// a line alone, and the divider after the count stands only between it and the actions; at
// every width, also where the pairs part, as at 1020 px with the inspector open.
TEST(PackageList, SelectionBarButtonsWrapWithTheirPartners)
{
    AppsHarness h;
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta")});
    settle();
    QWidget host;
    auto *bar = new SelectionBar(h.model.get(), {}, &host);
    host.resize(1400, 400);
    host.show();
    const QList<DeckButton *> b = bar->buttons();
    ASSERT_EQ(b.size(), 4);
    const struct {
        QWidget *button, *partner;
    } pairs[] = {{b[0], b[1]}, {b[2], b[3]}, {b[3], bar->moreButton()}};
    bool parted = false, oneLine = false;
    for (int width = 240; width <= 900; width += 4) {
        bar->setGeometry(0, 0, width, bar->heightForWidth(width));
        settle();
        SCOPED_TRACE(width);
        for (const auto &p : pairs)
            EXPECT_TRUE(GeometryWalk::shareALine(p.button, p.partner))
                << GeometryWalk::describe(p.button).toStdString() << " and its partner part";
        const QStringList stray = GeometryWalk::strayDividers(&host);
        EXPECT_TRUE(stray.isEmpty()) << stray.join(QStringLiteral("; ")).toStdString();
        parted |= !GeometryWalk::shareALine(b[1], b[2]) && GeometryWalk::shareALine(b[0], bar->countLabel());
        oneLine |= GeometryWalk::shareALine(bar->countLabel(), bar->moreButton());
    }
    EXPECT_TRUE(parted); // the widths pass where the second pair goes down a line
    EXPECT_TRUE(oneLine);
}

// A change of the selected count rolls with Motion::snap; under reduce motion the new count is
// simply there.
TEST(PackageList, SelectionBarCountRollsWithASnap)
{
    AppsHarness h;
    PackageListPane *pane = h.view->listPane();
    A11y::setReduceMotion(false);
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha")});
    settle();
    SelectionBar *bar = pane->selectionBar();
    ASSERT_TRUE(waitUntil([&] { return bar->isVisible() && !Transition::isRunning(bar); }));
    EXPECT_FALSE(bar->countLabel()->isRolling()); // the first count just shows
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta")});
    settle();
    EXPECT_EQ(bar->countLabel()->text(), QStringLiteral("2"));
    ASSERT_TRUE(bar->countLabel()->isRolling());
    EXPECT_EQ(bar->countLabel()->roll()->animation().duration(), Motion::snap().durationMs());

    A11y::setReduceMotion(true);
    h->selectedPackageIDs.set({QStringLiteral("com.example.beta")});
    settle();
    EXPECT_EQ(bar->countLabel()->text(), QStringLiteral("1"));
    EXPECT_FALSE(bar->countLabel()->isRolling());
}

} // namespace
