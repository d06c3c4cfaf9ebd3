#pragma once

#include "LogLine.h"
#include "LogcatPending.h"
#include "Observable.h"
#include "PublishedList.h"

#include "bridge/ADBService.h"
#include "bridge/ConsoleProcessRunner.h"

#include <QCoro/QCoroTask>
#include <QStringMatcher>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// The live logcat stream of one device, in the "threadtime" format. adb runs as a long-lived
// child through a ConsoleProcessRunner; its reader thread cuts the output into lines and
// leaves them in a bounded pending buffer, and the main thread takes them in batches every
// `flushInterval` while streaming: parses them, keeps at most `bufferLimit` lines, filters them
// by level, tag and text and counts lines per level.
//
// Headless: build one, call setBufferLimit() and configure() with an adb and a ready device's
// serial, then start(); `lines` and `visibleLines` fill as the device writes.
class LogcatModel final : public Observable {
    Q_OBJECT
public:
    explicit LogcatModel(QObject *parent = nullptr);
    ~LogcatModel() override;

    PublishedList<LogLine> lines{this};        // every kept line, oldest first
    PublishedList<LogLine> visibleLines{this}; // the kept lines that pass the filters
    Published<bool> isStreaming{this, false};
    Published<bool> isPaused{this, false};     // written through setPaused
    Published<bool> autoScroll{this, true};    // read by the screen only
    Published<QString> statusText{this, QStringLiteral("Поток остановлен")};
    Published<LogLevel> minimumLevel{this, LogLevel::verbose}; // the three filters are written through
    Published<QString> tagQuery{this};                          // their setters, which refilter
    Published<QString> searchText{this};
    Published<LogLevelCounts> counts{this};   // lines taken in per level since the last clear
    Published<qint64> droppedCount{this, 0};  // lines never taken in since the last clear
    Published<std::optional<QString>> serial{this};      // the device streamed
    Published<std::optional<QString>> serviceTool{this}; // the adb in use

    // The published properties canStream() reads.
    auto canStreamInputs() const { return std::tie(serial, serviceTool); }

    // The most lines kept (0 keeps none). A lower limit applies at the next batch of lines.
    qsizetype bufferLimit() const { return m_bufferLimit; }
    void setBufferLimit(qsizetype lines);
    // How often the waiting output is taken in while streaming.
    std::chrono::milliseconds flushInterval{150};
    // Puts text on the clipboard; the screen installs it (the core links no Gui).
    std::function<void(const QString &)> pasteboardWriter;

    // A changed serial stops a running stream and clears the window; the service is replaced
    // in any case.
    void configure(std::optional<ADBService> service, std::optional<QString> serial);
    bool canStream() const { return m_service.has_value() && serial().has_value(); }

    void toggleStreaming();
    void start();
    void stop();
    // Empties the window and the counts and drops output not taken in yet. A running stream
    // goes on; the output still coming from a stopped one is ignored.
    void clear();
    // Clears the device's own log ("logcat -c"), then the window; a running stream is stopped
    // first and started again once it has ended.
    QCoro::Task<void> clearDeviceBuffer();

    void setPaused(bool paused);
    void setMinimumLevel(LogLevel level);
    void setTagQuery(const QString &text);
    void setSearchText(const QString &text);
    bool matches(const LogLine &line) const;
    qsizetype matchCount() const { return visibleLines.size(); }

    // The visible lines as text, one per line, without a final line feed.
    QString exportText() const;
    void copyVisible();
    // Writes the visible lines to `path` atomically (an existing file stays untouched when the
    // write fails) and reports the outcome in the status text.
    QCoro::Task<bool> saveVisible(QString path);
    static QString exportText(const QList<LogLine> &rows);

    // Takes in the waiting output now (the flush loop calls it; tests and benchmarks may).
    void flush();
    // Adds output as the current run would (benchmarks; a run of its own when none is current).
    void injectOutput(const QString &chunk);

private:
    struct Filter {
        LogLevel minimum = LogLevel::verbose;
        QString tag;
        QString text;
        QStringMatcher tagMatcher;
        QStringMatcher textMatcher;
        bool operator==(const Filter &other) const
        {
            return minimum == other.minimum && tag == other.tag && text == other.text;
        }
    };
    struct RunTails {
        LogcatPending::StreamTail out;
        LogcatPending::StreamTail err;
    };

    void updateFilter();
    void appendBatch(QList<LogLine> batch);
    void finishRun(quint64 generation, int status);

    std::optional<ADBService> m_service;
    qsizetype m_bufferLimit = 5000;
    std::shared_ptr<LogcatPending> m_pending;
    ConsoleProcessRunner m_runner;
    QTimer m_flushTimer;
    quint64 m_run = 0;            // generation of the last run started
    bool m_stopRequested = false; // the user (or a device change) asked the run to end
    bool m_resumeAfterEnd = false;
    QString m_resumeNote;         // a status to show again once the resumed stream runs
    quint64 m_device = 0;         // grows with every change of serial
    qint64 m_nextID = 0;
    Filter m_filter;
    LogcatPending::StreamTail m_injectedTail;
};
