#include "ArcGauge.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "Ink.h"
#include "MeterBar.h"
#include "Motion.h"
#include "Theme.h"
#include "ToneInk.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Room for the glow around the stroke.
constexpr qreal kGlow = 3;

// Qt measures angles counter-clockwise; the gauge thinks clockwise from three o'clock.
QPainterPath clockwiseArc(const QRectF &circle, double startClockwise, double spanClockwise)
{
    QPainterPath path;
    path.arcMoveTo(circle, -startClockwise);
    path.arcTo(circle, -startClockwise, -spanClockwise);
    return path;
}

} // namespace

ArcGauge::ArcGauge(double progress, Tone tone, qreal lineWidth, double trim, QWidget *parent)
    : QWidget(parent), m_progress(progress), m_tone(tone), m_lineWidth(lineWidth), m_trim(trim),
      m_level(new AnimatedValue(meterLevel(progress), this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ArcGauge::setProgress(double progress)
{
    m_progress = progress;
    m_level->animateTo(meterLevel(progress), Motion::resolve(Motion::smooth(), A11y::reduceMotion()));
}

void ArcGauge::setTone(Tone tone)
{
    m_tone = tone;
    update();
}

double ArcGauge::shownLevel() const { return m_level->value(); }

QRectF ArcGauge::circleRect() const
{
    const qreal side = std::min(width(), height());
    const qreal inset = m_lineWidth / 2 + kGlow;
    const QRectF square(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));
    return square.adjusted(inset, inset, -inset, -inset);
}

void ArcGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = circleRect();
    if (circle.width() <= 0)
        return;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink::stroke(), m_lineWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(clockwiseArc(circle, startAngle(), trackSpan()));

    const double span = levelSpan();
    if (span <= 0)
        return;
    const QColor ink = foreground(m_tone);
    const QPainterPath level = clockwiseArc(circle, startAngle(), span);
    // Wider, fainter strokes under the level stand in for its blurred glow.
    for (const auto &[grow, share] : {std::pair{6.0, 0.2}, std::pair{3.0, 0.4}}) {
        p.setPen(QPen(withOpacity(ink, 0.5 * share), m_lineWidth + grow, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(level);
    }
    // The shading runs clockwise from the start; Qt's conical gradient runs counter-clockwise,
    // so its stops are reversed. It begins a little before the start so the round cap does not
    // catch the wrap-around.
    constexpr double lead = 8;
    QConicalGradient g(circle.center(), -(startAngle() - lead));
    g.setColorAt(0, ink);
    g.setColorAt(1 - lead / 360, withOpacity(ink, 0.55));
    g.setColorAt(1, withOpacity(ink, 0.55));
    p.setPen(QPen(QBrush(g), m_lineWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(level);
}
