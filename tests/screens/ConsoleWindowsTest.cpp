#include "ConsoleHarness.h"
#include "WidgetTestSupport.h"

#include "design/DeckButton.h"
#include "design/DeckText.h"
#include "design/ScreenHeader.h"
#include "design/Symbols.h"
#include "screens/console/ConsoleCommandField.h"
#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "shell/ThemeHost.h"

#include <QImage>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

TEST(ConsoleWindows, TheRouteAndTheWindowShareOneConsole)
{
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());
    app.showMainWindow();
    h.connect();
    h->route.set(AppRoute::console);
    auto *routeView = qobject_cast<ConsoleView *>(app.mainWindow()->root()->detailContent());
    ASSERT_TRUE(routeView);

    app.showConsoleWindow();
    QWidget *window = app.consoleWindow();
    ASSERT_TRUE(window);
    QPointer<ConsoleView> windowView = window->findChild<ConsoleView *>();
    ASSERT_TRUE(windowView);
    ASSERT_NE(windowView.data(), routeView);
    EXPECT_FALSE(window->findChild<QWidget *>(QStringLiteral("placeholder-console")));
    // Each opens with the keyboard in its command line, not in the output search above it.
    EXPECT_EQ(window->focusWidget(), windowView->commandField());
    EXPECT_EQ(app.mainWindow()->focusWidget(), routeView->commandField());

    // A run started in the window runs once, and shows as running in both places.
    const QStringList call{QStringLiteral("-s"), QStringLiteral("R58N12ABCDE"), QStringLiteral("shell"), QStringLiteral("top")};
    h.fake.on(call, {.lines = {QStringLiteral("load 1.0")}, .holdMs = 30000});
    h->consoleInput.set(QStringLiteral("top"));
    settle();
    windowView->runButton()->click();
    ASSERT_TRUE(h->consoleIsRunning());
    settle();
    for (ConsoleView *view : {routeView, windowView.data()}) {
        EXPECT_TRUE(view->stopButton()->isVisibleTo(view));
        EXPECT_FALSE(view->runButton()->isVisibleTo(view));
        EXPECT_EQ(view->statusLabel()->text(), QStringLiteral("Выполняется…"));
    }
    ASSERT_TRUE(waitUntil([&] { return routeView->transcript()->model()->rowCount() == h->consoleEntries.size()
                                       && h->consoleEntries->last().text == QStringLiteral("load 1.0\n"); }));
    EXPECT_EQ(windowView->transcript()->model()->rowCount(), h->consoleEntries.size());

    // Stopped from the route; only the window that started the run measured it.
    routeView->stopButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !h->consoleIsRunning(); }));
    settle();
    EXPECT_TRUE(windowView->durationLabel()->isVisibleTo(windowView));
    EXPECT_FALSE(routeView->durationLabel()->isVisibleTo(routeView));
    EXPECT_EQ(h.fake.calls().count(call), 1);

    // A theme switch rebuilds the window's screen; its view values stay.
    ConsoleViewState *state = windowView->state();
    h.settings->appearance.set(AppearanceMode::light);
    h.settings->applyAppearance();
    settle();
    ConsoleView *rebuilt = window->findChild<ConsoleView *>();
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->state(), state);
    EXPECT_TRUE(state->lastDuration().has_value());
}

// The header's icon buttons (copy, save, clear, the library's toggle) draw their whole symbol,
// on the Console route and in the console window: the button's picture holds all the ink of
// the symbol's own (the library is closed, so the toggle draws no fill of its own).
TEST(ConsoleWindows, HeaderButtonsDrawTheirWholeSymbolsInBothPlaces)
{
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());
    app.showMainWindow();
    h.connect();
    h->showConsoleFavorites.set(false);
    h->route.set(AppRoute::console);
    app.showConsoleWindow();
    settle();
    const QList<std::pair<const char *, ConsoleView *>> places{
        {"route", qobject_cast<ConsoleView *>(app.mainWindow()->root()->detailContent())},
        {"window", app.consoleWindow()->findChild<ConsoleView *>()}};
    for (const auto &[place, view] : places) {
        ASSERT_TRUE(view) << place;
        QList<IconButton *> buttons;
        for (QWidget *control : view->header()->controls())
            if (auto *button = qobject_cast<IconButton *>(control))
                buttons << button;
        ASSERT_EQ(buttons.size(), 4) << place;
        for (IconButton *button : buttons) {
            const qreal dpr = button->devicePixelRatioF();
            QImage image(button->size() * dpr, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(dpr);
            image.fill(Qt::transparent);
            button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren); // the button alone, no backdrop
            const QPixmap symbol = Symbols::pixmap(button->symbol(), button->glyphSize(), button->glyphColor(), dpr);
            EXPECT_EQ(ink(image), ink(symbol.toImage())) << place << " " << button->symbol().toStdString();
        }
    }
}

} // namespace
