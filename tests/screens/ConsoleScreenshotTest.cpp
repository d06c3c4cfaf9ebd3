// Renders the console screen in its main states, both schemes and two widths, into PNG files
// under <build>/screenshots/console for a person to look at, and pins the measures that matter.
#include "ConsoleHarness.h"
#include "ScreenTestSupport.h"

#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/Ink.h"
#include "design/Theme.h"
#include "design/Typo.h"
#include "screens/console/ConsoleLibraryPane.h"
#include "screens/console/ConsoleRowDelegate.h"

#include <QDir>
#include <QSplitter>
#include <gtest/gtest.h>

namespace {

struct Width {
    QSize size;
    const char *name;
};
const Width widths[] = {{{700, 560}, "compact"}, {{1280, 800}, "wide"}};

QDateTime at(int second) { return QDateTime(QDate(2026, 3, 4), QTime(14, 2, second)); }

QList<ConsoleEntry> sampleTranscript()
{
    using K = ConsoleEntryKind;
    return {
        ConsoleEntry(at(0), K::system, QStringLiteral("ADB-консоль готова. Команды выполняются на выбранном устройстве.")),
        ConsoleEntry(at(3), K::command, QStringLiteral("shell $ getprop ro.product.model")),
        ConsoleEntry(at(3), K::standardOutput, QStringLiteral("Pixel 7\n")),
        ConsoleEntry(at(3), K::system, QStringLiteral("[команда завершена]")),
        ConsoleEntry(at(9), K::command, QStringLiteral("shell $ ls -la /sdcard")),
        ConsoleEntry(at(9), K::standardOutput,
                     QStringLiteral("total 64\ndrwxrws--- 2 u0_a123 media_rw 4096 2026-03-01 10:12 Alarms\n"
                                    "drwxrws--- 5 u0_a123 media_rw 4096 2026-03-04 09:40 DCIM\n"
                                    "drwxrws--- 2 u0_a123 media_rw 4096 2026-02-27 18:03 Download\n")),
        ConsoleEntry(at(9), K::standardError, QStringLiteral("ls: /sdcard/Android/data: Permission denied\n")),
        ConsoleEntry(at(9), K::standardError, QStringLiteral("ls: /sdcard/.thumbnails: I/O error\n")),
        ConsoleEntry(at(10), K::system, QStringLiteral("[код завершения: 1]")),
        ConsoleEntry(at(21), K::command, QStringLiteral("shell $ logcat -d -t 100")),
        ConsoleEntry(at(21), K::standardOutput,
                     QStringLiteral("03-04 14:02:20.112  1432  1432 I ActivityManager: Start proc 8821:com.android.chrome/u0a142 "
                                    "for broadcast {com.android.chrome/org.chromium.chrome.browser.BootReceiver}\n"
                                    "03-04 14:02:20.318  8821  8821 E chromium: [ERROR:variations_seed_store.cc(241)] "
                                    "Seed verification failed\n")),
    };
}

// Still pictures: animations jump to their end, and the theme goes back afterwards.
struct ThemeGuard {
    ThemeGuard() { A11y::setReduceMotion(true); }
    ~ThemeGuard()
    {
        Theme::apply(ColorScheme::dark, false);
        A11y::resetForTesting();
    }
};

// Saves the window's picture; what a person would see wrong in it fails the test.
bool shoot(ConsoleScreenHarness &c, const QString &name)
{
    settle();
    EXPECT_EQ(GeometryWalk::seenFaults(c.window.get()), QStringList()) << name.toStdString();
    return c.window->grab().save(shotDir(QStringLiteral("console")) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

TEST(ConsoleScreenshots, MainStates)
{
    ThemeGuard guard;
    for (const Scheme &s : kSchemes)
        for (const Width &w : widths) {
            const QString suffix = QStringLiteral("-%1-%2").arg(QLatin1String(w.name), QLatin1String(s.name));
            {
                // A command running with its output streaming in.
                ConsoleScreenHarness c({100, 100});
                Theme::apply(s.scheme, false);
                c->consoleEntries.set(sampleTranscript());
                c->consoleIsRunning.set(true);
                c->consoleStatusText.set(QStringLiteral("Выполняется…"));
                c->showConsoleFavorites.set(false);
                c.open(w.size);
                c.view->state()->lastDuration.set(0.84);
                EXPECT_TRUE(shoot(c, QStringLiteral("running") + suffix));
            }
            {
                // A command line the model refuses (another device chosen by hand).
                ConsoleScreenHarness c({100, 100});
                Theme::apply(s.scheme, false);
                c->consoleEntries.set(sampleTranscript());
                c->showConsoleFavorites.set(false);
                c.open(w.size);
                c->consoleMode.set(ConsoleMode::adb);
                c->consoleInput.set(QStringLiteral("-s emulator-5554 shell ls"));
                c.view->state()->runCommand();
                c->consoleInput.set(QStringLiteral("-s emulator-5554 shell ls"));
                giveFocus(c.field());
                EXPECT_TRUE(shoot(c, QStringLiteral("refused") + suffix));
            }
            {
                // The command library open on the snippets, suggestions while typing.
                ConsoleScreenHarness c({100, 100});
                Theme::apply(s.scheme, false);
                c->consoleEntries.set(sampleTranscript().mid(0, 4));
                c.open(w.size);
                c.view->state()->libraryTab.set(ConsoleLibraryTab::snippets);
                giveFocus(c.field());
                c->consoleInput.set(QStringLiteral("dumpsys"));
                EXPECT_TRUE(shoot(c, QStringLiteral("library") + suffix));
            }
            {
                // Searching the output: matching rows only, matches marked, the count beside.
                ConsoleScreenHarness c({100, 100});
                Theme::apply(s.scheme, false);
                c->consoleEntries.set(sampleTranscript());
                c->consoleSearchText.set(QStringLiteral("error"));
                c->consoleStatusText.set(QStringLiteral("Завершено успешно"));
                c.open(w.size);
                EXPECT_TRUE(shoot(c, QStringLiteral("search") + suffix));
            }
        }
}

TEST(ConsoleScreenshots, MeasuresThatMatter)
{
    ConsoleScreenHarness c({1280, 800});
    c->consoleEntries.set(sampleTranscript());
    settle();
    // The library at its ideal width beside a terminal that takes the rest.
    EXPECT_EQ(c.view->library()->width(), c.view->library()->idealWidth());
    EXPECT_GE(c.view->library()->width(), ConsoleLibraryPane::kIdealWidth);
    EXPECT_LE(c.view->library()->width(), ConsoleLibraryPane::kMaximumWidth);
    // The tab control is never cut.
    const QWidget *tabs = c.view->library()->tabs();
    EXPECT_LE(tabs->mapTo(c.view->library(), QPoint(tabs->width(), 0)).x(), c.view->library()->width());
    EXPECT_EQ(c.view->searchField()->width(), 210);
    // Rows: the text column starts after the time and the bar; one line per row plus the gap.
    ConsoleTranscriptView *view = c.transcript();
    const QRect first = view->visualRect(view->model()->index(0, 0));
    EXPECT_EQ(first.height(), int(view->rowDelegate()->lineHeight() + ConsoleRowDelegate::kRowGap));
    // A line holds the text font's whole height, and no more than half as much again.
    const QFontMetricsF text(Typo::monoBody());
    EXPECT_GE(view->rowDelegate()->lineHeight(), text.height());
    EXPECT_LE(view->rowDelegate()->lineHeight(), 1.5 * Typo::pixelSize(Typo::monoBody()));
}

} // namespace
