#pragma once

#include <QMainWindow>

#include <functional>

class AppModel;
class AppSettings;
class MenuCommands;
class RootView;

// The main window: the root view with the menus. Each time it is shown it hands the custom
// adb path to the model; afterwards every change of the path is handed over.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> about;
        std::function<void()> console;
        std::function<void()> fileManager;
        std::function<void()> quit;       // none: every window closes
        std::function<void()> mainWindow; // the Window menu's item for this window
    };

    MainWindow(AppModel *model, AppSettings *settings, Hooks hooks, QWidget *parent = nullptr);

    RootView *root() const { return m_root; }
    MenuCommands *menus() const { return m_menus; }

    static constexpr QSize kMinimumSize{820, 540};
    static constexpr QSize kDefaultSize{1360, 880};

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppModel *m_model;
    AppSettings *m_settings;
    RootView *m_root;
    MenuCommands *m_menus;
};
