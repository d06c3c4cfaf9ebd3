#include "LogcatPending.h"

#include "LogLine.h"

namespace {

// Where to cut a text of more than `max` characters without splitting a surrogate pair.
qsizetype cutPoint(QStringView text, qsizetype max)
{
    return QChar::isHighSurrogate(text[max - 1].unicode()) ? max - 1 : max;
}

// Adds buffer[start, start + length) as lines: one trailing carriage return stripped, cut at the
// length cap, blank pieces dropped.
void emitLine(const QString &buffer, qsizetype start, qsizetype length, QList<PendingLine> &lines)
{
    QStringView line = QStringView(buffer).sliced(start, length);
    if (line.endsWith(u'\r'))
        line.chop(1);
    while (!line.isEmpty()) {
        const qsizetype cut = line.size() > LogcatPending::kMaxLineLength
                                  ? cutPoint(line, LogcatPending::kMaxLineLength)
                                  : line.size();
        const QStringView piece = line.first(cut);
        if (!trimmedLogText(piece).isEmpty())
            lines.append(PendingLine{buffer, piece.data() - buffer.constData(), piece.size()});
        line = line.sliced(cut);
    }
}

} // namespace

void LogcatPending::splitLines(StreamTail &tail, const QString &chunk, QList<PendingLine> &lines)
{
    qsizetype start = 0;
    while (start < chunk.size()) {
        const qsizetype feed = chunk.indexOf(u'\n', start);
        if (feed < 0)
            break;
        if (tail.text.isEmpty()) {
            emitLine(chunk, start, feed - start, lines);
        } else {
            // A line begun in an earlier chunk gets text of its own.
            QString joined = std::move(tail.text);
            joined.append(QStringView(chunk).sliced(start, feed - start));
            tail.text = QString();
            emitLine(joined, 0, joined.size(), lines);
        }
        start = feed + 1;
    }
    if (start < chunk.size())
        tail.text.append(QStringView(chunk).sliced(start));
    // A line feed that never comes must not let the tail grow without bound.
    if (tail.text.size() > kMaxLineLength) {
        const QString text = std::move(tail.text);
        qsizetype done = 0;
        while (text.size() - done > kMaxLineLength) {
            const qsizetype cut = cutPoint(QStringView(text).sliced(done), kMaxLineLength);
            emitLine(text, done, cut, lines);
            done += cut;
        }
        tail.text = text.sliced(done);
    }
}

quint64 LogcatPending::beginRun()
{
    std::lock_guard guard(m_lock);
    m_current.store(++m_lastGeneration);
    return m_lastGeneration;
}

void LogcatPending::retireRuns()
{
    std::lock_guard guard(m_lock);
    m_current.store(0);
    m_lines.clear();
    m_chars = 0;
}

void LogcatPending::add(quint64 generation, StreamTail &tail, const QString &chunk)
{
    if (!isCurrent(generation))
        return; // a retired run: nothing of it is kept, so it is not even split
    QList<PendingLine> lines;
    splitLines(tail, chunk, lines);
    if (lines.isEmpty())
        return;
    std::lock_guard guard(m_lock);
    if (!isCurrent(generation))
        return;
    for (PendingLine &line : lines) {
        m_chars += line.length;
        m_lines.push_back(std::move(line));
    }
    while (!m_lines.empty() && (qsizetype(m_lines.size()) > m_limit || (m_chars > kMaxPendingChars && m_lines.size() > 1))) {
        m_chars -= m_lines.front().length;
        m_lines.pop_front();
        ++m_dropped;
    }
}

std::deque<PendingLine> LogcatPending::take()
{
    std::deque<PendingLine> taken;
    std::lock_guard guard(m_lock);
    taken.swap(m_lines);
    m_chars = 0;
    return taken;
}

void LogcatPending::clearLines()
{
    std::lock_guard guard(m_lock);
    m_lines.clear();
    m_chars = 0;
    m_dropped = 0;
}

void LogcatPending::setLimit(qsizetype lines)
{
    std::lock_guard guard(m_lock);
    m_limit = std::max<qsizetype>(0, lines);
}

qint64 LogcatPending::dropped() const
{
    std::lock_guard guard(m_lock);
    return m_dropped;
}

void LogcatPending::addDropped(qint64 count)
{
    std::lock_guard guard(m_lock);
    m_dropped += count;
}

qsizetype LogcatPending::size() const
{
    std::lock_guard guard(m_lock);
    return qsizetype(m_lines.size());
}
