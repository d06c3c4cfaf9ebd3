#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <QSize>

#include <functional>
#include <memory>

class AppModel;
class AppSettings;
class MainWindow;
class MenuCommands;
class QSettings;


// The application: one model and one settings object for the life of the process, the main
// window, and the console and file-manager windows, each made on first use and raised after.
// Every window carries the application's menus (its Window menu brings the main window back);
// Quit closes them all, and the process ends when the last of them is closed.
class KestrelApp : public QObject {
    Q_OBJECT
public:
    // Takes neither object; both outlive the application object.
    KestrelApp(AppModel *model, AppSettings *settings, QObject *parent = nullptr);
    ~KestrelApp() override;

    // The polling interval the settings ask for, bounded to 1–10 s; 2 s when not finite.
    static quint64 monitorIntervalNanoseconds(double seconds);

    MainWindow *mainWindow() const { return m_main; }
    QWidget *consoleWindow() const { return m_console; }
    QWidget *fileManagerWindow() const { return m_files; }

    void showMainWindow();
    void showConsoleWindow();
    void showFileManagerWindow();
    // The About panel: name, version, build and the icon, brought to the front.
    void showAboutPanel();
    QWidget *aboutPanel() const { return m_about; }
    // The menus of the console and file-manager windows (null before the window is made).
    MenuCommands *toolMenus(QWidget *window) const;

    // Closes every window; the process then ends with the last of them.
    void quit();
    // What ends the process once its last window is closed (tests replace it).
    std::function<void()> endProcess = [] { QCoreApplication::quit(); };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Ends the process when none of its windows is shown any more.
    void windowClosed();
    QWidget *makeToolWindow(const QString &id, const QString &title, QSize minimum, QSize initial,
                            const std::function<QWidget *()> &content);

    AppModel *m_model;
    AppSettings *m_settings;
    MainWindow *m_main;
    QPointer<QWidget> m_console;
    QPointer<QWidget> m_files;
    QPointer<QWidget> m_about;
    bool m_closeCheckPending = false;
};
