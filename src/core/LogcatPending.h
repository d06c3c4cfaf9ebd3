#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <atomic>
#include <deque>
#include <mutex>

// One complete line of output: a range of the chunk it arrived in (lines share their chunk's
// text, so cutting output into lines allocates nothing per line).
struct PendingLine {
    QString buffer;
    qsizetype start = 0;
    qsizetype length = 0;

    QStringView text() const { return QStringView(buffer).sliced(start, length); }
};

// Output of logcat runs on its way from the reader thread to the main thread, as complete
// lines. Each run has a generation; only the current run's output is kept, so output that a
// stopped run still writes never lands after a device change or a clear. What waits is
// bounded: at most `limit` lines (more could not be kept in the window anyway) and at most
// kMaxPendingChars characters; the oldest go first and are counted as dropped.
class LogcatPending {
public:
    // A longer line is cut to this many characters, the last of them "…"; the rest of it is
    // dropped, so it stays one entry.
    static constexpr qsizetype kMaxLineLength = 4096;
    static constexpr qsizetype kMaxPendingChars = 4 * 1024 * 1024;

    // The text after the last line feed of one output stream of one run. Only that run's
    // reader thread touches it.
    struct StreamTail {
        QString text;
        bool skipping = false; // the line under way was cut already: its rest is dropped
    };

    // Cuts `chunk`, continuing `tail`, into lines: one trailing carriage return is stripped,
    // blank lines are dropped, long lines are cut to kMaxLineLength; the text after the last
    // line feed stays in `tail` (a tail that outgrows the cap is taken as a cut line at once,
    // and the rest of that line is dropped when it comes).
    static void splitLines(StreamTail &tail, const QString &chunk, QList<PendingLine> &lines);

    // Starts a new run, which becomes the current one; returns its generation. Lines still
    // waiting (an earlier run of the same device that ended while paused) stay.
    quint64 beginRun();
    // No run is current any more: waiting lines are dropped and later output of earlier runs
    // is ignored.
    void retireRuns();
    bool isCurrent(quint64 generation) const { return generation != 0 && m_current.load() == generation; }
    quint64 currentRun() const { return m_current.load(); }

    // Reader thread: adds the lines of `chunk` when `generation` is the current run.
    void add(quint64 generation, StreamTail &tail, const QString &chunk);

    // Main thread: takes every waiting line, oldest first.
    std::deque<PendingLine> take();
    // Drops the waiting lines and the dropped count; the current run stays current.
    void clearLines();

    void setLimit(qsizetype lines);
    qint64 dropped() const;
    void addDropped(qint64 count);
    qsizetype size() const;

private:
    mutable std::mutex m_lock; // guards everything below but the current generation
    std::deque<PendingLine> m_lines;
    qsizetype m_chars = 0;
    qsizetype m_limit = 5000;
    qint64 m_dropped = 0;
    quint64 m_lastGeneration = 0;
    std::atomic<quint64> m_current{0}; // 0: no run is current
};
