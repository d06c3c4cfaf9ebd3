#include "MeterBar.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "Ink.h"
#include "Motion.h"
#include "Squircle.h"
#include "Theme.h"
#include "ToneInk.h"
#include "Tokens.h"

#include <QLinearGradient>

#include <cmath>

double meterLevel(double progress)
{
    if (std::isnan(progress))
        return 1;
    return std::clamp(progress, 0.0, 1.0);
}

MeterBar::MeterBar(double progress, Tone tone, qreal height, QWidget *parent)
    : QWidget(parent), m_progress(progress), m_tone(tone), m_height(height),
      m_level(new AnimatedValue(meterLevel(progress), this))
{
    setFixedHeight(int(std::ceil(height + 2 * kGlowMargin)));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumWidth(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void MeterBar::setProgress(double progress)
{
    m_progress = progress;
    m_level->animateTo(meterLevel(progress), Motion::resolve(Motion::smooth(), A11y::reduceMotion()));
}

void MeterBar::setTone(Tone tone)
{
    m_tone = tone;
    update();
}

double MeterBar::shownLevel() const { return m_level->value(); }

QRectF MeterBar::trackRect() const { return QRectF(0, (height() - m_height) / 2, width(), m_height); }

QRectF MeterBar::fillRect() const
{
    const QRectF track = trackRect();
    return QRectF(track.topLeft(), QSizeF(track.width() * shownLevel(), track.height()));
}

QSize MeterBar::sizeHint() const { return QSize(120, height()); }

void MeterBar::paint(QPainter &p, const QRectF &bar, double level, const QColor &ink)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal r = bar.height() / 2;
    p.setBrush(Ink::surfaceSunken());
    p.drawRoundedRect(bar, r, r);
    const QRectF fill(bar.topLeft(), QSizeF(bar.width() * level, bar.height()));
    if (fill.width() > 0) {
        // Two widening halos stand in for the blurred glow.
        // Two widening halos of the glow colour (the tone at 0.45) stand in for a blur.
        for (const auto &[grow, share] : {std::pair{3.0, 0.25}, std::pair{1.5, 0.5}}) {
            const QRectF halo = fill.adjusted(-grow, -grow, grow, grow);
            p.setBrush(withOpacity(ink, 0.45 * share));
            p.drawRoundedRect(halo, halo.height() / 2, halo.height() / 2);
        }
        QLinearGradient g(fill.topLeft(), fill.topRight());
        g.setColorAt(0, withOpacity(ink, 0.75));
        g.setColorAt(1, ink);
        p.setBrush(g);
        // A fill narrower than its height keeps round ends by shrinking its radius.
        const qreal fr = std::min(r, fill.width() / 2);
        p.drawRoundedRect(fill, fr, fr);
    }
    p.restore();
}

void MeterBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paint(p, trackRect(), shownLevel(), foreground(m_tone));
}
