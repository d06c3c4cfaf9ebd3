#include "ShellHarness.h"
#include "UiTestSupport.h"

#include "FakeDesktop.h"
#include "FocusChain.h"

#include "core/AppModel.h"
#include "core/AppRoute.h"
#include "shell/ConnectionGateView.h"
#include "shell/DevicePickerPopover.h"
#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "shell/SidebarView.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace {

// The shown sheet, if any.
QWidget *shownSheet()
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && qobject_cast<QDialog *>(top))
            return top;
    return nullptr;
}

std::string faultsOf(QWidget *window)
{
    return FocusChain::readingOrderFaults(FocusChain::stops(window)).join(QStringLiteral("\n  ")).toStdString();
}

// Every screen, window and sheet keeps Tab in the reading order, whatever was made when: rows
// made again after the buttons below them (the paths of Tools' ADB-server card and of Settings'
// "О программе", the rows of the gate's diagnostics), at both ends of the window's sizes, after
// a change of scheme (every screen built again, apart from its window) and in the windows and
// sheets made later.
TEST(TabOrderWalk, EveryScreenWindowAndSheetFollowsTheReadingOrder)
{
    ShellHarness h;
    FakeDesktop desktop;
    h.connect();
    KestrelApp app(h.model.get(), h.settings.get());
    MainWindow &window = *app.mainWindow();
    app.showMainWindow();
    for (const AppearanceMode scheme : {AppearanceMode::dark, AppearanceMode::light}) {
        h.settings->appearance.set(scheme);
        for (const QSize size : {QSize(1360, 880), QSize(820, 540)}) {
            window.resize(size);
            for (AppRoute route : allCases<AppRoute>()) {
                h->route.set(route);
                settle();
                EXPECT_EQ(faultsOf(&window), "") << rawValue(route).toStdString() << " at " << size.width() << ", "
                                                 << rawValue(scheme).toStdString();
            }
        }
    }

    // The bars laid over the lists once something is picked: one package (the inspector opens
    // beside the list) and two; the debloat plan.
    window.resize(1360, 880);
    QList<AndroidPackage> catalogue;
    for (int i = 0; i < 12; ++i)
        catalogue << AndroidPackage(QStringLiteral("com.example.a%1").arg(i), QString(), PackageKind::user);
    h->packages.set(catalogue);
    for (const QSet<QString> &picked : {QSet<QString>{QStringLiteral("com.example.a1")},
                                        QSet<QString>{QStringLiteral("com.example.a1"), QStringLiteral("com.example.a2")}}) {
        h->route.set(AppRoute::applications);
        h->selectedPackageIDs.set(picked);
        settle();
        EXPECT_EQ(faultsOf(&window), "") << "applications with " << picked.size() << " picked";
    }
    h->selectedPackageIDs.set({});
    h->route.set(AppRoute::debloat);
    settle();
    EXPECT_EQ(faultsOf(&window), "") << "debloat";

    // Sheets over the window.
    h->route.set(AppRoute::applications);
    const struct {
        const char *name;
        std::function<void()> open, close;
    } sheets[] = {
        {"debloat review", [&] { h->isDebloatReviewPresented.set(true); },
         [&] { h->isDebloatReviewPresented.set(false); }},
        {"permission manager",
         [&] { h->permissionPackage.set(AndroidPackage(QStringLiteral("com.example.a"), QString(), PackageKind::user)); },
         [&] { h->permissionPackage.set(std::nullopt); }},
        {"confirmation",
         [&] {
             h->selectedPackageIDs.set({QStringLiteral("com.example.a")});
             h->pendingAction.set(PackageAction::disable);
         },
         [&] { h->pendingAction.set(std::nullopt); }},
    };
    for (const auto &sheet : sheets) {
        sheet.open();
        settle();
        QWidget *shown = shownSheet();
        ASSERT_TRUE(shown) << sheet.name;
        EXPECT_EQ(faultsOf(shown), "") << sheet.name;
        sheet.close();
        settle();
    }

    // The device picker, a popup of its own, in each of its modes.
    h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B")),
                   device(QStringLiteral("192.168.1.25:5555"))},
                  QStringLiteral("R58M123"));
    settle();
    auto *sidebar = static_cast<SidebarView *>(window.root()->sidebar());
    sidebar->openDevicePopover();
    for (auto mode : {DevicePickerPopover::Mode::list, DevicePickerPopover::Mode::network,
                      DevicePickerPopover::Mode::pair}) {
        sidebar->devicePopover()->setMode(mode);
        settle();
        EXPECT_EQ(faultsOf(sidebar->devicePopover()), "") << "device picker, " << int(mode);
    }
    sidebar->devicePopover()->close();
    settle();

    // The windows of their own.
    app.showConsoleWindow();
    settle();
    EXPECT_EQ(faultsOf(app.consoleWindow()), "") << "console window";
    app.showFileManagerWindow();
    settle();
    EXPECT_EQ(faultsOf(app.fileManagerWindow()), "") << "file manager window";
    app.consoleWindow()->close();
    app.fileManagerWindow()->close();

    // The gate, with its diagnostics open: their rows are made after the buttons below them.
    h->route.set(AppRoute::overview);
    h.disconnect();
    settle();
    auto *gate = qobject_cast<ConnectionGateView *>(window.root()->detailContent());
    ASSERT_TRUE(gate);
    gate->diagnosticsHeader()->click();
    ASSERT_TRUE(waitUntil([&] { return !gate->diagnosticsText().isEmpty(); }));
    settle();
    EXPECT_EQ(faultsOf(&window), "") << "gate";
}

} // namespace
