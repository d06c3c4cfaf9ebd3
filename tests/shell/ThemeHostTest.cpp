#include "screenkit/DeckScreen.h"
#include "screens/files/FilesScreen.h"
#include "core/PlatformTexts.h"
#include "shell/ThemeHost.h"

#include "design/AuroraBackdrop.h"
#include "design/Ink.h"

#include "ShellHarness.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

TEST(ThemeHost, RebuildsItsContentOnlyWhenTheKeyChanges)
{
    ShellHarness h;
    int built = 0;
    ThemeHost host(h.settings.get(), [&] {
        ++built;
        return new QLabel(Theme::key());
    });
    EXPECT_EQ(host.builtKey(), QStringLiteral("d"));
    EXPECT_EQ(built, 1);

    QPointer<QWidget> first = host.content();
    h.settings->appearance.set(AppearanceMode::dark); // same key: same content
    h.model->statusText.set(QStringLiteral("x"));
    EXPECT_EQ(host.content(), first.data());

    h.settings->appearance.set(AppearanceMode::light);
    EXPECT_EQ(host.builtKey(), QStringLiteral("l"));
    EXPECT_EQ(built, 2);
    EXPECT_EQ(static_cast<QLabel *>(host.content())->text(), QStringLiteral("l"));

    // Increased contrast is part of the key; the mode "system" follows the desktop.
    A11y::setIncreaseContrast(true);
    EXPECT_EQ(ThemeHost::resolve(AppearanceMode::light), QStringLiteral("l-hc"));
    EXPECT_EQ(host.builtKey(), QStringLiteral("l-hc")); // followed the theme written elsewhere
    EXPECT_EQ(built, 3);
    A11y::setIncreaseContrast(false);
    const QString system = Theme::systemScheme() == ColorScheme::dark ? QStringLiteral("d") : QStringLiteral("l");
    EXPECT_EQ(ThemeHost::resolve(AppearanceMode::system), system);
}

// A tree replaced by a change of scheme waits for the event loop to be destroyed; it still
// observes the models its window owns, so it may not outlive the host that owns it.
TEST(ThemeHost, AReplacedTreeGoesWithTheHostEvenBeforeTheEventLoopDestroysIt)
{
    ShellHarness h;
    QPointer<QWidget> replaced;
    {
        ThemeHost host(h.settings.get(), [] { return new QLabel(Theme::key()); });
        replaced = host.content();
        h.settings->appearance.set(AppearanceMode::light);
        ASSERT_NE(host.content(), replaced.data());
        EXPECT_TRUE(replaced) << "destroyed back in the event loop, not under its own feet";
        EXPECT_EQ(replaced->parentWidget(), nullptr) << "off the screen at once";
    }
    EXPECT_FALSE(replaced);
}

// At start the theme's values are already dark; the palette of what Qt draws itself (the menu
// bar, menus) must follow all the same, not only after a first switch.
TEST(ThemeHost, TheFirstResolutionDressesQtsOwnWidgetsEvenWhenDark)
{
    ShellHarness h;
    Theme::resetForTesting();
    const QColor platformWindow = QApplication::palette().color(QPalette::Window);
    EXPECT_EQ(ThemeHost::resolve(AppearanceMode::dark), QStringLiteral("d"));
    EXPECT_TRUE(Theme::isApplied());
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Ink::canvas());
    EXPECT_NE(Ink::canvas(), platformWindow);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Файл"));
    EXPECT_EQ(window.menuBar()->palette().color(QPalette::Window), Ink::canvas());
    EXPECT_EQ(window.menuBar()->palette().color(QPalette::ButtonText), Ink::text());
}

TEST(DeckScreen, AuroraOnlyWithATintAndOnlyOverTheTop)
{
    DeckScreen plain(std::nullopt, new QLabel(QStringLiteral("Шапка")), new QWidget);
    EXPECT_EQ(plain.backdrop(), nullptr);

    DeckScreen tinted(Ink::accent(), new QLabel(QStringLiteral("Шапка")), new QWidget);
    tinted.resize(900, 700);
    tinted.show();
    ASSERT_TRUE(tinted.backdrop());
    EXPECT_EQ(tinted.backdrop()->geometry(), QRect(0, 0, 900, 360));
    EXPECT_EQ(tinted.header()->y(), 0);
    EXPECT_EQ(tinted.content()->y(), tinted.header()->height());
}

TEST(FilesScreen, SubtitleNamesTheSelectedDevice)
{
    ShellHarness h;
    FilesScreen screen(h.model.get());
    const QString lead = PlatformTexts::text(PlatformTexts::filesExchange);
    EXPECT_EQ(screen.shownSubtitle(), lead + QStringLiteral("Android"));
    h.connect();
    EXPECT_EQ(screen.shownSubtitle(), lead + QStringLiteral("Pixel 7"));
}

} // namespace
