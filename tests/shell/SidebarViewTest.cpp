#include "shell/DevicePickerPopover.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "shell/SidebarItem.h"
#include "shell/SidebarView.h"

#include "design/DeckSearchField.h"
#include "design/DeviceGlyph.h"
#include "design/Labels.h"
#include "design/Theme.h"

#include "ShellHarness.h"
#include "UiTestSupport.h"

#include <QKeySequence>
#include <QPointer>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

QList<AndroidPackage> packages(int n)
{
    QList<AndroidPackage> list;
    for (int i = 0; i < n; ++i)
        list.append(AndroidPackage(QStringLiteral("com.example.p%1").arg(i), QStringLiteral("/data/app/base.apk"),
                                   i % 2 ? PackageKind::system : PackageKind::user));
    return list;
}

// In the smallest window the routes do not fit: a scroll bar shows it, and the last route can
// be scrolled into full view. In a tall one nothing scrolls.
TEST(SidebarView, EveryRouteCanBeReachedInTheSmallestWindow)
{
    for (const QSize size : {MainWindow::kMinimumSize, MainWindow::kDefaultSize}) {
        ShellHarness h;
        MainWindow window(h.model.get(), h.settings.get(), {});
        window.resize(size);
        window.show();
        settle();
        auto *sidebar = static_cast<SidebarView *>(window.root()->sidebar());
        QScrollArea *list = sidebar->routeList();
        SidebarItem *last = sidebar->item(AppRoute::logs);
        const bool fits = list->viewport()->rect().contains(QRect(last->mapTo(list->viewport(), QPoint(0, 0)), last->size()));
        EXPECT_EQ(list->verticalScrollBar()->isVisible(), !fits) << size.height();
        list->ensureWidgetVisible(last, 0, 0);
        EXPECT_TRUE(list->viewport()->rect().contains(QRect(last->mapTo(list->viewport(), QPoint(0, 0)), last->size())))
            << size.height();
        if (size == MainWindow::kDefaultSize)
            EXPECT_TRUE(fits);
        else
            EXPECT_FALSE(fits);
    }
}

// In the smallest window the active route's row scrolls into view whatever opened it (a
// shortcut, the stored last route), and the first section's heading is not scrolled away for
// a row that was in view already.
TEST(SidebarView, TheActiveRouteScrollsIntoViewInTheSmallestWindow)
{
    ShellHarness h;
    MainWindow window(h.model.get(), h.settings.get(), {});
    window.resize(MainWindow::kMinimumSize);
    window.show();
    settle();
    auto *sidebar = static_cast<SidebarView *>(window.root()->sidebar());
    QScrollArea *list = sidebar->routeList();
    const auto shownWhole = [&](AppRoute route) {
        SidebarItem *row = sidebar->item(route);
        return list->viewport()->rect().contains(QRect(row->mapTo(list->viewport(), QPoint(0, 0)), row->size()));
    };
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    ASSERT_FALSE(shownWhole(AppRoute::logs)); // the window is short enough to hide it
    for (AppRoute route : {AppRoute::logs, AppRoute::overview, AppRoute::console, AppRoute::settings}) {
        h.model->route.set(route);
        EXPECT_TRUE(waitUntil([&] { return route == AppRoute::settings || shownWhole(route); })) << rawValue(route).toStdString();
    }
    EXPECT_TRUE(shownWhole(AppRoute::console)); // Settings sits below the list and scrolls nothing

    // A window made short while a low route is active keeps that row in view.
    h.model->route.set(AppRoute::logs);
    window.resize(MainWindow::kDefaultSize);
    ASSERT_TRUE(waitUntil([&] { return list->verticalScrollBar()->value() == 0 && !list->verticalScrollBar()->isVisible(); }));
    window.resize(MainWindow::kMinimumSize);
    EXPECT_TRUE(waitUntil([&] { return shownWhole(AppRoute::logs); }));
}

TEST(SidebarView, RowsFollowTheSectionsAndOnlyCountsBecomeBadges)
{
    ShellHarness h;
    SidebarView sidebar(h.model.get(), h.settings.get());
    QList<AppRoute> order;
    for (SidebarItem *row : sidebar.items())
        order << row->route();
    EXPECT_EQ(order, allCases<AppRoute>()); // the nine section rows, then Settings at the bottom

    for (SidebarItem *row : sidebar.items())
        EXPECT_FALSE(row->badge()) << rawValue(row->route()).toStdString();

    // Applications counts the whole catalogue (system packages too); Debloat its selection.
    h->packages.set(packages(7));
    h->debloatSelection.set({QStringLiteral("a"), QStringLiteral("b")});
    settle();
    EXPECT_EQ(sidebar.item(AppRoute::applications)->badge(), QStringLiteral("7"));
    EXPECT_EQ(sidebar.item(AppRoute::debloat)->badge(), QStringLiteral("2"));
    for (AppRoute route : {AppRoute::overview, AppRoute::permissions, AppRoute::files, AppRoute::presets,
                           AppRoute::tools, AppRoute::console, AppRoute::logs, AppRoute::settings})
        EXPECT_FALSE(sidebar.item(route)->badge());

    // An emptied catalogue shows no badge, never a zero.
    h->packages.set({});
    h->debloatSelection.set({});
    settle();
    EXPECT_FALSE(sidebar.item(AppRoute::applications)->badge());
    EXPECT_FALSE(sidebar.item(AppRoute::debloat)->badge());
}

TEST(SidebarView, HoverShowsTheShortcutHintUnlessABadgeOrNoDigit)
{
    ShellHarness h;
    h->packages.set(packages(3));
    SidebarView sidebar(h.model.get(), h.settings.get());
    sidebar.resize(236, 900); // every row in sight, none under the footer
    sidebar.show();
    struct Case { AppRoute route; bool hint; QString keys; } cases[] = {
        {AppRoute::overview, true, QKeySequence(Qt::CTRL | Qt::Key_1).toString(QKeySequence::NativeText)},
        {AppRoute::logs, true, QKeySequence(Qt::CTRL | Qt::Key_9).toString(QKeySequence::NativeText)},
        {AppRoute::applications, false, {}}, // has a badge
        {AppRoute::settings, false, {}},     // has no digit
    };
    for (const Case &c : cases) {
        SidebarItem *row = sidebar.item(c.route);
        EXPECT_FALSE(row->showsKeyHint());
        pointAt(row);
        EXPECT_TRUE(row->isHovering()) << rawValue(c.route).toStdString();
        EXPECT_EQ(row->showsKeyHint(), c.hint) << rawValue(c.route).toStdString();
        if (c.hint) {
            EXPECT_TRUE(row->keyHint()->isVisible());
            EXPECT_EQ(row->keyHint()->keys(), c.keys);
        }
        pointAway(row);
        EXPECT_FALSE(row->isHovering()) << rawValue(c.route).toStdString();
        EXPECT_FALSE(row->showsKeyHint());
    }
}

TEST(SidebarView, RoutesThatNeedADeviceAreDimmedYetStillSelectable)
{
    ShellHarness h;
    SidebarView sidebar(h.model.get(), h.settings.get());
    const QString hint = QStringLiteral("Требуется подключённое устройство");
    for (SidebarItem *row : sidebar.items()) {
        const bool needs = needsDevice(row->route());
        EXPECT_EQ(row->contentOpacity(), needs ? 0.55 : 1.0) << rawValue(row->route()).toStdString();
        EXPECT_EQ(row->accessibleDescription(), needs ? hint : QString());
        EXPECT_EQ(row->accessibleName(), title(row->route()));
        EXPECT_TRUE(row->isEnabled());
    }

    sidebar.item(AppRoute::console)->click();
    EXPECT_EQ(h->route(), AppRoute::console);
    settle();
    EXPECT_TRUE(sidebar.item(AppRoute::console)->isSelected());
    EXPECT_TRUE(sidebar.item(AppRoute::console)->isChecked());
    EXPECT_FALSE(sidebar.item(AppRoute::overview)->isSelected());

    // A ready device lifts the dimming.
    h.listDevices({device(QStringLiteral("R58M123"))}, QStringLiteral("R58M123"));
    settle();
    for (SidebarItem *row : sidebar.items()) {
        EXPECT_EQ(row->contentOpacity(), 1.0);
        EXPECT_EQ(row->accessibleDescription(), QString());
    }

    // A route changed elsewhere moves the selection mark.
    h->route.set(AppRoute::settings);
    settle();
    EXPECT_TRUE(sidebar.item(AppRoute::settings)->isSelected());
    EXPECT_FALSE(sidebar.item(AppRoute::console)->isSelected());
}

TEST(SidebarView, DeviceCardNamesTheDeviceAndItsState)
{
    ShellHarness h;
    SidebarView sidebar(h.model.get(), h.settings.get());
    EXPECT_EQ(sidebar.deviceTitle(), QStringLiteral("Нет устройства"));
    EXPECT_EQ(sidebar.deviceStateText(), QStringLiteral("Не подключено"));
    EXPECT_EQ(sidebar.deviceCard()->toolTip(), QStringLiteral("Выбор устройства и подключение"));
    EXPECT_EQ(sidebar.deviceCard()->accessibleName(),
              QStringLiteral("Устройство: Нет устройства, Устройство не подключено. Открыть список устройств"));
    EXPECT_FALSE(sidebar.stateDot()->isPulsing());

    h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B"))},
                  QStringLiteral("R58M123"));
    settle();
    EXPECT_EQ(sidebar.deviceTitle(), QStringLiteral("SM G991B"));
    EXPECT_EQ(sidebar.deviceStateText(), QStringLiteral("Подключено"));
    EXPECT_EQ(sidebar.glyph()->state(), LinkState(LinkState::Case::connected));
    EXPECT_EQ(sidebar.glyph()->glyphSize(), 26);

    // A snapshot's marketing name wins over the listed model.
    DeviceSnapshot snapshot;
    snapshot.serial = QStringLiteral("R58M123");
    snapshot.manufacturer = QStringLiteral("samsung");
    snapshot.model = QStringLiteral("Galaxy S21");
    h->snapshot.set(snapshot);
    settle();
    EXPECT_EQ(sidebar.deviceTitle(), QStringLiteral("Samsung Galaxy S21"));
    EXPECT_TRUE(sidebar.deviceCard()->accessibleName().startsWith(QStringLiteral("Устройство: Samsung Galaxy S21, ")));
}

TEST(SidebarView, FooterTellsWhetherAdbIsThereAndWhichVersion)
{
    {
        ShellHarness h(false);
        SidebarView sidebar(h.model.get(), h.settings.get());
        EXPECT_EQ(sidebar.footerText(), QStringLiteral("ADB не найден"));
        EXPECT_EQ(sidebar.footerIcon(), QStringLiteral("exclamationmark.triangle.fill"));
    }
    ShellHarness h;
    SidebarView sidebar(h.model.get(), h.settings.get());
    EXPECT_EQ(sidebar.footerText(), QStringLiteral("ADB готов"));
    EXPECT_EQ(sidebar.footerIcon(), QStringLiteral("checkmark.seal.fill"));
    h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41 <beta>"));
    settle();
    EXPECT_EQ(sidebar.footerText(), QStringLiteral("ADB 1.0.41 <beta>"));
    // The tool's text is shown as it is, never read as markup.
    const QString tip = sidebar.findChild<QLabel *>()->parentWidget()->toolTip();
    EXPECT_TRUE(tip.contains(QStringLiteral("&lt;beta&gt;"))) << tip.toStdString();
}

TEST(SidebarView, CardOpensThePickerWhichClosesItself)
{
    ShellHarness h;
    SidebarView sidebar(h.model.get(), h.settings.get());
    sidebar.show();
    EXPECT_FALSE(sidebar.showDevicePopover());
    sidebar.deviceCard()->click();
    ASSERT_TRUE(sidebar.showDevicePopover());
    QPointer<DevicePickerPopover> picker = sidebar.devicePopover();
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->mode(), DevicePickerPopover::Mode::list);
    // Anchored at the card, beside its trailing edge.
    const QRect card(sidebar.deviceCard()->mapToGlobal(QPoint(0, 0)), sidebar.deviceCard()->size());
    EXPECT_GE(picker->x(), card.right());
    EXPECT_EQ(picker->y(), card.top());
    // Escape closes it, as it closes any popup.
    QTest::keyClick(picker->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(sidebar.showDevicePopover());
    settle();
    EXPECT_TRUE(!picker || !picker->isVisible());

    // A new popover opens on the list again.
    sidebar.deviceCard()->click();
    ASSERT_TRUE(sidebar.showDevicePopover());
    EXPECT_EQ(sidebar.devicePopover()->mode(), DevicePickerPopover::Mode::list);
}

} // namespace
