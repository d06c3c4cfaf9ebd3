// Renders the sidebar, the gate in every state, the picker's modes and the Settings screen in
// both schemes into PNG files under <build>/screenshots/shell for a person to look at.
#include "shell/ConnectionGateView.h"
#include "shell/DevicePickerPopover.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "screens/settings/SettingsScreen.h"
#include "shell/SidebarItem.h"
#include "shell/SidebarView.h"

#include "design/Accessibility.h"
#include "design/DeckSizeReader.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include "ShellHarness.h"
#include "UiTestSupport.h"
#include "../screens/ScreenTestSupport.h"

#include <QHBoxLayout>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Shows `content` at `size` and saves its picture; what a person would see wrong in it fails the test.
bool save(QWidget *content, const QSize &size, const QString &name)
{
    Canvas canvas(content);
    canvas.resize(size);
    canvas.show();
    settle();
    canvas.resize(size);
    settle();
    EXPECT_EQ(GeometryWalk::seenFaults(&canvas), QStringList()) << name.toStdString();
    return canvas.grab().save(shotDir(QStringLiteral("shell")) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Still pictures: animations jump to their end.
struct ThemeGuard {
    ThemeGuard() { A11y::setReduceMotion(true); }
    ~ThemeGuard()
    {
        Theme::apply(ColorScheme::dark, false);
        A11y::resetForTesting();
    }
};

QList<AndroidPackage> somePackages(int n)
{
    QList<AndroidPackage> list;
    for (int i = 0; i < n; ++i)
        list.append(AndroidPackage(QStringLiteral("com.example.p%1").arg(i), QString(), PackageKind::user));
    return list;
}

TEST(ShellScreenshots, Sidebar)
{
    ThemeGuard guard;
    for (const Scheme &s : kSchemes) {
        ShellHarness none;
        Theme::apply(s.scheme, false);
        EXPECT_TRUE(save(new SidebarView(none.model.get(), none.settings.get()), {236, 720},
                         QStringLiteral("sidebar-nodevice-%1").arg(QLatin1String(s.name))));

        ShellHarness h;
        Theme::apply(s.scheme, false);
        h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B"))},
                      QStringLiteral("R58M123"));
        h->packages.set(somePackages(214));
        h->debloatSelection.set({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        h->route.set(AppRoute::applications);
        h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
        auto *sidebar = new SidebarView(h.model.get(), h.settings.get());
        sidebar->item(AppRoute::logs)->setHovering(true);
        EXPECT_TRUE(save(sidebar, {236, 720}, QStringLiteral("sidebar-device-%1").arg(QLatin1String(s.name))));
    }
}

TEST(ShellScreenshots, GateInEveryState)
{
    ThemeGuard guard;
    using Case = LinkState::Case;
    for (const Scheme &s : kSchemes) {
        Theme::apply(s.scheme, false);
        for (Case kind : allLinkStateCases()) {
            ShellHarness h(kind != Case::adbMissing);
            Theme::apply(s.scheme, false);
            if (kind != Case::adbMissing)
                h->fastbootService = FastbootService(h.fake.fastbootPath());
            auto *gate = new ConnectionGateView(h.model.get(), h.settings.get());
            const LinkState state = kind == Case::working ? LinkState::working(QStringLiteral("Отключение пакетов"))
                                    : kind == Case::failed ? LinkState::failed(QStringLiteral("Не удалось запустить adb"))
                                                           : LinkState(kind);
            gate->setPreviewState(state);
            if (kind == Case::noDevice)
                gate->toggleDiagnostics();
            static const char *names[] = {"working", "failed", "adbMissing", "searching", "noDevice", "unauthorized",
                                          "offline", "recovery", "sideload", "fastboot", "connected"};
            const QString name = QStringLiteral("gate-%1-%2").arg(QLatin1String(names[int(kind)]), QLatin1String(s.name));
            EXPECT_TRUE(save(gate, {980, 860}, name));
        }
    }
}

TEST(ShellScreenshots, GateDiagnosticsTranscript)
{
    ThemeGuard guard;
    Theme::apply(ColorScheme::dark, false);
    ShellHarness h;
    h.fake.on({QStringLiteral("devices"), QStringLiteral("-l")},
              {.out = QStringLiteral("List of devices attached\nR58M123 unauthorized usb:1-1 transport_id:3\n\n")});
    h.fake.on({QStringLiteral("version")}, {.out = QStringLiteral("Android Debug Bridge version 1.0.41\nVersion 34.0.5\n")});
    h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("unauthorized"))}, QStringLiteral("R58M123"));
    auto *gate = new ConnectionGateView(h.model.get(), h.settings.get());
    gate->toggleDiagnostics();
    ASSERT_TRUE(waitUntil([&] { return !gate->isRunningDiagnostics(); }));
    EXPECT_TRUE(save(gate, {980, 1100}, QStringLiteral("gate-diagnostics-dark")));
}

TEST(ShellScreenshots, PickerModes)
{
    ThemeGuard guard;
    for (const Scheme &s : kSchemes) {
        ShellHarness h;
        Theme::apply(s.scheme, false);
        h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B")),
                       device(QStringLiteral("192.168.1.25:5555"), QStringLiteral("device"), QStringLiteral("Pixel_7")),
                       device(QStringLiteral("emulator-5554"), QStringLiteral("unauthorized"))},
                      QStringLiteral("R58M123"));
        h->fastbootDevices.set({FastbootDevice{QStringLiteral("0A1B2C3D"), QStringLiteral("fastbootd")}});
        h->wirelessAddress.set(QStringLiteral("192.168.1.40"));
        h->wirelessPairAddress.set(QStringLiteral("192.168.1.40:37011"));
        for (auto mode : {DevicePickerPopover::Mode::list, DevicePickerPopover::Mode::network,
                          DevicePickerPopover::Mode::pair}) {
            DevicePickerPopover picker(h.model.get());
            picker.setMode(mode);
            picker.show();
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(&picker), QStringList()) << s.name;
            EXPECT_TRUE(picker.grab().save(shotDir(QStringLiteral("shell")) + QStringLiteral("/picker-%1-%2.png")
                                                                 .arg(QLatin1String(mode == DevicePickerPopover::Mode::list      ? "list"
                                                                                     : mode == DevicePickerPopover::Mode::network ? "network"
                                                                                                                                   : "pair"),
                                                                      QLatin1String(s.name))));
        }
        ShellHarness empty;
        Theme::apply(s.scheme, false);
        DevicePickerPopover picker(empty.model.get());
        picker.show();
        settle();
        EXPECT_EQ(GeometryWalk::seenFaults(&picker), QStringList()) << s.name;
        EXPECT_TRUE(picker.grab().save(shotDir(QStringLiteral("shell")) + QStringLiteral("/picker-empty-%1.png").arg(QLatin1String(s.name))));
    }
}

TEST(ShellScreenshots, Settings)
{
    ThemeGuard guard;
    for (const Scheme &s : kSchemes) {
        Theme::apply(s.scheme, false);
        for (const auto &[width, name] : {std::pair{700, "compact"}, std::pair{1100, "wide"}}) {
            ShellHarness h;
            Theme::apply(s.scheme, false);
            h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
            h.settings->customADBPath.set(QStringLiteral("/opt/platform-tools/adb"));
            auto *reader = new DeckSizeReader(new SettingsScreen(h.model.get(), h.settings.get()));
            EXPECT_TRUE(save(reader, {width, 1900},
                             QStringLiteral("settings-%1-%2").arg(QLatin1String(name), QLatin1String(s.name))));
        }
    }
}

} // namespace

namespace {

// The whole main window, with the device picker drawn where it opens.
QImage windowPicture(MainWindow &window, DevicePickerPopover *picker = nullptr)
{
    QImage image = window.grab().toImage();
    if (picker) {
        QPainter p(&image);
        p.drawPixmap(window.mapFromGlobal(picker->pos()), picker->grab());
    }
    return image;
}

TEST(ShellScreenshots, MainWindowGateSettingsAndPickerInBothSizes)
{
    ThemeGuard guard;
    for (const Scheme &s : kSchemes) {
        for (const QSize size : {MainWindow::kMinimumSize, MainWindow::kDefaultSize}) {
            ShellHarness h;
            h.settings->appearance.set(s.scheme == ColorScheme::dark ? AppearanceMode::dark : AppearanceMode::light);
            MainWindow window(h.model.get(), h.settings.get(), {});
            window.resize(size);
            window.show();
            settle();
            ASSERT_EQ(window.size(), size);
            const QString suffix = QStringLiteral("%1x%2-%3").arg(size.width()).arg(size.height()).arg(QLatin1String(s.name));
            EXPECT_EQ(GeometryWalk::seenFaults(&window), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(windowPicture(window).save(shotDir(QStringLiteral("shell")) + QStringLiteral("/main-gate-") + suffix + QStringLiteral(".png")));

            h->route.set(AppRoute::settings);
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(&window), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(windowPicture(window).save(shotDir(QStringLiteral("shell")) + QStringLiteral("/main-settings-") + suffix + QStringLiteral(".png")));

            h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B")),
                           device(QStringLiteral("192.168.1.25:5555"), QStringLiteral("device"), QStringLiteral("Pixel_7"))},
                          QStringLiteral("R58M123"));
            auto *sidebar = static_cast<SidebarView *>(window.root()->sidebar());
            sidebar->openDevicePopover();
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(sidebar->devicePopover()), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(windowPicture(window, sidebar->devicePopover())
                            .save(shotDir(QStringLiteral("shell")) + QStringLiteral("/main-picker-") + suffix + QStringLiteral(".png")));
            sidebar->devicePopover()->close();
        }
    }
}

} // namespace
