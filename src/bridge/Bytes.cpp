#include "Bytes.h"

namespace Bytes {

namespace {

struct Unit {
    qint64 size;
    int fractionDigits;
    const char16_t *name;
};

constexpr Unit units[] = {
    {1000, 0, u"КБ"},
    {1000 * 1000, 1, u"МБ"},
    {1000 * 1000 * 1000, 2, u"ГБ"},
};

// Rounded to `digits` fraction digits, half away from zero, in units of 10^-digits.
qint64 scaled(qint64 bytes, const Unit &unit)
{
    qint64 factor = 1;
    for (int i = 0; i < unit.fractionDigits; ++i)
        factor *= 10;
    const __int128 numerator = __int128(bytes) * factor;
    return qint64((numerator + unit.size / 2) / unit.size);
}

QString grouped(qint64 whole)
{
    QString digits = QString::number(whole);
    // Thousands are grouped with a no-break space so the last plain space still
    // separates the number from the unit.
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QChar(0x00A0));
    return digits;
}

} // namespace

QString shortText(std::optional<qint64> bytes)
{
    if (!bytes || *bytes < 1)
        return QStringLiteral("—");
    int u = 0;
    while (u + 1 < int(std::size(units)) && *bytes >= units[u + 1].size)
        ++u;
    qint64 value = scaled(*bytes, units[u]);
    qint64 factor = 1;
    for (int i = 0; i < units[u].fractionDigits; ++i)
        factor *= 10;
    // 999 999 bytes round to "1000 КБ": say "1 МБ" instead.
    if (value >= 1000 * factor && u + 1 < int(std::size(units))) {
        ++u;
        value = scaled(*bytes, units[u]);
        factor = 1;
        for (int i = 0; i < units[u].fractionDigits; ++i)
            factor *= 10;
    }
    // Less than half a kilobyte still reads as a size, not as zero.
    if (value == 0)
        value = 1;
    QString text = grouped(value / factor);
    if (factor > 1) {
        QString fraction = QString::number(value % factor).rightJustified(units[u].fractionDigits, QLatin1Char('0'));
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        if (!fraction.isEmpty())
            text += QLatin1Char(',') + fraction;
    }
    return text + QLatin1Char(' ') + QString::fromUtf16(units[u].name);
}

Split split(std::optional<qint64> bytes)
{
    const QString text = shortText(bytes);
    if (text == QStringLiteral("—"))
        return {text, QString()};
    const qsizetype space = text.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        return {text, QString()};
    return {text.left(space), text.mid(space + 1)};
}

QString months(qint64 count)
{
    const qint64 lastTwo = count % 100;
    const qint64 last = count % 10;
    const char16_t *noun = u"месяцев";
    if (lastTwo >= 11 && lastTwo <= 14)
        noun = u"месяцев";
    else if (last >= 2 && last <= 4)
        noun = u"месяца";
    else if (last == 1)
        noun = u"месяц";
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf16(noun);
}

} // namespace Bytes
