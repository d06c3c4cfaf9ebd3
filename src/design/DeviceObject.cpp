#include "DeviceObject.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "Motion.h"
#include "Theme.h"
#include "ToneInk.h"

#include "bridge/Bytes.h"
#include "bridge/ConnectionKind.h"

#include <QPauseAnimation>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSweepDelayMs = 150;
constexpr int kSweepMs = 1100;
constexpr int kOrbitMs = 1400;

// The horizontal reach of a polyline (closed when `closed`) between the rows y0 and y1: every
// segment clipped to that band of rows. Empty (min > max) when it stays outside.
std::pair<qreal, qreal> slabExtent(const QPointF *points, int count, bool closed, qreal y0, qreal y1)
{
    qreal minX = 1e9, maxX = -1e9;
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        QPointF a = points[i];
        QPointF b = points[(i + 1) % count];
        if (a.y() > b.y())
            std::swap(a, b);
        if (b.y() < y0 || a.y() > y1)
            continue;
        const qreal dy = b.y() - a.y();
        const auto xAt = [&](qreal y) { return dy > 0 ? a.x() + (b.x() - a.x()) * (y - a.y()) / dy : a.x(); };
        const qreal xa = a.y() < y0 ? xAt(y0) : a.x();
        const qreal xb = b.y() > y1 ? xAt(y1) : b.x();
        minX = std::min({minX, xa, xb});
        maxX = std::max({maxX, xa, xb});
    }
    return {minX, maxX};
}

} // namespace

// Strips of `height` rows on a fixed grid (so the regions of two ticks merge strip by strip)
// within `box`, each with the reach of `points` in its rows (and `pad` rows around them).
QList<DeviceObject::Strip> DeviceObject::strips(const QPointF *points, int count, bool closed, const QRect &box,
                                                int height, int pad)
{
    QList<Strip> out;
    if (box.isEmpty())
        return out;
    for (int y = box.top() - ((box.top() % height) + height) % height; y <= box.bottom(); y += height) {
        const int top = std::max(y, box.top());
        const int bottom = std::min(y + height, box.bottom() + 1);
        const auto [minX, maxX] = slabExtent(points, count, closed, top - pad, bottom + pad);
        if (minX <= maxX)
            out.append({top, bottom, minX, maxX});
    }
    return out;
}

// The strips widened by `pad` and kept within `box`, as a region.
QRegion DeviceObject::stripRegion(const QList<Strip> &strips, const QRect &box, int pad)
{
    QVarLengthArray<QRect, 64> rects;
    for (const Strip &s : strips) {
        const int left = std::max(box.left(), int(std::floor(s.minX)) - pad);
        const int right = std::min(box.right() + 1, int(std::ceil(s.maxX)) + pad);
        if (left < right)
            rects.append(QRect(left, s.top, right - left, s.bottom - s.top));
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

// --- What the state gives the picture ---

bool DeviceObject::isIdle(const LinkState &state)
{
    return state.kind == LinkState::Case::adbMissing || state.kind == LinkState::Case::noDevice;
}

double DeviceObject::glowOpacity(const LinkState &state)
{
    if (isIdle(state))
        return 0.1;
    return isBusy(state) ? 0.42 : 0.3;
}

QString DeviceObject::batteryIcon(const std::optional<DeviceSnapshot> &snapshot)
{
    if (!snapshot || !snapshot->batteryLevel)
        return QStringLiteral("battery.0percent");
    if (snapshot->isCharging.value_or(false))
        return QStringLiteral("battery.100percent.bolt");
    const qint64 level = *snapshot->batteryLevel;
    if (level < 15)
        return QStringLiteral("battery.0percent");
    if (level < 40)
        return QStringLiteral("battery.25percent");
    if (level < 70)
        return QStringLiteral("battery.50percent");
    if (level < 90)
        return QStringLiteral("battery.75percent");
    return QStringLiteral("battery.100percent");
}

QString DeviceObject::accessibilityDescription(const LinkState &state, const std::optional<DeviceSnapshot> &snapshot)
{
    QStringList parts{title(state)};
    if (snapshot) {
        parts.append(snapshot->marketingName());
        // Said whenever the level is known, even when the screen hides the battery.
        if (snapshot->batteryLevel)
            parts.append(QStringLiteral("заряд %1 процентов").arg(*snapshot->batteryLevel));
        if (snapshot->storageFreeBytes)
            parts.append(QStringLiteral("свободно ") + Bytes::shortText(snapshot->storageFreeBytes));
    }
    return parts.join(QStringLiteral(", "));
}

Tone DeviceObject::storageTone(const LinkState &state, double storageProgress)
{
    return storageProgress > 0.88 ? Tone::warning : ambientTone(state);
}

// --- Widget ---

DeviceObject::DeviceObject(const LinkState &state, std::optional<DeviceSnapshot> snapshot, qreal width,
                           QWidget *parent)
    : QWidget(parent), m_state(state), m_snapshot(std::move(snapshot)), m_width(width),
      m_glow(new AnimatedValue(glowOpacity(state), this))
{
    const QSizeF f = frameSize();
    setFixedSize(int(std::ceil(f.width())), int(std::ceil(f.height())));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);

    m_sweepGroup.addPause(kSweepDelayMs);
    m_sweep = new QVariantAnimation(&m_sweepGroup);
    m_sweep->setStartValue(0.0);
    m_sweep->setEndValue(1.0);
    m_sweep->setDuration(kSweepMs);
    m_sweep->setEasingCurve(QEasingCurve::InOutQuad);
    m_sweepGroup.addAnimation(m_sweep);
    connect(m_sweep, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        // Only the glass the band's edges cross changes.
        const qreal before = m_sweepPos;
        m_sweepPos = v.toReal();
        update(sweepRegion(before));
    });

    m_orbit.setStartValue(0.0);
    m_orbit.setEndValue(360.0);
    m_orbit.setDuration(kOrbitMs);
    m_orbit.setEasingCurve(QEasingCurve::Linear);
    m_orbit.setLoopCount(-1);
    connect(&m_orbit, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        const qreal next = v.toReal();
        if (orbitStep(next) == orbitStep(m_orbitDeg)) {
            m_orbitDeg = next;
            return;
        }
        const qreal before = m_orbitDeg;
        m_orbitDeg = next;
        update(orbitRegion(before));
    });
    refreshAccessibility();
}

DeviceObject::~DeviceObject() = default;

void DeviceObject::setState(const LinkState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    m_layersValid = false;
    m_glow->animateTo(glowOpacity(state), Motion::resolve(Motion::gentle(), A11y::reduceMotion()));
    if (!isBusy(state))
        m_orbit.stop();
    refreshAccessibility();
    if (isVisible())
        startAnimations();
    update();
}

void DeviceObject::setSnapshot(std::optional<DeviceSnapshot> snapshot)
{
    if (snapshot == m_snapshot)
        return;
    m_snapshot = std::move(snapshot);
    m_layersValid = false;
    refreshAccessibility();
    update();
}

void DeviceObject::refreshAccessibility() { setAccessibleName(accessibilityDescription(m_state, m_snapshot)); }

QSizeF DeviceObject::frameSize() const { return {m_width * 1.9, bodyHeight() * 1.16}; }

QSize DeviceObject::sizeHint() const { return size(); }

QRectF DeviceObject::bodyRect() const
{
    const QPointF c = QRectF(rect()).center();
    return QRectF(c.x() - m_width / 2, c.y() - bodyHeight() / 2, m_width, bodyHeight());
}

QRectF DeviceObject::screenRect() const
{
    const qreal inset = m_width * 0.045;
    return bodyRect().adjusted(inset, inset, -inset, -inset);
}

QRectF DeviceObject::screenContentRect() const
{
    const qreal h = m_width * 0.1;
    const qreal v = m_width * 0.13;
    return screenRect().adjusted(h, v, -h, -v);
}

QRectF DeviceObject::ringRect() const
{
    const QPointF c = QRectF(rect()).center();
    const qreal side = m_width * 1.62;
    return QRectF(c.x() - side / 2, c.y() - side / 2, side, side);
}

qreal DeviceObject::bandOffset() const { return bandOffsetAt(m_sweepPos); }

qreal DeviceObject::bandOffsetAt(qreal sweep) const { return -m_width * 1.3 + 2.6 * m_width * sweep; }

bool DeviceObject::isSweeping() const { return m_sweepGroup.state() == QAbstractAnimation::Running; }
bool DeviceObject::isOrbiting() const { return m_orbit.state() == QAbstractAnimation::Running; }
double DeviceObject::shownGlowOpacity() const { return m_glow->value(); }

void DeviceObject::setAnimationPhase(qreal sweep, qreal orbitDegrees)
{
    m_sweepPos = sweep;
    m_orbitDeg = orbitDegrees;
    update();
}

void DeviceObject::startAnimations()
{
    if (A11y::reduceMotion())
        return;
    m_sweepGroup.stop();
    m_sweepPos = 0;
    m_sweepGroup.start();
    if (isBusy(m_state)) {
        m_orbit.stop();
        m_orbitDeg = 0;
        m_orbit.start();
    }
}

void DeviceObject::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    startAnimations();
}

void DeviceObject::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Nothing animates off screen; showing again starts afresh.
    m_sweepGroup.stop();
    m_orbit.stop();
}
