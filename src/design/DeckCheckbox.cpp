#include "DeckCheckbox.h"

#include "Ink.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Typo.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr qreal kGap = 6;
constexpr qreal kSymbolSize = 12;
} // namespace

DeckCheckbox::DeckCheckbox(const QString &text, std::optional<QString> symbol, QWidget *parent)
    : QAbstractButton(parent), m_symbol(std::move(symbol))
{
    setText(text);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFont(Typo::supporting());
    setAccessibleName(text);
}

QSize DeckCheckbox::sizeHint() const
{
    const QFontMetricsF metrics(font());
    qreal width = kBoxSize + kGap + metrics.horizontalAdvance(text());
    if (m_symbol)
        width += kSymbolSize + 4;
    return {int(std::ceil(width)) + 1, int(std::ceil(std::max(kBoxSize, metrics.height()))) + 4};
}

void DeckCheckbox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal alpha = isEnabled() ? 1.0 : 0.45;
    p.setOpacity(alpha);
    const QRectF box(0.5, (height() - kBoxSize) / 2 + 0.5, kBoxSize - 1, kBoxSize - 1);
    const QPainterPath shape = Squircle::path(box, 4);
    if (isChecked()) {
        p.fillPath(shape, Ink::accent());
        QPainterPath tick;
        tick.moveTo(box.left() + 3.2, box.center().y() + 0.2);
        tick.lineTo(box.left() + 5.8, box.bottom() - 3.6);
        tick.lineTo(box.right() - 3, box.top() + 3.4);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
    } else {
        p.fillPath(shape, Ink::surface());
        p.setPen(QPen(Ink::strokeStrong(), 1));
        p.drawPath(shape);
    }
    qreal x = kBoxSize + kGap;
    if (m_symbol) {
        Symbols::paint(p, *m_symbol, QRectF(x, 0, kSymbolSize, height()), kSymbolSize, Ink::textSecondary());
        x += kSymbolSize + 4;
    }
    p.setFont(font());
    p.setPen(Ink::textSecondary());
    p.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}
