#include "DeviceObject.h"

#include "PixelLayers.h"

#include "AnimatedValue.h"
#include "HandsetShape.h"
#include "Ink.h"
#include "MeterBar.h"
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
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>

using PixelLayers::byteMul;
using PixelLayers::clearOf;
using PixelLayers::newLayer;

namespace {

constexpr qreal kGlowBlur = 46;

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

} // namespace

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
