#pragma once

#include "bridge/DeviceSnapshot.h"
#include "bridge/LinkState.h"
#include "Theme.h"

#include <QImage>
#include <QRegion>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>
#include <QWidget>

#include <array>
#include <optional>

class AnimatedValue;

// The large handset of the overview: a glowing phone tinted by the link state with a live
// screen (how the device is attached, its battery, the state's symbol, its Android version and
// its free storage from the snapshot), a turning arc around it while an operation runs, and a
// light band that sweeps across the screen once when it is shown and on every change of state.
// Every measure is a multiple of `width` (W): the body is W × 2.02 W, the widget 1.9 W × 1.16 ×
// the body's height, the glow and the arc spreading into the margin.
//
// Painting is layered for speed: the still parts are rendered once into cached images (per
// state, snapshot, theme and pixel ratio); an animation frame repaints only what moves (the
// glass the band's edges cross, the arc's old and new places) from those images. The band and
// the arc loop stop while the widget is hidden and never run under reduce motion (the arc then
// stands at 0° at 0.45 opacity). The glow's strength eases with Motion::gentle on a change of state;
// its colour changes at once. Read as one element labelled by accessibilityDescription().
class DeviceObject : public QWidget {
    Q_OBJECT
public:
    explicit DeviceObject(const LinkState &state, std::optional<DeviceSnapshot> snapshot = std::nullopt,
                          qreal width = 168, QWidget *parent = nullptr);
    ~DeviceObject() override;

    LinkState state() const { return m_state; }
    // An unequal state restarts the sweep (and the arc while busy).
    void setState(const LinkState &state);
    const std::optional<DeviceSnapshot> &snapshot() const { return m_snapshot; }
    void setSnapshot(std::optional<DeviceSnapshot> snapshot);
    qreal bodyWidth() const { return m_width; }

    // What the state gives the picture.
    static bool isIdle(const LinkState &state);           // adbMissing and noDevice: dimmed
    static double glowOpacity(const LinkState &state);    // 0.1 idle, 0.42 busy, else 0.3
    static QString batteryIcon(const std::optional<DeviceSnapshot> &snapshot);
    static QString accessibilityDescription(const LinkState &state, const std::optional<DeviceSnapshot> &snapshot);
    // The storage meter's tone: warning above 0.88 used, else the state's ambient tone.
    static Tone storageTone(const LinkState &state, double storageProgress);

    // Geometry in widget coordinates.
    qreal bodyHeight() const { return m_width * 2.02; }
    QSizeF frameSize() const;
    QRectF bodyRect() const;
    QRectF screenRect() const;
    QRectF screenContentRect() const;
    QRectF ringRect() const;
    // The band's horizontal offset from its resting place, for the current sweep position.
    qreal bandOffset() const;
    qreal bandOffsetAt(qreal sweep) const;

    // Animation state: sweep 0 (band left of the screen) to 1 (right of it); orbit in degrees.
    qreal sweepPosition() const { return m_sweepPos; }
    qreal orbitAngle() const { return m_orbitDeg; }
    bool isSweeping() const;
    bool isOrbiting() const;
    double shownGlowOpacity() const;
    // Pins the animation state for previews and benchmarks (running animations override it).
    void setAnimationPhase(qreal sweep, qreal orbitDegrees);

    // Paints the picture into `painter` (widget coordinates), limited to `region` (the whole
    // frame when empty). What paintEvent does; also used to render previews and to measure.
    void paintFrame(QPainter &painter, const QRegion &region = {});
    // What a tick of the sweep repaints when the band has moved from `fromPosition` to where
    // it is now: the glass its edges crossed.
    QRegion sweepRegion(qreal fromPosition) const;
    // The box the arc covers when turned by `orbitDegrees` (taken to its step), and the part of
    // it that a turn repaints: strips along the arc, less what the body hides.
    QRect arcBounds(qreal orbitDegrees) const;
    QRegion arcRegion(qreal orbitDegrees) const;
    // What a tick of the orbit repaints when the arc has turned from `fromDegrees` to where it
    // is now (or to `toDegrees`): the arc's old and new places.
    QRegion orbitRegion(qreal fromDegrees) const;
    QRegion orbitRegion(qreal fromDegrees, qreal toDegrees) const;
    static constexpr int kOrbitSteps = 84; // 1.4 s at 60 frames a second

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void startAnimations();
    void refreshAccessibility();
    void ensureLayers(qreal dpr);
    void renderUnder(QImage &image) const;
    void renderOver(QImage &image) const;
    void renderScreen(QPainter &p, const QRectF &screen) const;
    void renderBand(qreal dpr);
    void paintArc(QPainter &p, qreal degrees, qreal opacity) const;
    QRectF bandRect() const;
    // The arc turns in steps of one frame at 60 Hz; each step is drawn once and reused.
    int orbitStep(qreal degrees) const;
    struct ArcFrame {
        bool built = false;
        QRegion region;
        QList<std::pair<QRect, QImage>> pieces;
    };
    // A band of rows and how far a shape reaches sideways within it.
    struct Strip {
        int top;
        int bottom; // exclusive
        qreal minX;
        qreal maxX;
    };
    static QList<Strip> strips(const QPointF *points, int count, bool closed, const QRect &box, int height, int pad);
    static QRegion stripRegion(const QList<Strip> &strips, const QRect &box, int pad);
    // The step's strips (the still arc's under reduce motion), drawn on first use.
    const ArcFrame &arcFrame(int step, qreal dpr);

    LinkState m_state;
    std::optional<DeviceSnapshot> m_snapshot;
    qreal m_width;

    qreal m_sweepPos = 0;
    qreal m_orbitDeg = 0;
    QVariantAnimation *m_sweep;
    QSequentialAnimationGroup m_sweepGroup;
    QVariantAnimation m_orbit;
    AnimatedValue *m_glow;

    // Cached layers: glow with the arc beneath the body, the body itself, the screen as an
    // opaque copy, the camera (drawn again over the band) and the band.
    struct LayerKey {
        ColorScheme scheme;
        bool contrast;
        qreal dpr;
        QSize size;
        bool operator==(const LayerKey &) const = default;
    };
    LayerKey m_layerKey{};
    bool m_layersValid = false;
    QImage m_glowLayer;
    QImage m_overLayer;
    QImage m_staticLayer; // glow at m_staticGlow under the over layer
    double m_staticGlow = -1;
    QList<ArcFrame> m_arcFrames;
    mutable QList<std::optional<QRegion>> m_arcRegions;
    mutable QList<std::optional<QRegion>> m_turnRegions; // a step's place with the step's before
    mutable std::optional<QList<Strip>> m_bandEdges; // the reach of each of the band's edges at rest
    QRect m_screenBox;     // the screen's whole pixels: glass and shell
    QRegion m_opaqueScreen; // that box less its see-through corners
    QImage m_screenBase;   // that box as drawn
    QRect m_litRect;       // what the band may light: the glass inside its straight edges
    std::array<QRect, 4> m_litCorners; // the corners of that, where the glass curves
    std::array<QImage, 4> m_cornerTiles; // their shell, weighted by how far each pixel lies off the glass
    QImage m_cameraLayer;
    QRect m_cameraRect;
    QImage m_bandLayer;
};
