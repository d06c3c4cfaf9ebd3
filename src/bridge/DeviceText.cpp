#include "DeviceText.h"

#include <QTextBoundaryFinder>

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace DeviceText {

std::optional<qint64> readInteger(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate negatively so the most negative value fits too.
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (__builtin_mul_overflow(value, qint64(10), &value) || __builtin_sub_overflow(value, qint64(c - u'0'), &value))
            return std::nullopt;
    }
    if (!negative) {
        if (value == std::numeric_limits<qint64>::min())
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<double> readNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 4096)
        return std::nullopt;
    char buffer[4097];
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // strtod would skip leading white space and stop at anything else it cannot read;
        // non-ASCII and NUL can never be part of a number.
        if (c == 0 || c > 0x7f)
            return std::nullopt;
        buffer[i] = char(c);
    }
    buffer[text.size()] = '\0';
    const unsigned char first = static_cast<unsigned char>(buffer[0]);
    if (first == ' ' || (first >= '\t' && first <= '\r'))
        return std::nullopt;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    char *end = nullptr;
    const double value = strtod_l(buffer, &end, cLocale);
    if (end != buffer + text.size())
        return std::nullopt;
    return value;
}

QStringView trimmed(QStringView text)
{
    auto isBlank = [](QChar c) {
        return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
    };
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QList<QStringView> fields(QStringView text)
{
    QList<QStringView> out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < n && !text[i].isSpace())
            ++i;
        if (i > start)
            out.append(text.sliced(start, i - start));
    }
    return out;
}

} // namespace DeviceText

QString capitalizedFirst(const QString &text)
{
    if (text.isEmpty())
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype next = finder.toNextBoundary();
    if (next <= 0)
        next = text.size();
    return text.left(next).toUpper() + text.mid(next);
}
