#include "KestrelApp.h"

#include "screens/packages/AppIconCache.h"

#include "BundleIcon.h"
#include "MainWindow.h"
#include "MenuCommands.h"
#include "RootView.h"
#include "RouteScreens.h"
#include "screenkit/ScreenMemory.h"
#include "ThemeHost.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "core/PreferenceBounds.h"
#include "design/DeckSizeReader.h"
#include "screens/console/ConsoleView.h"
#include "screens/files/FileManagerView.h"

#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>

#include <cmath>

KestrelApp::KestrelApp(AppModel *model, AppSettings *settings, QObject *parent)
    : QObject(parent), m_model(model), m_settings(settings)
{
    // The settings hold the choice; applying it is the widgets' business.
    settings->appearanceApplier = [](AppearanceMode mode) { ThemeHost::resolve(mode); };
    // Console copies go to the system clipboard.
    model->pasteboardWriter = [](const QString &text) { QApplication::clipboard()->setText(text); };
    // Icons drawn from metadata that a forced refresh replaced are decoded again.
    AppIconCache::shared().follow(model);
    if (const auto &icon = BundleIcon::image())
        QApplication::setWindowIcon(*icon);
    m_main = new MainWindow(model, settings,
                            {.about = [this] { showAboutPanel(); },
                             .console = [this] { showConsoleWindow(); },
                             .fileManager = [this] { showFileManagerWindow(); },
                             .quit = [this] { quit(); },
                             .mainWindow = [this] { showMainWindow(); }});
    m_main->setAttribute(Qt::WA_DeleteOnClose, false);
    m_main->installEventFilter(this);
}

KestrelApp::~KestrelApp()
{
    delete m_console;
    delete m_files;
    delete m_about;
    delete m_main;
}

quint64 KestrelApp::monitorIntervalNanoseconds(double seconds)
{
    return quint64(std::llround(PreferenceBounds::monitorInterval(seconds) * 1e9));
}

void KestrelApp::showMainWindow()
{
    m_main->show();
    m_main->raise();
    m_main->activateWindow();
}

QWidget *KestrelApp::makeToolWindow(const QString &id, const QString &title, QSize minimum, QSize initial,
                                    const std::function<QWidget *()> &content)
{
    auto *window = new QMainWindow;
    window->setObjectName(id);
    window->setWindowTitle(title);
    window->setMinimumSize(minimum);
    window->resize(initial);
    window->setCentralWidget(new ThemeHost(m_settings, [content] { return new DeckSizeReader(content()); }));
    // The same menus as the main window's: Quit, the device actions and a way back to it.
    new MenuCommands(window->menuBar(), m_model, m_main->root(),
                     {.about = [this] { showAboutPanel(); },
                      .console = [this] { showConsoleWindow(); },
                      .fileManager = [this] { showFileManagerWindow(); },
                      .quit = [this] { quit(); },
                      .mainWindow = [this] { showMainWindow(); },
                      .screensShowMainWindow = true});
    window->installEventFilter(this);
    return window;
}

MenuCommands *KestrelApp::toolMenus(QWidget *window) const
{
    auto *tool = qobject_cast<QMainWindow *>(window);
    return tool && tool != m_main ? tool->menuBar()->findChild<MenuCommands *>() : nullptr;
}

void KestrelApp::quit()
{
    for (QWidget *window : {m_about.data(), m_console.data(), m_files.data(), static_cast<QWidget *>(m_main)})
        if (window)
            window->close();
}

bool KestrelApp::eventFilter(QObject *watched, QEvent *event)
{
    // A minimised window is hidden by the window system (a spontaneous hide): it still counts.
    if (event->type() == QEvent::Hide && !event->spontaneous() && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow() && !m_closeCheckPending) {
        // Once for a burst of closes (Quit closes them all).
        m_closeCheckPending = true;
        QMetaObject::invokeMethod(this, &KestrelApp::windowClosed, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void KestrelApp::windowClosed()
{
    m_closeCheckPending = false;
    for (QWidget *window : {m_console.data(), m_files.data(), static_cast<QWidget *>(m_main)})
        if (window && window->isVisible())
            return;
    if (endProcess)
        endProcess();
}

void KestrelApp::showConsoleWindow()
{
    if (!m_console) {
        // The window's own memory: its console keeps its view values across theme rebuilds. The
        // console itself is the model's, shared with the main window's Console route.
        auto *memory = new ScreenMemory;
        m_console = makeToolWindow(QStringLiteral("adb-console"), QStringLiteral("ADB-консоль"), {620, 420},
                                   {1100, 720}, [this, memory] { return new ConsoleView(m_model, memory); });
        memory->setParent(m_console);
    }
    m_console->show();
    m_console->raise();
    m_console->activateWindow();
}

void KestrelApp::showFileManagerWindow()
{
    if (!m_files) {
        // The window owns its file manager; closing the window ends its work and drops it.
        auto *state = new FileManagerState;
        AppModel *model = m_model;
        m_files = makeToolWindow(QStringLiteral("file-manager"), QStringLiteral("Файловый менеджер"), {700, 460},
                                 {1280, 780}, [model, state] { return new FileManagerView(model, state, true); });
        state->setParent(m_files);
        m_files->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_files->show();
    m_files->raise();
    m_files->activateWindow();
}

void KestrelApp::showAboutPanel()
{
    if (!m_about) {
        auto *box = new QMessageBox(m_main);
        box->setWindowTitle(QStringLiteral("О приложении «Larkspur»"));
        box->setTextFormat(Qt::PlainText);
        box->setText(QStringLiteral("Larkspur"));
        box->setInformativeText(QStringLiteral("Версия %1 (%2)").arg(QStringLiteral(KESTREL_VERSION),
                                                                    QStringLiteral(KESTREL_BUILD_NUMBER)));
        if (const auto &icon = BundleIcon::image())
            box->setIconPixmap(icon->pixmap(64, 64));
        box->setStandardButtons(QMessageBox::Close);
        box->setModal(false);
        m_about = box;
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
