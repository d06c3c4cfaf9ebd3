#include "DropShadowUnderlay.h"

#include "ShadowCache.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

DropShadowUnderlay::DropShadowUnderlay(QWidget *target, Provider provider)
    : QWidget(target->parentWidget()), m_target(target), m_provider(std::move(provider))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    target->installEventFilter(this);
    connect(target, &QObject::destroyed, this, &QObject::deleteLater);
    follow();
}

void DropShadowUnderlay::follow()
{
    if (!m_target || !m_target->parentWidget())
        return;
    if (parentWidget() != m_target->parentWidget())
        setParent(m_target->parentWidget());
    setGeometry(m_target->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
    setVisible(m_target->isVisible());
    stackUnder(m_target);
    update();
}

bool DropShadowUnderlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
        case QEvent::ZOrderChange: follow(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DropShadowUnderlay::paintEvent(QPaintEvent *)
{
    if (!m_target || !m_provider)
        return;
    const Shadow s = m_provider();
    if (!s.color.isValid() || s.color.alpha() == 0)
        return;
    QPainter p(this);
    // Round the blur so an eased hover reuses a handful of cached images.
    const qreal blur = std::round(s.blur);
    QColor color = s.color;
    color.setAlpha(color.alpha() / 4 * 4);
    QSizeF size = QSizeF(m_target->size()) * s.scale;
    const QPointF topLeft(kMargin + (m_target->width() - size.width()) / 2,
                          kMargin + (m_target->height() - size.height()) / 2);
    const qreal dpr = devicePixelRatioF();
    const QImage img = ShadowCache::shadow(size, s.radius, blur, color, dpr);
    const qreal r = ShadowCache::reach(blur);
    p.drawImage(topLeft + QPointF(-r, -r + s.y), img);
}
