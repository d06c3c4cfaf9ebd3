#pragma once

#include "bridge/Tone.h"

#include <QColor>
#include <QPainter>
#include <QWidget>

class AnimatedValue;

// The drawn level of a meter or gauge: the progress held within 0…1; a value that is not a
// number draws as full. The progress itself is kept as given.
double meterLevel(double progress);

// The thin level bar of tiles, the inspector and the handset's screen: a capsule track
// (Ink::surfaceSunken) across the full width and a capsule fill of the level's share, shading
// from the tone's foreground at 0.75 on the leading edge to full on the trailing edge, with a
// soft glow of the same colour. Level changes ease with Motion::smooth (at once under reduce
// motion). The bar is `height` high; the widget adds kGlowMargin above and below for the glow.
// Hidden from assistive technology: the surrounding view says what it measures.
class MeterBar : public QWidget {
    Q_OBJECT
public:
    explicit MeterBar(double progress, Tone tone = Tone::accent, qreal height = 5, QWidget *parent = nullptr);

    double progress() const { return m_progress; }
    void setProgress(double progress);
    Tone tone() const { return m_tone; }
    void setTone(Tone tone);
    qreal barHeight() const { return m_height; }
    // The level drawn now (eased towards meterLevel(progress)).
    double shownLevel() const;
    QRectF trackRect() const;
    QRectF fillRect() const;

    static constexpr qreal kGlowMargin = 3;
    // Paints track, fill and glow for `level` (already clamped) into `bar`; `ink` is the tone's
    // foreground. Shared with the device illustration.
    static void paint(QPainter &painter, const QRectF &bar, double level, const QColor &ink);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_progress;
    Tone m_tone;
    qreal m_height;
    AnimatedValue *m_level;
};
