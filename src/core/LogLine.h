#pragma once

#include "LogLevel.h"

#include <QString>
#include <QStringView>

// White space of log text: the tab and the Unicode space separators (line breaks are not).
inline bool isLogWhitespace(char16_t c)
{
    if (c < 0x80)
        return c == u' ' || c == u'\t';
    return QChar::category(char32_t(c)) == QChar::Separator_Space;
}

QStringView trimmedLogText(QStringView text);

// One parsed logcat line of the "threadtime" format: date, time, pid, tid, level letter, then
// the tag, a colon and the message. The line's text is kept once and the fields are views into
// it, so parsing allocates nothing beyond the line itself.
class LogLine {
public:
    LogLine() = default;

    // Unique and increasing within one model since its last clear.
    qint64 id = 0;
    LogLevel level = LogLevel::info;

    // Date and time joined by one space; empty for a line that is not in the format.
    QStringView timestamp() const { return view(m_timestamp); }
    QStringView pid() const { return view(m_pid); }
    QStringView tid() const { return view(m_tid); }
    // Never empty: "—" for a line without a tag, "logcat" for a line not in the format.
    QStringView tag() const;
    QStringView message() const { return view(m_message); }

    // "timestamp pid-tid L/tag: message".
    QString plainText() const;

    // Never fails: a line that is not in the format becomes an info line tagged "logcat"
    // whose message is the whole trimmed text.
    static LogLine parse(QString text, qint64 id);
    // The same for buffer[start, start + length): the line shares the buffer's text.
    static LogLine parse(const QString &buffer, qsizetype start, qsizetype length, qint64 id);
    // A line from its fields (expected values in tests, lines made by hand).
    static LogLine make(qint64 id, const QString &timestamp, const QString &pid, const QString &tid, LogLevel level,
                        const QString &tag, const QString &message);

    bool operator==(const LogLine &other) const;

private:
    struct Span {
        qint32 start = 0;
        qint32 length = 0;
    };
    enum class TagSource : quint8 { text, dash, logcat };

    QStringView view(Span span) const { return QStringView(m_text).sliced(span.start, span.length); }

    QString m_text;
    Span m_timestamp, m_pid, m_tid, m_tag, m_message;
    TagSource m_tagSource = TagSource::logcat;
};
