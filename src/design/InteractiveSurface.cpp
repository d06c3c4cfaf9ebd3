#include "InteractiveSurface.h"

#include "Accessibility.h"
#include "Ink.h"
#include "Squircle.h"
#include "Theme.h"

#include <QEvent>
#include <QPainter>

InteractiveSurface::InteractiveSurface(QWidget *target, qreal radius)
    : QObject(target), m_target(target), m_radius(radius), m_hover(new AnimatedValue(0, target))
{
    target->setAttribute(Qt::WA_Hover);
    target->installEventFilter(this);
}

void InteractiveSurface::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    if (m_target)
        m_target->update();
}

void InteractiveSurface::setHoverEnabled(bool enabled) { m_enabled = enabled; }

void InteractiveSurface::setHovering(bool hovering)
{
    if (!m_enabled || m_hovering == hovering)
        return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1 : 0, Motion::resolve(Motion::quick(), A11y::reduceMotion()));
}

void InteractiveSurface::paint(QPainter &painter, const QRectF &rect) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = Squircle::path(rect, m_radius);
    if (m_selected) {
        painter.fillPath(path, Ink::accentSoft());
        painter.setPen(QPen(withOpacity(Ink::accent(), 0.35), Stroke::hairline));
        painter.drawPath(Squircle::strokePath(rect, m_radius, Stroke::hairline));
    } else if (m_hover->value() > 0) {
        painter.fillPath(path, withOpacity(Ink::surfaceHover(), m_hover->value()));
    }
    painter.restore();
}

bool InteractiveSurface::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::HoverEnter: setHovering(true); break;
        case QEvent::Leave:
        case QEvent::HoverLeave: setHovering(false); break;
        case QEvent::Paint: {
            // Runs before the widget's own paintEvent, so the content lands on top.
            QPainter p(m_target);
            paint(p, QRectF(m_target->rect()));
            break;
        }
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}
