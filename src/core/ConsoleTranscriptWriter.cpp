#include "ConsoleTranscriptWriter.h"

ConsoleTranscriptWriter::ConsoleTranscriptWriter(PublishedList<ConsoleEntry> &entries, qsizetype limit, QObject *parent)
    : QObject(parent), m_entries(entries), m_limit(limit)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kBatchIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { flush(); });
}

void ConsoleTranscriptWriter::queue(ConsoleEntryKind kind, const QString &text, const QDateTime &timestamp)
{
    // Waiting output is capped like the transcript: what would be trimmed anyway is dropped now.
    if (appendConsoleEntry(m_pending, kind, text, timestamp, m_limit) && !m_timer.isActive())
        m_timer.start();
}

void ConsoleTranscriptWriter::append(ConsoleEntryKind kind, const QString &text, const QDateTime &timestamp)
{
    flush();
    appendConsoleEntry(m_entries, kind, text, timestamp, m_limit);
}

void ConsoleTranscriptWriter::flush()
{
    m_timer.stop();
    if (m_pending.isEmpty())
        return;
    m_entries.append(std::exchange(m_pending, {}), m_limit);
}
