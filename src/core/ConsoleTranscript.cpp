#include "ConsoleTranscript.h"

#include <QStringList>

QString stripANSIControlSequences(const QString &text)
{
    // Scans for ESC "[" [0x30-0x3F]* [0x20-0x2F]* [0x40-0x7E] by hand: the transcript
    // takes every chunk of a fast stream, and most chunks hold no escape at all.
    const QChar escape(0x1B);
    qsizetype next = text.indexOf(escape);
    if (next < 0)
        return text;
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    QString cleaned;
    cleaned.reserve(size);
    qsizetype copied = 0;
    while (next >= 0) {
        qsizetype i = next + 1;
        bool matched = false;
        if (i < size && data[i] == QLatin1Char('[')) {
            ++i;
            while (i < size && data[i].unicode() >= 0x30 && data[i].unicode() <= 0x3F)
                ++i;
            while (i < size && data[i].unicode() >= 0x20 && data[i].unicode() <= 0x2F)
                ++i;
            matched = i < size && data[i].unicode() >= 0x40 && data[i].unicode() <= 0x7E;
        }
        if (matched) {
            cleaned.append(data + copied, next - copied);
            copied = i + 1;
            next = text.indexOf(escape, copied);
        } else {
            next = text.indexOf(escape, next + 1);
        }
    }
    cleaned.append(data + copied, size - copied);
    return cleaned;
}

bool appendConsoleEntry(QList<ConsoleEntry> &entries, ConsoleEntryKind kind, const QString &text,
                        const QDateTime &timestamp, qsizetype limit)
{
    QString cleaned = stripANSIControlSequences(text);
    if (cleaned.isEmpty())
        return false;
    entries.append(ConsoleEntry(timestamp, kind, std::move(cleaned)));
    if (entries.size() > limit)
        entries.remove(0, entries.size() - limit);
    return true;
}

bool appendConsoleEntry(PublishedList<ConsoleEntry> &entries, ConsoleEntryKind kind, const QString &text,
                        const QDateTime &timestamp, qsizetype limit)
{
    QString cleaned = stripANSIControlSequences(text);
    if (cleaned.isEmpty())
        return false;
    entries.append(ConsoleEntry(timestamp, kind, std::move(cleaned)), limit);
    return true;
}

QString trimmedConsoleText(const QString &text)
{
    const auto isSpace = [](QChar c) { return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isSpace(text.at(start)))
        ++start;
    while (end > start && isSpace(text.at(end - 1)))
        --end;
    return start == 0 && end == text.size() ? text : text.mid(start, end - start);
}

bool consoleEntryMatches(const ConsoleEntry &entry, const QString &needle)
{
    return needle.isEmpty() || entry.text.contains(needle, Qt::CaseInsensitive);
}

QString consoleTranscriptText(const QList<ConsoleEntry> &entries)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const ConsoleEntry &entry : entries)
        lines << QLatin1Char('[') + entry.timestamp.toLocalTime().toString(QStringLiteral("HH:mm:ss"))
                     + QStringLiteral("] ") + entry.text;
    return lines.join(QLatin1Char('\n'));
}
