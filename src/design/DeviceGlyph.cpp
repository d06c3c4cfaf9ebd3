#include "DeviceGlyph.h"

#include "HandsetShape.h"
#include "Ink.h"
#include "Theme.h"
#include "ToneInk.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

DeviceGlyph::DeviceGlyph(const LinkState &state, qreal size, QWidget *parent)
    : QWidget(parent), m_state(state), m_size(size)
{
    setFixedSize(int(std::ceil(size)), int(std::ceil(size)));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void DeviceGlyph::setState(const LinkState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    update();
}

QSize DeviceGlyph::sizeHint() const { return size(); }

QRectF DeviceGlyph::handsetRect() const
{
    const QPointF c(m_size / 2, m_size / 2);
    const QSizeF s(m_size * 0.62, m_size);
    return QRectF(c - QPointF(s.width() / 2, s.height() / 2), s);
}

QRectF DeviceGlyph::dotRect() const
{
    const qreal d = m_size * 0.17;
    return QRectF(m_size / 2 - d / 2, m_size / 2 - d / 2, d, d);
}

QColor DeviceGlyph::toneColor() const { return foreground(tone(m_state)); }

void DeviceGlyph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const HandsetShape shape;
    const QRectF body = handsetRect();
    const QColor ink = toneColor();
    p.fillPath(shape.path(body), Ink::surfaceSunken());
    p.setPen(QPen(withOpacity(ink, 0.8), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape.strokeBorderPath(body, 1));
    // The dot's shadow (radius 3) as a soft halo.
    const QRectF dot = dotRect();
    const QPointF c = dot.center();
    const qreal halo = dot.width() / 2 + 3;
    QRadialGradient glow(c, halo);
    glow.setColorAt(0, withOpacity(ink, 0.9 * 0.6));
    QColor clear = ink;
    clear.setAlpha(0);
    glow.setColorAt(1, clear);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, halo, halo);
    p.setBrush(ink);
    p.drawEllipse(dot);
}
