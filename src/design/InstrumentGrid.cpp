#include "InstrumentGrid.h"

#include "Ink.h"
#include "Theme.h"

#include <QPainter>

InstrumentGrid::InstrumentGrid(qreal spacing, double opacity, QWidget *parent)
    : QWidget(parent), m_spacing(spacing), m_opacity(opacity)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QPainterPath InstrumentGrid::gridPath(const QSizeF &size, qreal spacing)
{
    QPainterPath path;
    if (spacing <= 0)
        return path;
    for (qreal x = 0; x < size.width(); x += spacing) {
        path.moveTo(x, 0);
        path.lineTo(x, size.height());
    }
    for (qreal y = 0; y < size.height(); y += spacing) {
        path.moveTo(0, y);
        path.lineTo(size.width(), y);
    }
    return path;
}

void InstrumentGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(QPen(withOpacity(Ink::text(), m_opacity), 0.5));
    p.drawPath(gridPath(QSizeF(size()), m_spacing));
}
