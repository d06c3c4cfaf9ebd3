#include "MainWindow.h"

#include "BundleIcon.h"
#include "MenuCommands.h"
#include "RootView.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"

#include <QApplication>
#include <QMenuBar>
#include <QShowEvent>

MainWindow::MainWindow(AppModel *model, AppSettings *settings, Hooks hooks, QWidget *parent)
    : QMainWindow(parent), m_model(model), m_settings(settings)
{
    setWindowTitle(QStringLiteral("Larkspur"));
    if (const auto &icon = BundleIcon::image())
        setWindowIcon(*icon);
    m_root = new RootView(model, settings, this);
    setCentralWidget(m_root);
    setMinimumSize(kMinimumSize);
    resize(kDefaultSize);
    m_menus = new MenuCommands(menuBar(), model, m_root,
                               {.about = hooks.about,
                                .console = hooks.console,
                                .fileManager = hooks.fileManager,
                                .quit = hooks.quit ? hooks.quit : std::function<void()>([] { QApplication::closeAllWindows(); }),
                                .mainWindow = hooks.mainWindow});
    settings->observe(settings->customADBPath, this, [this] { m_model->useCustomADB(m_settings->customADBPath()); });
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        m_model->useCustomADB(m_settings->customADBPath());
}
