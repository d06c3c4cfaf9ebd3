#include "Skeleton.h"

#include "Accessibility.h"
#include "Ink.h"
#include "Squircle.h"
#include "Theme.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

Skeleton::Skeleton(std::optional<qreal> width, qreal height, qreal radius, QWidget *parent)
    : QWidget(parent), m_radius(radius)
{
    if (width) {
        setFixedSize(int(std::lround(*width)), int(std::lround(height)));
    } else {
        setFixedHeight(int(std::lround(height)));
        setMinimumWidth(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Nothing to read: assistive technology skips placeholders.
    setAccessibleName(QString());
    setFocusPolicy(Qt::NoFocus);
    m_sweep.setStartValue(-1.0);
    m_sweep.setEndValue(1.0);
    m_sweep.setDuration(kSweepMs);
    m_sweep.setEasingCurve(QEasingCurve::InOutQuad);
    m_sweep.setLoopCount(-1);
    connect(&m_sweep, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_phase = v.toReal();
        update();
    });
}

void Skeleton::setPhase(qreal phase)
{
    m_phase = phase;
    update();
}

bool Skeleton::showsHighlight() const { return !A11y::reduceMotion(); }

QRectF Skeleton::bandRect() const
{
    const qreal w = width();
    return QRectF(m_phase * w * 1.6, 0, w * 0.55, height());
}

void Skeleton::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (showsHighlight() && !isSweeping())
        m_sweep.start();
}

void Skeleton::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // A hidden placeholder costs no frames.
    m_sweep.stop();
}

void Skeleton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath block = Squircle::path(QRectF(rect()), m_radius);
    p.fillPath(block, Ink::surfaceSunken());
    if (!showsHighlight())
        return;
    const QRectF band = bandRect();
    if (!band.intersects(QRectF(rect())))
        return;
    QLinearGradient g(band.topLeft(), band.topRight());
    QColor clear = Ink::specular();
    clear.setAlpha(0);
    g.setColorAt(0, clear);
    g.setColorAt(0.5, withOpacity(Ink::specular(), 0.35));
    g.setColorAt(1, clear);
    p.setClipPath(block);
    p.fillRect(band, g);
}
