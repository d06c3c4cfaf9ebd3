#pragma once

#include "bridge/ConsoleEntry.h"
#include "core/ConsoleTranscript.h"
#include "core/PublishedList.h"

#include <QObject>
#include <QTimer>

// Feeds the console transcript. Output that streams in is gathered and appended as one batch
// at most every `batchInterval` (one removal at the front and one insertion at the end for the
// whole batch), so a fast stream costs the transcript's views one layout per batch instead of
// one per chunk; the timer runs only while output is waiting. Lines the console writes itself
// (the echoed command, its messages) go in at once, after whatever output is still waiting, so
// the order is always the order of arrival.
class ConsoleTranscriptWriter : public QObject {
public:
    explicit ConsoleTranscriptWriter(PublishedList<ConsoleEntry> &entries, qsizetype limit = kConsoleTranscriptLimit,
                                     QObject *parent = nullptr);

    static constexpr int kBatchIntervalMs = 40;
    void setBatchInterval(int ms) { m_timer.setInterval(ms); }

    // One chunk of output, cleaned of control sequences; appended with the next batch.
    void queue(ConsoleEntryKind kind, const QString &text, const QDateTime &timestamp);
    // One line appended now, after the waiting output.
    void append(ConsoleEntryKind kind, const QString &text, const QDateTime &timestamp);
    // Appends the waiting output now.
    void flush();
    qsizetype waiting() const { return m_pending.size(); }

private:
    PublishedList<ConsoleEntry> &m_entries;
    qsizetype m_limit;
    QList<ConsoleEntry> m_pending;
    QTimer m_timer;
};
