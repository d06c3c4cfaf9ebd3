#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

// Line splitting shared by the parsers of tool output: a line ends at LF, VT, FF, CR,
// CR LF (one break), U+0085, U+2028 or U+2029; empty lines are dropped.
inline bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

// Calls `f(QStringView line)` for every non-empty line, in order. The views point
// into `text`, so no line is copied.
template <typename F>
void forEachLine(QStringView text, F &&f)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (!isLineBreak(data[i]))
            continue;
        if (i > start)
            f(text.sliced(start, i - start));
        start = i + 1;
    }
    if (size > start)
        f(text.sliced(start, size - start));
}

inline QStringList splitLines(QStringView text)
{
    QStringList lines;
    forEachLine(text, [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}
