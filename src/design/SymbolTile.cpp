#include "SymbolTile.h"

#include "Ink.h"
#include "Symbols.h"

#include <QPainter>

SymbolTile::SymbolTile(QString symbol, int side, qreal glyph, qreal radius, QWidget *parent)
    : QWidget(parent), m_symbol(std::move(symbol)), m_glyph(glyph), m_radius(radius)
{
    setFixedSize(side, side);
}

void SymbolTile::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink::accentSoft());
    p.drawRoundedRect(QRectF(rect()), m_radius, m_radius);
    Symbols::paint(p, m_symbol, QRectF(rect()), m_glyph, Ink::accent());
}
