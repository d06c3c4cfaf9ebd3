#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Line splitting shared by the parsers of tool output: a line ends at LF, VT, FF, CR,
// CR LF (one break), U+0085, U+2028 or U+2029; empty lines are dropped.
inline bool isLineBreak(char16_t c)
{
    // LF, VT, FF and CR are 0x0A to 0x0D; most characters fail the first test at once.
    if (c <= 0x0D)
        return c >= 0x0A;
    return c == 0x0085 || c == 0x2028 || c == 0x2029;
}

// Index of the first line break at or after `from`, or `size`. Characters from 0x0E to
// 0x84 (all of printable ASCII) are never breaks, so whole blocks of them are skipped.
inline qsizetype nextLineBreak(const char16_t *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i low = _mm_set1_epi16(0x0E);
    const __m128i span = _mm_set1_epi16(0x84 - 0x0E);
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= size; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i above = _mm_subs_epu16(_mm_sub_epi16(v, low), span); // zero where 0x0E..0x84
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(above, zero)) != 0xFFFF)
            break;
    }
#endif
    for (; i < size; ++i)
        if (isLineBreak(data[i]))
            return i;
    return size;
}

// Calls `f(QStringView line)` for every non-empty line, in order. The views point
// into `text`, so no line is copied.
template <typename F>
void forEachLine(QStringView text, F &&f)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        const qsizetype end = nextLineBreak(data, start, size);
        if (end > start)
            f(text.sliced(start, end - start));
        start = end + 1;
    }
}

inline QStringList splitLines(QStringView text)
{
    QStringList lines;
    forEachLine(text, [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}
