#pragma once

#include "bridge/Tone.h"

#include <QWidget>

class AnimatedValue;

// An open circular gauge. The track (Ink::stroke, round caps) covers `trim` of the circle with
// its opening centred at the bottom; the level grows clockwise from the lower left over
// trim × level of the circle, shading from the tone's foreground at 0.55 to full, with a glow.
// With the default trim of 0.72 the track starts 140.4° clockwise from three o'clock and spans
// 259.2°. The level is meterLevel(progress); changes ease with Motion::smooth (at once under
// reduce motion). The gauge fills the square inscribed in whatever size it is given.
// Hidden from assistive technology.
class ArcGauge : public QWidget {
    Q_OBJECT
public:
    ArcGauge(double progress, Tone tone, qreal lineWidth = 4, double trim = 0.72, QWidget *parent = nullptr);

    double progress() const { return m_progress; }
    void setProgress(double progress);
    Tone tone() const { return m_tone; }
    void setTone(Tone tone);
    double trim() const { return m_trim; }
    qreal lineWidth() const { return m_lineWidth; }
    double shownLevel() const;

    // Clockwise degrees from three o'clock where the track (and the level) starts.
    double startAngle() const { return (1 - m_trim) * 180 + 90; }
    // Clockwise degrees the track and the level cover.
    double trackSpan() const { return m_trim * 360; }
    double levelSpan() const { return m_trim * shownLevel() * 360; }
    // The circle the arcs run on.
    QRectF circleRect() const;

    QSize sizeHint() const override { return {64, 64}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_progress;
    Tone m_tone;
    qreal m_lineWidth;
    double m_trim;
    AnimatedValue *m_level;
};
