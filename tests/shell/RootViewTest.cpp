#include "shell/DevicePickerPopover.h" // SidebarView.h needs the whole type
#include "shell/ConnectionGateView.h"
#include "shell/MainWindow.h"
#include "shell/MenuCommands.h"
#include "design/DeckSizeReader.h"
#include "design/Transition.h"
#include "shell/RootView.h"
#include "screens/settings/SettingsScreen.h"
#include "shell/SidebarView.h"

#include "ShellHarness.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

MainWindow *openWindow(ShellHarness &h)
{
    auto *window = new MainWindow(h.model.get(), h.settings.get(), {});
    window->show();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    return window;
}

// Replaced views are destroyed back in the event loop.
void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

bool showsGate(RootView *root) { return qobject_cast<ConnectionGateView *>(root->detailContent()) != nullptr; }

// The screen that comes in fades in over the dark canvas from the very first change, never over
// the platform's light window colour.
TEST(RootView, ScreenChangesNeverFlashALightBackgroundInTheDarkTheme)
{
    ShellHarness h;
    Theme::resetForTesting(); // as a new process starts: dark values, nothing applied yet
    A11y::setReduceMotion(false);
    std::unique_ptr<MainWindow> window(openWindow(h));
    RootView *root = window->root();
    h.model->route.set(AppRoute::settings);
    h.model->route.set(AppRoute::overview);
    ASSERT_TRUE(showsGate(root));
    QWidget *gate = root->detailContent();
    // Held half-way through the fade: the frame is taken at a known point however slowly the
    // machine runs the animation.
    QAbstractAnimation *in = Transition::animation(gate);
    ASSERT_TRUE(in);
    in->pause();
    in->setCurrentTime(in->duration() / 2);
    auto *fade = qobject_cast<QGraphicsOpacityEffect *>(gate->graphicsEffect());
    ASSERT_TRUE(fade);
    EXPECT_GT(fade->opacity(), 0.2);
    EXPECT_LT(fade->opacity(), 1.0);
    const QImage frame = window->grab().toImage();
    // The gate's empty left margin, half-way down.
    const QPoint margin = gate->mapTo(window.get(), QPoint(6, gate->height() / 2));
    EXPECT_LT(frame.pixelColor(margin).lightnessF(), 0.3) << frame.pixelColor(margin).name().toStdString();
    A11y::setReduceMotion(true);
}

TEST(RootView, RouteSwitchFollowsRouteUsabilityAndTheme)
{
    ShellHarness h;
    std::unique_ptr<MainWindow> window(openWindow(h));
    RootView *root = window->root();
    EXPECT_EQ(root->routeIdentity(), QStringLiteral("overview-false-d"));
    EXPECT_TRUE(showsGate(root));

    // Routes that need no device never show the gate.
    for (AppRoute route : {AppRoute::tools, AppRoute::logs, AppRoute::settings}) {
        h.model->route.set(route);
        EXPECT_FALSE(showsGate(root)) << rawValue(route).toStdString();
        EXPECT_FALSE(root->isGateShown());
    }
    EXPECT_TRUE(qobject_cast<SettingsScreen *>(root->detailContent()));

    h.model->route.set(AppRoute::console);
    EXPECT_TRUE(showsGate(root));
    QPointer<QWidget> gate = root->detailContent();
    h.connect();
    EXPECT_EQ(root->routeIdentity(), QStringLiteral("console-true-d"));
    EXPECT_TRUE(gate.isNull() || !gate->isVisible());
    flushDeletes();
    EXPECT_TRUE(gate.isNull()); // the old tree is gone, not hidden
    EXPECT_FALSE(showsGate(root));

    // Unrelated model changes keep the screen; the theme key rebuilds both columns.
    QPointer<QWidget> screen = root->detailContent();
    QPointer<QWidget> sidebar = root->sidebar();
    h.model->statusText.set(QStringLiteral("Что-то"));
    EXPECT_EQ(root->detailContent(), screen.data());
    h.settings->appearance.set(AppearanceMode::light);
    EXPECT_EQ(root->themeKey(), QStringLiteral("l"));
    EXPECT_EQ(root->routeIdentity(), QStringLiteral("console-true-l"));
    flushDeletes();
    EXPECT_TRUE(screen.isNull());
    EXPECT_TRUE(sidebar.isNull());
    EXPECT_TRUE(qobject_cast<SidebarView *>(root->sidebar()));

    // Losing the device puts the gate back.
    h.disconnect();
    EXPECT_TRUE(showsGate(root));
}

TEST(RootView, ScreenMayChangeTheThemeFromItsOwnControl)
{
    ShellHarness h;
    std::unique_ptr<MainWindow> window(openWindow(h));
    h.model->route.set(AppRoute::settings);
    QPointer<QWidget> screen = window->root()->detailContent();
    auto *toggle = new QPushButton(QStringLiteral("Светлая"), screen);
    QObject::connect(toggle, &QPushButton::clicked, [&] { h.settings->appearance.set(AppearanceMode::light); });
    toggle->show();
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(window->root()->routeIdentity(), QStringLiteral("settings-false-l"));
    EXPECT_NE(window->root()->detailContent(), screen.data());
    flushDeletes();
    EXPECT_TRUE(screen.isNull());
}

TEST(RootView, AnimatedRouteChangeSettlesOnTheNewScreen)
{
    ShellHarness h;
    A11y::setReduceMotion(false);
    std::unique_ptr<MainWindow> window(openWindow(h));
    h.model->route.set(AppRoute::tools);
    QWidget *tools = window->root()->detailContent();
    ASSERT_TRUE(tools);
    EXPECT_TRUE(tools->graphicsEffect()); // fading in
    ASSERT_TRUE(waitUntil([&] { return tools->graphicsEffect() == nullptr; }));
    EXPECT_EQ(tools->pos(), QPoint(0, 0));
    EXPECT_EQ(tools->size(), window->root()->detailReader()->size());
    // Only the new screen is left once the old one has faded.
    ASSERT_TRUE(waitUntil([&] { return tools->parentWidget()->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).isEmpty(); }));
}

TEST(RootView, StartRestoresLastRouteAndRouteChangesAreStored)
{
    ShellHarness h;
    h.settings->lastRoute.set(AppRoute::logs);
    std::unique_ptr<MainWindow> window(openWindow(h));
    EXPECT_EQ(h.model->route(), AppRoute::logs);
    EXPECT_EQ(window->root()->routeIdentity(), QStringLiteral("logs-false-d"));
    h.model->route.set(AppRoute::presets);
    EXPECT_EQ(h.settings->lastRoute(), AppRoute::presets);
    EXPECT_EQ(h.store.settings->value(QStringLiteral("deck.lastRoute")).toString(), QStringLiteral("presets"));
}

TEST(MenuCommands, RouteShortcutsAndDeviceItems)
{
    ShellHarness h;
    std::unique_ptr<MainWindow> window(openWindow(h));
    MenuCommands *menus = window->menus();

    const QList<AppRoute> digits{AppRoute::overview, AppRoute::applications, AppRoute::debloat,
                                 AppRoute::permissions, AppRoute::files,    AppRoute::presets,
                                 AppRoute::tools,    AppRoute::console,      AppRoute::logs};
    for (int i = 0; i < digits.size(); ++i) {
        QTest::keyClick(window.get(), Qt::Key(Qt::Key_1 + i), Qt::ControlModifier);
        EXPECT_EQ(h.model->route(), digits[i]) << i + 1;
        EXPECT_EQ(menus->routeAction(digits[i])->text(), title(digits[i]));
    }
    QTest::keyClick(window.get(), Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(h.model->route(), AppRoute::settings);
    EXPECT_EQ(menus->routeAction(AppRoute::settings)->text(), QStringLiteral("Настройки приложения"));

    // No device: only "Обновить всё" and the server restart are available.
    EXPECT_TRUE(menus->refreshAll()->isEnabled());
    EXPECT_TRUE(menus->restartServer()->isEnabled());
    for (QAction *a : {menus->refreshPackages(), menus->switchToWireless(), menus->reboot(), menus->rebootRecovery(),
                       menus->rebootBootloader()})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_NE(menus->refreshAll()->shortcut(), menus->refreshPackages()->shortcut());

    h.connect(QStringLiteral("unauthorized"));
    EXPECT_FALSE(menus->switchToWireless()->isEnabled());
    h.connect();
    for (QAction *a : {menus->refreshPackages(), menus->switchToWireless(), menus->reboot(), menus->rebootRecovery(),
                       menus->rebootBootloader()})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    // Busy: the Wi-Fi switch depends only on a ready device.
    h.model->isBusy.set(true);
    EXPECT_FALSE(menus->reboot()->isEnabled());
    EXPECT_FALSE(menus->refreshPackages()->isEnabled());
    EXPECT_TRUE(menus->switchToWireless()->isEnabled());
    h.model->isBusy.set(false);

    h.fake.clearCalls();
    menus->rebootRecovery()->trigger();
    EXPECT_TRUE(waitUntil([&] {
        return h.fake.calls().contains(QStringList{QStringLiteral("-s"), QStringLiteral("R58N12ABCDE"),
                                                   QStringLiteral("reboot"), QStringLiteral("recovery")});
    }));
}

TEST(MenuCommands, ControlRSearchesForDevicesWhileTheGateIsShown)
{
    ShellHarness h;
    std::unique_ptr<MainWindow> window(openWindow(h));
    const QStringList devices{QStringLiteral("devices"), QStringLiteral("-l")};
    ASSERT_TRUE(window->root()->isGateShown());

    h.fake.clearCalls();
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return h.fake.calls().contains(devices); }));
    ASSERT_TRUE(waitUntil([&] { return !h.model->isBusy(); }));

    // Away from the gate the same key refreshes everything.
    h.model->route.set(AppRoute::tools);
    ASSERT_FALSE(window->root()->isGateShown());
    h.fake.clearCalls();
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return h.fake.calls().contains(devices); }));
}

TEST(MenuCommands, ControlROnTheGateWithoutAdbLooksForItAgain)
{
    ShellHarness h(false);
    std::unique_ptr<MainWindow> window(openWindow(h));
    ASSERT_FALSE(h.model->service.has_value());
    h.model->showADBSetup.set(false);
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    // The empty search environment finds nothing: the setup state comes back at once.
    EXPECT_TRUE(h.model->showADBSetup());
    EXPECT_TRUE(h.fake.calls().isEmpty());
}

} // namespace
