#include "E2eTest.h"

#include "DriftProbe.h"
#include "E2eTools.h"
#include "TimedChecks.h"

#include "core/LogcatModel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iostream>
#include <mutex>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(KESTREL_SANITIZED)
#include <sanitizer/allocator_interface.h>
#endif

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 5000;          // lines a second the phone writes
constexpr int kStreamMs = 20'000;    // streaming with the window shown
constexpr int kPauseMs = 30'000;     // paused while the phone goes on writing
constexpr qsizetype kWindow = 5000;  // lines the model keeps

// "--------- beginning of main": each logcat prints it before the first line of a buffer, so
// two streams started apart have it in different places.
bool isBufferBanner(const QString &text) { return text.contains(QStringLiteral("--------- beginning of ")); }

// What the process holds, in KiB: its resident set; under the address sanitizer the heap in use,
// since there freed blocks wait in its quarantine and the resident set grows with every free.
qint64 heldKiB()
{
#if defined(KESTREL_SANITIZED)
    return qint64(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
#endif
}

// "adb logcat" alone, as a user would run it in a terminal beside the application: every line
// with the moment it arrived, read on a thread of its own.
class LogcatCapture {
public:
    struct Line {
        QString text;
        Clock::time_point arrived;
    };

    bool start(const QString &serial)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        const QByteArray adb = E2eTools::adb().toLocal8Bit();
        const QByteArray device = serial.toLocal8Bit();
        char *argv[] = {const_cast<char *>(adb.constData()), const_cast<char *>("-s"),
                        const_cast<char *>(device.constData()), const_cast<char *>("logcat"),
                        const_cast<char *>("-v"), const_cast<char *>("threadtime"), nullptr};
        // A run started in the background of a shell ignores Ctrl+C, and adb would inherit that.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        posix_spawnattr_setsigdefault(&attributes, &interrupt);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        const int spawned = posix_spawn(&m_pid, adb.constData(), &actions, &attributes, argv, environ);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (spawned != 0) {
            close(fds[0]);
            m_pid = 0;
            return false;
        }
        m_reader = std::thread([this, fd = fds[0]] { read(fd); });
        return true;
    }

    // Interrupts adb as Ctrl+C would and waits for the last line.
    void stop()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGINT);
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_pid = 0;
        }
        if (m_reader.joinable())
            m_reader.join();
    }
    ~LogcatCapture() { stop(); }

    qsizetype size() const
    {
        const std::lock_guard lock(m_lock);
        return m_lines.size();
    }
    bool contains(const QString &text) const
    {
        const std::lock_guard lock(m_lock);
        return std::any_of(m_lines.rbegin(), m_lines.rend(), [&](const Line &l) { return l.text == text; });
    }
    std::vector<Line> lines() const
    {
        const std::lock_guard lock(m_lock);
        return m_lines;
    }

private:
    void read(int fd)
    {
        QByteArray tail;
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            const Clock::time_point now = Clock::now();
            tail.append(buffer, n);
            qsizetype start = 0;
            std::vector<Line> batch;
            for (qsizetype end = tail.indexOf('\n'); end >= 0; end = tail.indexOf('\n', start)) {
                QString text = LogLine::parse(QString::fromUtf8(tail.constData() + start, end - start), 0).plainText();
                if (end > start && !isBufferBanner(text))
                    batch.push_back({std::move(text), now});
                start = end + 1;
            }
            tail.remove(0, start);
            const std::lock_guard lock(m_lock);
            m_lines.insert(m_lines.end(), batch.begin(), batch.end());
        }
        close(fd);
    }

    pid_t m_pid = 0;
    std::thread m_reader;
    mutable std::mutex m_lock;
    std::vector<Line> m_lines;
};

class LogStream : public E2eTest {
protected:
    QStringList phoneOptions() const override { return {QStringLiteral("--packages"), QStringLiteral("20")}; }

    // The phone writes `rate` lines a second from now on (no backlog), in a stream that
    // outlives the test.
    void setLogRate(int rate)
    {
        QJsonObject device = phone->device();
        QJsonObject logcat = device.value(QStringLiteral("logcat")).toObject();
        logcat.insert(QStringLiteral("rate"), rate);
        logcat.insert(QStringLiteral("backlog"), 0);
        logcat.insert(QStringLiteral("max_seconds"), 240);
        device.insert(QStringLiteral("logcat"), logcat);
        QSaveFile file(phone->stateFolder() + QStringLiteral("/device.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(device).toJson());
        ASSERT_TRUE(file.commit());
    }

    // The logcat processes running for this session: on the phone and adb clients.
    int logcatProcesses(const QByteArray &marker) const
    {
        int count = 0;
        for (const MarkedProcess &p : processesMarkedWith(marker))
            count += p.commandLine.contains(QStringLiteral("logcat")) ? 1 : 0;
        return count;
    }
};

// The real adb streams the phone's log at 5,000 lines a second through the model: lines arrive
// in the device's order with none lost but those the model says it dropped, the newest show
// within half a second of adb delivering them to a terminal, the window stays capped, a pause
// holds memory, and stopping ends the stream on both sides.
TEST_F(LogStream, HighRateStreamArrivesInOrderCappedAndStops)
{
    setLogRate(kRate);
    LogcatModel logcat;
    logcat.setBufferLimit(kWindow);
    logcat.configure(model->service, phone->serial());
    ASSERT_TRUE(logcat.canStream());

    // Every line the model took in, in order, and when each batch was there.
    struct Shown {
        qsizetype first; // the batch's oldest line, the one that waited longest
        Clock::time_point at;
    };
    QStringList taken;
    std::vector<Shown> shown;
    qint64 lastID = -1;
    qsizetype largestWindow = 0;
    QObject follower;
    logcat.observe(logcat.lines, &follower, [&] {
        const Clock::time_point now = Clock::now();
        largestWindow = std::max(largestWindow, logcat.lines.size());
        const qsizetype before = taken.size();
        for (const LogLine &line : logcat.lines())
            if (line.id > lastID) {
                lastID = line.id;
                if (isBufferBanner(line.plainText()))
                    continue;
                taken << line.plainText();
            }
        if (taken.size() > before)
            shown.push_back({before, now});
    });

    LogcatCapture terminal;
    ASSERT_TRUE(terminal.start(phone->serial()));
    ASSERT_TRUE(eventually([&] { return terminal.size() > 0; }, 30000)) << "adb logcat alone reads the phone";

    DriftProbe probe;
    probe.start();
    MachineLoad load = machineLoad();
    load.start();
    QElapsedTimer clock;
    clock.start();
    logcat.start();
    ASSERT_TRUE(logcat.isStreaming());
    ASSERT_TRUE(eventually([&] { return clock.elapsed() >= kStreamMs && !taken.isEmpty(); }, kStreamMs + 60000));
    logcat.setPaused(true);
    const qint64 droppedStreaming = logcat.droppedCount();
    const qint64 stallWallMs = probe.worstWallMs;
    const qint64 stallCpuMs = probe.worstCpuMs;
    // The latency and the gap hold only while the rest of the machine leaves the cores alone.
    const bool timesJudged = TimedChecks::judgeOnIdleMachine("line latency and main-thread gap", load);
    const QStringList window = [&] {
        QStringList texts;
        for (const LogLine &line : logcat.lines())
            if (!isBufferBanner(line.plainText()))
                texts << line.plainText();
        return texts;
    }();
    const qint64 pausedAtKiB = heldKiB();

    // The device side: the command line as adb sent it.
    EXPECT_TRUE(phone->shellCommands().contains(QStringLiteral("export ANDROID_LOG_TAGS=\"''\"; exec logcat '-v' 'threadtime'")))
        << phone->shellCommands().join(QLatin1Char('\n')).toStdString();

    // What the terminal saw up to the model's newest line.
    ASSERT_TRUE(eventually([&] { return terminal.contains(taken.last()); }, 30000));
    terminal.stop();
    const std::vector<LogcatCapture::Line> seen = terminal.lines();

    // The model's lines are the terminal's, in its order; the gaps are exactly the lines the
    // model counted as dropped.
    ASSERT_GT(taken.size(), kRate * (kStreamMs / 1000) / 2) << "the stream kept pace with the phone";
    qsizetype at = 0;
    const qsizetype anchor = std::min<qsizetype>(50, taken.size());
    for (; at + anchor <= qsizetype(seen.size()); ++at) {
        qsizetype k = 0;
        while (k < anchor && seen[at + k].text == taken[k])
            ++k;
        if (k == anchor)
            break;
    }
    ASSERT_LE(at + anchor, qsizetype(seen.size())) << "the model's first lines are among the terminal's";
    std::vector<qsizetype> position(taken.size());
    qsizetype skipped = 0;
    qsizetype j = at;
    for (qsizetype i = 0; i < taken.size(); ++i) {
        while (j < qsizetype(seen.size()) && seen[j].text != taken[i]) {
            ++j;
            ++skipped;
        }
        ASSERT_LT(j, qsizetype(seen.size())) << "line " << i << " of the model is not in the terminal's order: "
                                             << taken[i].toStdString();
        position[i] = j++;
    }
    EXPECT_EQ(skipped, droppedStreaming);

    // The window: capped, and the newest lines taken in.
    EXPECT_EQ(largestWindow, kWindow);
    ASSERT_GE(window.size(), kWindow - 3);
    EXPECT_EQ(window, taken.mid(taken.size() - window.size()));

    // From adb delivering a line to the terminal to the model holding it, for the line of each
    // batch that waited longest.
    std::vector<qint64> latencies;
    for (const Shown &s : shown) {
        const Clock::time_point delivered = seen[position[s.first]].arrived;
        latencies.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(s.at - delivered).count());
    }
    std::sort(latencies.begin(), latencies.end());
    const qint64 latencyMedian = latencies[latencies.size() / 2];
    const qint64 latency95 = latencies[latencies.size() * 95 / 100];
    const qint64 latencyMax = latencies.back();

    // Paused: the phone goes on writing, the model takes nothing and holds little.
    const qsizetype takenBeforePause = taken.size();
    qint64 peakKiB = pausedAtKiB;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { peakKiB = std::max(peakKiB, heldKiB()); });
    sampler.start(100);
    QElapsedTimer paused;
    paused.start();
    ASSERT_TRUE(eventually([&] { return paused.elapsed() >= kPauseMs; }, kPauseMs + 30000));
    sampler.stop();
    peakKiB = std::max(peakKiB, heldKiB());
    EXPECT_EQ(taken.size(), takenBeforePause);
    EXPECT_TRUE(logcat.isStreaming());
    EXPECT_LE(peakKiB - pausedAtKiB, 20 * 1024) << "memory grew while paused";

    // Resumed: the newest lines come in, the older ones are counted as dropped, the window
    // keeps its cap and the device's order.
    logcat.setPaused(false);
    ASSERT_TRUE(eventually([&] { return taken.size() > takenBeforePause && logcat.droppedCount() > droppedStreaming; }));
    const qint64 droppedPaused = logcat.droppedCount() - droppedStreaming;
    EXPECT_GE(droppedPaused, qint64(kRate) * kPauseMs / 1000 / 2);
    EXPECT_EQ(logcat.lines.size(), kWindow);
    EXPECT_TRUE(std::is_sorted(logcat.lines().begin(), logcat.lines().end(),
                               [](const LogLine &a, const LogLine &b) { return a.timestamp() < b.timestamp(); }))
        << "the window is in the device's time order";

    // Stopped: adb ends, the phone's logcat ends, and nothing comes in after that.
    logcat.stop();
    ASSERT_TRUE(eventually([&] { return !logcat.isStreaming(); }, 30000));
    EXPECT_EQ(logcat.statusText(), QStringLiteral("Поток остановлен"));
    ASSERT_TRUE(eventually([&] { return logcatProcesses(session->marker()) == 0; }, 30000))
        << describe(processesMarkedWith(session->marker())).toStdString();
    const qsizetype takenAtStop = taken.size();
    logcat.flush();
    EXPECT_EQ(taken.size(), takenAtStop);
    probe.timer.stop();

    std::cout << "[ figure ] log stream " << kRate << " lines/s for " << kStreamMs / 1000 << " s: " << takenBeforePause
              << " lines taken, " << droppedStreaming << " dropped; line shown after the terminal had it (oldest of each batch): median "
              << latencyMedian << " ms, 95% " << latency95 << " ms, max " << latencyMax
              << " ms; longest main-thread gap " << stallWallMs << " ms wall, " << stallCpuMs
              << " ms CPU; paused " << kPauseMs / 1000 << " s: " << droppedPaused << " lines dropped, memory +"
              << (peakKiB - pausedAtKiB) / 1024 << " MiB" << std::endl;
    RecordProperty("latencyMedianMs", int(latencyMedian));
    RecordProperty("latency95Ms", int(latency95));
    RecordProperty("latencyMaxMs", int(latencyMax));
    RecordProperty("longestGapWallMs", int(stallWallMs));
    RecordProperty("longestGapCpuMs", int(stallCpuMs));
    RecordProperty("pausedGrowthKiB", int(peakKiB - pausedAtKiB));
    if (timesJudged) {
        EXPECT_LE(latency95, 500);
        EXPECT_LT(stallCpuMs, 50);
    }
}

} // namespace
