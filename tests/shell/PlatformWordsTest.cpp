#include "shell/ConnectionGateView.h"
#include "shell/DevicePickerPopover.h"
#include "shell/KestrelApp.h"
#include "shell/LinkDiagram.h"
#include "shell/MainWindow.h"
#include "shell/PlatformWords.h"
#include "shell/RootView.h"
#include "shell/SidebarView.h"

#include "ShellHarness.h"
#include "TextWalk.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(PlatformWords, TheMacTableKeepsItsTextsAsWritten)
{
    const PlatformWords &mac = platformWords(HostSystem::macOS);
    EXPECT_EQ(mac.connectCableStep,
              QStringLiteral("Подключите Android к Mac кабелем, который передаёт данные, а не только питание."));
    EXPECT_EQ(mac.sameNetworkStep, QStringLiteral("Для сетевого подключения убедитесь, что Mac и Android в одной сети Wi-Fi."));
    EXPECT_EQ(mac.installToolsStep, QStringLiteral("Установите Android Platform Tools: brew install android-platform-tools"));
    EXPECT_EQ(mac.systemAppearance,
              QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам macOS."));
    EXPECT_EQ(mac.adbPathPlaceholder, QStringLiteral("/opt/homebrew/bin/adb"));
    EXPECT_EQ(mac.systemRowTitle, QStringLiteral("Минимальная macOS"));
    EXPECT_EQ(mac.systemRowValue, QStringLiteral("14.0"));
    EXPECT_EQ(mac.diagramName, QStringLiteral("Схема подключения Mac и Android: "));
    EXPECT_EQ(mac.filesExchange, QStringLiteral("Двусторонний обмен между Mac и "));
    EXPECT_EQ(mac.computerSymbol, QStringLiteral("apple.logo"));
}

TEST(PlatformWords, TheLinuxTableNamesThisComputerAndSystem)
{
    const PlatformWords &desktop = platformWords(HostSystem::linuxDesktop);
    EXPECT_EQ(desktop.connectCableStep,
              QStringLiteral("Подключите Android к компьютеру кабелем, который передаёт данные, а не только питание."));
    EXPECT_EQ(desktop.sameNetworkStep,
              QStringLiteral("Для сетевого подключения убедитесь, что компьютер и Android в одной сети Wi-Fi."));
    EXPECT_EQ(desktop.installToolsStep, QStringLiteral("Установите Android Platform Tools: sudo apt install adb"));
    EXPECT_EQ(desktop.systemAppearance,
              QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам системы."));
    EXPECT_EQ(desktop.adbPathPlaceholder, QStringLiteral("/usr/bin/adb"));
    EXPECT_EQ(desktop.systemRowTitle, QStringLiteral("Версия Qt"));
    EXPECT_EQ(desktop.systemRowValue, QStringLiteral(QT_VERSION_STR));
    EXPECT_EQ(desktop.diagramName, QStringLiteral("Схема подключения компьютера и Android: "));
    EXPECT_EQ(desktop.filesExchange, QStringLiteral("Двусторонний обмен между компьютером и "));
    EXPECT_NE(desktop.computerSymbol, QStringLiteral("apple.logo"));
#ifndef Q_OS_MACOS
    EXPECT_EQ(hostSystem(), HostSystem::linuxDesktop);
    EXPECT_EQ(&platformWords(), &desktop);
#endif
}

// Every window of the shell in the states a person meets: no text names the Mac or macOS.
TEST(PlatformWords, NoWindowNamesTheMacOnLinux)
{
#ifdef Q_OS_MACOS
    GTEST_SKIP() << "the Mac's own words belong there";
#endif
    const QRegularExpression mac(QStringLiteral("\\bMac\\b|macOS|homebrew"));
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
    for (const QString &expected : {platformWords().connectCableStep, platformWords().sameNetworkStep,
                                    platformWords().installToolsStep, platformWords().systemAppearance,
                                    platformWords().adbPathPlaceholder, platformWords().systemRowTitle,
                                    platformWords().diagramName, platformWords().filesExchange,
                                    QStringLiteral("Обновить всё"), QStringLiteral("Выход")})
        EXPECT_TRUE(seen.contains(expected) || std::any_of(seen.begin(), seen.end(), [&](const QString &t) {
                        return t.startsWith(expected);
                    })) << expected.toStdString();
}

} // namespace
