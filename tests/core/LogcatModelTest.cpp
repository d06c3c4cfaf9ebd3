#include "core/ListModelAdapter.h"
#include "core/LogcatModel.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace std::chrono_literals;

namespace {

QString u(const char *text) { return QString::fromUtf8(text); }

QString threadtime(int n, char level = 'I', const char *tag = "Tag", const QString &message = {})
{
    return QStringLiteral("01-02 03:04:05.%1  100  200 %2 %3: %4")
        .arg(n % 1000, 3, 10, QLatin1Char('0'))
        .arg(QLatin1Char(level))
        .arg(u(tag))
        .arg(message.isEmpty() ? QStringLiteral("message %1").arg(n) : message);
}

QStringList streamArgs(const QString &serial)
{
    return {QStringLiteral("-s"), serial, QStringLiteral("logcat"), QStringLiteral("-v"), QStringLiteral("threadtime")};
}

QStringList clearArgs(const QString &serial)
{
    return {QStringLiteral("-s"), serial, QStringLiteral("logcat"), QStringLiteral("-c")};
}

QStringList messages(const QList<LogLine> &lines)
{
    QStringList list;
    for (const LogLine &line : lines)
        list << line.message().toString();
    return list;
}

QList<qint64> ids(const QList<LogLine> &lines)
{
    QList<qint64> list;
    for (const LogLine &line : lines)
        list << line.id;
    return list;
}

qint64 total(const LogLevelCounts &counts)
{
    qint64 sum = 0;
    for (qint64 n : counts.values)
        sum += n;
    return sum;
}

// A model on the fake adb, with the two item models a screen would show checked throughout.
struct LogcatHarness {
    FakeTool fake;
    LogcatModel model;
    ListModelAdapter<LogLine> allRows{model.lines, [](const LogLine &, int, int) { return QVariant(); }};
    ListModelAdapter<LogLine> shownRows{model.visibleLines, [](const LogLine &, int, int) { return QVariant(); }};
    QAbstractItemModelTester allTester{&allRows, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QAbstractItemModelTester shownTester{&shownRows, QAbstractItemModelTester::FailureReportingMode::Fatal};

    explicit LogcatHarness(const QString &serial = QStringLiteral("SER1"))
    {
        model.flushInterval = 10ms;
        model.configure(ADBService(fake.adbPath()), serial);
    }
    bool waitStopped() { return waitUntil([this] { return !model.isStreaming(); }); }
    qsizetype streamCalls(const QString &serial = QStringLiteral("SER1")) const
    {
        return fake.calls().count(streamArgs(serial));
    }
};

TEST(LogcatModelTest, StreamsParsedLinesOfThreadtimeThroughAdb)
{
    LogcatHarness h;
    FakeResponse stream;
    stream.out = threadtime(1, 'D') + u("\n--------- beginning of main\n   \n") + threadtime(2, 'E', "Тег", u("Ошибка"))
                 + u("\n01-02 03:04:05.000 1 2 I Tag: never ends");
    h.fake.on(streamArgs(u("SER1")), stream);
    EXPECT_TRUE(h.model.canStream());

    h.model.toggleStreaming();
    EXPECT_TRUE(h.model.isStreaming());
    EXPECT_EQ(h.model.statusText(), u("Поток активен"));
    ASSERT_TRUE(h.waitStopped());

    EXPECT_EQ(h.fake.calls(), QList<QStringList>{streamArgs(u("SER1"))});
    // Blank lines take no id; the last line without a line feed is never shown.
    EXPECT_EQ(ids(h.model.lines()), (QList<qint64>{0, 1, 2}));
    EXPECT_EQ(messages(h.model.lines()), (QStringList{u("message 1"), u("--------- beginning of main"), u("Ошибка")}));
    EXPECT_EQ(h.model.lines().at(1).tag(), u("logcat"));
    EXPECT_EQ(h.model.lines().at(2).tag(), u("Тег"));
    EXPECT_EQ(h.model.visibleLines(), h.model.lines());
    EXPECT_EQ(h.model.counts()[LogLevel::info], 1);
    EXPECT_EQ(h.model.counts()[LogLevel::error], 1);
    EXPECT_EQ(h.model.counts().shown(LogLevel::warning), std::nullopt);
    EXPECT_EQ(h.model.statusText(), u("Поток остановлен"));
}

TEST(LogcatModelTest, FiltersByLevelTagAndText)
{
    LogcatModel model;
    const QStringList input = {
        threadtime(0, 'V', "ActivityManager", u("Start proc")),  threadtime(1, 'I', "WindowManager", u("focus")),
        threadtime(2, 'W', "Сеть", u("Нет соединения")),         threadtime(3, 'E', "ActivityManager", u("ANR in app")),
        threadtime(4, 'F', "libc", u("Fatal signal in activity")),
    };
    for (const QString &line : input)
        model.injectOutput(line + QLatin1Char('\n'));
    model.flush();
    ASSERT_EQ(model.lines.size(), 5);

    struct Case {
        const char *name;
        LogLevel minimum;
        QString tag;
        QString text;
        QList<qint64> shown;
    };
    const QList<Case> cases = {
        {"no filter", LogLevel::verbose, {}, {}, {0, 1, 2, 3, 4}},
        {"level and above", LogLevel::warning, {}, {}, {2, 3, 4}},
        {"tag, any case", LogLevel::verbose, u("activitymanager"), {}, {0, 3}},
        {"tag in Cyrillic, any case", LogLevel::verbose, u("СЕТЬ"), {}, {2}},
        {"text in message or tag", LogLevel::verbose, {}, u("ACTIVITY"), {0, 3, 4}},
        {"text in Cyrillic", LogLevel::verbose, {}, u("нет"), {2}},
        {"spaces around are trimmed", LogLevel::verbose, u("  manager "), u("\tstart "), {0}},
        {"spaces only filter nothing", LogLevel::verbose, u("   "), u("  "), {0, 1, 2, 3, 4}},
        {"all three", LogLevel::error, u("Activity"), u("anr"), {3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        model.setMinimumLevel(c.minimum);
        model.setTagQuery(c.tag);
        model.setSearchText(c.text);
        EXPECT_EQ(ids(model.visibleLines()), c.shown);
        EXPECT_EQ(model.matchCount(), c.shown.size());
        EXPECT_EQ(model.tagQuery(), c.tag); // stored as typed
    }
}

TEST(LogcatModelTest, TrimsAtTheLimitWithRowSignalsAndKeepsCounts)
{
    LogcatHarness h;
    h.model.setBufferLimit(5);
    h.model.setMinimumLevel(LogLevel::warning);
    QSignalSpy resets(&h.shownRows, &QAbstractItemModel::modelReset);
    QSignalSpy allResets(&h.allRows, &QAbstractItemModel::modelReset);
    QSignalSpy removed(&h.shownRows, &QAbstractItemModel::rowsRemoved);

    auto feed = [&](int from, int to, char level) {
        for (int i = from; i < to; ++i)
            h.model.injectOutput(threadtime(i, level) + QLatin1Char('\n'));
        h.model.flush();
    };
    feed(0, 4, 'W');  // W0..W3
    feed(4, 6, 'I');  // I4 I5: W0 leaves the window, nothing new is shown
    EXPECT_EQ(ids(h.model.lines()), (QList<qint64>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ids(h.model.visibleLines()), (QList<qint64>{1, 2, 3}));
    feed(6, 8, 'E');  // E6 E7
    EXPECT_EQ(ids(h.model.lines()), (QList<qint64>{3, 4, 5, 6, 7}));
    EXPECT_EQ(ids(h.model.visibleLines()), (QList<qint64>{3, 6, 7}));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(allResets.count(), 0);
    EXPECT_EQ(removed.count(), 2);
    // Counts keep the lines that left the window.
    EXPECT_EQ(h.model.counts()[LogLevel::warning], 4);
    EXPECT_EQ(h.model.counts()[LogLevel::info], 2);
    EXPECT_EQ(h.model.counts()[LogLevel::error], 2);

    h.model.clear();
    EXPECT_TRUE(h.model.lines().isEmpty());
    EXPECT_TRUE(h.model.counts().isEmpty());
    feed(8, 9, 'E');
    EXPECT_EQ(ids(h.model.lines()), QList<qint64>{0}); // numbering starts again
}

// A line longer than the cut is one entry with its own time, level and tag: its rest never
// becomes a line of the "logcat" tag that inflates the Info count.
TEST(LogcatModelTest, ALongLineStaysOneEntry)
{
    LogcatHarness h;
    const QString huge(LogcatPending::kMaxLineLength * 2, QLatin1Char('x'));
    h.model.injectOutput(threadtime(1, 'D') + QLatin1Char('\n'));
    // Arriving in pieces, as adb hands it over.
    const QString big = threadtime(2, 'W', "Big", huge) + QLatin1Char('\n');
    for (qsizetype at = 0; at < big.size(); at += 1000)
        h.model.injectOutput(big.mid(at, 1000));
    h.model.injectOutput(threadtime(3, 'E') + QLatin1Char('\n'));
    h.model.flush();

    ASSERT_EQ(ids(h.model.lines()), (QList<qint64>{0, 1, 2}));
    const LogLine &cut = h.model.lines().at(1);
    EXPECT_EQ(cut.level, LogLevel::warning);
    EXPECT_EQ(cut.tag(), u("Big"));
    EXPECT_FALSE(cut.timestamp().isEmpty());
    EXPECT_TRUE(cut.message().endsWith(u("…")));
    EXPECT_TRUE(cut.message().startsWith(u("xxxx")));
    EXPECT_EQ(h.model.counts()[LogLevel::warning], 1);
    EXPECT_EQ(h.model.counts().shown(LogLevel::info), std::nullopt);
    EXPECT_EQ(total(h.model.counts()), 3);
}

TEST(LogcatModelTest, AStopTheUserAskedForShowsAsStopped)
{
    struct Case {
        const char *name;
        FakeResponse stream;
        bool stopByUser;
        QString status;
    };
    FakeResponse holds;
    holds.lines = {threadtime(1)};
    holds.holdMs = 60000;
    FakeResponse fails;
    fails.lines = {threadtime(1)};
    fails.exit = 3;
    const QList<Case> cases = {
        {"stopped by the user", holds, true, u("Поток остановлен")},
        {"adb failed", fails, false, u("Поток завершён с кодом 3")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogcatHarness h;
        h.fake.on(streamArgs(u("SER1")), c.stream);
        h.model.start();
        ASSERT_TRUE(waitUntil([&] { return h.model.lines.size() == 1; }));
        if (c.stopByUser) {
            h.model.stop();
            EXPECT_EQ(h.model.statusText(), u("Остановка потока…"));
            EXPECT_TRUE(h.model.isStreaming());
        }
        ASSERT_TRUE(h.waitStopped());
        EXPECT_EQ(h.model.statusText(), c.status);
        EXPECT_EQ(h.model.lines.size(), 1);
    }
}

TEST(LogcatModelTest, ALaunchFailureSaysWhy)
{
    QTemporaryDir dir;
    LogcatModel model;
    model.configure(ADBService(dir.path() + u("/missing-adb")), u("SER1"));
    model.start();
    EXPECT_FALSE(model.isStreaming());
    EXPECT_TRUE(model.statusText().startsWith(u("Не удалось запустить logcat: "))) << model.statusText().toStdString();
    EXPECT_GT(model.statusText().size(), u("Не удалось запустить logcat: ").size());
}

TEST(LogcatModelTest, OutputOfTheOldDeviceNeverLandsAfterADeviceChange)
{
    LogcatHarness h;
    FakeResponse chatty; // keeps writing through the interrupt until it is terminated
    for (int i = 0; i < 2000; ++i)
        chatty.lines << threadtime(i, 'I', "DeviceA");
    chatty.intervalMs = 2;
    chatty.ignoreInterrupt = true;
    h.fake.on(streamArgs(u("SER1")), chatty);
    h.model.start();
    ASSERT_TRUE(waitUntil([&] { return !h.model.lines().isEmpty(); }));

    h.model.configure(ADBService(h.fake.adbPath()), u("SER2"));
    EXPECT_TRUE(h.model.lines().isEmpty());
    ASSERT_TRUE(h.waitStopped()); // the old adb ends a second later, still writing until then
    h.model.flush();
    EXPECT_TRUE(h.model.lines().isEmpty()) << h.model.lines().size() << " lines of the old device";
    EXPECT_EQ(h.model.serial(), u("SER2"));
    EXPECT_EQ(h.model.statusText(), u("Поток остановлен"));
}

TEST(LogcatModelTest, ClearingTheWindowKeepsARunningStream)
{
    LogcatHarness h;
    FakeResponse slow;
    for (int i = 0; i < 3000; ++i)
        slow.lines << threadtime(i);
    slow.intervalMs = 2;
    h.fake.on(streamArgs(u("SER1")), slow);
    h.model.start();
    ASSERT_TRUE(waitUntil([&] { return h.model.lines.size() >= 3; }));
    h.model.clear();
    ASSERT_TRUE(waitUntil([&] { return h.model.lines.size() >= 3; }));
    EXPECT_EQ(h.model.lines().first().id, 0);
    EXPECT_TRUE(h.model.isStreaming());
    h.model.stop();
    ASSERT_TRUE(h.waitStopped());
}

TEST(LogcatModelTest, EachOutputStreamKeepsItsOwnPartialLine)
{
    LogcatHarness h;
    FakeResponse split;
    split.steps = {{u("01-02 03:04:05.678 1 2 I Tag: hel"), {}, 150},
                   {{}, u("adb: warning\n"), 150},
                   {u("lo\n"), {}, 0}};
    h.fake.on(streamArgs(u("SER1")), split);
    h.model.start();
    ASSERT_TRUE(h.waitStopped());
    EXPECT_EQ(messages(h.model.lines()), (QStringList{u("adb: warning"), u("hello")}));
}

TEST(LogcatModelTest, OneTrailingCarriageReturnIsStripped)
{
    LogcatHarness h;
    FakeResponse pty;
    pty.lines = {threadtime(1, 'I', "Tag", u("from a pty")) + u("\r"), u("\r")};
    h.fake.on(streamArgs(u("SER1")), pty);
    h.model.start();
    ASSERT_TRUE(h.waitStopped());
    EXPECT_EQ(messages(h.model.lines()), QStringList{u("from a pty")});
}

TEST(LogcatModelTest, ClearingTheDeviceBufferReportsAdbsAnswer)
{
    struct Case {
        const char *name;
        FakeResponse answer;
        QString status;
    };
    FakeResponse ok;
    FakeResponse refused;
    refused.err = u("error: device offline\n");
    refused.exit = 1;
    FakeResponse silent;
    silent.exit = 255;
    const QList<Case> cases = {
        {"cleared", ok, u("Буфер устройства очищен")},
        {"adb refused", refused, u("Не удалось очистить буфер устройства: error: device offline")},
        {"adb said nothing", silent, u("Не удалось очистить буфер устройства: код 255")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogcatHarness h;
        h.fake.on(clearArgs(u("SER1")), c.answer);
        h.model.injectOutput(threadtime(1) + u("\n"));
        h.model.flush();
        runSync(h.model.clearDeviceBuffer());
        EXPECT_EQ(h.fake.calls(), QList<QStringList>{clearArgs(u("SER1"))});
        EXPECT_EQ(h.model.statusText(), c.status);
        EXPECT_TRUE(h.model.lines().isEmpty());
        EXPECT_FALSE(h.model.isStreaming());
    }
}

TEST(LogcatModelTest, ClearingTheDeviceBufferResumesTheStreamWhicheverEndsFirst)
{
    struct Case {
        const char *name;
        bool streamIgnoresInterrupt; // the old stream ends a second after the clear answered
        int clearDelayMs;            // the clear answers after the old stream ended
    };
    const QList<Case> cases = {
        {"stream ends after the clear", true, 0},
        {"stream ends before the clear", false, 400},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogcatHarness h;
        FakeResponse first;
        first.lines = {threadtime(1)};
        first.holdMs = 60000;
        first.ignoreInterrupt = c.streamIgnoresInterrupt;
        FakeResponse second = first;
        second.ignoreInterrupt = false;
        h.fake.onSequence(streamArgs(u("SER1")), {first, second});
        FakeResponse cleared;
        cleared.delayMs = c.clearDelayMs;
        h.fake.on(clearArgs(u("SER1")), cleared);

        h.model.start();
        ASSERT_TRUE(waitUntil([&] { return h.model.lines.size() == 1; }));
        runSync(h.model.clearDeviceBuffer());
        ASSERT_TRUE(waitUntil([&] { return h.streamCalls() == 2 && h.model.isStreaming(); }))
            << h.model.statusText().toStdString();
        EXPECT_EQ(h.fake.calls(), (QList<QStringList>{streamArgs(u("SER1")), clearArgs(u("SER1")), streamArgs(u("SER1"))}));
        ASSERT_TRUE(waitUntil([&] { return h.model.lines.size() == 1; })); // the new run's line
        EXPECT_EQ(h.model.statusText(), u("Поток активен"));
        h.model.stop();
        ASSERT_TRUE(h.waitStopped());
    }
}

TEST(LogcatModelTest, OutputWaitingWhilePausedIsBoundedAndCounted)
{
    LogcatHarness h;
    h.model.setBufferLimit(500);
    FakeResponse burst;
    burst.streamRate = 20000;
    burst.streamMs = 100; // 2,000 lines
    h.fake.on(streamArgs(u("SER1")), burst);
    h.model.setPaused(true);
    h.model.start();
    ASSERT_TRUE(h.waitStopped());
    EXPECT_TRUE(h.model.lines().isEmpty());
    EXPECT_EQ(h.model.droppedCount(), 1500);

    h.model.setPaused(false);
    ASSERT_EQ(h.model.lines.size(), 500);
    EXPECT_EQ(h.model.lines().first().plainText(), LogLine::parse(FakeResponse::burstLine(1500), 0).plainText());
    EXPECT_EQ(h.model.lines().last().plainText(), LogLine::parse(FakeResponse::burstLine(1999), 0).plainText());
    EXPECT_EQ(total(h.model.counts()), 500);
}

TEST(LogcatModelTest, AFlushParsesOnlyTheLinesTheWindowCanKeep)
{
    LogcatModel model;
    model.setBufferLimit(1000);
    model.setPaused(true);
    for (int i = 0; i < 1000; ++i)
        model.injectOutput(threadtime(i) + u("\n"));
    model.setBufferLimit(10);
    model.setPaused(false);
    EXPECT_EQ(ids(model.lines()), (QList<qint64>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(model.lines().last().message(), u("message 999"));
    EXPECT_EQ(total(model.counts()), 10);
    EXPECT_EQ(model.droppedCount(), 990);
}

TEST(LogcatModelTest, CopiesAndExportsTheVisibleLines)
{
    LogcatModel model;
    QStringList copied;
    model.pasteboardWriter = [&](const QString &text) { copied << text; };
    model.copyVisible();
    EXPECT_EQ(copied, QStringList{QString()});
    EXPECT_EQ(model.statusText(), u("Скопировано строк: 0"));

    model.injectOutput(threadtime(1, 'I') + u("\n") + threadtime(2, 'E') + u("\n"));
    model.flush();
    model.setMinimumLevel(LogLevel::error);
    EXPECT_EQ(model.exportText(), u("01-02 03:04:05.002 100-200 E/Tag: message 2"));
    model.setMinimumLevel(LogLevel::verbose);
    model.copyVisible();
    EXPECT_EQ(copied.last(), u("01-02 03:04:05.001 100-200 I/Tag: message 1\n01-02 03:04:05.002 100-200 E/Tag: message 2"));
    EXPECT_EQ(model.statusText(), u("Скопировано строк: 2"));
}

// Lets a test make every file write beyond `bytes` fail, as a full disk would.
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST(LogcatModelTest, SavingIsAtomicAndAFailureIsReported)
{
    QTemporaryDir dir;
    const QString path = dir.path() + u("/logcat.log");
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("the user's earlier log");
    }
    LogcatModel model;
    for (int i = 0; i < 200; ++i)
        model.injectOutput(threadtime(i) + u("\n"));
    model.flush();

    bool saved = true;
    {
        FileSizeLimit limit(1024);
        saved = runSync(model.saveVisible(path));
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(model.statusText().startsWith(u("Не удалось сохранить логи: "))) << model.statusText().toStdString();
    EXPECT_FALSE(model.statusText().contains(u("cancel"), Qt::CaseInsensitive)) << model.statusText().toStdString();
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the user's earlier log"));
    kept.close();

    EXPECT_TRUE(runSync(model.saveVisible(path)));
    EXPECT_EQ(model.statusText(), u("Сохранено строк: 200"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(kept.readAll()), model.exportText());

    EXPECT_FALSE(runSync(model.saveVisible(dir.path() + u("/missing/logcat.log"))));
    EXPECT_TRUE(model.statusText().startsWith(u("Не удалось сохранить логи: ")));
}

} // namespace
