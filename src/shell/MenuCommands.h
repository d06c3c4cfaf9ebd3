#pragma once

#include "core/AppRoute.h"

#include <QHash>
#include <QObject>

#include <functional>

class AppModel;
class QAction;
class QMenuBar;
class RootView;

// The application's menus, on every window: "Файл" with Quit (Ctrl+Q), "Устройство" with the
// device-wide actions, "Вид" with the screens (Ctrl+1 … Ctrl+9, Ctrl+, for the settings), "Окно"
// with the main window and the two single windows, and "Справка" with the About item. Items
// follow the model's state; their work is the model's. On a window other than the main one a
// screen item also brings the main window to the front, where the screen is shown.
class MenuCommands : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> about;
        std::function<void()> console;
        std::function<void()> fileManager;
        std::function<void()> quit;
        std::function<void()> mainWindow; // brings the main window back (none: no such item)
        bool screensShowMainWindow = false;
    };

    MenuCommands(QMenuBar *bar, AppModel *model, RootView *root, Hooks hooks);

    QAction *refreshAll() const { return m_refreshAll; }
    QAction *refreshPackages() const { return m_refreshPackages; }
    QAction *switchToWireless() const { return m_switchToWireless; }
    QAction *restartServer() const { return m_restartServer; }
    QAction *reboot() const { return m_reboot; }
    QAction *rebootRecovery() const { return m_rebootRecovery; }
    QAction *rebootBootloader() const { return m_rebootBootloader; }
    QAction *routeAction(AppRoute route) const { return m_routes.value(route); }
    QAction *about() const { return m_about; }
    QAction *consoleWindow() const { return m_console; }
    QAction *fileManagerWindow() const { return m_fileManager; }
    QAction *mainWindow() const { return m_mainWindow; }
    QAction *quit() const { return m_quit; }

    // Enables the items from the model's current state.
    void updateStates();

private:
    // Ctrl+R: while the connection gate is shown it does what the gate's primary button does
    // (look for adb again, or search for devices); elsewhere it refreshes everything. One
    // action holds the shortcut, so the key never becomes ambiguous.
    void triggerRefresh();

    AppModel *m_model;
    RootView *m_root;
    QAction *m_refreshAll;
    QAction *m_refreshPackages;
    QAction *m_switchToWireless;
    QAction *m_restartServer;
    QAction *m_reboot;
    QAction *m_rebootRecovery;
    QAction *m_rebootBootloader;
    QHash<AppRoute, QAction *> m_routes;
    QAction *m_about;
    QAction *m_console;
    QAction *m_fileManager;
    QAction *m_mainWindow = nullptr;
    QAction *m_quit;
};
