#include "MenuCommands.h"

#include "ConnectionGateView.h"
#include "RootView.h"
#include "screenkit/ViewUpdates.h"

#include "core/AppModel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

MenuCommands::MenuCommands(QMenuBar *bar, AppModel *model, RootView *root, Hooks hooks)
    : QObject(bar), m_model(model), m_root(root)
{
    QMenu *file = bar->addMenu(QStringLiteral("Файл"));
    QAction *quit = file->addAction(QStringLiteral("Выход"));
    m_quit = quit;
    // Ctrl+Q (⌘Q on the Mac) whatever key scheme the platform names for quitting.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, [hooks] {
        if (hooks.quit)
            hooks.quit();
    });

    QMenu *device = bar->addMenu(QStringLiteral("Устройство"));
    m_refreshAll = device->addAction(QStringLiteral("Обновить всё"));
    m_refreshAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(m_refreshAll, &QAction::triggered, this, &MenuCommands::triggerRefresh);
    m_refreshPackages = device->addAction(QStringLiteral("Обновить список приложений"));
    m_refreshPackages->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    connect(m_refreshPackages, &QAction::triggered, this, [model] { model->refreshPackages(true); });
    device->addSeparator();
    m_switchToWireless = device->addAction(QStringLiteral("Перевести в режим Wi-Fi"));
    connect(m_switchToWireless, &QAction::triggered, this, [model] { model->switchToWireless(); });
    m_restartServer = device->addAction(QStringLiteral("Перезапустить ADB-сервер"));
    connect(m_restartServer, &QAction::triggered, this, [model] { model->restartADBServer(); });
    device->addSeparator();
    m_reboot = device->addAction(QStringLiteral("Перезагрузить"));
    connect(m_reboot, &QAction::triggered, this, [model] { model->reboot(std::nullopt); });
    m_rebootRecovery = device->addAction(QStringLiteral("Перезагрузить в Recovery"));
    connect(m_rebootRecovery, &QAction::triggered, this, [model] { model->reboot(QStringLiteral("recovery")); });
    m_rebootBootloader = device->addAction(QStringLiteral("Перезагрузить в Bootloader"));
    connect(m_rebootBootloader, &QAction::triggered, this,
            [model] { model->reboot(QStringLiteral("bootloader")); });

    QMenu *view = bar->addMenu(QStringLiteral("Вид"));
    for (AppRoute route : allCases<AppRoute>()) {
        const std::optional<int> digit = shortcutIndex(route);
        if (!digit)
            continue;
        QAction *item = view->addAction(title(route));
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + *digit)));
        connect(item, &QAction::triggered, this, [model, route, hooks] {
            model->route.set(route);
            if (hooks.screensShowMainWindow && hooks.mainWindow)
                hooks.mainWindow();
        });
        m_routes.insert(route, item);
    }
    view->addSeparator();
    QAction *settings = view->addAction(QStringLiteral("Настройки приложения"));
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    settings->setMenuRole(QAction::NoRole);
    connect(settings, &QAction::triggered, this, [model, hooks] {
        model->route.set(AppRoute::settings);
        if (hooks.screensShowMainWindow && hooks.mainWindow)
            hooks.mainWindow();
    });
    m_routes.insert(AppRoute::settings, settings);

    QMenu *windows = bar->addMenu(QStringLiteral("Окно"));
    if (hooks.mainWindow) {
        m_mainWindow = windows->addAction(QStringLiteral("Larkspur"));
        connect(m_mainWindow, &QAction::triggered, this, [hooks] { hooks.mainWindow(); });
        windows->addSeparator();
    }
    m_console = windows->addAction(QStringLiteral("ADB-консоль"));
    connect(m_console, &QAction::triggered, this, [hooks] {
        if (hooks.console)
            hooks.console();
    });
    m_fileManager = windows->addAction(QStringLiteral("Файловый менеджер"));
    connect(m_fileManager, &QAction::triggered, this, [hooks] {
        if (hooks.fileManager)
            hooks.fileManager();
    });

    QMenu *help = bar->addMenu(QStringLiteral("Справка"));
    m_about = help->addAction(QStringLiteral("О приложении «Larkspur»"));
    m_about->setMenuRole(QAction::AboutRole);
    connect(m_about, &QAction::triggered, this, [hooks] {
        if (hooks.about)
            hooks.about();
    });

    ViewUpdates::observeEach(model, this, [this] { updateStates(); }, model->deviceReadinessInputs());
    updateStates();
}

void MenuCommands::updateStates()
{
    const bool canRun = m_model->canRunDeviceAction();
    m_refreshPackages->setEnabled(canRun);
    m_switchToWireless->setEnabled(m_model->isDeviceUsable());
    m_reboot->setEnabled(canRun);
    m_rebootRecovery->setEnabled(canRun);
    m_rebootBootloader->setEnabled(canRun);
}

void MenuCommands::triggerRefresh()
{
    if (m_root && m_root->isGateShown()) {
        ConnectionGateView::runPrimaryAction(m_model);
        return;
    }
    m_model->refreshAll();
}
