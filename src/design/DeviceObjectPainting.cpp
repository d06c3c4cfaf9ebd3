#include "DeviceObject.h"

#include "PixelLayers.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "HandsetShape.h"
#include "ToneInk.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

using PixelLayers::byteMul;
using PixelLayers::clearOf;
using PixelLayers::newLayer;

namespace {

constexpr qreal kArcTrim = 0.18;

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

} // namespace

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
