#include "shell/LinkDiagram.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"

#include "GeometryWalk.h"
#include "ShellHarness.h"
#include "../screens/ScreenTestSupport.h"

#include <QDir>
#include <QPainter>
#include <QVBoxLayout>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Renders the main window in each size, theme and device state into the build folder's
// "screenshots" for a look by eye; what a person would see wrong in one fails the test.
TEST(Screenshots, MainWindowInEachSizeThemeAndDeviceState)
{
    const QString folder = shotDir();
    const QList<QSize> sizes{{1360, 880}, {820, 540}};
    const struct { AppearanceMode mode; const char *name; } themes[] = {{AppearanceMode::dark, "dark"},
                                                                        {AppearanceMode::light, "light"}};
    const struct { const char *name; std::optional<QString> state; } states[] = {
        {"no-device", std::nullopt}, {"unauthorized", QStringLiteral("unauthorized")}, {"ready", QStringLiteral("device")}};

    for (const auto &state : states) {
        ShellHarness h;
        if (state.state)
            h.connect(*state.state);
        MainWindow window(h.model.get(), h.settings.get(), {});
        window.show();
        if (state.state == QStringLiteral("device")) {
            h.model->route.set(AppRoute::applications);
            h.model->toastLifetime = std::chrono::hours(1);
            h.model->toast(QStringLiteral("Пакеты отключены"), QStringLiteral("3 из 3"));
            h.model->runningOperation.set(
                RunningOperation{QStringLiteral("Отключение"), QStringLiteral("com.example.app"), 0.4, false});
        }
        for (const auto &theme : themes) {
            h.settings->appearance.set(theme.mode);
            for (const QSize &size : sizes) {
                window.resize(size);
                ASSERT_TRUE(waitUntil([&] { return window.size() == size; }));
                QCoreApplication::processEvents(); // the layout settles
                const QString file = QStringLiteral("%1/main-%2x%3-%4-%5.png")
                                         .arg(folder)
                                         .arg(size.width())
                                         .arg(size.height())
                                         .arg(QLatin1String(theme.name), QLatin1String(state.name));
                EXPECT_EQ(GeometryWalk::seenFaults(&window), QStringList()) << file.toStdString();
                EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
            }
        }
    }
}

// Every connection state's diagram, one under another, in both themes.
TEST(Screenshots, LinkDiagramInEachState)
{
    const QString folder = shotDir();
    A11y::setReduceMotion(false);
    for (ColorScheme scheme : {ColorScheme::dark, ColorScheme::light}) {
        Theme::apply(scheme, false);
        QWidget sheet;
        sheet.setAutoFillBackground(true);
        auto *column = new QVBoxLayout(&sheet);
        QList<LinkDiagram *> diagrams;
        for (LinkState::Case kind : allLinkStateCases()) {
            const LinkState state = kind == LinkState::Case::working ? LinkState::working(QStringLiteral("Работа"))
                                  : kind == LinkState::Case::failed  ? LinkState::failed(QStringLiteral("Ошибка"))
                                                                     : LinkState(kind);
            diagrams << new LinkDiagram(state);
            column->addWidget(diagrams.last());
        }
        sheet.show();
        // The dots part-way along the line (they started together).
        const auto travelling = std::find_if(diagrams.begin(), diagrams.end(),
                                             [](LinkDiagram *d) { return d->isTravelling(); });
        ASSERT_NE(travelling, diagrams.end());
        ASSERT_TRUE(waitUntil([&] { return (*travelling)->dotPosition() > 0.3 && (*travelling)->dotPosition() < 0.7; }));
        const QString file = folder + (scheme == ColorScheme::dark ? QStringLiteral("/link-diagram-dark.png")
                                                                   : QStringLiteral("/link-diagram-light.png"));
        EXPECT_EQ(GeometryWalk::seenFaults(&sheet), QStringList()) << file.toStdString();
        EXPECT_TRUE(sheet.grab().save(file));
    }
    A11y::resetForTesting();
    Theme::apply(ColorScheme::dark, false);
}

} // namespace
