#include "TabularDigits.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

qreal digitCell(const QFontMetricsF &metrics)
{
    qreal widest = 0;
    for (char c = '0'; c <= '9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(c)));
    return widest;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

namespace TabularDigits {

qreal width(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    const qreal cell = digitCell(metrics);
    qreal total = 0;
    for (QChar c : text)
        total += isDigit(c) ? cell : metrics.horizontalAdvance(c);
    return total;
}

void paint(QPainter &painter, const QRectF &rect, Qt::Alignment alignment, const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    const qreal cell = digitCell(metrics);
    const qreal whole = width(text, font);
    qreal x = rect.left();
    if (alignment & Qt::AlignRight)
        x = rect.right() - whole;
    else if (alignment & Qt::AlignHCenter)
        x = rect.center().x() - whole / 2;
    qreal top = rect.center().y() - metrics.height() / 2;
    if (alignment & Qt::AlignTop)
        top = rect.top();
    else if (alignment & Qt::AlignBottom)
        top = rect.bottom() - metrics.height();
    const qreal baseline = top + metrics.ascent();
    painter.save();
    painter.setFont(font);
    for (QChar c : text) {
        const qreal advance = metrics.horizontalAdvance(c);
        if (isDigit(c)) {
            painter.drawText(QPointF(x + (cell - advance) / 2, baseline), QString(c));
            x += cell;
        } else {
            painter.drawText(QPointF(x, baseline), QString(c));
            x += advance;
        }
    }
    painter.restore();
}

} // namespace TabularDigits
