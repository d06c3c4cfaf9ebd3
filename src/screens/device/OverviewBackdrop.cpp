#include "OverviewBackdrop.h"

#include "design/AuroraBackdrop.h"
#include "design/Ink.h"
#include "design/InstrumentGrid.h"
#include "design/Theme.h"

#include <QPaintEvent>
#include <QPainter>

OverviewBackdrop::OverviewBackdrop(int bandHeight, QWidget *parent) : QWidget(parent), m_bandHeight(bandHeight)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OverviewBackdrop::setTint(const QColor &tint)
{
    if (tint == m_tint)
        return;
    m_tint = tint;
    update();
}

template <typename Draw> QPixmap OverviewBackdrop::layer(qreal ratio, Draw draw) const
{
    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    draw(p, QRectF(0, 0, width(), m_bandHeight));
    return pixmap;
}

// The glow and the grid are drawn once per size, tint and scheme, then copied: a pulse dot
// on the hero repaints a few pixels of this many times a second.
void OverviewBackdrop::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    const Key key{size(), ratio, m_tint.rgba(), Ink::accentCyan().rgba(), Ink::text().rgba()};
    if (!(key == m_key)) {
        m_key = key;
        m_glow = layer(ratio, [this](QPainter &p, const QRectF &band) {
            AuroraBackdrop::paint(p, band, m_tint, Ink::accentCyan(), 0.75);
        });
        m_grid = layer(ratio, [](QPainter &p, const QRectF &band) {
            QLinearGradient fade(0, 0, 0, band.height());
            const QColor line = Ink::text();
            fade.setColorAt(0, withOpacity(line, 0.028));
            fade.setColorAt(0.6, withOpacity(line, 0.028));
            fade.setColorAt(1, withOpacity(line, 0));
            p.setPen(QPen(QBrush(fade), 0.5));
            p.drawPath(InstrumentGrid::gridPath(band.size(), 32));
        });
    }
    QPainter p(this);
    for (const QRect &dirty : event->region()) {
        const QRectF source(QPointF(dirty.topLeft()) * ratio, QSizeF(dirty.size()) * ratio);
        // The glow adds light to what lies beneath, as drawn directly; the grid lies over it.
        p.setCompositionMode(QPainter::CompositionMode_Plus);
        p.drawPixmap(QRectF(dirty), m_glow, source);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawPixmap(QRectF(dirty), m_grid, source);
    }
}
