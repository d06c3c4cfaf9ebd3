#include "AppTest.h"

#include "FocusChain.h"
#include "GeometryWalk.h"

#include "core/AppModel.h"
#include "design/DeckButton.h"
#include "design/FocusRing.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>

namespace {

// The simulated phone runs a folder listing's script slowly on a loaded machine.
constexpr int kSettleMs = 60000;

// The road of someone who works the window with the keyboard: Tab reaches every control of
// every screen, in both schemes, and each one shows that it has the focus; the buttons of the
// preset cards (drawn by the cards, not widgets of their own) are reached and pressed like the
// others.
class KeyboardRoad : public AppTest {
protected:
    void pickScheme(const QString &segment, bool dark)
    {
        goTo(AppRoute::settings);
        clickSegment(QStringLiteral("Тема оформления"), segment);
        ASSERT_TRUE(eventually([&] {
            return (mainWindow()->palette().color(QPalette::Window).lightnessF() < 0.5) == dark;
        }, 10000));
        settle(kSettleMs);
    }

    // A window manager gives the focus back to the window under a closed sheet; the offscreen
    // platform has none, so the road does what it would.
    void backToTheWindow()
    {
        if (mainWindow()->isActiveWindow())
            return;
        mainWindow()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    }

    // What shows the focus of `w`: a text field's ring is drawn by the field around it, a text
    // view's by the well it stands in.
    static QWidget *shownPart(QWidget *w)
    {
        if (qobject_cast<QLineEdit *>(w) && w->parentWidget() && !w->parentWidget()->isWindow())
            return w->parentWidget();
        return FocusRing::shownBy(w);
    }

    // `w` as it looks now, once what it shows has come to rest (a ring eases in).
    QImage look(QWidget *w)
    {
        QImage last = w->grab().toImage();
        eventually([&] {
            const QImage now = w->grab().toImage();
            const bool still = now == last;
            last = now;
            return still;
        }, 2000);
        return last;
    }

    // `image` of `part` with the area of `inner` (a control inside it) blanked.
    static QImage without(QImage image, const QWidget *part, const QWidget *inner)
    {
        if (!inner || !part->isAncestorOf(inner))
            return image;
        QPainter p(&image);
        const qreal dpr = image.devicePixelRatio();
        const QPointF at = QPointF(inner->mapTo(part, QPoint(0, 0))) * dpr;
        p.fillRect(QRectF(at, QSizeF(inner->size()) * dpr), Qt::black);
        return image;
    }

    // Tabs once round the main window from where the focus is; each stop must look different
    // with the focus than without it. One line per fault.
    QStringList focusFaults() { return focusFaults(mainWindow(), nullptr); }
    // The same round in `window`; `visited` takes the stops in the order Tab reached them.
    QStringList focusFaults(QWidget *window, QList<QPointer<QWidget>> *visited)
    {
        QStringList found;
        QSet<QWidget *> seen;
        QPointer<QWidget> previous;
        QPointer<QWidget> previousPart;
        QImage previousFocused;
        for (int stop = 0; stop < 300; ++stop) {
            QWidget *before = QApplication::focusWidget();
            key(Qt::Key_Tab);
            QWidget *w = QApplication::focusWidget();
            if (w && w == before) {
                found << QStringLiteral("Tab does not leave %1").arg(GeometryWalk::describe(w));
                break;
            }
            // The next stop may lie inside the last one (a page and its buttons): its own ring
            // is no sign of the last one's focus.
            if (previous && previousPart
                && without(look(previousPart), previousPart, w) == without(previousFocused, previousPart, w))
                found << QStringLiteral("%1 shows no focus").arg(GeometryWalk::describe(previous));
            if (!w || seen.contains(w))
                break;
            if (w->window() != window) {
                found << QStringLiteral("Tab leaves the window for %1").arg(GeometryWalk::describe(w));
                break;
            }
            seen.insert(w);
            if (visited)
                visited->append(w);
            previous = w;
            previousPart = shownPart(w);
            previousFocused = look(previousPart);
        }
        return found;
    }

    // Tabs once round `window` from where the focus is, as quickly as the keys go: the stops in
    // the order Tab reached them.
    QList<QPointer<QWidget>> tabRound(QWidget *window)
    {
        QList<QPointer<QWidget>> ring;
        for (int stop = 0; stop < 300; ++stop) {
            key(Qt::Key_Tab);
            QWidget *w = QApplication::focusWidget();
            if (!w || w->window() != window || ring.contains(w))
                break;
            ring << w;
        }
        return ring;
    }

    // The faults of reading order in a round of Tab stops (begun where the window's reading
    // begins), one a line; a stop that went away on the way is one too.
    static QStringList orderFaults(const QList<QPointer<QWidget>> &round)
    {
        QList<QWidget *> stops;
        for (const QPointer<QWidget> &w : round) {
            if (!w)
                return {QStringLiteral("a stop went away while Tab went round")};
            stops << w;
        }
        return FocusChain::readingOrderFaults(FocusChain::fromTheFirst(stops));
    }

    // The tool window `objectName` opened from the "Окно" menu by its item `item`, once active.
    QWidget *openToolWindow(const QString &item, const QString &objectName)
    {
        chooseMenu(QStringLiteral("Окно"), item);
        QWidget *window = nullptr;
        EXPECT_TRUE(eventually([&] {
            window = QApplication::activeWindow();
            return window && window->objectName() == objectName;
        }, 10000)) << item.toStdString() << " does not open";
        settle(kSettleMs);
        return window && window->objectName() == objectName ? window : nullptr;
    }
};

TEST_F(KeyboardRoad, EveryControlOfEveryRouteShowsTheKeyboardFocusInBothSchemes)
{
    for (const auto &[segment, dark] : {std::pair{QStringLiteral("Тёмная"), true}, std::pair{QStringLiteral("Светлая"), false}}) {
        pickScheme(segment, dark);
        for (AppRoute route : allCases<AppRoute>()) {
            SCOPED_TRACE(rawValue(route).toStdString() + (dark ? ", dark" : ", light"));
            goTo(route);
            settle(kSettleMs);
            const QStringList found = focusFaults();
            EXPECT_TRUE(found.isEmpty()) << rawValue(route).toStdString() << (dark ? ", dark" : ", light") << ":\n  "
                                         << found.join(QStringLiteral("\n  ")).toStdString();
        }
    }
}

} // namespace

namespace {

// A preset saved from the Applications screen gets a card; Tab reaches its buttons one by one
// and Return presses the one reached: "Применить" opens the preview, the trash asks first, with
// its confirming button in the destructive style.
TEST_F(KeyboardRoad, PresetCardButtonsAreReachedWithTabAndPressedWithReturn)
{
    goTo(AppRoute::applications);
    QWidget *pane = find(QStringLiteral("packageListPane"));
    auto *list = pane ? firstShown<QAbstractItemView>(pane) : nullptr;
    ASSERT_TRUE(list);
    clickRow(list, rowTexts(list).first());
    goTo(AppRoute::presets);
    settle(kSettleMs);
    clickNamed(QStringLiteral("Сохранить выбранные"));
    // The form unrolls: its button takes the click once the form stands open.
    ASSERT_TRUE(eventually([&] {
        const QList<QWidget *> save = findAll(QStringLiteral("Сохранить в библиотеку"));
        return !save.isEmpty() && reachable(save.first());
    }, 10000));
    clickNamed(QStringLiteral("Сохранить в библиотеку"));
    QAbstractItemView *grid = nullptr;
    ASSERT_TRUE(eventually([&] {
        grid = qobject_cast<QAbstractItemView *>(findAll(QStringLiteral("presets-grid")).value(0));
        return grid && grid->model()->rowCount() == 1;
    }, 20000));
    settle(kSettleMs);

    for (int stop = 0; stop < 60 && QApplication::focusWidget() != grid; ++stop)
        key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), grid) << "Tab never reaches the cards";
    const QImage onApply = look(grid);
    key(Qt::Key_Return);
    ASSERT_TRUE(eventually([&] { return dialog() != nullptr; }, 20000)) << "\"Применить\" opened no preview";
    key(Qt::Key_Escape);
    ASSERT_TRUE(eventually([&] { return dialog() == nullptr; }, 10000)) << "Escape left the preview open";
    backToTheWindow();
    ASSERT_TRUE(eventually([&] { return QApplication::focusWidget() == grid; }, 10000))
        << "the focus went to " << (QApplication::focusWidget() ? GeometryWalk::describe(QApplication::focusWidget()).toStdString() : "nothing");

    // The ring goes from button to button within the card, then Tab leaves the grid.
    key(Qt::Key_Tab);
    const QImage onExport = look(grid);
    EXPECT_NE(onExport, onApply) << "the focus shows on no other button";
    key(Qt::Key_Tab);
    EXPECT_NE(look(grid), onExport);
    ASSERT_EQ(QApplication::focusWidget(), grid);
    key(Qt::Key_Return);
    QWidget *asking = nullptr;
    ASSERT_TRUE(eventually([&] { return (asking = dialog()) != nullptr; }, 10000)) << "the trash asked nothing";
    auto *confirm = qobject_cast<DeckButton *>(find(QStringLiteral("Переместить в Корзину"), asking));
    ASSERT_TRUE(confirm);
    EXPECT_EQ(confirm->buttonStyle().role, DeckButtonRole::destructive);
    answer(QStringLiteral("Отмена"));
    ASSERT_TRUE(eventually([&] { return dialog() == nullptr; }, 10000));
    backToTheWindow();
    EXPECT_EQ(grid->model()->rowCount(), 1) << "cancelling kept the preset";
    key(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), grid) << "Tab leaves the grid after the last button";
}

} // namespace

namespace {

// Tab goes through every route, and through the console and file-manager windows, in the order
// a reader meets their controls, in both schemes (a change of scheme builds every screen and
// window again); the console's library of commands is among the stops, in the route and in the
// console window.
TEST_F(KeyboardRoad, TabFollowsTheReadingOrderOfEveryRouteAndToolWindowInBothSchemes)
{
    for (const auto &[segment, dark] : {std::pair{QStringLiteral("Тёмная"), true}, std::pair{QStringLiteral("Светлая"), false}}) {
        backToTheWindow();
        pickScheme(segment, dark);
        const std::string scheme = dark ? "dark" : "light";
        for (AppRoute route : allCases<AppRoute>()) {
            goTo(route);
            settle(kSettleMs);
            const QList<QPointer<QWidget>> round = tabRound(mainWindow());
            EXPECT_EQ(orderFaults(round).join(QStringLiteral("\n  ")), QString())
                << rawValue(route).toStdString() << ", " << scheme;
            if (route == AppRoute::console)
                EXPECT_TRUE(round.contains(find(QStringLiteral("console-library-list"), mainWindow())))
                    << "Tab never reaches the library, " << scheme;
        }
        for (const auto &[item, name] : {std::pair{QStringLiteral("ADB-консоль"), QStringLiteral("adb-console")},
                                         std::pair{QStringLiteral("Файловый менеджер"), QStringLiteral("file-manager")}}) {
            QWidget *window = openToolWindow(item, name);
            ASSERT_TRUE(window);
            const QList<QPointer<QWidget>> round = tabRound(window);
            EXPECT_EQ(orderFaults(round).join(QStringLiteral("\n  ")), QString()) << name.toStdString() << ", " << scheme;
            if (name == QStringLiteral("adb-console"))
                EXPECT_TRUE(round.contains(find(QStringLiteral("console-library-list"), window)))
                    << "Tab never reaches the console window's library, " << scheme;
        }
    }
}

// With no phone the gate shows; its diagnostics, opened, are rows made after the buttons below
// them and a transcript. Tab meets them in reading order, and each shows the focus, the
// transcript included.
class GateKeyboardRoad : public KeyboardRoad {
protected:
    bool connectsPhone() const override { return false; }
};

TEST_F(GateKeyboardRoad, TheDiagnosticsAreReadInOrderAndShowTheFocus)
{
    ASSERT_TRUE(eventually([&] { return lookup(QStringLiteral("Расширенная диагностика")) != nullptr; }));
    settle(kSettleMs);
    clickNamed(QStringLiteral("Расширенная диагностика"));
    ASSERT_TRUE(eventually([&] {
        auto *copy = lookup<QAbstractButton>(QStringLiteral("Скопировать"));
        return copy && copy->isEnabled();
    })) << "the diagnostics never ran";
    settle(kSettleMs);
    QList<QPointer<QWidget>> round;
    const QStringList focus = focusFaults(mainWindow(), &round);
    EXPECT_TRUE(focus.isEmpty()) << focus.join(QStringLiteral("\n  ")).toStdString();
    EXPECT_EQ(orderFaults(round).join(QStringLiteral("\n  ")), QString());
    const auto transcript = std::find_if(round.begin(), round.end(), [](const QPointer<QWidget> &w) {
        return w && qobject_cast<QPlainTextEdit *>(w.data());
    });
    EXPECT_NE(transcript, round.end()) << "Tab never reaches the transcript";
}

} // namespace
