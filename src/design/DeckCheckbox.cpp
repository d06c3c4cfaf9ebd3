#include "DeckCheckbox.h"

#include "FocusRing.h"
#include "Ink.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Tokens.h"
#include "Typo.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr qreal kGap = 6;
constexpr qreal kSymbolSize = 12;
// Room on both sides for the focus ring around the whole control.
constexpr qreal kRingRoom = 3;
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
    qreal width = 2 * kRingRoom + kBoxSize + kGap + metrics.horizontalAdvance(text());
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
    const QRectF box(kRingRoom + 0.5, (height() - kBoxSize) / 2 + 0.5, kBoxSize - 1, kBoxSize - 1);
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
        // An outline a control's boundary needs (3:1 against the surface) in both schemes.
        p.setPen(QPen(Ink::textTertiary(), 1));
        p.drawPath(shape);
    }
    qreal x = kRingRoom + kBoxSize + kGap;
    if (m_symbol) {
        Symbols::paint(p, *m_symbol, QRectF(x, 0, kSymbolSize, height()), kSymbolSize, Ink::textSecondary());
        x += kSymbolSize + 4;
    }
    p.setFont(font());
    p.setPen(Ink::textSecondary());
    p.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    p.setOpacity(1);
    FocusRing::paintIfShown(p, this, QRectF(rect()), Radius::xs);
}
