#include "ModelHarness.h"

#include "core/ConsoleFavoritesStore.h"

#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("R5CT1");
const QString kReadyLine = QStringLiteral("ADB-консоль готова. Команды выполняются на выбранном устройстве.");

void selectReadyDevice(ModelHarness &h, const QString &state = QStringLiteral("device"))
{
    h->devices.set({AndroidDevice{kSerial, state, QStringLiteral("Pixel_7"), QStringLiteral("3")},
                    AndroidDevice{QStringLiteral("T900"), QStringLiteral("device"), {}, {}}});
    h->selectedDeviceID.set(kSerial);
}

QStringList adbArgs(const QStringList &tail)
{
    return QStringList{QStringLiteral("-s"), kSerial} + tail;
}

using Entry = QPair<ConsoleEntryKind, QString>;

QList<Entry> transcript(const AppModel &model)
{
    QList<Entry> out;
    for (const ConsoleEntry &e : model.consoleEntries())
        out.append({e.kind, e.text});
    return out;
}

bool finished(ModelHarness &h)
{
    return waitUntil([&] { return !h->consoleIsRunning(); });
}

void run(ModelHarness &h, ConsoleMode mode, const QString &input)
{
    h->consoleMode.set(mode);
    h->consoleInput.set(input);
    h->runConsoleCommand();
}

TEST(ConsoleWorkflow, StartsWithTheReadyLineAndTheBuiltInFavourites)
{
    ModelHarness h;
    EXPECT_EQ(transcript(*h), (QList<Entry>{{ConsoleEntryKind::system, kReadyLine}}));
    ASSERT_EQ(h->consoleFavorites().size(), 6);
    EXPECT_EQ(h->consoleFavorites().last().command, QStringLiteral("devices -l"));
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Готово"));
    EXPECT_EQ(h->consoleMode(), ConsoleMode::deviceShell);
    EXPECT_FALSE(h.settings.settings->contains(QLatin1String(kConsoleFavoritesKey)));
}

TEST(ConsoleWorkflow, DeviceShellCommandStreamsIntoTheTranscript)
{
    ModelHarness h;
    selectReadyDevice(h);
    h.fake.on(adbArgs({QStringLiteral("shell"), QStringLiteral("ls -la /sdcard")}),
              {.out = QStringLiteral("\x1b[01;34mDCIM\x1b[0m\n"), .err = QStringLiteral("\x1b[0m"), .exit = 0});
    run(h, ConsoleMode::deviceShell, QStringLiteral("  ls -la /sdcard \n"));

    EXPECT_TRUE(h->consoleIsRunning());
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Выполняется…"));
    EXPECT_EQ(h->consoleInput(), QString());
    ASSERT_TRUE(finished(h));

    EXPECT_EQ(h.fake.calls(), QList<QStringList>{adbArgs({QStringLiteral("shell"), QStringLiteral("ls -la /sdcard")})});
    // Colour codes are gone, and a chunk made only of them adds nothing.
    EXPECT_EQ(transcript(*h), (QList<Entry>{{ConsoleEntryKind::system, kReadyLine},
                                            {ConsoleEntryKind::command, QStringLiteral("shell $ ls -la /sdcard")},
                                            {ConsoleEntryKind::standardOutput, QStringLiteral("DCIM\n")},
                                            {ConsoleEntryKind::system, QStringLiteral("[команда завершена]")}}));
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Завершено успешно"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Консоль: Shell устройства, код 0")));
    ASSERT_EQ(h->consoleHistory().size(), 1);
    EXPECT_EQ(h->consoleHistory().first().command, QStringLiteral("ls -la /sdcard"));
}

TEST(ConsoleWorkflow, TranscriptKeepsTheNewest3000Entries)
{
    ModelHarness h;
    selectReadyDevice(h);
    QList<ConsoleEntry> full;
    for (int i = 0; i < 3000; ++i)
        full.append(ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput, QString::number(i)));
    h->consoleEntries.set(full);
    h.fake.setDefault({.out = QStringLiteral("tail\n")});
    run(h, ConsoleMode::deviceShell, QStringLiteral("echo tail"));
    ASSERT_TRUE(finished(h));
    // Echo, output and the end line pushed the three oldest out.
    ASSERT_EQ(h->consoleEntries().size(), 3000);
    EXPECT_EQ(h->consoleEntries().first().text, QStringLiteral("3"));
    EXPECT_EQ(h->consoleEntries().at(2997).text, QStringLiteral("shell $ echo tail"));
    EXPECT_EQ(h->consoleEntries().last().text, QStringLiteral("[команда завершена]"));
}

TEST(ConsoleWorkflow, AdbModeRunsTheParsedArgumentsOnTheSelectedDevice)
{
    ModelHarness h;
    selectReadyDevice(h);
    h.fake.on(adbArgs({QStringLiteral("devices"), QStringLiteral("-l")}),
              {.out = QStringLiteral("Список\n"), .err = QStringLiteral("сбой\n"), .exit = 3});
    run(h, ConsoleMode::adb, QStringLiteral("adb devices -l"));
    ASSERT_TRUE(finished(h));

    EXPECT_EQ(h.fake.calls(), QList<QStringList>{adbArgs({QStringLiteral("devices"), QStringLiteral("-l")})});
    EXPECT_EQ(transcript(*h).mid(1), (QList<Entry>{{ConsoleEntryKind::command, QStringLiteral("adb > adb devices -l")},
                                                   {ConsoleEntryKind::standardOutput, QStringLiteral("Список\n")},
                                                   {ConsoleEntryKind::standardError, QStringLiteral("сбой\n")},
                                                   {ConsoleEntryKind::system, QStringLiteral("[код завершения: 3]")}}));
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Завершено с кодом 3"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Консоль: ADB, код 3")));
}

TEST(ConsoleWorkflow, RefusedLinesRunNothingAndKeepTheInput)
{
    struct Case {
        const char *name;
        QString state;       // of the selected device; empty: none selected
        ConsoleMode mode;
        QString input;
        QString message;     // empty: nothing at all happens
        QString status;
    };
    const QString unavailable = QStringLiteral("Устройство не выбрано или недоступно");
    const QString selector = QStringLiteral("Параметр -s запрещён: устройство выбирается в основном окне");
    const Case cases[] = {
        {"selector", QStringLiteral("device"), ConsoleMode::adb, QStringLiteral("-s OTHER shell ls"), selector, QStringLiteral("Ошибка команды")},
        {"glued selector", QStringLiteral("device"), ConsoleMode::adb, QStringLiteral("-s42 shell ls"), selector, QStringLiteral("Ошибка команды")},
        {"glued transport", QStringLiteral("device"), ConsoleMode::adb, QStringLiteral("-t1 shell ls"),
         QStringLiteral("Параметр -t запрещён: устройство выбирается в основном окне"), QStringLiteral("Ошибка команды")},
        {"open quote", QStringLiteral("device"), ConsoleMode::adb, QStringLiteral("shell 'ls"), QStringLiteral("В команде не закрыта кавычка"), QStringLiteral("Ошибка команды")},
        {"only adb", QStringLiteral("device"), ConsoleMode::adb, QStringLiteral("adb"), QStringLiteral("Команда не задана"), QStringLiteral("Ошибка команды")},
        {"blank", QStringLiteral("device"), ConsoleMode::deviceShell, QStringLiteral("  \n "), QString(), QStringLiteral("Готово")},
        {"unauthorized", QStringLiteral("unauthorized"), ConsoleMode::deviceShell, QStringLiteral("ls"), unavailable, QStringLiteral("Устройство недоступно")},
        {"no device", QString(), ConsoleMode::deviceShell, QStringLiteral("ls"), unavailable, QStringLiteral("Устройство недоступно")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ModelHarness h;
        if (!c.state.isEmpty())
            selectReadyDevice(h, c.state);
        run(h, c.mode, c.input);
        QList<Entry> expected{{ConsoleEntryKind::system, kReadyLine}};
        if (!c.message.isEmpty())
            expected.append({ConsoleEntryKind::standardError, c.message});
        EXPECT_EQ(transcript(*h), expected);
        EXPECT_EQ(h->consoleStatusText(), c.status);
        EXPECT_EQ(h->consoleInput(), c.input);
        EXPECT_TRUE(h->consoleHistory().isEmpty());
        EXPECT_FALSE(h->consoleIsRunning());
        EXPECT_TRUE(h.fake.calls().isEmpty());
    }

    // Without adb at all.
    TempSettings settings;
    AppModel model(settings.settings.get(), std::nullopt, false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    model.devices.set({AndroidDevice{kSerial, QStringLiteral("device"), {}, {}}});
    model.selectedDeviceID.set(kSerial);
    model.consoleInput.set(QStringLiteral("ls"));
    EXPECT_FALSE(model.canRunConsoleCommand());
    model.runConsoleCommand();
    EXPECT_EQ(model.consoleStatusText(), QStringLiteral("Устройство недоступно"));
}

TEST(ConsoleWorkflow, HistoryKeepsOneRecordPerRepeatAndStepsBothWays)
{
    ModelHarness h;
    selectReadyDevice(h);
    h.fake.setDefault({.out = QStringLiteral("ok\n")});
    const auto runAndWait = [&](ConsoleMode mode, const QString &input) {
        run(h, mode, input);
        ASSERT_TRUE(finished(h));
    };
    h->consoleHistoryPrevious(); // empty history: nothing
    EXPECT_EQ(h->consoleInput(), QString());
    EXPECT_EQ(h->consoleHistoryIndex, std::nullopt);

    runAndWait(ConsoleMode::deviceShell, QStringLiteral("whoami"));
    runAndWait(ConsoleMode::deviceShell, QStringLiteral(" whoami "));
    runAndWait(ConsoleMode::adb, QStringLiteral("whoami"));
    runAndWait(ConsoleMode::adb, QStringLiteral("version"));
    QList<QPair<ConsoleMode, QString>> records;
    for (const ConsoleCommandRecord &r : h->consoleHistory())
        records.append({r.mode, r.command});
    EXPECT_EQ(records, (QList<QPair<ConsoleMode, QString>>{{ConsoleMode::deviceShell, QStringLiteral("whoami")},
                                                           {ConsoleMode::adb, QStringLiteral("whoami")},
                                                           {ConsoleMode::adb, QStringLiteral("version")}}));

    h->consoleHistoryPrevious();
    EXPECT_EQ(h->consoleInput(), QStringLiteral("version"));
    h->consoleHistoryPrevious();
    h->consoleHistoryPrevious();
    h->consoleHistoryPrevious(); // stops at the oldest
    EXPECT_EQ(h->consoleHistoryIndex, 0);
    EXPECT_EQ(h->consoleInput(), QStringLiteral("whoami"));
    EXPECT_EQ(h->consoleMode(), ConsoleMode::deviceShell);
    h->consoleHistoryNext();
    EXPECT_EQ(h->consoleMode(), ConsoleMode::adb);
    h->consoleHistoryNext();
    EXPECT_EQ(h->consoleInput(), QStringLiteral("version"));
    h->consoleHistoryNext(); // past the newest: input emptied, mode kept
    EXPECT_EQ(h->consoleInput(), QString());
    EXPECT_EQ(h->consoleHistoryIndex, std::nullopt);
    EXPECT_EQ(h->consoleMode(), ConsoleMode::adb);
    h->consoleHistoryNext();
    EXPECT_EQ(h->consoleInput(), QString());

    // At most 200 records: the oldest falls off.
    QList<ConsoleCommandRecord> full;
    for (int i = 0; i < 200; ++i)
        full.append(ConsoleCommandRecord(ConsoleMode::deviceShell, QStringLiteral("echo %1").arg(i)));
    h->consoleHistory.set(full);
    h->consoleHistoryPrevious();
    runAndWait(ConsoleMode::deviceShell, QStringLiteral("uptime"));
    EXPECT_EQ(h->consoleHistory().size(), 200);
    EXPECT_EQ(h->consoleHistory().first().command, QStringLiteral("echo 1"));
    EXPECT_EQ(h->consoleHistory().last().command, QStringLiteral("uptime"));
    EXPECT_EQ(h->consoleHistoryIndex, std::nullopt);
}

TEST(ConsoleWorkflow, FavouritesToggleAndSurviveARestart)
{
    ModelHarness h;
    h->consoleMode.set(ConsoleMode::deviceShell);
    h->consoleInput.set(QStringLiteral("  df -h /data  "));
    h->toggleConsoleFavoriteForInput();
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Удалено из быстрых команд"));
    ASSERT_EQ(h->consoleFavorites().size(), 5);
    h->toggleConsoleFavoriteForInput();
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Добавлено в быстрые команды"));
    ASSERT_EQ(h->consoleFavorites().size(), 6);
    EXPECT_EQ(h->consoleFavorites().last().command, QStringLiteral("df -h /data"));
    EXPECT_EQ(h->consoleFavorites().last().mode, ConsoleMode::deviceShell);

    // Same text in the other mode is another favourite.
    h->consoleMode.set(ConsoleMode::adb);
    h->toggleConsoleFavoriteForInput();
    EXPECT_EQ(h->consoleFavorites().size(), 7);
    EXPECT_EQ(AppModel::loadConsoleFavorites(*h.settings.settings), h->consoleFavorites());

    const ConsoleFavorite pick = h->consoleFavorites().at(2);
    h->consoleHistoryIndex = 0;
    h->useConsoleFavorite(pick);
    EXPECT_EQ(h->consoleInput(), pick.command);
    EXPECT_EQ(h->consoleMode(), pick.mode);
    EXPECT_EQ(h->consoleHistoryIndex, std::nullopt);
    EXPECT_TRUE(h.fake.calls().isEmpty()); // choosing does not run it

    const QString status = h->consoleStatusText();
    const QList<ConsoleFavorite> all = h->consoleFavorites();
    for (const ConsoleFavorite &f : all)
        h->removeConsoleFavorite(f);
    EXPECT_TRUE(h->consoleFavorites().isEmpty());
    EXPECT_EQ(h->consoleStatusText(), status);

    AppModel next(h.settings.settings.get(), ADBService(h.fake.adbPath()), false, false,
                  AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    EXPECT_TRUE(next.consoleFavorites().isEmpty());
}

TEST(ConsoleWorkflow, StopInterruptsTheCommandAndIdleStopChangesNothing)
{
    ModelHarness h;
    selectReadyDevice(h);
    const auto before = transcript(*h);
    h->stopConsoleCommand();
    EXPECT_EQ(transcript(*h), before);
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Готово"));

    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("line %1").arg(i);
    h.fake.on(adbArgs({QStringLiteral("logcat")}), {.lines = lines, .intervalMs = 20});
    run(h, ConsoleMode::adb, QStringLiteral("logcat"));
    ASSERT_TRUE(waitUntil([&] { return transcript(*h).size() >= 3; }));
    h->stopConsoleCommand();
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Остановка…"));
    EXPECT_EQ(transcript(*h).last(), (Entry{ConsoleEntryKind::system, QStringLiteral("[отправлен сигнал остановки]")}));
    ASSERT_TRUE(finished(h));
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Завершено с кодом 2"));
    EXPECT_EQ(transcript(*h).last(), (Entry{ConsoleEntryKind::system, QStringLiteral("[код завершения: 2]")}));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Консоль: ADB, код 2")));
}

TEST(ConsoleWorkflow, ChangingTheDeviceStopsTheCommandButKeepsTheConsole)
{
    ModelHarness h;
    selectReadyDevice(h);
    h.fake.on(adbArgs({QStringLiteral("shell"), QStringLiteral("logcat")}), {.lines = {QStringLiteral("a")}, .holdMs = 30000});
    run(h, ConsoleMode::deviceShell, QStringLiteral("logcat"));
    ASSERT_TRUE(waitUntil([&] { return transcript(*h).size() >= 3; }));
    h->consoleInput.set(QStringLiteral("draft"));
    runSync(h->selectDevice(QStringLiteral("T900")));
    ASSERT_TRUE(finished(h));
    EXPECT_EQ(h->consoleInput(), QStringLiteral("draft"));
    EXPECT_EQ(h->consoleHistory().size(), 1);
    EXPECT_EQ(transcript(*h).first().second, kReadyLine);
    EXPECT_TRUE(transcript(*h).contains(Entry{ConsoleEntryKind::system, QStringLiteral("[отправлен сигнал остановки]")}));
}

TEST(ConsoleWorkflow, ASecondCommandWhileOneRunsIsRefusedAndTheFirstStaysStoppable)
{
    ModelHarness h;
    selectReadyDevice(h);
    h.fake.on(adbArgs({QStringLiteral("shell"), QStringLiteral("top")}), {.lines = {QStringLiteral("a")}, .holdMs = 30000});
    run(h, ConsoleMode::deviceShell, QStringLiteral("top"));
    ASSERT_TRUE(waitUntil([&] { return transcript(*h).size() >= 3; }));

    run(h, ConsoleMode::deviceShell, QStringLiteral("uptime"));
    EXPECT_EQ(transcript(*h).mid(transcript(*h).size() - 2),
              (QList<Entry>{{ConsoleEntryKind::command, QStringLiteral("shell $ uptime")},
                            {ConsoleEntryKind::standardError, QStringLiteral("Другая команда уже выполняется")}}));
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Ошибка команды"));
    EXPECT_EQ(h->consoleHistory().size(), 2);
    EXPECT_EQ(h->consoleInput(), QString());
    // The first command still runs, so it still shows as running and can be stopped.
    EXPECT_TRUE(h->consoleIsRunning());
    h->stopConsoleCommand();
    ASSERT_TRUE(finished(h));
    EXPECT_EQ(h.fake.calls().size(), 1);
}

TEST(ConsoleWorkflow, SearchCopyAndClear)
{
    ModelHarness h;
    QString copied = QStringLiteral("untouched");
    h->pasteboardWriter = [&](const QString &text) { copied = text; };

    const QDateTime at(QDate(2026, 3, 4), QTime(9, 5, 7));
    h->consoleEntries.set({ConsoleEntry(at, ConsoleEntryKind::command, QStringLiteral("shell $ getprop")),
                           ConsoleEntry(at, ConsoleEntryKind::standardOutput, QStringLiteral("Привет, Мир\nвторая")),
                           ConsoleEntry(at, ConsoleEntryKind::standardError, QStringLiteral("мир не найден"))});
    h->consoleSearchText.set(QStringLiteral("  МИР "));
    EXPECT_EQ(h->visibleConsoleEntries().size(), 2);
    EXPECT_EQ(h->consoleSearchMatchCount(), 2);
    h->consoleSearchText.set(QStringLiteral(" \n"));
    EXPECT_EQ(h->visibleConsoleEntries().size(), 3);
    EXPECT_EQ(h->consoleSearchMatchCount(), 0);

    h->consoleSearchText.set(QStringLiteral("getprop")); // the copy takes the whole transcript
    h->copyConsoleLog();
    EXPECT_EQ(copied, QStringLiteral("[09:05:07] shell $ getprop\n[09:05:07] Привет, Мир\nвторая\n[09:05:07] мир не найден"));
    EXPECT_EQ(h->consoleStatusText(), QStringLiteral("Журнал скопирован"));

    h->consoleEntries.set({});
    h->copyConsoleLog();
    EXPECT_EQ(copied, QString());

    h->clearConsole();
    EXPECT_EQ(transcript(*h), (QList<Entry>{{ConsoleEntryKind::system, QStringLiteral("Консоль очищена")}}));

    h->consoleInput.set(QStringLiteral("ls"));
    h->consoleHistoryIndex = 0;
    h->clearConsoleInput();
    EXPECT_EQ(h->consoleInput(), QString());
    EXPECT_EQ(h->consoleHistoryIndex, std::nullopt);
}

TEST(ConsoleWorkflow, CanRunOnlyWithAReadyDeviceAnInputAndNothingRunning)
{
    ModelHarness h;
    h->consoleInput.set(QStringLiteral("ls"));
    EXPECT_FALSE(h->canRunConsoleCommand());
    selectReadyDevice(h, QStringLiteral("offline"));
    EXPECT_FALSE(h->canRunConsoleCommand());
    selectReadyDevice(h);
    EXPECT_TRUE(h->canRunConsoleCommand());
    h->consoleInput.set(QStringLiteral(" \t"));
    EXPECT_FALSE(h->canRunConsoleCommand());
    h->consoleInput.set(QStringLiteral("ls"));
    h->consoleIsRunning.set(true);
    EXPECT_FALSE(h->canRunConsoleCommand());
}

TEST(ConsoleWorkflow, ReleasingTheModelWhileACommandRunsIsSafe)
{
    auto h = std::make_unique<ModelHarness>();
    selectReadyDevice(*h);
    h->fake.on(adbArgs({QStringLiteral("shell"), QStringLiteral("logcat")}),
               {.lines = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, .intervalMs = 10, .holdMs = 30000});
    run(*h, ConsoleMode::deviceShell, QStringLiteral("logcat"));
    ASSERT_TRUE(waitUntil([&] { return transcript(**h).size() >= 3; }));
    h->model.reset();
    // Deliveries and the completion still arrive; they find no model and do nothing.
    ASSERT_TRUE(waitUntil([] { return ConsoleProcessRunner::liveRuns() == 0; }));
    QCoreApplication::processEvents(); // what the run handed to this thread last
}

} // namespace
