#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>

// Calls `visit(QStringView line)` for every non-empty line of `text`, splitting at
// every line-break character (LF, CR, CR LF, VT, FF, NEL, LS, PS). Lines are not trimmed.
inline bool isOutputLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\u0085' || c == u'\u2028'
        || c == u'\u2029';
}

template <typename F>
void forEachOutputLine(QStringView text, F &&visit)
{
    const qsizetype n = text.size();
    const char16_t *data = text.utf16();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        // Skip blocks of 16 that hold no possible break (nothing at or below U+000D,
        // no U+0085, nothing from U+2028 on); the test is branch-free per block.
        while (i + 16 <= n) {
            unsigned maybe = 0;
            for (int k = 0; k < 16; ++k) {
                const unsigned c = data[i + k];
                maybe |= unsigned(c <= 0x0Du) | unsigned(c == 0x85u) | unsigned(c >= 0x2028u);
            }
            if (maybe)
                break;
            i += 16;
        }
        const qsizetype end = std::min(n, i + 16);
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
