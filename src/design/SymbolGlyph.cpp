#include "SymbolGlyph.h"

#include "Symbols.h"

#include <QPainter>

#include <cmath>

SymbolGlyph::SymbolGlyph(QString name, qreal size, std::function<QColor()> ink, QWidget *parent)
    : QWidget(parent), m_name(std::move(name)), m_size(size), m_ink(std::move(ink))
{
    setFixedSize(int(std::ceil(size + 2)), int(std::ceil(size + 2)));
}

void SymbolGlyph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Symbols::paint(p, m_name, QRectF(rect()), m_size, m_ink());
}
