#include "bridge/ConsoleProcessRunner.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

namespace {

const QString kShell = QStringLiteral("/bin/sh");

// Waits until no run is left anywhere (child, reader and delayed stop all done), so
// nothing more can be delivered.
bool allRunsOver()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ConsoleProcessRunner::liveRuns() > 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Collects one run's deliveries in the order they arrive, from whatever thread.
struct Recorder {
    struct Event {
        char kind; // 'o' output, 'e' error, 'c' completion
        QString text;
        int status = 0;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Event> events;
    bool onCallerThread = false;
    std::thread::id caller = std::this_thread::get_id();
    std::function<void(const QString &)> onOutput; // optional extra action, run inside the callback

    void add(Event e)
    {
        std::lock_guard guard(mutex);
        if (std::this_thread::get_id() == caller)
            onCallerThread = true;
        events.push_back(std::move(e));
        changed.notify_all();
    }
    ConsoleProcessRunner::TextHandler out()
    {
        return [this](const QString &t) {
            add({'o', t});
            if (onOutput)
                onOutput(t);
        };
    }
    ConsoleProcessRunner::TextHandler err() { return [this](const QString &t) { add({'e', t}); }; }
    ConsoleProcessRunner::CompletionHandler done() { return [this](int s) { add({'c', {}, s}); }; }

    bool waitFor(const std::function<bool(const std::vector<Event> &)> &pred, int ms = 20000)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return pred(events); });
    }
    bool waitCompletions(int n, int ms = 20000)
    {
        return waitFor([n](const auto &ev) { return completions(ev) >= n; }, ms);
    }
    static int completions(const std::vector<Event> &ev)
    {
        return int(std::count_if(ev.begin(), ev.end(), [](const Event &e) { return e.kind == 'c'; }));
    }
    QString text(char kind)
    {
        std::lock_guard guard(mutex);
        QString all;
        for (const Event &e : events)
            if (e.kind == kind)
                all += e.text;
        return all;
    }
    std::vector<Event> snapshot()
    {
        std::lock_guard guard(mutex);
        return events;
    }
    bool saw(const QString &needle)
    {
        return waitFor([&](const auto &ev) {
            QString all;
            for (const Event &e : ev)
                all += e.text;
            return all.contains(needle);
        });
    }
};

std::optional<ConsoleRunError> startShell(ConsoleProcessRunner &runner, Recorder &rec, const QString &script)
{
    return runner.start(kShell, {QStringLiteral("-c"), script}, rec.out(), rec.err(), rec.done());
}

TEST(ConsoleProcessRunner, SilentChildCompletesExactlyOnceWithoutText)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral("exit 0")));
    ASSERT_TRUE(rec.waitCompletions(1));
    ASSERT_TRUE(allRunsOver());
    const auto events = rec.snapshot();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, 'c');
    EXPECT_EQ(events[0].status, 0);
    EXPECT_FALSE(rec.onCallerThread);
    EXPECT_FALSE(runner.isRunning());
}

TEST(ConsoleProcessRunner, DeliversAllOutputInOrderBeforeCompletion)
{
    struct Case {
        const char *name;
        QString script;
        QString out, err;
        int status;
    };
    QString numbers;
    for (int i = 1; i <= 20000; ++i)
        numbers += QString::number(i) + QLatin1Char('\n');
    const Case cases[] = {
        // Written just before exiting: read after the end, still before the completion.
        {"last words", QStringLiteral("printf 'a'; printf 'E1' >&2; sleep 0.1; printf 'b'; printf 'E2' >&2; printf 'last'; exit 3"),
         QStringLiteral("ablast"), QStringLiteral("E1E2"), 3},
        {"many chunks", QStringLiteral("seq 1 20000; echo fin >&2"), numbers, QStringLiteral("fin\n"), 0},
        {"killed by a signal", QStringLiteral("echo bye; kill -9 $$"), QStringLiteral("bye\n"), QString(), 9},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ConsoleProcessRunner runner;
        Recorder rec;
        ASSERT_FALSE(startShell(runner, rec, c.script));
        ASSERT_TRUE(rec.waitCompletions(1));
        const auto events = rec.snapshot();
        EXPECT_EQ(events.back().kind, 'c');
        EXPECT_EQ(events.back().status, c.status);
        EXPECT_EQ(rec.text('o'), c.out);
        EXPECT_EQ(rec.text('e'), c.err);
    }
}

TEST(ConsoleProcessRunner, DecodesCharactersSplitBetweenReadsWhole)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    // "П" is D0 9F: its halves arrive in separate reads, on both streams, and a
    // four-byte emoji arrives in three pieces.
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral(
        "printf 'x\\320'; printf '\\320' >&2; sleep 0.2; printf '\\237ривет '; printf '\\237' >&2; sleep 0.2;"
        "printf '\\360\\237'; sleep 0.2; printf '\\230'; sleep 0.2; printf '\\200 ok'")));
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_EQ(rec.text('o'), QStringLiteral("xПривет 😀 ok"));
    EXPECT_EQ(rec.text('e'), QStringLiteral("П"));
    for (const auto &e : rec.snapshot())
        EXPECT_FALSE(e.text.contains(QChar::ReplacementCharacter)) << e.text.toStdString();
}

TEST(ConsoleProcessRunner, RepairsInvalidAndTruncatedBytes)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral("printf 'a\\377b'; sleep 0.1; printf 'end\\320'")));
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_EQ(rec.text('o'), QStringLiteral("a\uFFFDbend\uFFFD"));
}

TEST(ConsoleProcessRunner, RefusesASecondCommandWhileOneRuns)
{
    ConsoleProcessRunner runner;
    Recorder first, second;
    // The first runs for as long as the file "hold" exists.
    QTemporaryDir dir;
    const QString hold = dir.filePath(QStringLiteral("hold"));
    ASSERT_TRUE(QFile(hold).open(QIODevice::WriteOnly));
    ASSERT_FALSE(startShell(runner, first, QStringLiteral(
        "echo started; while [ -e '%1' ]; do sleep 0.05; done; echo finished").arg(hold)));
    ASSERT_TRUE(first.saw(QStringLiteral("started")));
    EXPECT_TRUE(runner.isRunning());

    const std::optional<ConsoleRunError> busy = startShell(runner, second, QStringLiteral("echo never"));
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->domain, QStringLiteral("KestrelConsole"));
    EXPECT_EQ(busy->code, 1);
    EXPECT_EQ(busy->localizedDescription, QStringLiteral("Другая команда уже выполняется"));

    QFile::remove(hold);
    ASSERT_TRUE(first.waitCompletions(1));
    EXPECT_EQ(first.text('o'), QStringLiteral("started\nfinished\n"));
    EXPECT_EQ(first.snapshot().back().status, 0);
    ASSERT_TRUE(allRunsOver());
    EXPECT_TRUE(second.snapshot().empty());
}

TEST(ConsoleProcessRunner, CompletionMayStartTheNextCommand)
{
    ConsoleProcessRunner runner;
    Recorder first, second;
    std::optional<std::optional<ConsoleRunError>> restart;
    std::mutex m;
    ASSERT_FALSE(runner.start(kShell, {QStringLiteral("-c"), QStringLiteral("echo one")}, first.out(), first.err(),
                              [&](int status) {
                                  auto r = startShell(runner, second, QStringLiteral("echo two"));
                                  {
                                      std::lock_guard g(m);
                                      restart = r;
                                  }
                                  first.done()(status);
                              }));
    ASSERT_TRUE(first.waitCompletions(1));
    {
        std::lock_guard g(m);
        ASSERT_TRUE(restart);
        EXPECT_FALSE(*restart);
    }
    ASSERT_TRUE(second.waitCompletions(1));
    EXPECT_EQ(second.text('o'), QStringLiteral("two\n"));
}

TEST(ConsoleProcessRunner, StopEndsAChildThatHonoursTheInterrupt)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral("echo ready; exec sleep 30")));
    ASSERT_TRUE(rec.saw(QStringLiteral("ready")));
    runner.stop();
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_EQ(rec.snapshot().back().status, SIGINT); // the interrupt ended it, not the later terminate
    // The delayed terminate finds the child gone and there is nothing more to report.
    ASSERT_TRUE(allRunsOver());
    EXPECT_EQ(Recorder::completions(rec.snapshot()), 1);
    EXPECT_FALSE(runner.isRunning());
}

TEST(ConsoleProcessRunner, StopTerminatesAChildThatIgnoresTheInterruptOneSecondLater)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral(
        "trap 'echo interrupted' INT; echo ready; while :; do sleep 0.05; done")));
    ASSERT_TRUE(rec.saw(QStringLiteral("ready")));
    QElapsedTimer timer;
    timer.start();
    runner.stop();
    runner.stop(); // twice: two interrupts, two delayed checks, still one end
    ASSERT_TRUE(rec.saw(QStringLiteral("interrupted")));
    EXPECT_TRUE(runner.isRunning());
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_GE(timer.elapsed(), 900); // the terminate waits its second
    EXPECT_EQ(rec.snapshot().back().status, SIGTERM);
    ASSERT_TRUE(allRunsOver()); // both delayed terminates have fired
    EXPECT_EQ(Recorder::completions(rec.snapshot()), 1);
}

TEST(ConsoleProcessRunner, StopWithoutARunningChildDoesNothing)
{
    ConsoleProcessRunner runner;
    runner.stop(); // idle
    Recorder rec;
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral("echo done")));
    ASSERT_TRUE(rec.waitCompletions(1));
    runner.stop(); // after the end
    EXPECT_FALSE(runner.isRunning());
    Recorder next;
    ASSERT_FALSE(startShell(runner, next, QStringLiteral("exit 4")));
    ASSERT_TRUE(next.waitCompletions(1));
    EXPECT_EQ(next.snapshot().back().status, 4);
}

TEST(ConsoleProcessRunner, StopFromInsideAnOutputCallbackDoesNotDeadlock)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    rec.onOutput = [&](const QString &) { runner.stop(); };
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral("echo ready; exec sleep 30")));
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_EQ(rec.snapshot().back().status, SIGINT);
}

TEST(ConsoleProcessRunner, LaunchFailureLeavesTheRunnerIdle)
{
    QTemporaryDir dir;
    const QString plain = dir.path() + QStringLiteral("/not-executable");
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho hi\n");
    f.close();

    for (const QString &path : {QStringLiteral("/nonexistent/adb"), plain, dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        ConsoleProcessRunner runner;
        Recorder rec;
        const std::optional<ConsoleRunError> error = runner.start(path, {}, rec.out(), rec.err(), rec.done());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain, QStringLiteral("POSIX"));
        EXPECT_TRUE(error->localizedDescription.contains(path));
        EXPECT_FALSE(runner.isRunning());
        Recorder next;
        ASSERT_FALSE(startShell(runner, next, QStringLiteral("echo ok")));
        ASSERT_TRUE(next.waitCompletions(1));
        ASSERT_TRUE(allRunsOver());
        EXPECT_TRUE(rec.snapshot().empty());
    }
}

TEST(ConsoleProcessRunner, CompletionArrivesAfterTheRunnerIsReleased)
{
    Recorder honours, finishes;
    {
        auto runner = std::make_unique<ConsoleProcessRunner>();
        ASSERT_FALSE(startShell(*runner, honours, QStringLiteral("echo ready; exec sleep 30")));
        ASSERT_TRUE(honours.saw(QStringLiteral("ready")));
        runner.reset(); // releasing stops the child
    }
    ASSERT_TRUE(honours.waitCompletions(1));
    EXPECT_EQ(honours.snapshot().back().status, SIGINT);

    {
        // Ignores the interrupt: the terminate sent after the release still ends it.
        auto runner = std::make_unique<ConsoleProcessRunner>();
        ASSERT_FALSE(startShell(*runner, finishes, QStringLiteral(
            "trap '' INT; echo ready; while :; do sleep 0.05; done")));
        ASSERT_TRUE(finishes.saw(QStringLiteral("ready")));
        runner.reset();
    }
    ASSERT_TRUE(finishes.waitCompletions(1));
    EXPECT_EQ(finishes.snapshot().back().status, SIGTERM);
}

TEST(ConsoleProcessRunner, ChildReadsEndOfFileAndKeepsArgumentsUnchanged)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    ASSERT_FALSE(runner.start(kShell, {QStringLiteral("-c"), QStringLiteral("cat; printf '%s|' \"$@\""),
                                       QStringLiteral("sh"), QStringLiteral("a b"), QStringLiteral("'q'"),
                                       QStringLiteral("")},
                              rec.out(), rec.err(), rec.done()));
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_EQ(rec.text('o'), QStringLiteral("a b|'q'||"));
}

TEST(ConsoleProcessRunner, GrandchildHoldingThePipesDoesNotDelayCompletion)
{
    ConsoleProcessRunner runner;
    Recorder rec;
    // The grandchild holds the pipes for as long as the file "hold" exists: until after the completion.
    QTemporaryDir dir;
    const QString hold = dir.filePath(QStringLiteral("hold"));
    ASSERT_TRUE(QFile(hold).open(QIODevice::WriteOnly));
    ASSERT_FALSE(startShell(runner, rec, QStringLiteral(
        "(while [ -e '%1' ]; do sleep 0.05; done) & echo parent done").arg(hold)));
    ASSERT_TRUE(rec.waitCompletions(1));
    EXPECT_EQ(rec.text('o'), QStringLiteral("parent done\n"));
    QFile::remove(hold);
}

} // namespace
