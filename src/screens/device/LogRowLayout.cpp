#include "LogRowLayout.h"

#include "design/ShownText.h"

#include <QtMath>

#include <cmath>

LogRowLayout::LogRowLayout(qreal width, bool compact, const QFont &font)
    : m_width(width), m_compact(compact), m_font(font), m_metrics(font),
      m_rowHeight(int(std::ceil(m_metrics.height() + 2 * kVerticalInset))),
      m_advances(std::make_shared<std::array<float, 0x500>>())
{
    m_advances->fill(-1);
    const qreal space = m_metrics.horizontalAdvance(QLatin1Char(' '));
    m_asciiAdvance = space;
    for (char16_t c = 0x21; c < 0x7F && m_asciiAdvance > 0; ++c)
        if (m_metrics.horizontalAdvance(QChar(c)) != space)
            m_asciiAdvance = 0;
    qreal x = kSideInset;
    if (!compact)
        x += kTimeWidth + kSpacing;
    x += kBadgeWidth + kSpacing;
    x += (compact ? kCompactTagWidth : kTagWidth) + kSpacing;
    m_messageX = x;
    // However narrow the list, a message keeps room for a few characters.
    m_messageWidth = std::max(width - kSideInset - x, m_metrics.horizontalAdvance(QLatin1Char('M')) * 4);
}

QRectF LogRowLayout::timeCell() const
{
    if (m_compact)
        return {};
    return {kSideInset, kVerticalInset, kTimeWidth, m_rowHeight - 2 * kVerticalInset};
}

QRectF LogRowLayout::badgeCell() const
{
    const qreal x = kSideInset + (m_compact ? 0 : kTimeWidth + kSpacing);
    return {x, kVerticalInset, kBadgeWidth, m_rowHeight - 2 * kVerticalInset};
}

QRectF LogRowLayout::tagCell() const
{
    const QRectF badge = badgeCell();
    return {badge.right() + kSpacing, kVerticalInset, m_compact ? kCompactTagWidth : kTagWidth,
            m_rowHeight - 2 * kVerticalInset};
}

QStringView LogRowLayout::shownMessage(QStringView message, QString &storage)
{
    if (!ShownText::needsStandIns(message))
        return message;
    storage = ShownText::logMessage(message.toString());
    return storage;
}

qreal LogRowLayout::charAdvance(QStringView text, qsizetype i, qsizetype &length) const
{
    const char16_t c = text[i].unicode();
    if (c < 0x500) {
        length = 1;
        float &known = (*m_advances)[c];
        if (known < 0)
            known = float(m_metrics.horizontalAdvance(QChar(c)));
        return known;
    }
    length = QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()) ? 2 : 1;
    return m_metrics.horizontalAdvance(text.sliced(i, length).toString());
}

qreal LogRowLayout::advance(QStringView text) const
{
    qreal x = 0;
    qsizetype length = 1;
    for (qsizetype i = 0; i < text.size(); i += length)
        x += charAdvance(text, i, length);
    return x;
}

template <typename F>
void LogRowLayout::wrap(QStringView message, F &&onBreak) const
{
    // Greedy: fill a row, then break after its last space, or before the character that does
    // not fit when the row has no space.
    qsizetype rowStart = 0;
    qsizetype lastSpace = -1;
    qreal x = 0;
    qsizetype length = 1;
    for (qsizetype i = 0; i < message.size(); i += length) {
        const qreal w = charAdvance(message, i, length);
        if (x + w > m_messageWidth && i > rowStart) {
            const qsizetype next = lastSpace >= rowStart ? lastSpace + 1 : i;
            onBreak(next);
            rowStart = next;
            lastSpace = -1;
            x = advance(message.sliced(next, i - next));
        }
        x += w;
        if (message[i] == u' ')
            lastSpace = i;
    }
}

int LogRowLayout::rowCount(QStringView message) const
{
    // Most lines are ASCII and fit their cell: counted without measuring a character.
    if (m_asciiAdvance > 0 && message.size() * m_asciiAdvance <= m_messageWidth) {
        bool ascii = true;
        for (QChar c : message)
            ascii &= c.unicode() - 0x20u < 0x5Fu;
        if (ascii)
            return 1;
    }
    int rows = 1;
    wrap(message, [&rows](qsizetype) { ++rows; });
    return rows;
}

QList<qsizetype> LogRowLayout::rowStarts(QStringView message) const
{
    QList<qsizetype> starts{0};
    wrap(message, [&starts](qsizetype start) { starts.append(start); });
    return starts;
}
