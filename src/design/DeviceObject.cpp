#include "DeviceObject.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "HandsetShape.h"
#include "Ink.h"
#include "MeterBar.h"
#include "Motion.h"
#include "ShadowCache.h"
#include "ShownText.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "ToneInk.h"
#include "Typo.h"

#include "bridge/Bytes.h"
#include "bridge/ConnectionKind.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPauseAnimation>
#include <QRadialGradient>
#include <QTransform>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSweepDelayMs = 150;
constexpr int kSweepMs = 1100;
constexpr int kOrbitMs = 1400;
constexpr qreal kGlowBlur = 46;
constexpr qreal kArcTrim = 0.18;

QColor clearOf(const QColor &c)
{
    QColor clear = c;
    clear.setAlpha(0);
    return clear;
}

QImage newLayer(const QSize &logical, qreal dpr)
{
    QImage img(QSize(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr))),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

// A symbol with a blurred halo of `glow` around it, as one image `pad` larger on every side.
QImage glowingSymbol(const QString &name, qreal size, const QColor &ink, const QColor &glow, qreal blur, qreal dpr)
{
    const qreal pad = glow.alpha() > 0 ? ShadowCache::reach(blur) : 0;
    const QSize logical(int(std::ceil(size + 2 * pad)), int(std::ceil(size + 2 * pad)));
    QImage out = newLayer(logical, dpr);
    const QRectF box(pad, pad, size, size);
    if (glow.alpha() > 0) {
        QImage shape = newLayer(logical, dpr);
        {
            QPainter sp(&shape);
            Symbols::paint(sp, name, box, size, Qt::black);
        }
        QImage alpha = shape.convertToFormat(QImage::Format_Alpha8);
        ShadowCache::blurAlpha(alpha, blur * dpr);
        QImage mask = alpha.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        mask.setDevicePixelRatio(dpr);
        QImage halo = newLayer(logical, dpr);
        halo.fill(glow);
        {
            QPainter hp(&halo);
            hp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            hp.drawImage(QPointF(0, 0), mask);
        }
        QPainter op(&out);
        op.drawImage(QPointF(0, 0), halo);
    }
    QPainter op(&out);
    Symbols::paint(op, name, box, size, ink);
    return out;
}

// Draws the part of `image` (placed at `origin`) that falls in `area`, with no clip, which
// keeps Qt on its direct blit. A clipped blend goes through span functions that hand tall
// areas to a thread pool, whose wake-ups cost more than these copies.
void blit(QPainter &p, const QImage &image, const QPoint &origin, const QRect &area)
{
    const qreal dpr = image.devicePixelRatio();
    const QRect part = area & QRect(origin, (QSizeF(image.size()) / dpr).toSize());
    if (part.isEmpty())
        return;
    const QRect source = part.translated(-origin);
    p.drawImage(QRectF(part), image,
                QRectF(source.left() * dpr, source.top() * dpr, source.width() * dpr, source.height() * dpr));
}

inline bool overlaps(const QRect &a, const QRect &b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

// Every channel of a premultiplied pixel times a / 255, two channels per multiply.
inline uint byteMul(uint x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return x | t;
}

// Fades `image` (premultiplied) to nothing over `rows` rows at its top and bottom, so the glow
// and the shadow that spread past the widget's edges thin out instead of ending in a line.
void fadeTopAndBottom(QImage &image, int rows)
{
    const int h = image.height();
    rows = std::min(rows, h / 2);
    for (int i = 0; i < rows; ++i) {
        const qreal t = (i + 0.5) / rows;
        const uint a = uint(std::lround(255 * t * t * (3 - 2 * t))); // smoothstep
        for (const int y : {i, h - 1 - i}) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = byteMul(line[x], a);
        }
    }
}

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

// --- Layers ---

void DeviceObject::ensureLayers(qreal dpr)
{
    // Compared on every frame, so kept to a few plain values.
    const LayerKey key{Theme::scheme(), Theme::increaseContrast(), dpr, size()};
    if (m_layersValid && key == m_layerKey)
        return;
    m_layerKey = key;
    m_layersValid = true;

    const QColor ambient = foreground(ambientTone(m_state));
    const HandsetShape shape;
    // The glow: the handset at 0.92 of the body, blurred, at full strength (its opacity is
    // applied when drawn, so it can ease).
    {
        const QRectF body = bodyRect();
        const QSizeF gs(body.width() * 0.92, body.height() * 0.92);
        const QRectF g(body.center() - QPointF(gs.width() / 2, gs.height() / 2), gs);
        const QImage glow = ShadowCache::shadow(gs, shape.cornerRadius(g), kGlowBlur, ambient, dpr);
        m_glowLayer = newLayer(size(), dpr);
        QPainter p(&m_glowLayer);
        const qreal r = ShadowCache::reach(kGlowBlur);
        p.drawImage(g.topLeft() - QPointF(r, r), glow);
    }
    m_overLayer = newLayer(size(), dpr);
    renderOver(m_overLayer);
    // The shadow below the body and the glow above and below it reach past the frame: they fade
    // out across the free band between the body and the edge (the body itself is never touched).
    const int fadeRows = int(std::floor((bodyRect().top() - 2) * dpr));
    fadeTopAndBottom(m_glowLayer, fadeRows);
    fadeTopAndBottom(m_overLayer, fadeRows);

    // The screen's box (glass and shell) is opaque but for its very corners, which the body's
    // rounder corners leave see-through: within the rest a frame starts from a plain copy.
    // Where the glass ends inside it (the rounded corners, the anti-aliased rim) the shell is
    // laid over the band again: the box's pixels weighted by how far each lies outside the
    // glass, which gives exactly the band masked by the glass's outline.
    m_screenBox = screenRect().toAlignedRect();
    const QRect boxPx(QPoint(int(m_screenBox.left() * dpr), int(m_screenBox.top() * dpr)),
                      QSize(int(std::ceil(m_screenBox.width() * dpr)), int(std::ceil(m_screenBox.height() * dpr))));
    const QImage box = m_overLayer.copy(boxPx);
    m_screenBase = box.convertToFormat(QImage::Format_RGB32);
    m_screenBase.setDevicePixelRatio(dpr);
    {
        // How far the see-through pixels reach in from each corner; those rectangles are drawn
        // from the composed layers like everything outside the box.
        QSize reach[4];
        for (int y = 0; y < box.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(box.constScanLine(y));
            for (int x = 0; x < box.width(); ++x) {
                if (qAlpha(line[x]) == 255)
                    continue;
                const bool right = 2 * x >= box.width();
                const bool bottom = 2 * y >= box.height();
                QSize &r = reach[(bottom ? 2 : 0) + (right ? 1 : 0)];
                r = r.expandedTo(QSize(right ? box.width() - x : x + 1, bottom ? box.height() - y : y + 1));
            }
        }
        m_opaqueScreen = QRegion(m_screenBox);
        for (int i = 0; i < 4; ++i) {
            if (reach[i].isEmpty())
                continue;
            const QSize cut(int(std::ceil(reach[i].width() / dpr)), int(std::ceil(reach[i].height() / dpr)));
            const QPoint at(i % 2 ? m_screenBox.right() - cut.width() + 1 : m_screenBox.left(),
                            i / 2 ? m_screenBox.bottom() - cut.height() + 1 : m_screenBox.top());
            m_opaqueScreen -= QRect(at, cut);
        }
    }
    QImage glass(box.size(), QImage::Format_Alpha8);
    glass.setDevicePixelRatio(dpr);
    glass.fill(0);
    {
        QPainter gp(&glass);
        gp.setRenderHint(QPainter::Antialiasing);
        gp.translate(-m_screenBox.topLeft());
        gp.fillPath(Squircle::path(screenRect(), m_width * 0.155), Qt::white);
    }
    QImage edge = box;
    for (int y = 0; y < edge.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(edge.scanLine(y));
        const uchar *cover = glass.constScanLine(y);
        for (int x = 0; x < edge.width(); ++x)
            line[x] = byteMul(line[x], 255 - cover[x]);
    }
    // The band lights the glass between its straight edges (the one-pixel anti-aliased rim
    // along them stays as it is); in the corners the shell is laid over it again.
    {
        const int midRow = glass.height() / 2;
        const int midColumn = glass.width() / 2;
        const uchar *row = glass.constScanLine(midRow);
        int left = 0, right = glass.width() - 1, top = 0, bottom = glass.height() - 1;
        while (left < right && row[left] != 255)
            ++left;
        while (right > left && row[right] != 255)
            --right;
        while (top < bottom && glass.constScanLine(top)[midColumn] != 255)
            ++top;
        while (bottom > top && glass.constScanLine(bottom)[midColumn] != 255)
            --bottom;
        // How far the corner's curve reaches along the edges: the first row whose pixel at the
        // left edge is wholly glass, and the same along the top.
        int cornerRows = top;
        while (cornerRows < midRow && glass.constScanLine(cornerRows)[left] != 255)
            ++cornerRows;
        int cornerColumns = left;
        while (cornerColumns < midColumn && glass.constScanLine(top)[cornerColumns] != 255)
            ++cornerColumns;
        const auto logicalStart = [dpr](int px) { return int(std::ceil(px / dpr)); };
        const auto logicalEnd = [dpr](int px) { return int(std::floor((px + 1) / dpr)) - 1; };
        const QPoint o = m_screenBox.topLeft();
        m_litRect = QRect(QPoint(logicalStart(left), logicalStart(top)), QPoint(logicalEnd(right), logicalEnd(bottom)))
                        .translated(o);
        const int ch = int(std::ceil(cornerRows / dpr)) - (m_litRect.top() - o.y()) + 1;
        const int cw = int(std::ceil(cornerColumns / dpr)) - (m_litRect.left() - o.x()) + 1;
        const QRect &l = m_litRect;
        m_litCorners = {QRect(l.left(), l.top(), cw, ch), QRect(l.right() - cw + 1, l.top(), cw, ch),
                        QRect(l.left(), l.bottom() - ch + 1, cw, ch), QRect(l.right() - cw + 1, l.bottom() - ch + 1, cw, ch)};
        for (int i = 0; i < 4; ++i) {
            const QRect c = m_litCorners[i].translated(-o);
            m_cornerTiles[i] = edge.copy(QRect(QPoint(int(c.left() * dpr), int(c.top() * dpr)),
                                               QSize(int(std::ceil(c.width() * dpr)), int(std::ceil(c.height() * dpr)))));
            m_cornerTiles[i].setDevicePixelRatio(dpr);
        }
    }

    m_staticLayer = QImage();
    m_arcFrames.clear();
    renderBand(dpr);

    // The camera, drawn over the screen (and the band) wherever they are painted.
    const QRectF body = bodyRect();
    const qreal cam = m_width * 0.055;
    const QPointF cc(body.center().x(), body.center().y() - bodyHeight() * 0.415);
    m_cameraRect = QRectF(cc - QPointF(cam / 2 + 1, cam / 2 + 1), QSizeF(cam + 2, cam + 2)).toAlignedRect();
    m_cameraLayer = newLayer(m_cameraRect.size(), dpr);
    {
        QPainter p(&m_cameraLayer);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF c(cc - QPointF(cam / 2, cam / 2) - m_cameraRect.topLeft(), QSizeF(cam, cam));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink::canvasDeep());
        p.drawEllipse(c);
        p.setPen(QPen(Ink::stroke(), 0.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c.adjusted(0.25, 0.25, -0.25, -0.25));
    }
}

void DeviceObject::renderOver(QImage &image) const
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool idle = isIdle(m_state);
    const QColor ambient = foreground(ambientTone(m_state));
    const qreal dpr = image.devicePixelRatio();
    const QRectF body = bodyRect();
    const HandsetShape shape;
    const qreal radius = shape.cornerRadius(body);

    // Shadows of the shell: the ink shadow below it, then the ambient glow around it.
    {
        const QImage s = ShadowCache::shadow(body.size(), radius, 30, Ink::shadow(), dpr);
        const qreal r = ShadowCache::reach(30);
        p.drawImage(body.topLeft() + QPointF(-r, -r + 16), s);
        if (!idle) {
            const QImage a = ShadowCache::shadow(body.size(), radius, 22, withOpacity(ambient, 0.25), dpr);
            const qreal ra = ShadowCache::reach(22);
            p.drawImage(body.topLeft() - QPointF(ra, ra), a);
        }
    }
    QLinearGradient shellFill(body.topLeft(), body.bottomRight());
    shellFill.setColorAt(0, Ink::surfaceRaised());
    shellFill.setColorAt(1, Ink::surfaceSunken());
    p.fillPath(shape.path(body), shellFill);
    QLinearGradient rim(body.topLeft(), body.bottomLeft());
    rim.setColorAt(0, withOpacity(ambient, idle ? 0.2 : 0.75));
    rim.setColorAt(1, withOpacity(ambient, idle ? 0.05 : 0.18));
    p.setPen(QPen(QBrush(rim), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape.strokeBorderPath(body, 1.4));

    renderScreen(p, screenRect());
    // The camera is a layer of its own, drawn over the screen and the band.

    // Side key straddling the right edge above the middle.
    const QSizeF key(2.5, bodyHeight() * 0.09);
    const QPointF kc(body.center().x() + m_width * 0.5 + 1, body.center().y() - bodyHeight() * 0.13);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink::strokeStrong());
    p.drawRoundedRect(QRectF(kc - QPointF(key.width() / 2, key.height() / 2), key), key.width() / 2, key.width() / 2);
}

void DeviceObject::renderScreen(QPainter &p, const QRectF &screen) const
{
    const qreal W = m_width;
    const bool idle = isIdle(m_state);
    const QColor ambient = foreground(ambientTone(m_state));
    const QColor toneInk = foreground(tone(m_state));
    const qreal radius = W * 0.155;
    const QPainterPath glass = Squircle::path(screen, radius);

    p.save();
    p.setClipPath(glass, Qt::IntersectClip);
    QLinearGradient base(screen.topLeft(), screen.bottomLeft());
    base.setColorAt(0, Ink::canvasDeep());
    base.setColorAt(1, Ink::canvas());
    p.fillPath(glass, base);
    QRadialGradient tint(screen.center(), W * 0.85, screen.center(), 2);
    tint.setColorAt(0, withOpacity(ambient, idle ? 0.06 : 0.22));
    tint.setColorAt(1, clearOf(ambient));
    p.fillPath(glass, tint);

    // Content: top row, flexible space, middle block, flexible space, bottom block.
    const QRectF cr = screenContentRect();
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const QColor rowInk = idle ? Ink::textTertiary() : Ink::textSecondary();

    const qreal attach = W * 0.055;
    const qreal small = W * 0.062;
    const QFont levelFont = Typo::system(small, QFont::DemiBold);
    const qreal topHeight = std::max({attach, small, QFontMetricsF(levelFont).height()});
    const qreal topMid = cr.top() + topHeight / 2;
    const QString attachName =
        m_snapshot ? ::icon(m_snapshot->connection()) : QStringLiteral("cable.connector");
    Symbols::paint(p, attachName, QRectF(cr.left(), topMid - attach / 2, attach, attach), attach, rowInk);
    if (m_snapshot && m_snapshot->hasBattery() && m_snapshot->batteryLevel) {
        const QRectF batteryBox(cr.right() - small, topMid - small / 2, small, small);
        Symbols::paint(p, batteryIcon(m_snapshot), batteryBox, small, rowInk);
        const QString level = QStringLiteral("%1%").arg(*m_snapshot->batteryLevel);
        p.setFont(levelFont);
        p.setPen(rowInk);
        const qreal tw = QFontMetricsF(levelFont).horizontalAdvance(level);
        p.drawText(QRectF(batteryBox.left() - 4 - tw, cr.top(), tw + 1, topHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   level);
    }

    const qreal symbol = W * 0.2;
    const QFont androidFont = Typo::system(small, QFont::Medium);
    const bool android = m_snapshot && m_snapshot->androidRelease;
    const qreal middleHeight = symbol + (android ? W * 0.045 + QFontMetricsF(androidFont).height() : 0);

    const std::optional<double> storage = m_snapshot ? m_snapshot->storageProgress() : std::nullopt;
    const qreal barH = W * 0.022;
    const QFont freeFont = Typo::system(W * 0.052);
    const qreal bottomHeight = storage ? barH + W * 0.03 + QFontMetricsF(freeFont).height() : barH;

    const qreal free = std::max<qreal>(0, cr.height() - topHeight - middleHeight - bottomHeight);
    qreal y = cr.top() + topHeight + free / 2;
    {
        const QColor symbolInk = idle ? Ink::textTertiary() : toneInk;
        const QColor glow = idle ? clearOf(toneInk) : withOpacity(toneInk, 0.6);
        const QImage s = glowingSymbol(::icon(m_state), symbol, symbolInk, glow, 12, dpr);
        const qreal pad = (s.width() / dpr - symbol) / 2;
        p.drawImage(QPointF(cr.center().x() - symbol / 2 - pad, y - pad), s);
        y += symbol;
        if (android) {
            y += W * 0.045;
            p.setFont(androidFont);
            p.setPen(Ink::textSecondary());
            const qreal lh = QFontMetricsF(androidFont).height();
            p.drawText(QRectF(cr.left() - W * 0.1, y, cr.width() + W * 0.2, lh), Qt::AlignCenter,
                       QStringLiteral("Android ") + ShownText::line(*m_snapshot->androidRelease));
        }
    }
    y = cr.bottom() - bottomHeight;
    if (storage) {
        const Tone meterTone = storageTone(m_state, *storage);
        MeterBar::paint(p, QRectF(cr.left(), y, cr.width(), barH), meterLevel(*storage), foreground(meterTone));
        y += barH + W * 0.03;
        p.setFont(freeFont);
        p.setPen(Ink::textTertiary());
        p.drawText(QRectF(cr.left() - W * 0.1, y, cr.width() + W * 0.2, QFontMetricsF(freeFont).height()),
                   Qt::AlignCenter, QStringLiteral("Свободно ") + Bytes::shortText(m_snapshot->storageFreeBytes));
    } else {
        const QRectF placeholder(cr.center().x() - W * 0.15, y, W * 0.3, barH);
        p.setPen(Qt::NoPen);
        p.setBrush(Ink::stroke());
        p.drawRoundedRect(placeholder, barH / 2, barH / 2);
    }
    p.restore();

    // The glass edge.
    p.setPen(QPen(withOpacity(Ink::specular(), 0.1), 0.75));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Squircle::strokePath(screen, radius, 0.75));
}

QRectF DeviceObject::bandRect() const
{
    // The band's bounding box after its 18° turn, centred on the screen and shifted.
    const QRectF screen = screenRect();
    const qreal w = m_width * 0.7;
    const qreal h = screen.height();
    const qreal a = M_PI / 10;
    const qreal bw = w * std::cos(a) + h * std::sin(a);
    const qreal bh = w * std::sin(a) + h * std::cos(a);
    const QPointF c(screen.center().x() + bandOffset(), screen.center().y());
    return QRectF(c.x() - bw / 2, c.y() - bh / 2, bw, bh);
}

void DeviceObject::renderBand(qreal dpr)
{
    const QRectF box = bandRect();
    m_bandLayer = newLayer(box.size().toSize() + QSize(2, 2), dpr);
    QPainter p(&m_bandLayer);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(box.width() / 2 + 1, box.height() / 2 + 1);
    QTransform turn;
    turn.translate(c.x(), c.y());
    turn.rotate(18);
    const qreal w = m_width * 0.7;
    const qreal h = screenRect().height();
    QPainterPath band;
    band.addPolygon(turn.map(QPolygonF(QRectF(-w / 2, -h / 2, w, h))));
    // The light runs from the band's top to its bottom on screen (its turned diagonal is
    // within 2° of upright), so each row of the band is one colour and only the band's edges
    // change as it moves sideways.
    QLinearGradient g(QPointF(c.x(), c.y() - box.height() / 2), QPointF(c.x(), c.y() + box.height() / 2));
    const QColor spec = Ink::specular();
    g.setColorAt(0, clearOf(spec));
    g.setColorAt(0.5, withOpacity(spec, 0.3));
    g.setColorAt(1, clearOf(spec));
    p.fillPath(band, g);
}

// --- Painting ---

int DeviceObject::orbitStep(qreal degrees) const
{
    const int step = int(std::lround(degrees / 360.0 * kOrbitSteps));
    return ((step % kOrbitSteps) + kOrbitSteps) % kOrbitSteps;
}

QRect DeviceObject::arcBounds(qreal degrees) const
{
    const qreal orbitDegrees = orbitStep(degrees) * 360.0 / kOrbitSteps;
    const QRectF ring = ringRect();
    const qreal r = ring.width() / 2;
    // The arc covers 0…64.8° clockwise from three o'clock before the turn.
    qreal minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    const int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        const qreal a = (orbitDegrees + kArcTrim * 360 * i / steps) * M_PI / 180;
        const qreal x = ring.center().x() + r * std::cos(a);
        const qreal y = ring.center().y() + r * std::sin(a);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    // Room for the pen, the caps and the chord's bulge between samples.
    const qreal pad = 2 + r * (1 - std::cos(kArcTrim * M_PI / steps)) + 1;
    return QRectF(QPointF(minX - pad, minY - pad), QPointF(maxX + pad, maxY + pad)).toAlignedRect();
}

void DeviceObject::paintArc(QPainter &p, qreal degrees, qreal opacity) const
{
    const QRectF ring = ringRect();
    const qreal r = ring.width() / 2;
    const QColor ambient = foreground(ambientTone(m_state));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(ring.center());
    p.rotate(degrees);
    p.setOpacity(opacity);
    QLinearGradient g(QPointF(-r, 0), QPointF(r, 0));
    g.setColorAt(0, clearOf(ambient));
    g.setColorAt(1, ambient);
    p.setPen(QPen(QBrush(g), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    const QRectF circle(-r, -r, 2 * r, 2 * r);
    arc.arcMoveTo(circle, 0);
    arc.arcTo(circle, 0, -kArcTrim * 360);
    p.drawPath(arc);
    p.restore();
}

const DeviceObject::ArcFrame &DeviceObject::arcFrame(int step, qreal dpr)
{
    const bool still = A11y::reduceMotion();
    if (m_arcFrames.size() != kOrbitSteps + 1)
        m_arcFrames.resize(kOrbitSteps + 1);
    ArcFrame &frame = m_arcFrames[still ? kOrbitSteps : step];
    if (frame.built)
        return frame;
    const qreal degrees = still ? 0 : step * 360.0 / kOrbitSteps;
    const QRect bounds = arcBounds(degrees);
    QImage sprite = newLayer(bounds.size(), dpr);
    {
        QPainter sp(&sprite);
        sp.translate(-bounds.topLeft());
        paintArc(sp, degrees, still ? 0.45 : 0.9);
    }
    // The arc runs beneath the body and its shadows: where they cover it, it is hidden by
    // their opacity. The step's image is then the glow, the arc and the body composed.
    const QPoint origin(int(std::lround(bounds.left() * dpr)), int(std::lround(bounds.top() * dpr)));
    for (int y = 0; y < sprite.height(); ++y) {
        const int oy = y + origin.y();
        if (oy < 0 || oy >= m_overLayer.height())
            continue;
        auto *dst = reinterpret_cast<QRgb *>(sprite.scanLine(y));
        const auto *over = reinterpret_cast<const QRgb *>(m_overLayer.constScanLine(oy));
        for (int x = 0; x < sprite.width(); ++x) {
            const int ox = x + origin.x();
            if (ox < 0 || ox >= m_overLayer.width() || !dst[x])
                continue;
            dst[x] = byteMul(dst[x], 255 - qAlpha(over[ox]));
        }
    }
    // Only the strips along the arc are kept, each its own small image: read every frame,
    // they stay few and close together in memory where the whole boxes would not. They also
    // cover where the step before left the arc, so a turn by one step is drawn from them alone.
    frame.region = still ? arcRegion(0) : orbitRegion(degrees - 360.0 / kOrbitSteps, degrees);
    const QRect area = frame.region.boundingRect() | bounds;
    QImage composed = newLayer(area.size(), dpr);
    {
        QPainter cp(&composed);
        cp.drawImage(QPointF(0, 0), m_staticLayer, QRectF(QPointF(area.topLeft()) * dpr, QSizeF(composed.size())));
        cp.drawImage(QPointF(bounds.topLeft() - area.topLeft()), sprite);
    }
    for (const QRect &r : frame.region) {
        const QRect source = r.translated(-area.topLeft());
        QImage piece = composed.copy(QRect(QPoint(int(std::lround(source.left() * dpr)), int(std::lround(source.top() * dpr))),
                                         QSize(int(std::ceil(source.width() * dpr)), int(std::ceil(source.height() * dpr)))));
        piece.setDevicePixelRatio(dpr);
        frame.pieces.append({r, piece});
    }
    frame.built = true;
    return frame;
}

QRegion DeviceObject::sweepRegion(qreal fromPosition) const
{
    // Each row of the band is one colour, so a move changes only what its edges cross: for
    // every strip of rows, the reach of each edge at both places and all between.
    const QRectF screen = screenRect();
    const QRect box = screen.toAlignedRect();
    // Two pixels of room for anti-aliasing and the band image's whole-pixel placement.
    constexpr int pad = 2;
    if (!m_bandEdges) {
        // Worked out once at the band's resting place: the band only ever moves sideways.
        const QPointF c = screen.center();
        const qreal w = m_width * 0.7 / 2;
        const qreal h = screen.height() / 2;
        const qreal cs = std::cos(M_PI / 10);
        const qreal sn = std::sin(M_PI / 10);
        QPointF outline[5];
        int i = 0;
        for (const QPointF &pt : {QPointF(-w, -h), QPointF(w, -h), QPointF(w, h), QPointF(-w, h), QPointF(-w, -h)})
            outline[i++] = c + QPointF(pt.x() * cs - pt.y() * sn, pt.x() * sn + pt.y() * cs);
        QList<Strip> edges;
        for (int e = 0; e < 4; ++e)
            edges += strips(outline + e, 2, false, box, 24, pad);
        std::stable_sort(edges.begin(), edges.end(), [](const Strip &a, const Strip &b) { return a.top < b.top; });
        m_bandEdges = edges;
    }
    const qreal from = bandOffsetAt(fromPosition);
    const qreal to = bandOffset();
    const qreal low = std::min(from, to);
    const qreal high = std::max(from, to);
    const QList<Strip> &edges = *m_bandEdges;
    QVarLengthArray<QRect, 64> rects;
    for (qsizetype i = 0; i < edges.size();) {
        const int top = edges[i].top;
        const int bottom = edges[i].bottom;
        QVarLengthArray<std::pair<int, int>, 4> spans;
        for (; i < edges.size() && edges[i].top == top; ++i) {
            const int left = std::max(box.left(), int(std::floor(edges[i].minX + low)) - pad);
            const int right = std::min(box.right() + 1, int(std::ceil(edges[i].maxX + high)) + pad);
            if (left < right)
                spans.append({left, right});
        }
        std::sort(spans.begin(), spans.end());
        for (qsizetype k = 0; k < spans.size();) {
            auto [left, right] = spans[k++];
            while (k < spans.size() && spans[k].first <= right)
                right = std::max(right, spans[k++].second);
            rects.append(QRect(left, top, right - left, bottom - top));
        }
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

QRegion DeviceObject::orbitRegion(qreal fromDegrees) const { return orbitRegion(fromDegrees, m_orbitDeg); }

QRegion DeviceObject::orbitRegion(qreal fromDegrees, qreal toDegrees) const
{
    const int from = orbitStep(fromDegrees);
    const int to = orbitStep(toDegrees);
    if (from == to)
        return arcRegion(toDegrees);
    if ((from + 1) % kOrbitSteps != to)
        return arcRegion(fromDegrees) + arcRegion(toDegrees);
    // A turn by one step, what the animation does on every frame: worked out once.
    if (m_turnRegions.size() != kOrbitSteps)
        m_turnRegions.resize(kOrbitSteps);
    std::optional<QRegion> &cached = m_turnRegions[to];
    if (!cached)
        cached = arcRegion(fromDegrees) + arcRegion(toDegrees);
    return *cached;
}

QRegion DeviceObject::arcRegion(qreal degrees) const
{
    const int step = orbitStep(degrees);
    if (m_arcRegions.size() != kOrbitSteps)
        m_arcRegions.resize(kOrbitSteps);
    std::optional<QRegion> &cached = m_arcRegions[step];
    if (cached)
        return *cached;
    const QRectF ring = ringRect();
    const qreal r = ring.width() / 2;
    const qreal from = step * 360.0 / kOrbitSteps;
    constexpr int samples = 65; // a degree apart
    QPointF arc[samples];
    for (int i = 0; i < samples; ++i) {
        const qreal a = (from + kArcTrim * 360 * i / (samples - 1)) * M_PI / 180;
        arc[i] = ring.center() + QPointF(r * std::cos(a), r * std::sin(a));
    }
    // Room for half the pen, its round caps and anti-aliasing. Behind the body's opaque middle
    // the arc never shows, so nothing there is repainted for it.
    QRegion region = stripRegion(strips(arc, samples, false, rect(), 24, 3), rect(), 3);
    const QRect body = bodyRect().toAlignedRect();
    const int corner = int(std::ceil(HandsetShape().cornerRadius(bodyRect()))) + 2;
    region -= body.adjusted(2, corner, -2, -corner);
    cached = region;
    return region;
}

void DeviceObject::paintFrame(QPainter &p, const QRegion &region)
{
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    ensureLayers(dpr);
    const QRegion dirty = region.isEmpty() ? QRegion(rect()) : region;
    const bool motion = !A11y::reduceMotion();

    // Glow and body as one image while the glow rests; rebuilt only while it eases.
    const double glow = m_glow->value();
    if (glow != m_staticGlow || m_staticLayer.isNull()) {
        m_staticGlow = glow;
        m_arcFrames.clear(); // each step's images hold the glow
        m_staticLayer = newLayer(size(), dpr);
        QPainter sp(&m_staticLayer);
        sp.setOpacity(glow);
        sp.drawImage(QPointF(0, 0), m_glowLayer);
        sp.setOpacity(1);
        sp.drawImage(QPointF(0, 0), m_overLayer);
    }

    const QRectF band = bandRect();
    const bool banded = motion && band.intersects(screenRect());
    // The band image's place, on whole pixels.
    const QPoint bandAt = band.topLeft().toPoint() - QPoint(1, 1);

    const QRect lightable =
        banded ? QRect(bandAt, (QSizeF(m_bandLayer.size()) / dpr).toSize()) & m_litRect : QRect();

    // Drawn rectangle by rectangle with no clip, which keeps Qt on its direct blits.
    const bool clipped = p.hasClipping();
    if (clipped) {
        p.save();
        p.setClipping(false);
    }
    // Outside the screen's opaque box: the composed glow and body, and the arc's step strips
    // where the arc is; inside it: a copy of the screen, the band, the shell over the band in
    // the corners and the camera.
    const QRegion outside = dirty - m_opaqueScreen;
    if (!outside.isEmpty()) {
        if (isBusy(m_state)) {
            // The step's strips hold the glow, the arc and the body composed: one pass a pixel.
            const ArcFrame &frame = arcFrame(orbitStep(motion ? m_orbitDeg : 0), dpr);
            for (const QRect &r : outside - frame.region)
                blit(p, m_staticLayer, QPoint(0, 0), r);
            for (const QRect &r : outside & frame.region)
                for (const auto &[place, image] : frame.pieces)
                    if (place.intersects(r))
                        blit(p, image, place.topLeft(), r);
        } else {
            for (const QRect &r : outside)
                blit(p, m_staticLayer, QPoint(0, 0), r);
        }
    }
    for (const QRect &inside : dirty & m_opaqueScreen) {
        blit(p, m_screenBase, m_screenBox.topLeft(), inside);
        const QRect lit = inside & lightable;
        if (!lit.isEmpty())
            blit(p, m_bandLayer, bandAt, lit);
        // The same layers wherever the band is, so a pixel it does not light looks the same
        // whether a tick repaints it or not.
        for (int i = 0; i < 4; ++i)
            if (overlaps(inside, m_litCorners[i]))
                blit(p, m_cornerTiles[i], m_litCorners[i].topLeft(), inside);
        if (overlaps(inside, m_cameraRect))
            blit(p, m_cameraLayer, m_cameraRect.topLeft(), inside);
    }
    if (clipped)
        p.restore();
}

void DeviceObject::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    paintFrame(p, event->region());
}
