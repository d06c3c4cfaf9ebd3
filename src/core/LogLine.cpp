#include "LogLine.h"

namespace {

const QString kDash = QStringLiteral("—");
const QString kLogcatTag = QStringLiteral("logcat");

} // namespace

QStringView trimmedLogText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isLogWhitespace(text[begin].unicode()))
        ++begin;
    while (end > begin && isLogWhitespace(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin);
}

QStringView LogLine::tag() const
{
    switch (m_tagSource) {
    case TagSource::text:
        return view(m_tag);
    case TagSource::dash:
        return kDash;
    case TagSource::logcat:
        break;
    }
    return kLogcatTag;
}

QString LogLine::plainText() const
{
    QString text;
    text.reserve(m_timestamp.length + m_pid.length + m_tid.length + tag().size() + m_message.length + 8);
    text.append(timestamp()).append(u' ').append(pid()).append(u'-').append(tid()).append(u' ');
    text.append(rawValue(level)).append(u'/').append(tag()).append(u": ").append(message());
    return text;
}

LogLine LogLine::parse(QString text, qint64 id)
{
    const qsizetype size = text.size();
    return parse(std::move(text), 0, size, id);
}

LogLine LogLine::parse(const QString &buffer, qsizetype start, qsizetype length, qint64 id)
{
    LogLine line;
    line.id = id;
    line.m_text = buffer;
    const QStringView all(line.m_text);
    const QStringView trimmed = trimmedLogText(all.sliced(start, length));
    const qint32 begin = qint32(trimmed.data() - all.data());
    const qint32 end = begin + qint32(trimmed.size());
    const char16_t *data = all.utf16();

    auto fallback = [&] {
        line.level = LogLevel::info;
        line.m_timestamp = line.m_pid = line.m_tid = line.m_tag = Span{};
        line.m_tagSource = TagSource::logcat;
        line.m_message = Span{begin, end - begin};
        return line;
    };

    // The first five fields, each ended by a run of spaces (a tab does not separate).
    Span pieces[5];
    qint32 i = begin;
    for (Span &piece : pieces) {
        while (i < end && data[i] == u' ')
            ++i;
        if (i == end)
            return fallback();
        piece.start = i;
        while (i < end && data[i] != u' ')
            ++i;
        piece.length = i - piece.start;
    }
    while (i < end && data[i] == u' ')
        ++i;
    if (i == end || pieces[4].length != 1)
        return fallback(); // fewer than six fields, or no one-letter level
    const std::optional<LogLevel> level = logLevelFromLetter(data[pieces[4].start]);
    if (!level)
        return fallback();

    if (pieces[1].start != pieces[0].start + pieces[0].length + 1) {
        // Date and time apart by more than one space: the stored text joins them by one.
        QString joined;
        joined.reserve(end - begin);
        joined.append(all.sliced(pieces[0].start, pieces[0].length)).append(u' ');
        joined.append(all.sliced(pieces[1].start, end - pieces[1].start));
        const qsizetype size = joined.size();
        return parse(std::move(joined), 0, size, id);
    }

    line.level = *level;
    line.m_timestamp = Span{pieces[0].start, pieces[1].start + pieces[1].length - pieces[0].start};
    line.m_pid = pieces[2];
    line.m_tid = pieces[3];

    const QStringView rest = trimmedLogText(all.sliced(i, end - i));
    const qint32 restStart = qint32(rest.data() - all.data());
    const qsizetype colon = rest.indexOf(u':');
    QStringView tag;
    QStringView message = rest;
    if (colon >= 0) {
        tag = trimmedLogText(rest.first(colon));
        message = trimmedLogText(rest.sliced(colon + 1));
    }
    line.m_message = Span{qint32(message.data() - all.data()), qint32(message.size())};
    if (message.isEmpty())
        line.m_message = Span{restStart, 0};
    if (tag.isEmpty()) {
        line.m_tagSource = TagSource::dash;
    } else {
        line.m_tagSource = TagSource::text;
        line.m_tag = Span{qint32(tag.data() - all.data()), qint32(tag.size())};
    }
    return line;
}

LogLine LogLine::make(qint64 id, const QString &timestamp, const QString &pid, const QString &tid, LogLevel level,
                      const QString &tag, const QString &message)
{
    LogLine line;
    line.id = id;
    line.level = level;
    auto add = [&line](const QString &part) {
        const Span span{qint32(line.m_text.size()), qint32(part.size())};
        line.m_text.append(part);
        return span;
    };
    line.m_timestamp = add(timestamp);
    line.m_pid = add(pid);
    line.m_tid = add(tid);
    line.m_tag = add(tag);
    line.m_message = add(message);
    line.m_tagSource = tag.isEmpty() ? TagSource::dash : TagSource::text;
    return line;
}

bool LogLine::operator==(const LogLine &other) const
{
    return id == other.id && level == other.level && timestamp() == other.timestamp() && pid() == other.pid()
           && tid() == other.tid() && tag() == other.tag() && message() == other.message();
}
