#include "DeckText.h"

#include "ShownText.h"

#include <QPainter>

#include <cmath>

DeckText::DeckText(const QString &text, const QFont &font, InkRole ink, QWidget *parent)
    : QWidget(parent), m_text(text), m_shown(ShownText::line(text)), m_ink(std::move(ink))
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void DeckText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_shown = ShownText::line(text);
    updateGeometry();
    update();
}

void DeckText::setInk(InkRole ink)
{
    m_ink = std::move(ink);
    update();
}

void DeckText::setElideMode(Qt::TextElideMode mode)
{
    m_elide = mode;
    updateGeometry();
    update();
}

void DeckText::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QSize DeckText::sizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_shown))), int(std::ceil(fm.height())));
}

QSize DeckText::minimumSizeHint() const
{
    if (m_elide == Qt::ElideNone)
        return sizeHint();
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(QStringLiteral("…")))), int(std::ceil(fm.height())));
}

void DeckText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(m_ink());
    p.setFont(font());
    const QFontMetricsF fm(font());
    const QString shown = m_elide == Qt::ElideNone ? m_shown : fm.elidedText(m_shown, m_elide, width());
    p.drawText(QRectF(rect()), int(m_alignment), shown);
}
