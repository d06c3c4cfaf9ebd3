#include "core/PlatformTexts.h"
#include "shell/ConnectionGateView.h"
#include "shell/DevicePickerPopover.h"
#include "shell/KestrelApp.h"
#include "shell/LinkDiagram.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "shell/SidebarView.h"

#include "ShellHarness.h"
#include "TextWalk.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Every window of the shell in the states a person meets: no text names the Mac or macOS.
TEST(PlatformTexts, NoWindowNamesTheMacOnLinux)
{
#ifdef Q_OS_MACOS
    GTEST_SKIP() << "the Mac's own words belong there";
#endif
    const QRegularExpression mac(QStringLiteral("\\bMac\\b|macOS|homebrew|Finder"));
    QStringList seen;
    const auto walk = [&](QWidget *root, const char *where) {
        ASSERT_TRUE(root) << where;
        for (const QString &text : shownTexts(root)) {
            EXPECT_FALSE(mac.match(text).hasMatch()) << where << ": " << text.toStdString();
            seen << text;
        }
    };

    {
        ShellHarness h;
        KestrelApp app(h.model.get(), h.settings.get());
        app.showMainWindow();
        MainWindow *window = app.mainWindow();
        walk(window, "main window with the gate");
        h->route.set(AppRoute::settings);
        walk(window, "Settings");
        app.showAboutPanel();
        walk(app.aboutPanel(), "About");
        app.showConsoleWindow();
        walk(app.consoleWindow(), "console window");
        app.showFileManagerWindow();
        walk(app.fileManagerWindow(), "file-manager window");

        h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B")),
                       device(QStringLiteral("192.168.1.25:5555"))},
                      QStringLiteral("R58M123"));
        h->route.set(AppRoute::files);
        walk(window, "files route");
        auto *sidebar = static_cast<SidebarView *>(window->root()->sidebar());
        sidebar->openDevicePopover();
        for (auto mode : {DevicePickerPopover::Mode::list, DevicePickerPopover::Mode::network,
                          DevicePickerPopover::Mode::pair}) {
            sidebar->devicePopover()->setMode(mode);
            walk(sidebar->devicePopover(), "device picker");
        }
        sidebar->devicePopover()->close();
    }
    for (LinkState::Case kind : allLinkStateCases()) {
        ShellHarness h(kind != LinkState::Case::adbMissing);
        ConnectionGateView gate(h.model.get(), h.settings.get());
        gate.setPreviewState(kind == LinkState::Case::failed ? LinkState::failed(QStringLiteral("нет"))
                             : kind == LinkState::Case::working ? LinkState::working(QStringLiteral("Отключение"))
                                                                : LinkState(kind));
        gate.toggleDiagnostics();
        walk(&gate, "gate");
    }

    // The walk saw what it was meant to see.
    for (const QString &expected : {PlatformTexts::connectCableStep, PlatformTexts::sameNetworkStep,
                                    PlatformTexts::installToolsStep, PlatformTexts::systemAppearance,
                                    PlatformTexts::adbPathPlaceholder, PlatformTexts::systemRowTitle,
                                    PlatformTexts::diagramName, PlatformTexts::filesExchange,
                                    QStringLiteral("Mac ⇄ "), QStringLiteral("Mac"),
                                    QStringLiteral("Обновить всё"), QStringLiteral("Выход")})
        EXPECT_TRUE(seen.contains(PlatformTexts::text(expected)) || std::any_of(seen.begin(), seen.end(), [&](const QString &t) {
                        return t.startsWith(PlatformTexts::text(expected));
                    })) << expected.toStdString();
}

} // namespace
