#pragma once

#include <QString>
#include <QStringView>

// Calls `visit(QStringView line)` for every non-empty line of `text`, splitting at
// every line-break character (LF, CR, CR LF, VT, FF, NEL, LS, PS). Lines are not trimmed.
template <typename F>
void forEachOutputLine(QStringView text, F &&visit)
{
    const qsizetype n = text.size();
    const QChar *data = text.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        const bool isBreak = c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\u0085'
            || c == u'\u2028' || c == u'\u2029';
        if (!isBreak)
            continue;
        if (i > start)
            visit(text.mid(start, i - start));
        start = i + 1;
    }
    if (n > start)
        visit(text.mid(start, n - start));
}

// Trims white space and line breaks.
inline QStringView trimmedLine(QStringView line) { return line.trimmed(); }

// Trims blanks only (white space that is not a line break); after the split the
// two trims agree, but the details parser keeps to its own rule.
inline QStringView trimmedBlanks(QStringView line)
{
    auto isBlank = [](QChar c) {
        const char16_t u = c.unicode();
        const bool lineBreak = u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == u'\u0085'
            || u == u'\u2028' || u == u'\u2029';
        return c.isSpace() && !lineBreak;
    };
    qsizetype b = 0, e = line.size();
    while (b < e && isBlank(line[b]))
        ++b;
    while (e > b && isBlank(line[e - 1]))
        --e;
    return line.mid(b, e - b);
}
