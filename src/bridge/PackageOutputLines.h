#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>

// Calls `visit(QStringView line)` for every non-empty line of `text`, splitting at
// every line-break character (LF, CR, CR LF, VT, FF, NEL, LS, PS). Lines are not trimmed.
inline bool isOutputLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\u0085' || c == u'\u2028'
        || c == u'\u2029';
}

// Whether four UTF-16 units packed in `x` may hold a line break: a unit at or below
// U+000D, U+0085, or one from U+2028 on. May say yes wrongly, never no wrongly.
inline bool mayHoldOutputLineBreak(quint64 x)
{
    constexpr quint64 ones = 0x0001000100010001ULL, high = 0x8000800080008000ULL;
    const quint64 low = (x - 0x000E000E000E000EULL) & ~x & high;
    const quint64 y = x ^ 0x0085008500850085ULL;
    const quint64 nel = (y - ones) & ~y & high;
    const quint64 big = (x | (x + 0x5FD85FD85FD85FD8ULL)) & high;
    return (low | nel | big) != 0;
}

template <typename F>
void forEachOutputLine(QStringView text, F &&visit)
{
    const qsizetype n = text.size();
    const char16_t *data = text.utf16();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        // Icons make lines of thousands of characters: skip four at a time.
        while (i + 4 <= n) {
            quint64 word;
            std::memcpy(&word, data + i, sizeof word);
            if (mayHoldOutputLineBreak(word))
                break;
            i += 4;
        }
        const qsizetype end = std::min(n, i + 4);
        for (; i < end; ++i) {
            if (!isOutputLineBreak(data[i]))
                continue;
            if (i > start)
                visit(text.mid(start, i - start));
            start = i + 1;
        }
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
