#include "AppTest.h"

#include "design/DeckSearchField.h"
#include "design/DeckText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>

#include <functional>

namespace {

class ConsoleRoad : public AppTest {
protected:
    QStringList phoneOptions() const override { return {QStringLiteral("--packages"), QStringLiteral("20")}; }

    QWidget *console(QWidget *window) const { return find(QStringLiteral("console-view"), window); }
    QLineEdit *commandLine(QWidget *window) const { return find<QLineEdit>(QStringLiteral("Командная строка"), window); }
    QLineEdit *outputSearch(QWidget *window) const { return find<QLineEdit>(QStringLiteral("Поиск в выводе"), window); }
    QAbstractItemView *transcript(QWidget *window) const
    {
        return find<QAbstractItemView>(QStringLiteral("Вывод консоли"), window);
    }
    static bool shows(const QStringList &rows, const QString &text)
    {
        return std::any_of(rows.begin(), rows.end(), [&](const QString &row) { return row.trimmed() == text; });
    }

    // Types a command where the keyboard is and presses Return; the output shows and the
    // console is ready for the next one.
    void runTyped(QWidget *window, const QString &command, const QString &output)
    {
        const qsizetype before = phone->shellCommands().count(command);
        type(command);
        key(Qt::Key_Return);
        ASSERT_TRUE(eventually([&] {
            const auto *line = lookup<QLineEdit>(QStringLiteral("Командная строка"), window);
            return phone->shellCommands().count(command) == before + 1
                && shows(rowTexts(lookup<QAbstractItemView>(QStringLiteral("Вывод консоли"), window)), output) && line
                && line->isEnabled();
        })) << "\"" << command.toStdString() << "\" runs and shows \"" << output.toStdString() << "\"";
    }
};

// Commands typed one after another, with no click between them, all land in the command line
// and run, in the Console screen and in the console window; the window opens with the keyboard
// in its command line. The output search is cleared with its own ×, the command line with Escape.
TEST_F(ConsoleRoad, EachCommandTypedLandsInTheCommandLine)
{
    struct Place {
        const char *name;
        std::function<QWidget *()> open;
        QString first, firstOutput, second, secondOutput;
    };
    const QList<Place> places = {
        {"the Console screen",
         [&]() -> QWidget * {
             goTo(AppRoute::console);
             return mainWindow();
         },
         QStringLiteral("getprop ro.product.model"), QStringLiteral("Pixel 8"),
         QStringLiteral("getprop ro.build.version.release"), QStringLiteral("14")},
        {"the console window",
         [&]() -> QWidget * {
             chooseMenu(QStringLiteral("Окно"), QStringLiteral("ADB-консоль"));
             QWidget *window = nullptr;
             EXPECT_TRUE(eventually([&] {
                 window = QApplication::activeWindow();
                 return window && window != mainWindow() && window->objectName() == QStringLiteral("adb-console");
             }, 10000)) << "the console window opens";
             return window;
         },
         QStringLiteral("whoami"), QStringLiteral("shell"), QStringLiteral("getprop ro.product.model"),
         QStringLiteral("Pixel 8")},
    };
    for (const Place &place : places) {
        SCOPED_TRACE(place.name);
        QWidget *window = place.open();
        ASSERT_TRUE(window && console(window));
        QLineEdit *line = commandLine(window);
        ASSERT_TRUE(line);
        EXPECT_TRUE(eventually([&] { return QApplication::focusWidget() == line; }, 10000))
            << "the keyboard is in the command line, not in "
            << (QApplication::focusWidget() ? describeTree(QApplication::focusWidget()).toStdString() : "nothing");
        if (QApplication::focusWidget() != line)
            click(line); // as the user would, to go on

        runTyped(window, place.first, place.firstOutput);
        EXPECT_EQ(QApplication::focusWidget(), line) << "the focus stays in the command line";
        runTyped(window, place.second, place.secondOutput);
        EXPECT_EQ(QApplication::focusWidget(), line);
        EXPECT_EQ(outputSearch(window)->text(), QString()) << "nothing went into the output search";
        EXPECT_EQ(line->text(), QString());
        const QStringList rows = rowTexts(transcript(window));
        EXPECT_TRUE(shows(rows, place.firstOutput) && shows(rows, place.secondOutput));
    }

    // The output search of the console window, typed and cleared with its ×.
    QWidget *window = QApplication::activeWindow();
    QAbstractItemView *output = transcript(window);
    settle();
    const QStringList full = rowTexts(output);
    click(outputSearch(window));
    type(QStringLiteral("pixel"));
    ASSERT_TRUE(eventually([&] {
        const QStringList rows = rowTexts(output);
        return !rows.isEmpty() && rows.size() < full.size();
    })) << "the search keeps the matching lines";
    const QStringList matches = rowTexts(output);
    EXPECT_TRUE(std::all_of(matches.begin(), matches.end(),
                            [](const QString &row) { return row.contains(QStringLiteral("pixel"), Qt::CaseInsensitive); }));
    auto *count = find<DeckText>(QStringLiteral("console-match-count"), window);
    ASSERT_TRUE(count) << "the match count shows";
    EXPECT_NE(count->text(), QStringLiteral("0"));
    auto *search = qobject_cast<DeckSearchField *>(outputSearch(window)->parentWidget());
    ASSERT_TRUE(search);
    click(find(QStringLiteral("Очистить поиск"), search));
    ASSERT_TRUE(eventually([&] { return rowTexts(output) == full; })) << "the × brings every line back";
    settle();
    EXPECT_TRUE(findAll(QStringLiteral("console-match-count"), window).isEmpty()) << "no count without a search";

    // Escape clears the command line.
    QLineEdit *line = commandLine(window);
    click(line);
    type(QStringLiteral("df -h"));
    ASSERT_EQ(line->text(), QStringLiteral("df -h"));
    key(Qt::Key_Escape); // the suggestions first
    key(Qt::Key_Escape);
    EXPECT_TRUE(eventually([&] { return line->text().isEmpty(); }, 10000));
    EXPECT_EQ(rowTexts(output), full) << "Escape ran nothing";
}

} // namespace
