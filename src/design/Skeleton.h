#pragma once

#include "Tokens.h"

#include <QVariantAnimation>
#include <QWidget>

#include <optional>

// A grey block (Ink::surfaceSunken, continuous corners) standing in for text or a value while
// it loads. A soft band (clear → Ink::specular at 0.35 → clear, 0.55 × the width) sweeps from
// the leading to the trailing edge every 1.5 s (ease-in-out, jumping back unseen), clipped to
// the block. Under reduce motion there is no band and no animation; the loop also stops while
// the block is hidden. Without a width the block takes the width its layout offers.
// Hidden from assistive technology.
class Skeleton : public QWidget {
    Q_OBJECT
public:
    explicit Skeleton(std::optional<qreal> width = std::nullopt, qreal height = 12, qreal radius = Radius::xs,
                      QWidget *parent = nullptr);

    qreal radius() const { return m_radius; }
    // The band's position: −1 wholly before the leading edge, 1 wholly past the trailing edge.
    qreal phase() const { return m_phase; }
    void setPhase(qreal phase); // for previews and tests; the running loop overrides it
    bool isSweeping() const { return m_sweep.state() == QAbstractAnimation::Running; }
    // Whether the band is drawn at all (reduce motion off).
    bool showsHighlight() const;
    // The band's rectangle inside the widget at the current phase (may lie outside it).
    QRectF bandRect() const;

    static constexpr int kSweepMs = 1500;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius;
    qreal m_phase = -1;
    QVariantAnimation m_sweep;
};
