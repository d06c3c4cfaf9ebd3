#include "bridge/Resources.h"
#include "shell/BundleIcon.h"
#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/MenuCommands.h"
#include "shell/RootView.h"

#include "ShellHarness.h"

#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(KestrelApp, StoredPollingIntervalIsBoundedBeforeUse)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct { double seconds; quint64 ns; } cases[] = {
        {2.0, 2'000'000'000},  {3.5, 3'500'000'000}, {0.2, 1'000'000'000},  {0, 1'000'000'000},
        {-5, 1'000'000'000},   {50, 10'000'000'000}, {std::nan(""), 2'000'000'000},
        {inf, 2'000'000'000},  {-inf, 2'000'000'000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KestrelApp::monitorIntervalNanoseconds(c.seconds), c.ns) << c.seconds;
}

TEST(KestrelApp, WindowsClipboardAndAppearance)
{
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());

    h.model->pasteboardWriter(QStringLiteral("adb shell ls"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("adb shell ls"));

    h.settings->appearance.set(AppearanceMode::light);
    h.settings->applyAppearance();
    EXPECT_EQ(Theme::key(), QStringLiteral("l"));

    // Each single window is made once and raised afterwards.
    app.showConsoleWindow();
    QWidget *console = app.consoleWindow();
    ASSERT_TRUE(console);
    EXPECT_EQ(console->objectName(), QStringLiteral("adb-console"));
    EXPECT_EQ(console->windowTitle(), QStringLiteral("ADB-консоль"));
    EXPECT_EQ(console->minimumSize(), QSize(620, 420));
    console->close();
    app.showConsoleWindow();
    EXPECT_EQ(app.consoleWindow(), console);
    EXPECT_TRUE(console->isVisible());

    app.showFileManagerWindow();
    ASSERT_TRUE(app.fileManagerWindow());
    EXPECT_EQ(app.fileManagerWindow()->objectName(), QStringLiteral("file-manager"));
    EXPECT_EQ(app.fileManagerWindow()->windowTitle(), QStringLiteral("Файловый менеджер"));
    EXPECT_EQ(app.fileManagerWindow()->minimumSize(), QSize(700, 460));

    app.showAboutPanel();
    ASSERT_TRUE(app.aboutPanel());
    EXPECT_TRUE(app.aboutPanel()->isVisible());
    EXPECT_EQ(app.mainWindow()->minimumSize(), QSize(820, 540));
}

// The README calls the application what its windows and its About box call it.
TEST(KestrelApp, TheReadmeNamesTheApplicationAsItsWindowsDo)
{
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());
    app.showAboutPanel();
    auto *about = qobject_cast<QMessageBox *>(app.aboutPanel());
    ASSERT_TRUE(about);
    const QString name = app.mainWindow()->windowTitle();
    EXPECT_EQ(about->text(), name);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("О приложении «%1»").arg(name));

    QFile readme(QStringLiteral(KESTREL_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("# ") + name);
    EXPECT_TRUE(lines[2].startsWith(name + QLatin1Char(' '))) << lines[2].toStdString();
}

TEST(BundleIcon, BundledIconLoadsAndAMissingOneIsNoError)
{
    ASSERT_TRUE(BundleIcon::image().has_value());
    EXPECT_FALSE(BundleIcon::image()->pixmap(64, 64).isNull());
    EXPECT_EQ(&BundleIcon::image(), &BundleIcon::image()); // made once
    EXPECT_FALSE(BundleIcon::load(QStringLiteral("/nonexistent/AppIcon.svg")).has_value());
    QTemporaryDir dir;
    QFile junk(dir.filePath(QStringLiteral("AppIcon.svg")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an image");
    junk.close();
    EXPECT_FALSE(BundleIcon::load(junk.fileName()).has_value());
}

// A window made while a test's resources folder stood in (one holding no icon) looks the icon up
// there and finds none; the bundled icon is still found once the folder is the build's again.
TEST(BundleIcon, AFolderWithoutTheIconLeavesTheBundledOneToLaterLookups)
{
    {
        QTemporaryDir elsewhere;
        Resources::setRootForTesting(elsewhere.path());
        EXPECT_FALSE(BundleIcon::image().has_value());
        Resources::setRootForTesting(QString());
    }
    ASSERT_TRUE(BundleIcon::image().has_value());
    EXPECT_FALSE(BundleIcon::image()->pixmap(64, 64).isNull());
}

TEST(MainWindow, CustomAdbPathIsHandedOverOnShowAndOnChange)
{
    ShellHarness h;
    const QString logLine = QStringLiteral("Указанный путь к adb не является исполняемым файлом: ");
    const auto count = [&](const QString &path) {
        int n = 0;
        for (const QString &entry : h.model->logs())
            n += entry.endsWith(logLine + path);
        return n;
    };
    h.settings->customADBPath.set(QStringLiteral("/nonexistent/adb"));
    MainWindow window(h.model.get(), h.settings.get(), {});
    EXPECT_EQ(count(QStringLiteral("/nonexistent/adb")), 0); // nothing before it is shown
    window.show();
    EXPECT_EQ(count(QStringLiteral("/nonexistent/adb")), 1);

    h.settings->customADBPath.set(QStringLiteral("/elsewhere/adb"));
    EXPECT_EQ(count(QStringLiteral("/elsewhere/adb")), 1);
    // Another executable replaces the tool.
    FakeTool other;
    other.setDefault({});
    h.settings->customADBPath.set(other.adbPath());
    ASSERT_TRUE(h.model->service);
    EXPECT_EQ(h.model->service->executableURL, other.adbPath());
}

} // namespace

namespace {

QStringList menuTitles(QWidget *window)
{
    QStringList titles;
    if (auto *main = qobject_cast<QMainWindow *>(window))
        for (QAction *action : main->menuBar()->actions())
            titles << action->text();
    return titles;
}

void activate(QWidget *window)
{
    window->activateWindow(); // the window system's focus, as a click on it gives
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// Every window carries the menus; the console's Window menu brings a closed main window back;
// Ctrl+Q from any window closes them all; the last window closed ends the process.
TEST(KestrelApp, EveryWindowHasTheMenusAndTheLastClosedEndsTheProcess)
{
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());
    int ended = 0;
    app.endProcess = [&] { ++ended; };
    app.showMainWindow();
    app.showConsoleWindow();
    app.showFileManagerWindow();
    const QStringList menus{QStringLiteral("Файл"), QStringLiteral("Устройство"), QStringLiteral("Вид"),
                            QStringLiteral("Окно"), QStringLiteral("Справка")};
    for (QWidget *window : {static_cast<QWidget *>(app.mainWindow()), app.consoleWindow(), app.fileManagerWindow()})
        EXPECT_EQ(menuTitles(window), menus) << window->windowTitle().toStdString();
    MenuCommands *console = app.toolMenus(app.consoleWindow());
    ASSERT_TRUE(console);
    ASSERT_TRUE(console->mainWindow());
    EXPECT_EQ(console->mainWindow()->text(), QStringLiteral("Larkspur"));

    // Closing the main window leaves the others; the console brings it back.
    app.mainWindow()->close();
    EXPECT_FALSE(app.mainWindow()->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(ended, 0);
    console->mainWindow()->trigger();
    EXPECT_TRUE(app.mainWindow()->isVisible());

    // A screen chosen in the console's menu is shown in the main window, brought to the front.
    app.mainWindow()->close();
    console->routeAction(AppRoute::settings)->trigger();
    EXPECT_EQ(h->route(), AppRoute::settings);
    EXPECT_TRUE(app.mainWindow()->isVisible());

    // Closing windows one by one: the process ends with the last.
    app.fileManagerWindow()->close();
    app.mainWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(ended, 0);
    app.consoleWindow()->close();
    EXPECT_TRUE(waitUntil([&] { return ended == 1; }));
}

TEST(KestrelApp, CtrlQQuitsFromEveryWindow)
{
    for (int from = 0; from < 3; ++from) {
        SCOPED_TRACE(from);
        ShellHarness h;
        KestrelApp app(h.model.get(), h.settings.get());
        int ended = 0;
        app.endProcess = [&] { ++ended; };
        app.showMainWindow();
        app.showConsoleWindow();
        app.showFileManagerWindow();
        QWidget *windows[] = {app.mainWindow(), app.consoleWindow(), app.fileManagerWindow()};
        activate(windows[from]);
        QTest::keyClick(windows[from], Qt::Key_Q, Qt::ControlModifier);
        for (QWidget *window : windows)
            EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
        EXPECT_TRUE(waitUntil([&] { return ended == 1; }));
        QApplication::processEvents();
        EXPECT_EQ(ended, 1); // once, however many windows closed
    }
    // The About panel closes with the rest.
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());
    int ended = 0;
    app.endProcess = [&] { ++ended; };
    app.showMainWindow();
    app.showAboutPanel();
    app.mainWindow()->menus()->quit()->trigger();
    EXPECT_FALSE(app.aboutPanel()->isVisible());
    EXPECT_FALSE(app.mainWindow()->isVisible());
    EXPECT_TRUE(waitUntil([&] { return ended == 1; }));
}

} // namespace
