#include "RollingText.h"

#include "AnimatedValue.h"

#include <QPainter>

RollingText::RollingText(const QString &text, const QFont &font, InkRole ink, QWidget *parent)
    : DeckText(text, font, std::move(ink), parent), m_roll(new AnimatedValue(1, this))
{
}

void RollingText::rollTo(const QString &text, const std::optional<Animation> &animation)
{
    if (text == this->text())
        return;
    const QString before = shownText();
    setText(text);
    if (!animation || !isVisible() || before.isEmpty()) {
        m_previous.clear();
        m_roll->jumpTo(1);
        return;
    }
    m_previous = before;
    m_roll->jumpTo(0);
    m_roll->animateTo(1, animation);
}

bool RollingText::isRolling() const { return m_roll->isRunning(); }

std::pair<qsizetype, qsizetype> RollingText::commonEnds(const QString &before, const QString &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < shorter - start && before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {start, end};
}

void RollingText::paintEvent(QPaintEvent *event)
{
    const qreal t = m_roll->value();
    if (t >= 1 || m_previous.isEmpty()) {
        DeckText::paintEvent(event);
        return;
    }
    const QString now = shownText();
    const auto [start, end] = commonEnds(m_previous, now);
    const QFontMetricsF fm(font());
    const QString head = now.left(start);
    const QString tail = now.right(end);
    const QString out = m_previous.mid(start, m_previous.size() - start - end);
    const QString in = now.mid(start, now.size() - start - end);
    const qreal headWidth = fm.horizontalAdvance(head);
    const qreal middle = fm.horizontalAdvance(out) + (fm.horizontalAdvance(in) - fm.horizontalAdvance(out)) * t;
    const qreal whole = headWidth + middle + fm.horizontalAdvance(tail);

    const Qt::Alignment align = alignment();
    qreal x = 0;
    if (align & Qt::AlignRight)
        x = width() - whole;
    else if (align & Qt::AlignHCenter)
        x = (width() - whole) / 2;
    qreal top = (height() - fm.height()) / 2;
    if (align & Qt::AlignTop)
        top = 0;
    else if (align & Qt::AlignBottom)
        top = height() - fm.height();
    const qreal baseline = top + fm.ascent();
    const qreal travel = fm.height() * 0.5;

    QPainter p(this);
    p.setClipRect(rect());
    p.setFont(font());
    p.setPen(color());
    p.drawText(QPointF(x, baseline), head);
    p.drawText(QPointF(x + headWidth + middle, baseline), tail);
    // The old part rises and fades; the new one rises into its place.
    p.setOpacity(1 - t);
    p.drawText(QPointF(x + headWidth, baseline - travel * t), out);
    p.setOpacity(t);
    p.drawText(QPointF(x + headWidth, baseline + travel * (1 - t)), in);
}
