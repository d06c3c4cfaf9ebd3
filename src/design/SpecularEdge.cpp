#include "SpecularEdge.h"

#include "Ink.h"
#include "Squircle.h"
#include "Theme.h"
#include "Tokens.h"

#include <QLinearGradient>

namespace SpecularEdge {

void paint(QPainter &painter, const QRectF &rect, qreal radius, double intensity)
{
    if (intensity <= 0 || rect.isEmpty())
        return;
    const QColor spec = Ink::specular();
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, withOpacity(spec, intensity));
    g.setColorAt(0.28, withOpacity(spec, 0.25 * intensity));
    QColor clear = spec;
    clear.setAlpha(0);
    g.setColorAt(0.62, clear);
    g.setColorAt(1, clear);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    QPen pen(QBrush(g), Stroke::hairline, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(Squircle::strokePath(rect, radius, Stroke::hairline));
    painter.restore();
}

} // namespace SpecularEdge
