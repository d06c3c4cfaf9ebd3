#include "AppTest.h"

#include "GeometryWalk.h"

#include "core/AppModel.h"
#include "design/SlimScrollBars.h"
#include "shell/MainWindow.h"
#include "shell/SidebarItem.h"
#include "shell/SidebarView.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// The simulated phone runs a folder listing's script slowly on a loaded machine.
constexpr int kSettleMs = 60000;

struct Scheme {
    const char *name;
    QString segment; // its title in Settings
    bool dark;
};

const Scheme kSchemes[] = {{"dark", QStringLiteral("Тёмная"), true}, {"light", QStringLiteral("Светлая"), false}};

QString sizeName(QSize size) { return QStringLiteral("%1x%2").arg(size.width()).arg(size.height()); }

// Every route at one window size, in both colour schemes: nothing a person would see as broken
// (a control outside the window or cut by its parent, two controls on top of each other, a
// divider that ends or starts its line), the active sidebar row in view, and one kind of scroll
// bar everywhere.
class GeometryRoad : public AppTest, public ::testing::WithParamInterface<QSize> {
protected:
    QSize windowSize() const override { return GetParam(); }

    SidebarView *sidebar() const { return mainWindow()->findChild<SidebarView *>(); }

    // The route as a user opens it from the "Вид" menu, where a short window's sidebar may not
    // show its row.
    void open(AppRoute route)
    {
        if (route == AppRoute::settings)
            chooseMenu(QStringLiteral("Вид"), QStringLiteral("Настройки приложения"));
        else
            chooseMenu(QStringLiteral("Вид"), title(route));
        ASSERT_TRUE(eventually([&] { return model->route() == route; }, 10000));
        settle(kSettleMs);
    }

    // The appearance as the user picks it: Settings, "Тема", one segment.
    void pickScheme(const Scheme &scheme)
    {
        open(AppRoute::settings);
        clickSegment(QStringLiteral("Тема оформления"), scheme.segment);
        ASSERT_TRUE(eventually([&] {
            return (mainWindow()->palette().color(QPalette::Window).lightnessF() < 0.5) == scheme.dark;
        }, 10000)) << "the window did not turn " << scheme.name;
        settle(kSettleMs);
    }

    // What is wrong in the window now, one line each.
    QStringList faults(AppRoute route) const
    {
        QStringList found = GeometryWalk::problems(mainWindow()) + GeometryWalk::strayDividers(mainWindow());
        // The active row: shown whole inside the sidebar's list (or the pinned block), not
        // under the footer and not scrolled away.
        SidebarItem *row = sidebar() ? sidebar()->item(route) : nullptr;
        if (!row || !row->isVisible()) {
            found << QStringLiteral("the sidebar shows no row for the route");
        } else {
            QWidget *top = row->window();
            const QRect inTop(row->mapTo(top, QPoint(0, 0)), row->size());
            QRect visible = inTop;
            for (QWidget *p = row->parentWidget(); p && p != top; p = p->parentWidget())
                visible &= QRect(p->mapTo(top, QPoint(0, 0)), p->size());
            if (visible != inTop || !reachable(row))
                found << QStringLiteral("the active sidebar row \"%1\" is hidden (%2 of its %3 px shown)")
                             .arg(row->text()).arg(visible.height()).arg(inTop.height());
        }
        // One kind of scroll bar: the design's slim one.
        for (QScrollBar *bar : mainWindow()->findChildren<QScrollBar *>()) {
            if (!bar->isVisible())
                continue;
            const int thickness = bar->orientation() == Qt::Vertical ? bar->width() : bar->height();
            if (thickness != SlimScrollBars::kWidth)
                found << QStringLiteral("a scroll bar of %1 is %2 px thick, not the slim %3 px")
                             .arg(GeometryWalk::describe(bar->parentWidget() ? bar->parentWidget()->parentWidget() : bar))
                             .arg(thickness)
                             .arg(SlimScrollBars::kWidth);
        }
        return found;
    }

    // A popup of the window: inside the window where it fits there, and on the window's screen.
    QStringList misplaced(const QWidget *popup, const QString &what) const
    {
        QStringList found;
        const QRect at = popup->frameGeometry();
        const QRect screen = mainWindow()->screen()->availableGeometry();
        const QRect window = mainWindow()->frameGeometry() & screen;
        if (!screen.contains(at))
            found << QStringLiteral("%1 at %2,%3 %4×%5 leaves the screen").arg(what).arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height());
        else if (at.width() <= window.width() && at.height() <= window.height() && !window.contains(at))
            found << QStringLiteral("%1 at %2,%3 %4×%5 passes the window's edge").arg(what).arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height());
        return found;
    }

    // The menus and popovers a user opens near the window's edges: the inspector's "…" at the
    // right, the device picker from the sidebar's card.
    QStringList popupFaults()
    {
        QStringList found;
        // A narrow window shows the inspector of the package picked on an earlier pass in place
        // of the list.
        if (findAll(QStringLiteral("inspectorMore")).isEmpty()) {
            QWidget *pane = find(QStringLiteral("packageListPane"));
            auto *list = pane ? firstShown<QAbstractItemView>(pane) : nullptr;
            if (!list || rowTexts(list).isEmpty())
                return {QStringLiteral("no package list to pick from")};
            clickRow(list, rowTexts(list).first());
        }
        QWidget *more = nullptr;
        if (!eventually([&] { return (more = findAll(QStringLiteral("inspectorMore")).value(0)) && reachable(more); }, 20000))
            return {QStringLiteral("the inspector's \"…\" is not shown")};
        click(more);
        QMenu *menu = nullptr;
        if (!eventually([&] { return (menu = shownMenu()) != nullptr; }, 10000))
            return {QStringLiteral("the inspector's \"…\" opens no menu")};
        found << misplaced(menu, QStringLiteral("the inspector's menu"));
        key(Qt::Key_Escape);
        EXPECT_TRUE(eventually([&] { return shownMenu() == nullptr; }, 10000));

        click(sidebar()->deviceCard());
        QWidget *picker = nullptr;
        if (!eventually([&] { return (picker = QApplication::activePopupWidget()) != nullptr; }, 10000))
            return found << QStringLiteral("the device card opens no picker");
        settle(kSettleMs);
        found << misplaced(picker, QStringLiteral("the device picker"));
        key(Qt::Key_Escape);
        EXPECT_TRUE(eventually([&] { return QApplication::activePopupWidget() == nullptr; }, 10000));
        return found;
    }

    void keepPicture(const QString &name) const
    {
        const QString folder = QStringLiteral(KESTREL_BUILD_DIR "/screenshots/road");
        QDir().mkpath(folder);
        mainWindow()->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    void walkEveryRoute(const char *state)
    {
        for (const Scheme &scheme : kSchemes) {
            pickScheme(scheme);
            if (HasFatalFailure())
                return;
            for (AppRoute route : allCases<AppRoute>()) {
                SCOPED_TRACE(rawValue(route).toStdString() + ", " + scheme.name);
                open(route);
                if (HasFatalFailure())
                    return;
                const QStringList found = faults(route);
                EXPECT_TRUE(found.isEmpty()) << rawValue(route).toStdString() << ", " << scheme.name << ", "
                                             << sizeName(GetParam()).toStdString() << ":\n  "
                                             << found.join(QStringLiteral("\n  ")).toStdString();
                keepPicture(QStringLiteral("%1-%2-%3-%4").arg(QLatin1String(state), rawValue(route),
                                                              QLatin1String(scheme.name), sizeName(GetParam())));
                if (route == AppRoute::applications && model->selectedDevice()) {
                    const QStringList popups = popupFaults();
                    EXPECT_TRUE(popups.isEmpty()) << sizeName(GetParam()).toStdString() << ":\n  "
                                                  << popups.join(QStringLiteral("\n  ")).toStdString();
                }
            }
        }
    }
};

TEST_P(GeometryRoad, EveryRouteInBothSchemesHasNothingOutOfPlace)
{
    walkEveryRoute("device");
}

// With no phone the routes that need one show the connection gate.
class GateGeometryRoad : public GeometryRoad {
protected:
    bool connectsPhone() const override { return false; }
};

TEST_P(GateGeometryRoad, EveryRouteWithoutAPhoneHasNothingOutOfPlace)
{
    ASSERT_TRUE(eventually([&] { return !model->isBusy() && !model->selectedDevice(); }));
    walkEveryRoute("no-device");
}

const QSize kSizes[] = {MainWindow::kMinimumSize, MainWindow::kDefaultSize};

std::string sizeLabel(const ::testing::TestParamInfo<QSize> &info) { return sizeName(info.param).toStdString(); }

INSTANTIATE_TEST_SUITE_P(Sizes, GeometryRoad, ::testing::ValuesIn(kSizes), sizeLabel);
INSTANTIATE_TEST_SUITE_P(Sizes, GateGeometryRoad, ::testing::ValuesIn(kSizes), sizeLabel);

} // namespace
