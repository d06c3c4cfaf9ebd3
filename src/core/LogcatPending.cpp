#include "LogcatPending.h"

#include "LogLine.h"

namespace {

// Where to cut a text of more than `max` characters without splitting a surrogate pair.
qsizetype cutPoint(QStringView text, qsizetype max)
{
    return QChar::isHighSurrogate(text[max - 1].unicode()) ? max - 1 : max;
}

// Adds buffer[start, start + length) as one line: one trailing carriage return stripped, a blank
// line dropped, a line over the cap cut short and marked with "…" (it keeps text of its own).
void emitLine(const QString &buffer, qsizetype start, qsizetype length, QList<PendingLine> &lines)
{
    QStringView line = QStringView(buffer).sliced(start, length);
    if (line.endsWith(u'\r'))
        line.chop(1);
    const QStringView trimmed = trimmedLogText(line);
    if (trimmed.isEmpty())
        return;
    if (line.size() > LogcatPending::kMaxLineLength)
        line = line.sliced(trimmed.data() - line.data()); // leading blanks take no room of the cut
    if (line.size() <= LogcatPending::kMaxLineLength) {
        lines.append(PendingLine{buffer, line.data() - buffer.constData(), line.size()});
        return;
    }
    QString cut = line.first(cutPoint(line, LogcatPending::kMaxLineLength - 1)).toString();
    cut.append(u'…');
    const qsizetype size = cut.size();
    lines.append(PendingLine{std::move(cut), 0, size});
}

} // namespace

void LogcatPending::splitLines(StreamTail &tail, const QString &chunk, QList<PendingLine> &lines)
{
    qsizetype start = 0;
    while (start < chunk.size()) {
        const qsizetype feed = chunk.indexOf(u'\n', start);
        if (feed < 0)
            break;
        if (tail.skipping) {
            tail.skipping = false; // the cut line ends here
        } else if (tail.text.isEmpty()) {
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
    if (start >= chunk.size() || tail.skipping)
        return;
    tail.text.append(QStringView(chunk).sliced(start));
    // A line feed that never comes must not let the tail grow without bound. One character
    // more than the cap may be the carriage return before a feed still to come.
    if (tail.text.size() > kMaxLineLength + 1) {
        const qsizetype before = lines.size();
        emitLine(tail.text, 0, tail.text.size(), lines);
        tail.text = QString();
        tail.skipping = lines.size() > before; // a blank start was only leading space
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
