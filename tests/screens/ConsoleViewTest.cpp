#include "ConsoleHarness.h"

#include "../support/FakeDesktop.h"

#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/FocusRing.h"
#include "design/Motion.h"
#include "design/OperationBar.h"
#include "design/ScreenHeader.h"
#include "design/Tokens.h"
#include "design/Transition.h"
#include "screens/console/ConsoleLibraryModel.h"
#include "screens/console/ConsoleLibraryPane.h"
#include "screens/console/ConsoleSuggestionBar.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QList<ConsoleEntry> lines(int count, const QString &prefix = QStringLiteral("line"))
{
    QList<ConsoleEntry> list;
    for (int i = 0; i < count; ++i)
        list.append(ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput,
                                 QStringLiteral("%1 %2").arg(prefix).arg(i)));
    return list;
}

bool atBottom(ConsoleTranscriptView *view)
{
    const QModelIndex last = view->model()->index(view->model()->rowCount() - 1, 0);
    return view->verticalScrollBar()->value() == view->verticalScrollBar()->maximum()
        && view->visualRect(last).bottom() <= view->viewport()->height();
}

TEST(ConsoleView, FollowsTheNewestEntryAlsoAtTheCap)
{
    ConsoleScreenHarness c;
    c->consoleEntries.set(lines(3000));
    settle();
    c.transcript()->scrollToBottom();
    ASSERT_TRUE(atBottom(c.transcript()));

    // At the cap every entry pushes one out: the count stays 3000 while the taller new rows
    // (four lines each) arrive.
    for (int i = 0; i < 5; ++i)
        c->consoleEntries.append(ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput,
                                              QStringLiteral("a\nb\nc\nd %1").arg(i)),
                                 3000);
    ASSERT_EQ(c->consoleEntries.size(), 3000);
    EXPECT_TRUE(waitUntil([&] { return atBottom(c.transcript()); }));

    // While a search text is entered (spaces too), new output leaves the view where it is.
    c->consoleSearchText.set(QStringLiteral(" "));
    c.transcript()->verticalScrollBar()->setValue(100);
    c->consoleEntries.append(ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput,
                                          QStringLiteral("more\nmore")),
                             3000);
    settle();
    EXPECT_EQ(c.transcript()->verticalScrollBar()->value(), 100);
    // Clearing the search does not scroll either, until the next entry arrives.
    c->consoleSearchText.set(QString());
    settle();
    EXPECT_EQ(c.transcript()->verticalScrollBar()->value(), 100);
    c->consoleEntries.append(ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::system, QStringLiteral("end")), 3000);
    EXPECT_TRUE(waitUntil([&] { return atBottom(c.transcript()); }));
}

TEST(ConsoleView, ARefusedRunShowsNoDuration)
{
    struct Case {
        const char *name;
        ConsoleMode mode;
        QString input;
        bool withDevice;
        QString status;
    };
    const Case cases[] = {
        {"a device selector", ConsoleMode::adb, QStringLiteral("-s OTHER shell ls"), true, QStringLiteral("Ошибка команды")},
        {"a line that does not parse", ConsoleMode::adb, QStringLiteral("shell 'ls"), true, QStringLiteral("Ошибка команды")},
        {"no device", ConsoleMode::deviceShell, QStringLiteral("ls"), false, QStringLiteral("Устройство недоступно")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ConsoleScreenHarness s({1100, 720}, c.withDevice);
        s->consoleMode.set(c.mode);
        s->consoleInput.set(c.input);
        giveFocus(s.field());
        pressReturn(s.field());
        settle();
        EXPECT_EQ(s->consoleStatusText(), c.status);
        EXPECT_FALSE(s.view->durationLabel()->isVisible());
        EXPECT_EQ(s.view->state()->lastDuration(), std::nullopt);
        EXPECT_TRUE(s.h.fake.calls().isEmpty());
    }
}

TEST(ConsoleView, ARunShowsItsDurationAndARefusalClearsIt)
{
    ConsoleScreenHarness c;
    c.h.fake.on(c.shellCall(QStringLiteral("uptime")), {.out = QStringLiteral("up 3 days\n")});
    giveFocus(c.field());
    typeText(c.field(), QStringLiteral("uptime"));
    settle();
    QTest::mouseClick(c.view->runButton(), Qt::LeftButton);
    ASSERT_EQ(c->consoleHistory().size(), 1); // it ran
    ASSERT_TRUE(c.finished());
    settle();
    ASSERT_TRUE(c.view->durationLabel()->isVisible());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^· \\d+\\.\\d\\d с$")).match(c.view->durationLabel()->text()).hasMatch())
        << c.view->durationLabel()->text().toStdString();

    // A command that keeps running: the previous run's duration shows while it runs, and the
    // closed command line takes no second Return.
    c.h.fake.on(c.shellCall(QStringLiteral("top")), {.lines = {QStringLiteral("a")}, .holdMs = 30000});
    giveFocus(c.field());
    typeText(c.field(), QStringLiteral("top"));
    pressReturn(c.field());
    ASSERT_TRUE(c->consoleIsRunning());
    settle();
    EXPECT_TRUE(c.view->durationLabel()->isVisible());
    EXPECT_FALSE(c.field()->isEnabled());
    pressReturn(c.field());
    settle();
    EXPECT_EQ(c->consoleHistory().size(), 2);
    EXPECT_EQ(c->consoleStatusText(), QStringLiteral("Выполняется…"));
    EXPECT_TRUE(c.view->durationLabel()->isVisible());
    // Its end gives its own duration.
    QTest::mouseClick(c.view->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(c.finished());
    settle();
    EXPECT_TRUE(c.view->durationLabel()->isVisible());

    // Return on an empty line: the model ignores it, and the duration stays.
    const QString shown = c.view->durationLabel()->text();
    giveFocus(c.field());
    typeText(c.field(), QStringLiteral("   "));
    pressReturn(c.field());
    settle();
    EXPECT_EQ(c->consoleHistory().size(), 2);
    EXPECT_EQ(c.view->durationLabel()->text(), shown);
    EXPECT_TRUE(c.view->durationLabel()->isVisible());

    // A line the model refuses clears it.
    QTest::mouseClick(c.view->clearInputButton(), Qt::LeftButton);
    chooseSegment(c.view->modeControl(), QVariant(rawValue(ConsoleMode::adb)));
    ASSERT_EQ(c->consoleMode(), ConsoleMode::adb);
    giveFocus(c.field());
    typeText(c.field(), QStringLiteral("shell 'ls"));
    pressReturn(c.field());
    settle();
    EXPECT_EQ(c->consoleStatusText(), QStringLiteral("Ошибка команды"));
    EXPECT_FALSE(c.view->durationLabel()->isVisible());
}

TEST(ConsoleView, TheCommandLineRunsStepsAndCompletesWithItsKeys)
{
    ConsoleScreenHarness c;
    c.h.fake.setDefault({.out = QStringLiteral("ok\n")});
    ConsoleCommandField *field = c.field();
    giveFocus(field);
    typeText(field, QStringLiteral("ls -la /sdcard"));
    EXPECT_EQ(c->consoleInput(), QStringLiteral("ls -la /sdcard"));
    pressReturn(field);
    ASSERT_TRUE(c.finished());
    c->consoleMode.set(ConsoleMode::adb);
    c->consoleInput.set(QStringLiteral("devices -l"));
    settle();
    pressReturn(field);
    ASSERT_TRUE(c.finished());
    // Ctrl+Return belongs to the run button and works from the command line too.
    c->consoleInput.set(QStringLiteral("version"));
    settle();
    QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return c->consoleHistory().size() == 3; }));
    ASSERT_TRUE(c.finished());
    EXPECT_EQ(c.h.fake.calls(), (QList<QStringList>{c.shellCall(QStringLiteral("ls -la /sdcard")),
                                                     {QStringLiteral("-s"), kConsoleSerial, QStringLiteral("devices"),
                                                      QStringLiteral("-l")},
                                                     {QStringLiteral("-s"), kConsoleSerial, QStringLiteral("version")}}));
    settle();

    // Up and Down step through the history, in both modes, mode included.
    giveFocus(field);
    pressKey(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("version"));
    pressKey(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("devices -l"));
    pressKey(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("ls -la /sdcard"));
    EXPECT_EQ(c->consoleMode(), ConsoleMode::deviceShell);
    pressKey(field, Qt::Key_Down);
    pressKey(field, Qt::Key_Down);
    pressKey(field, Qt::Key_Down);
    EXPECT_EQ(field->text(), QString());
    EXPECT_EQ(c->consoleMode(), ConsoleMode::adb);

    // Tab takes the first suggestion; with none it moves the focus on as usual.
    c->consoleMode.set(ConsoleMode::deviceShell);
    typeText(field, QStringLiteral("LOG"));
    settle();
    EXPECT_TRUE(c.view->suggestionsBox()->isVisibleTo(c.view));
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(c->consoleInput(), QStringLiteral("logcat -d -t 100"));
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(c.view->state()->suggestionIndex(), 0);
    c->consoleInput.set(QStringLiteral("zzz"));
    settle();
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(c->consoleInput(), QStringLiteral("zzz"));

    // Escape hides the suggestions first, then clears the line.
    giveFocus(field);
    c->consoleInput.set(QStringLiteral("upt"));
    settle();
    ASSERT_TRUE(c.view->suggestionsBox()->isVisibleTo(c.view));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(c.view->suggestionsBox()->isVisibleTo(c.view));
    EXPECT_EQ(c->consoleInput(), QStringLiteral("upt"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(c->consoleInput(), QString());
}

TEST(ConsoleView, StopEndsARealStreamFromItsShortcut)
{
    ShellHarness h;
    ShellAdb adb;
    AppModel model(h.store.settings.get(), ADBService(adb.path), false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    model.devices.set({device(kConsoleSerial)});
    model.selectedDeviceID.set(kConsoleSerial);
    ConsoleView *view = new ConsoleView(&model, nullptr);
    DeckSizeReader window(view);
    window.resize(1100, 720);
    window.show();
    QApplication::setActiveWindow(&window);
    settle();

    model.consoleInput.set(QStringLiteral("i=0; while :; do i=$((i+1)); echo tick $i; sleep 0.05; done"));
    settle();
    view->runButton()->click();
    ASSERT_TRUE(model.consoleIsRunning());
    settle();
    EXPECT_TRUE(view->stopButton()->isVisible());
    EXPECT_FALSE(view->runButton()->isVisible());
    EXPECT_FALSE(view->commandField()->isEnabled());
    EXPECT_FALSE(view->modeControl()->isEnabled());
    EXPECT_TRUE(view->progress()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return view->transcript()->model()->rowCount() >= 4; }));

    QTest::keyClick(&window, Qt::Key_Period, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !model.consoleIsRunning(); }));
    settle();
    EXPECT_TRUE(model.consoleStatusText().contains(QStringLiteral("код"))) << model.consoleStatusText().toStdString();
    EXPECT_EQ(view->statusGlyph()->symbol(), QStringLiteral("exclamationmark.triangle.fill"));
    EXPECT_TRUE(view->runButton()->isVisible());
    EXPECT_TRUE(view->durationLabel()->isVisible());
    QStringList texts;
    for (const ConsoleEntry &e : model.consoleEntries())
        texts << e.text;
    EXPECT_TRUE(texts.contains(QStringLiteral("[отправлен сигнал остановки]")));
    EXPECT_TRUE(texts.contains(QStringLiteral("tick 1\n")));
}

// The command line has the keyboard when the console shows. A run disables it; the keyboard
// stays with the console (never passed on to the output search, where the next command would
// land) and is back in the command line when the run ends, unless the user put it elsewhere.
TEST(ConsoleView, TheKeyboardStaysWithTheCommandLineAcrossARun)
{
    ConsoleScreenHarness c;
    QLineEdit *search = c.view->searchField()->lineEdit();
    EXPECT_EQ(c.window->focusWidget(), c.field()) << "the console opens with the keyboard in its command line";

    const QStringList top = c.shellCall(QStringLiteral("top"));
    c.h.fake.on(top, {.lines = {QStringLiteral("load 1.0")}, .holdMs = 30000});
    giveFocus(c.field());
    typeText(c.field(), QStringLiteral("top"));
    pressReturn(c.field());
    ASSERT_TRUE(c->consoleIsRunning());
    const auto outputShown = [&] {
        return waitUntil([&] { return c->consoleEntries->last().text == QStringLiteral("load 1.0\n"); });
    };
    ASSERT_TRUE(outputShown());
    settle();
    EXPECT_FALSE(c.field()->isEnabled());
    EXPECT_FALSE(search->hasFocus());
    QTest::keyClicks(c.window->focusWidget(), QStringLiteral("ls")); // typed while it runs
    EXPECT_EQ(search->text(), QString());
    EXPECT_EQ(c->consoleSearchText(), QString());
    c->stopConsoleCommand();
    ASSERT_TRUE(c.finished());
    settle();
    EXPECT_TRUE(c.field()->hasFocus());
    EXPECT_EQ(c.window->focusWidget(), c.field());

    // The user clicks into the search while a command runs: the keyboard stays there.
    c->consoleInput.set(QStringLiteral("top"));
    settle();
    pressReturn(c.field());
    ASSERT_TRUE(c->consoleIsRunning());
    ASSERT_TRUE(outputShown());
    settle();
    giveFocus(search);
    c->stopConsoleCommand();
    ASSERT_TRUE(c.finished());
    settle();
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(c.h.fake.calls().count(top), 2);
}

TEST(ConsoleView, HeaderFollowsTheDeviceTheSearchAndTheTranscript)
{
    ConsoleScreenHarness c({1100, 720}, false);
    ScreenHeader *header = c.view->header();
    EXPECT_EQ(header->subtitleLabel()->text(), QStringLiteral("Устройство не выбрано — команды выполнить нельзя"));
    c.h.listDevices({device(kConsoleSerial, QStringLiteral("unauthorized"), QStringLiteral("Pixel_7"))}, kConsoleSerial);
    settle();
    EXPECT_EQ(header->subtitleLabel()->text(), QStringLiteral("Pixel 7 · R58N12ABCDE"));
    c->consoleInput.set(QStringLiteral("ls"));
    settle();
    EXPECT_FALSE(c.view->runButton()->isEnabled());

    // The match count shows while anything is typed, spaces too (then it counts nothing).
    EXPECT_FALSE(c.view->matchCountLabel()->isVisible());
    c->consoleEntries.set(lines(12, QStringLiteral("Error")));
    c->consoleSearchText.set(QStringLiteral("error 1"));
    settle();
    EXPECT_TRUE(c.view->matchCountLabel()->isVisible());
    EXPECT_EQ(c.view->matchCountLabel()->text(), QStringLiteral("3")); // 1, 10, 11
    EXPECT_EQ(c.transcript()->model()->rowCount(), 3);
    c->consoleSearchText.set(QStringLiteral("  "));
    settle();
    EXPECT_EQ(c.view->matchCountLabel()->text(), QStringLiteral("0"));
    EXPECT_EQ(c.transcript()->model()->rowCount(), 12);

    // Saving needs a transcript; a clear leaves its own line, so saving stays possible.
    c->consoleEntries.set({});
    settle();
    EXPECT_FALSE(c.view->saveButton()->isEnabled());
    c.view->clearButton()->click();
    settle();
    EXPECT_TRUE(c.view->saveButton()->isEnabled());
    EXPECT_EQ(c->consoleEntries().size(), 1);
}

TEST(ConsoleView, CompactWindowsHideTheLibrary)
{
    ConsoleScreenHarness c({680, 600});
    EXPECT_FALSE(c.view->library()->isVisible());
    EXPECT_TRUE(c.view->libraryButton()->buttonStyle().isActive);
    EXPECT_EQ(c.view->searchField()->lineEdit()->placeholderText(), QStringLiteral("Поиск"));
    c.window->resize(1100, 720);
    settle();
    EXPECT_TRUE(c.view->library()->isVisible());
    EXPECT_EQ(c.view->searchField()->lineEdit()->placeholderText(), QStringLiteral("Поиск в выводе"));
    EXPECT_GE(c.view->library()->width(), ConsoleLibraryPane::kMinimumWidth);
    EXPECT_LE(c.view->library()->width(), ConsoleLibraryPane::kMaximumWidth);
    EXPECT_GE(c.transcript()->width(), 360);
    c.view->libraryButton()->click();
    settle();
    EXPECT_FALSE(c->showConsoleFavorites());
    EXPECT_FALSE(c.view->library()->isVisible());
    EXPECT_FALSE(c.view->libraryButton()->buttonStyle().isActive);
}

TEST(ConsoleView, FavouriteAndClearButtonsFollowTheCommandLine)
{
    ConsoleScreenHarness c;
    struct Case {
        QString input;
        bool favourite, favouriteEnabled, clearEnabled;
    };
    const Case cases[] = {
        {QString(), false, false, false},
        {QStringLiteral(" \t"), false, false, true},
        {QStringLiteral("getprop ro.product.model"), true, true, true}, // a built-in favourite
        {QStringLiteral("  getprop ro.product.model\n"), true, true, true},
        {QStringLiteral("getprop"), false, true, true},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.input.toStdString());
        c->consoleInput.set(k.input);
        settle();
        EXPECT_EQ(c.view->currentInputIsFavorite(), k.favourite);
        EXPECT_EQ(c.view->favoriteButton()->symbol(), k.favourite ? QStringLiteral("star.fill") : QStringLiteral("star"));
        EXPECT_EQ(c.view->favoriteButton()->isEnabled(), k.favouriteEnabled);
        EXPECT_EQ(c.view->clearInputButton()->isEnabled(), k.clearEnabled);
    }
    c.view->favoriteButton()->click();
    EXPECT_EQ(c->consoleStatusText(), QStringLiteral("Добавлено в быстрые команды"));
    settle();
    EXPECT_EQ(c.view->favoriteButton()->accessibleName(), QStringLiteral("Убрать команду из избранного"));
    // A click on the clear button empties the line and leaves the typing there.
    QApplication::setActiveWindow(c.window.get());
    clickThroughWindow(c.field());
    ASSERT_TRUE(c.field()->hasFocus());
    clickThroughWindow(c.view->clearInputButton());
    EXPECT_EQ(c->consoleInput(), QString());
    EXPECT_EQ(c.field()->text(), QString());
    EXPECT_TRUE(c.field()->hasFocus());
}

TEST(ConsoleView, TheLibraryOnlyFillsTheCommandLine)
{
    ConsoleScreenHarness c;
    ConsoleLibraryPane *library = c.view->library();
    ConsoleLibraryModel *rows = library->rows();
    QAbstractItemModelTester tester(rows, QAbstractItemModelTester::FailureReportingMode::Fatal);

    // Favourites in stored order; a pick goes through the model and ends a step through history.
    ASSERT_EQ(rows->rowCount(), c->consoleFavorites().size());
    c->consoleHistoryIndex = 0;
    QApplication::setActiveWindow(c.window.get());
    library->list()->scrollTo(rows->index(5, 0));
    clickThroughWindow(library->list()->viewport(), library->list()->visualRect(rows->index(5, 0)).center());
    EXPECT_EQ(c->consoleInput(), QStringLiteral("devices -l"));
    EXPECT_EQ(c->consoleMode(), ConsoleMode::adb);
    EXPECT_EQ(c->consoleHistoryIndex, std::nullopt);
    EXPECT_TRUE(c.field()->hasFocus());
    library->removeFavorite(5);
    EXPECT_EQ(c->consoleFavorites().size(), 5);
    EXPECT_EQ(rows->rowCount(), 5);
    for (const ConsoleFavorite &f : QList<ConsoleFavorite>(c->consoleFavorites()))
        c->removeConsoleFavorite(f);
    settle();
    EXPECT_TRUE(library->hint()->isVisibleTo(library));
    EXPECT_EQ(library->hint()->text(), QStringLiteral("Добавьте команду в избранное звёздочкой рядом со строкой ввода."));

    // Snippets under their group headings; a pick sets mode and command, trailing space kept.
    chooseSegment(library->tabs(), QVariant(QStringLiteral("snippets")));
    EXPECT_EQ(c.view->state()->libraryTab(), ConsoleLibraryTab::snippets);
    EXPECT_FALSE(library->hint()->isVisibleTo(library));
    ASSERT_EQ(rows->rowCount(), 22 + 6);
    EXPECT_TRUE(rows->rowAt(0).heading);
    EXPECT_EQ(rows->rowAt(0).text, QStringLiteral("Устройство"));
    c->consoleMode.set(ConsoleMode::adb);
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->rowAt(row).text == QStringLiteral("pm path "))
            library->activate(row);
    EXPECT_EQ(c->consoleInput(), QStringLiteral("pm path "));
    EXPECT_EQ(c->consoleMode(), ConsoleMode::deviceShell);
    EXPECT_EQ(rows->index(1).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Модель, режим Shell устройства"));

    // History, newest first; empty says so.
    chooseSegment(library->tabs(), QVariant(QStringLiteral("history")));
    EXPECT_EQ(library->hint()->text(), QStringLiteral("История пуста. Выполненные команды появятся здесь."));
    QList<ConsoleCommandRecord> history;
    for (int i = 0; i < 200; ++i)
        history.append(ConsoleCommandRecord(i % 2 ? ConsoleMode::adb : ConsoleMode::deviceShell, QStringLiteral("echo %1").arg(i)));
    c->consoleHistory.set(history);
    ASSERT_EQ(rows->rowCount(), 200);
    EXPECT_EQ(rows->rowAt(0).text, QStringLiteral("echo 199"));
    library->activate(0);
    EXPECT_EQ(c->consoleMode(), ConsoleMode::adb);
    EXPECT_EQ(c->consoleInput(), QStringLiteral("echo 199"));

    // A pick from the screen never runs anything.
    settle();
    EXPECT_TRUE(c.h.fake.calls().isEmpty());
    EXPECT_FALSE(c->consoleIsRunning());
}

TEST(ConsoleView, SuggestionsShowWhileTypingAndAChipOnlyFillsTheLine)
{
    ConsoleScreenHarness c;
    QList<ConsoleCommandRecord> history;
    for (int i = 0; i < 12; ++i)
        history.append(ConsoleCommandRecord(ConsoleMode::deviceShell, QStringLiteral("dumpsys item%1").arg(i)));
    c->consoleHistory.set(history);
    c->consoleInput.set(QStringLiteral("dumpsys"));
    giveFocus(c.view->searchField()->lineEdit()); // the console opens with the focus in the command line
    settle();
    // No focus, no bar.
    EXPECT_FALSE(c.view->suggestionsBox()->isVisibleTo(c.view));
    giveFocus(c.field());
    settle();
    ASSERT_TRUE(c.view->suggestionsBox()->isVisibleTo(c.view));
    const QStringList chips = c.view->suggestionBar()->chips();
    ASSERT_EQ(chips.size(), ConsoleSuggestionBar::kMaximumChips);
    EXPECT_EQ(chips.first(), QStringLiteral("dumpsys battery"));

    const QRectF third = c.view->suggestionBar()->chipRects().at(2);
    QTest::mouseClick(c.view->suggestionBar(), Qt::LeftButton, {}, third.center().toPoint());
    EXPECT_EQ(c->consoleInput(), chips.at(2));
    EXPECT_EQ(c->consoleMode(), ConsoleMode::deviceShell);
    EXPECT_TRUE(c.field()->hasFocus());
    settle();
    EXPECT_FALSE(c.view->suggestionBar()->chips().contains(chips.at(2)));
    EXPECT_TRUE(c.h.fake.calls().isEmpty());
}

TEST(ConsoleView, SavesTheTranscriptUnderATimeStampedName)
{
    FakeDesktop desktop;
    QTemporaryDir dir;
    ConsoleScreenHarness c;
    const QDateTime at(QDate(2026, 3, 4), QTime(9, 5, 7));
    c->consoleEntries.set({ConsoleEntry(at, ConsoleEntryKind::system, QStringLiteral("one"))});

    c.view->saveButton()->click(); // cancelled: nothing happens
    ASSERT_EQ(desktop.requests.size(), 1);
    EXPECT_EQ(desktop.requests[0].title, QStringLiteral("Сохранить вывод консоли"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^adb-console-\\d{8}-\\d{6}\\.txt$"))
                    .match(desktop.requests[0].suggestedName)
                    .hasMatch())
        << desktop.requests[0].suggestedName.toStdString();
    const QString status = c->consoleStatusText();

    desktop.saveAnswer = dir.filePath(QStringLiteral("out.txt"));
    c.view->saveButton()->click();
    ASSERT_TRUE(waitUntil([&] { return c->consoleStatusText() != status; }));
    QFile file(*desktop.saveAnswer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[09:05:07] one")); // one entry: no line break at all
}

TEST(ConsoleView, StatusSymbolFollowsTheWordsOfTheStatusLine)
{
    struct Case {
        const char *status;
        const char *symbol;
        Tone tone;
    };
    const Case cases[] = {
        {"Готово", "circle", Tone::neutral},
        {"Завершено успешно", "checkmark.circle.fill", Tone::success},
        {"Завершено с кодом 3", "exclamationmark.triangle.fill", Tone::danger},
        {"Ошибка команды", "exclamationmark.triangle.fill", Tone::danger},
        {"успешно, код 0", "checkmark.circle.fill", Tone::success},
        {"Устройство недоступно", "circle", Tone::neutral},
        {"Журнал скопирован", "circle", Tone::neutral},
    };
    for (const Case &c : cases) {
        const auto [symbol, tone] = ConsoleView::statusSymbol(QString::fromUtf8(c.status));
        EXPECT_EQ(symbol, QString::fromUtf8(c.symbol)) << c.status;
        EXPECT_EQ(tone, c.tone) << c.status;
    }
}

TEST(ConsoleView, ScreenStateSurvivesARebuild)
{
    ConsoleScreenHarness c;
    c.h.fake.on(c.shellCall(QStringLiteral("uptime")), {.out = QStringLiteral("up\n")});
    c->consoleInput.set(QStringLiteral("uptime"));
    c.view->state()->runCommand();
    ASSERT_TRUE(c.finished());
    chooseSegment(c.view->library()->tabs(), QVariant(QStringLiteral("history")));
    ConsoleViewState *state = c.view->state();
    settle();
    ASSERT_TRUE(c.view->durationLabel()->isVisible());
    const QString duration = c.view->durationLabel()->text();

    c.open({1100, 720}); // the same memory, as after a theme switch
    EXPECT_EQ(c.view->state(), state);
    EXPECT_EQ(c.view->library()->rows()->tab(), ConsoleLibraryTab::history);
    EXPECT_TRUE(c.view->durationLabel()->isVisible());
    EXPECT_EQ(c.view->durationLabel()->text(), duration);
}

// The library pane slides in and out with Motion::smooth when the header's toggle changes it;
// under reduce motion it comes and goes at once.
TEST(ConsoleView, TheLibraryPaneSlidesWithTheToggle)
{
    ConsoleScreenHarness c({1100, 720});
    ConsoleLibraryPane *pane = c.view->library();
    ASSERT_TRUE(pane->isVisible());
    const int width = pane->width();
    const int minimum = pane->minimumWidth();
    A11y::setReduceMotion(false);
    c.view->libraryButton()->click();
    settle();
    QAbstractAnimation *out = Transition::animation(pane);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->duration(), Motion::smooth().durationMs());
    out->pause();
    out->setCurrentTime(out->duration() / 2);
    EXPECT_LT(pane->width(), width);
    EXPECT_LT(Transition::opacity(pane), 1);
    out->resume();
    ASSERT_TRUE(waitUntil([&] { return pane->isHidden(); }));
    EXPECT_GE(c.transcript()->width(), 360);

    c.view->libraryButton()->click();
    settle();
    QAbstractAnimation *in = Transition::animation(pane);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->duration(), Motion::smooth().durationMs());
    ASSERT_TRUE(waitUntil([&] { return !Transition::isRunning(pane); }));
    EXPECT_TRUE(pane->isVisible());
    EXPECT_GE(pane->width(), ConsoleLibraryPane::kMinimumWidth);
    EXPECT_LE(pane->width(), ConsoleLibraryPane::kMaximumWidth);
    EXPECT_EQ(pane->minimumWidth(), minimum); // its own minimum again once it has arrived

    A11y::setReduceMotion(true);
    c.view->libraryButton()->click();
    settle();
    EXPECT_TRUE(pane->isHidden());
    EXPECT_FALSE(Transition::isRunning(pane));
}

// The command bar wraps in a narrow window, its field filling its line; the status bar keeps
// the key hints at its right edge with Space::xs between wrapped lines.
TEST(ConsoleView, CommandAndStatusBarsFlow)
{
    ConsoleScreenHarness c({1100, 720});
    ConsoleView *v = c.view;
    QWidget *terminal = v->findChild<QWidget *>(QStringLiteral("console-terminal"));
    ASSERT_TRUE(terminal);
    const auto rightEdge = [&](QWidget *w) { return w->mapTo(terminal, QPoint(w->width(), 0)).x(); };
    // One line: prompt, the field up to the buttons, the run button at the right edge.
    EXPECT_EQ(rightEdge(v->runButton()), terminal->width() - int(Space::gutter));
    EXPECT_EQ(v->commandField()->geometry().right() + 1 + int(Space::s), v->favoriteButton()->x());
    EXPECT_EQ(v->prompt()->geometry().center().y(), v->commandField()->geometry().center().y());
    QWidget *hints = v->findChildren<KeyHint *>().last()->parentWidget();
    EXPECT_EQ(rightEdge(hints), terminal->width() - int(Space::gutter));
    auto *status = qobject_cast<FlowLayout *>(v->statusLabel()->parentWidget()->layout());
    ASSERT_TRUE(status);
    EXPECT_EQ(status->lineSpacing(), Space::xs);

    // Narrow: "Выполнить" goes to a second line, the field takes what the first one leaves.
    c.window->resize(730, 720);
    settle();
    ASSERT_TRUE(v->library()->isVisible());
    v->splitter()->setSizes({v->library()->maximumWidth(), 730 - v->library()->maximumWidth()});
    settle();
    ASSERT_LT(terminal->width(), 420);
    EXPECT_GE(v->runButton()->y(), v->commandField()->geometry().bottom() + int(Space::s));
    EXPECT_EQ(rightEdge(v->clearInputButton()), terminal->width() - int(Space::gutter));
    EXPECT_EQ(v->favoriteButton()->x() - int(Space::s), v->commandField()->geometry().right() + 1);
}

// The command line reads "пусто" while empty and its text otherwise.
TEST(ConsoleView, TheCommandLineReadsEmptyAsAWord)
{
    ConsoleScreenHarness c({1100, 720});
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(c.field());
    ASSERT_TRUE(field);
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Командная строка"));
    EXPECT_EQ(field->text(QAccessible::Value), QStringLiteral("пусто"));
    EXPECT_EQ(field->text(QAccessible::Description),
              QStringLiteral("Команда Android shell. Enter выполняет, стрелки вверх и вниз листают историю"));
    c->consoleInput.set(QStringLiteral("getprop ro.product.model"));
    settle();
    EXPECT_EQ(field->text(QAccessible::Value), QStringLiteral("getprop ro.product.model"));
}


// Tab reaches the library's commands: the current command is ringed, the arrows walk the
// commands (over the group headings), Return puts the one reached into the command line and
// gives the line the keyboard.
TEST(ConsoleView, TheLibraryIsReachedWithTabAndPickedWithReturn)
{
    ConsoleScreenHarness c;
    ConsoleLibraryPane *library = c.view->library();
    chooseSegment(library->tabs(), QVariant(QStringLiteral("snippets")));
    settle();
    QListView *list = library->list();
    ASSERT_TRUE(list->isVisible());
    c.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(c.window.get()));
    library->tabs()->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3 && QApplication::focusWidget() != list; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), list) << "Tab never reaches the library";
    ConsoleLibraryModel *rows = library->rows();
    ASSERT_TRUE(list->currentIndex().isValid());
    EXPECT_FALSE(rows->rowAt(list->currentIndex().row()).heading);
    FocusRing::setKeyboardInput(true);
    const QImage ringed = list->viewport()->grab().toImage();
    FocusRing::setKeyboardInput(false);
    EXPECT_NE(ringed, list->viewport()->grab().toImage()) << "the library shows no focus";

    // Down to the first command of the next group, past its heading.
    int next = list->currentIndex().row() + 1;
    while (next < rows->rowCount() && !rows->rowAt(next).heading)
        ++next;
    ASSERT_LT(next + 1, rows->rowCount());
    list->setCurrentIndex(rows->index(next - 1));
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), next + 1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(c->consoleInput(), rows->rowAt(next + 1).text);
    EXPECT_EQ(QApplication::focusWidget(), c.field());
}

} // namespace
