#include "screens/packages/DebloatPlanBar.h"
#include "screens/packages/PaddedListView.h"
#include "screens/packages/RiskLegend.h"
#include "shell/AppDialogs.h"
#include "screenkit/DialogPresenter.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"

#include "design/Accessibility.h"
#include "design/AnimatedValue.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/FilterChip.h"
#include "design/FlowLayout.h"
#include "design/Labels.h"
#include "design/Motion.h"
#include "design/RollingText.h"
#include "design/Tokens.h"
#include "design/Transition.h"
#include "bridge/Bytes.h"
#include "design/ScreenHeader.h"

#include "DebloatHarness.h"
#include "GeometryWalk.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace debloat_test;

namespace {

QString emptyTitle(DebloatView *view) { return view->emptyState() ? view->emptyState()->titleLabel()->text() : QString(); }

TEST(DebloatScreen, HeaderChipsLegendAndGroupsFollowTheModel)
{
    DebloatFixture f;
    QAbstractItemModelTester tester(f.state()->listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Safe and review are listed at first: two safe, three review (two unknown, one user game is safe).
    EXPECT_EQ(f.view->header()->titleLabel()->text(), QStringLiteral("Очистка от предустановленного"));
    EXPECT_EQ(f.view->header()->subtitleLabel()->text(),
              QStringLiteral("5 кандидатов · безопасных 3 · потенциально освободится %1")
                  .arg(Bytes::shortText(f.h->reclaimableBytes())));
    const QStringList titles{"Safe", "Review", "Advanced", "Critical"};
    const int counts[] = {3, 2, 3, 3};
    const bool on[] = {true, true, false, false};
    ASSERT_EQ(f.view->riskChips().size(), 4);
    for (int i = 0; i < 4; ++i) {
        FilterChip *chip = f.view->riskChips()[i];
        EXPECT_EQ(chip->text(), titles[i]);
        EXPECT_EQ(chip->count(), counts[i]);
        EXPECT_EQ(chip->isOn(), on[i]);
        EXPECT_EQ(f.view->legend()->countText(RemovalRisk(i)), QString::number(counts[i]));
    }
    // Safe groups first (the ads group is larger than the user's), then review; sizes largest
    // first inside each group.
    EXPECT_EQ(f.lines(), (QStringList{"#Аналитика и реклама", "com.vendor.analytics", "com.vendor.adservice",
                                      "#Предустановленные приложения", "com.user.game", "#Не классифицировано",
                                      "com.maker.mystery", "com.maker.widgets"}));

    // Chips toggle the filter; every chip off lists every level while all show off.
    for (FilterChip *chip : f.view->riskChips())
        if (chip->isOn())
            chip->click();
    settle();
    EXPECT_TRUE(f.h->debloatRiskFilter().isEmpty());
    for (FilterChip *chip : f.view->riskChips())
        EXPECT_FALSE(chip->isOn());
    EXPECT_EQ(f.lines(), (QStringList{"#Аналитика и реклама", "com.vendor.analytics", "com.vendor.adservice",
                                      "#Предустановленные приложения", "com.user.game", "#Не классифицировано",
                                      "com.maker.mystery", "com.maker.widgets",
                                      // Lowest risk advanced: the larger group first.
                                      "#Ядро системы", "com.android.documentsui", "com.android.settings",
                                      "com.android.keychain", "#Связь и сеть", "com.android.nfc",
                                      "com.android.bluetooth", "#Сервисы Google", "com.android.vending"}));
    // Counts never follow the filter or the search.
    f.h->debloatSearchText.set(QStringLiteral("nfc"));
    settle();
    EXPECT_EQ(f.lines(), (QStringList{"#Связь и сеть", "com.android.nfc"}));
    EXPECT_EQ(f.view->riskChips()[2]->count(), 3);
    EXPECT_EQ(f.view->legend()->countText(RemovalRisk::critical), QStringLiteral("3"));
    // The search field shows the model's text.
    EXPECT_EQ(f.view->searchField()->text(), QStringLiteral("nfc"));
}

TEST(DebloatScreen, EmptyStatesTellNoCatalogueFromNothingMatching)
{
    DebloatFixture f(false);
    EXPECT_EQ(emptyTitle(f.view.get()), QStringLiteral("Каталог не загружен"));
    EXPECT_EQ(f.view->emptyState()->messageLabel()->text(),
              QStringLiteral("Откройте раздел «Приложения», чтобы прочитать список пакетов с устройства."));
    f.h->packages.set(catalogue());
    settle();
    EXPECT_EQ(f.view->emptyState(), nullptr);
    f.h->debloatSearchText.set(QStringLiteral("нет такого"));
    settle();
    EXPECT_EQ(emptyTitle(f.view.get()), QStringLiteral("Под фильтры ничего не подходит"));
    EXPECT_EQ(f.view->emptyState()->messageLabel()->text(),
              QStringLiteral("Включите другие уровни риска или очистите поисковый запрос."));
    EXPECT_EQ(f.view->riskChips()[0]->count(), 3);
}

TEST(DebloatScreen, PlanBarShowsThePlanOfTheSelectedCandidates)
{
    DebloatFixture f;
    EXPECT_TRUE(f.view->planBar()->isHidden());
    EXPECT_FALSE(f.view->clearButton()->isEnabled());

    f.h->debloatRiskFilter.set({});
    settle();
    struct Step {
        QSet<QString> selection;
        QSet<RemovalRisk> filter;
        QString count, detail;
        bool risky;
    };
    const Step steps[] = {
        {{"com.vendor.analytics"}, {}, "1 приложений в плане", "Освободится до 50 МБ · максимальный риск: Безопасно",
         false},
        {{"com.vendor.analytics", "com.android.nfc"}, {}, "2 приложений в плане",
         "Освободится до 54 МБ · максимальный риск: Для опытных", true},
        {{"com.vendor.analytics", "com.android.settings"}, {}, "2 приложений в плане",
         "Освободится до 80 МБ · максимальный риск: Критично", true},
        // Every selected package hidden by the filter: the bar stays, with an empty plan.
        {{"com.android.settings"}, {RemovalRisk::safe}, "0 приложений в плане",
         "Освободится до — · максимальный риск: Безопасно", false},
    };
    for (const Step &s : steps) {
        f.h->debloatRiskFilter.set(s.filter);
        f.h->debloatSelection.set(s.selection);
        settle();
        ASSERT_FALSE(f.view->planBar()->isHidden());
        EXPECT_EQ(f.view->planBar()->countLabel()->text(), s.count);
        EXPECT_EQ(f.view->planBar()->detailLabel()->text(), s.detail);
        EXPECT_EQ(!f.view->planBar()->riskyBadge()->isHidden(), s.risky) << s.count.toStdString();
        EXPECT_TRUE(f.view->clearButton()->isEnabled());
    }
    // The bar's panel floats 16 px over the list's lower edge, 16 px in from its sides.
    const QRectF panel = f.view->planBar()->panelRect().translated(f.view->planBar()->pos());
    const QRect list = f.view->list()->geometry();
    EXPECT_NEAR(panel.bottom(), list.bottom() + 1 - 16, 1);
    EXPECT_NEAR(panel.left(), list.left() + 16, 1);
    EXPECT_NEAR(panel.right(), list.right() + 1 - 16, 1);

    // Ctrl+Return opens the review while the bar is shown.
    f.view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.view.get()));
    QTest::keyClick(f.view.get(), Qt::Key_Return, Qt::ControlModifier);
    // A shortcut presses the button visibly, so the click lands a moment later.
    EXPECT_TRUE(waitUntil([&] { return f.h->isDebloatReviewPresented(); }));

    f.view->clearButton()->click();
    settle();
    EXPECT_TRUE(f.h->debloatSelection().isEmpty());
    EXPECT_TRUE(f.view->planBar()->isHidden());
}

TEST(DebloatScreen, SelectAllSafeAddsAndActionSwitchWrites)
{
    DebloatFixture f;
    f.h->debloatSelection.set({"com.maker.mystery"});
    settle();
    f.view->selectAllSafeButton()->click();
    settle();
    // Safe system packages join; nothing leaves; the user's safe game is not a system package.
    EXPECT_EQ(f.h->debloatSelection(), (QSet<QString>{"com.maker.mystery", "com.vendor.analytics", "com.vendor.adservice"}));
    chooseSegment(f.view->actionSwitch(), QVariant(int(PresetAction::uninstall)));
    EXPECT_EQ(f.h->debloatAction(), PresetAction::uninstall);
    f.h->debloatAction.set(PresetAction::disable);
    settle();
    EXPECT_EQ(f.view->actionSwitch()->selection().toInt(), int(PresetAction::disable));
}

TEST(DebloatScreen, LegendButtonHidesAndShowsTheLegendAcrossRebuilds)
{
    DebloatFixture f;
    EXPECT_FALSE(f.view->legend()->isHidden());
    EXPECT_TRUE(f.view->legendButton()->buttonStyle().isActive);
    f.view->legendButton()->click();
    EXPECT_TRUE(f.view->legend()->isHidden());
    EXPECT_FALSE(f.view->legendButton()->buttonStyle().isActive);
    // A rebuild of the screen (a theme switch) keeps it hidden.
    f.view = std::make_unique<DebloatView>(f.h.model.get(), &f.memory);
    EXPECT_TRUE(f.view->legend()->isHidden());
}

// Clicking rows toggles them where they are: the list neither reorders nor scrolls.
TEST(DebloatScreen, ToggleKeepsOrderAndScrollPosition)
{
    DebloatFixture f(false);
    QList<AndroidPackage> many;
    // Many categories that tie in lowest risk and size, so only a defined tie order holds them.
    const QStringList words{"analytics", "adservice", "adsdk"};
    for (int i = 0; i < 150; ++i)
        many << pkg(QStringLiteral("com.maker%1.%2").arg(i % 40).arg(words[i % 3]), QStringLiteral("Пакет %1").arg(i),
                    (200 - i) * MB);
    for (int i = 0; i < 60; ++i)
        many << pkg(QStringLiteral("com.vendor%1.tool").arg(i), QStringLiteral("Средство %1").arg(i), (90 - i) * MB);
    f.h->packages.set(many);
    settle();
    QListView *list = f.view->list();
    const QStringList before = f.lines();
    ASSERT_GT(list->verticalScrollBar()->maximum(), 2000);
    list->verticalScrollBar()->setValue(1500);
    settle();
    QSignalSpy resets(f.state()->listModel(), &QAbstractItemModel::modelReset);
    for (int click = 0; click < 3; ++click) {
        const QModelIndex index = list->indexAt(QPoint(200, list->viewport()->height() / 2));
        ASSERT_TRUE(index.isValid());
        ASSERT_EQ(f.state()->entries().at(index.row()).kind, DebloatEntry::Kind::row);
        const QString name = f.state()->entries().at(index.row()).item.package.name;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        settle();
        EXPECT_EQ(f.h->debloatSelection().contains(name), click % 2 == 0);
        EXPECT_EQ(list->verticalScrollBar()->value(), 1500);
        EXPECT_EQ(f.lines(), before);
    }
    EXPECT_EQ(resets.count(), 0);
}

// The screen hands the review flag to the shell, whose sheet then shows the plan.
TEST(DebloatScreen, RouteBuildsTheScreenAndTheShellPresentsTheReview)
{
    ShellHarness h;
    h.connect(QStringLiteral("device"), kDevice);
    h->packages.set(catalogue());
    MainWindow window(h.model.get(), h.settings.get(), MainWindow::Hooks{});
    window.show();
    h->route.set(AppRoute::debloat);
    settle();
    auto *screen = window.findChild<DebloatView *>();
    ASSERT_TRUE(screen);
    h->debloatSelection.set({"com.vendor.analytics"});
    settle();
    screen->planBar()->reviewButton()->click();
    QDialog *sheet = window.root()->dialogs()->debloatReview()->dialog();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->size(), QSize(720, 640));
}

// The legend moves out through the top edge as it fades (Motion::smooth) and back in the same
// way; the plan bar's count rolls with Motion::snap. Under reduce motion both change at once.
TEST(DebloatScreen, LegendSlidesAndThePlanCountRolls)
{
    DebloatFixture f;
    A11y::setReduceMotion(false);
    RiskLegend *legend = f.view->legend();
    const int full = legend->heightForWidth(legend->width());
    f.view->legendButton()->click();
    QAbstractAnimation *out = Transition::animation(legend);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->duration(), Motion::smooth().durationMs());
    // Held half-way: part of its height, its cards hanging from above, partly faded.
    out->pause();
    out->setCurrentTime(out->duration() / 2);
    const qreal reveal = legend->reveal();
    EXPECT_GT(reveal, 0.05);
    EXPECT_LT(reveal, 0.95);
    EXPECT_NEAR(legend->heightForWidth(legend->width()), full * reveal, 1);
    EXPECT_LT(legend->cardRects().first().top(), 0);
    EXPECT_LT(Transition::opacity(legend), 1);
    out->resume();
    ASSERT_TRUE(waitUntil([&] { return legend->isHidden(); }));

    f.view->legendButton()->click();
    QAbstractAnimation *in = Transition::animation(legend);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->duration(), Motion::smooth().durationMs());
    EXPECT_FALSE(legend->isHidden());
    ASSERT_TRUE(waitUntil([&] { return !Transition::isRunning(legend); }));
    EXPECT_DOUBLE_EQ(legend->reveal(), 1);
    EXPECT_EQ(legend->heightForWidth(legend->width()), full);
    EXPECT_EQ(legend->cardRects().first().top(), 0);

    f.h->debloatSelection.set({"com.vendor.analytics"});
    settle();
    ASSERT_TRUE(waitUntil([&] { return !f.view->planBar()->isHidden() && !Transition::isRunning(f.view->planBar()); }));
    f.h->debloatSelection.set({"com.vendor.analytics", "com.vendor.adservice"});
    settle();
    RollingText *count = f.view->planBar()->countLabel();
    EXPECT_EQ(count->text(), QStringLiteral("2 приложений в плане"));
    ASSERT_TRUE(count->isRolling());
    EXPECT_EQ(count->roll()->animation().duration(), Motion::snap().durationMs());

    A11y::setReduceMotion(true);
    f.view->legendButton()->click();
    EXPECT_TRUE(legend->isHidden());
    EXPECT_FALSE(Transition::isRunning(legend));
    f.h->debloatSelection.set({"com.vendor.analytics"});
    settle();
    EXPECT_EQ(count->text(), QStringLiteral("1 приложений в плане"));
    EXPECT_FALSE(count->isRolling());
}

// With the plan bar out, the list scrolls its last row whole into view above the bar's panel,
// in both schemes, at each window size, and where the bar takes two lines (a narrow window, the
// risk badge shown).
TEST(DebloatScreen, TheLastRowScrollsClearOfThePlanBar)
{
    QList<AndroidPackage> many = catalogue();
    for (int i = 0; i < 30; ++i)
        many << pkg(QStringLiteral("com.vendor%1.analytics").arg(i, 2, 10, QLatin1Char('0')),
                    QStringLiteral("Аналитика %1").arg(i), 5 * MB);
    bool twoLines = false;
    for (QSize size : {QSize(440, 540), QSize(820, 540), QSize(1100, 700), QSize(1360, 880)}) {
        for (ColorScheme scheme : {ColorScheme::dark, ColorScheme::light}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " "
                                            << (scheme == ColorScheme::dark ? "dark" : "light"));
            DebloatFixture f(false);
            f.h->packages.set(many);
            Theme::apply(scheme, false);
            f.view->resize(size);
            f.h->debloatSelection.set({QStringLiteral("com.android.settings")}); // critical: the badge shows
            settle();
            DebloatPlanBar *bar = f.view->planBar();
            ASSERT_TRUE(waitUntil([&] { return !bar->isHidden() && !Transition::isRunning(bar); }));
            PaddedListView *list = f.view->list();
            list->scrollToBottom();
            settle();
            const QRect row = list->visualRect(list->model()->index(list->model()->rowCount() - 1, 0));
            const QRect panel = QRectF(bar->geometry()).marginsRemoved(Panel::shadowMargins(DebloatPlanBar::barStyle())).toRect();
            const int barTop = list->viewport()->mapFrom(bar->parentWidget(), panel.topLeft()).y();
            EXPECT_GE(row.top(), 0);
            EXPECT_LT(row.bottom(), barTop) << "the last row lies under the plan bar";
            twoLines |= !GeometryWalk::shareALine(bar->countLabel(), bar->reviewButton());
        }
    }
    EXPECT_TRUE(twoLines); // the sizes pass where the bar wraps
    Theme::apply(ColorScheme::dark, false);
}

// "Выбрать все безопасные" and "Снять выбор" wrap as one: at every width they share a line,
// also where they go down below the chips and the action switch, as at 820 px.
TEST(DebloatScreen, SelectingAndUnselectingWrapTogether)
{
    DebloatFixture f;
    bool wrapped = false;
    for (int width = 480; width <= 1400; width += 10) {
        f.view->resize(width, 700);
        settle();
        SCOPED_TRACE(width);
        EXPECT_TRUE(GeometryWalk::shareALine(f.view->selectAllSafeButton(), f.view->clearButton()));
        wrapped |= !GeometryWalk::shareALine(f.view->actionSwitch(), f.view->clearButton());
    }
    EXPECT_TRUE(wrapped);
}

// The plan bar's items stand Space::m apart.
TEST(DebloatScreen, PlanBarItemsAreSpaceMApart)
{
    DebloatFixture f;
    f.h->debloatSelection.set({"com.android.settings"});
    f.h->debloatRiskFilter.set({});
    settle();
    DebloatPlanBar *bar = f.view->planBar();
    ASSERT_TRUE(waitUntil([&] { return !bar->isHidden(); }));
    auto *flow = qobject_cast<FlowLayout *>(bar->layout());
    ASSERT_TRUE(flow);
    EXPECT_EQ(flow->flowSpacing(), Space::m);
    EXPECT_EQ(flow->lineSpacing(), Space::s);
    // The badge and the button, on one line: Space::m between them too.
    EXPECT_EQ(bar->reviewButton()->x() - bar->riskyBadge()->geometry().right() - 1, int(Space::m));
}

} // namespace
