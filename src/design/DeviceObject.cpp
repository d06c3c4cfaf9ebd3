#include "DeviceObject.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "HandsetShape.h"
#include "Ink.h"
#include "MeterBar.h"
#include "Motion.h"
#include "ShadowCache.h"
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
#include <QPauseAnimation>
#include <QRadialGradient>

#include <cmath>
#include <cstring>

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

// Draws the part of `image` (placed at `origin`) that falls in `region`, one rectangle at a
// time and with no clip, which keeps Qt on its direct blit. A clipped blend goes through span
// functions that hand tall areas to a thread pool, whose wake-ups cost more than these copies.
void blitRegion(QPainter &p, const QImage &image, const QPoint &origin, const QRegion &region)
{
    const qreal dpr = image.devicePixelRatio();
    const QRect bounds(origin, (QSizeF(image.size()) / dpr).toSize());
    for (const QRect &r : region) {
        const QRect part = r & bounds;
        if (part.isEmpty())
            continue;
        const QRect source = part.translated(-origin);
        p.drawImage(QRectF(part), image,
                    QRectF(source.left() * dpr, source.top() * dpr, source.width() * dpr, source.height() * dpr));
    }
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

// `out` = `band` (whose top-left lies at `bandOffset` in `out`'s pixels) masked by `mask`;
// all premultiplied and of one pixel ratio. Plain arithmetic: no painter to set up.
void maskBand(QImage &out, const QImage &band, const QPoint &bandOffset, const QImage &mask)
{
    const int w = out.width();
    const int h = out.height();
    const int bw = band.width();
    const int bh = band.height();
    const int x0 = std::clamp(bandOffset.x(), 0, w);
    const int x1 = std::clamp(bandOffset.x() + bw, 0, w);
    for (int y = 0; y < h; ++y) {
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        std::fill(dst, dst + w, 0);
        const int by = y - bandOffset.y();
        if (by < 0 || by >= bh)
            continue;
        const auto *m = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        const auto *src = reinterpret_cast<const QRgb *>(band.constScanLine(by)) - bandOffset.x();
        for (int x = x0; x < x1; ++x) {
            const uint a = qAlpha(m[x]);
            dst[x] = a == 255 ? src[x] : byteMul(src[x], a);
        }
    }
}

// `out` = the opaque `screen` with the premultiplied `band` (top-left at `bandOffset`) over it;
// both images of one size and format. One copy, then Qt's vectorised blend on an unclipped
// image.
void composeBand(QImage &out, const QImage &screen, const QImage &band, const QPoint &bandOffset)
{
    std::memcpy(out.bits(), screen.constBits(), size_t(screen.sizeInBytes()));
    QPainter p(&out);
    p.drawImage(QPointF(QPointF(bandOffset) / out.devicePixelRatio()), band);
}

} // namespace

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
        // Only the glass under the band changes (with the corners it leaves or reaches).
        const QRegion before = sweepRegion();
        m_sweepPos = v.toReal();
        update(before + sweepRegion());
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
        const QRect before = arcBounds(m_orbitDeg);
        m_orbitDeg = next;
        update(QRegion(before) + arcBounds(m_orbitDeg));
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

qreal DeviceObject::bandOffset() const { return -m_width * 1.3 + 2.6 * m_width * m_sweepPos; }

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

    // The screen's wholly glass (opaque) core, copied out so an animation frame can put it back
    // with a plain copy; its rounded corners and anti-aliased edge stay with the over layer.
    const QRect core = screenRect().adjusted(1, 1, -1, -1).toAlignedRect().adjusted(1, 1, -1, -1);
    const QRect corePx(QPoint(int(core.left() * dpr), int(core.top() * dpr)),
                       QSize(int(core.width() * dpr), int(core.height() * dpr)));
    m_screenOpaque = m_overLayer.copy(corePx).convertToFormat(QImage::Format_RGB32);
    m_screenOpaque.setDevicePixelRatio(dpr);
    // The band is blended into a premultiplied copy: Qt's vectorised path wants that format.
    m_screenScratch = m_screenOpaque.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_screenOpaqueArgb = m_screenScratch.copy();
    m_coreRect = core;
    m_innerRegion = screenInnerRegion();
    m_corners = screenCorners();

    m_staticLayer = QImage();
    m_arcSprites.clear();
    // Masks of the screen's rounded corners, for the band where rectangles cannot clip it.
    m_cornerMasks.clear();
    for (const QRect &c : std::as_const(m_corners)) {
        QImage mask = newLayer(c.size(), dpr);
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing);
        mp.translate(-c.topLeft());
        // Only what the inner rectangles leave: the corner less its straight inner strips.
        mp.fillPath(Squircle::path(screenRect(), m_width * 0.155), Qt::white);
        m_cornerMasks.append(mask);
    }
    m_cornerScratch.clear();
    for (const QRect &c : std::as_const(m_corners))
        m_cornerScratch.append(newLayer(c.size(), dpr));

    // The camera sits over the screen, so it is put back over the band.
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

    // Camera over the top of the screen.
    const qreal cam = m_width * 0.055;
    const QPointF cc(body.center().x(), body.center().y() - bodyHeight() * 0.415);
    const QRectF camera(cc - QPointF(cam / 2, cam / 2), QSizeF(cam, cam));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink::canvasDeep());
    p.drawEllipse(camera);
    p.setPen(QPen(Ink::stroke(), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(camera.adjusted(0.25, 0.25, -0.25, -0.25));

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
                       QStringLiteral("Android ") + *m_snapshot->androidRelease);
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
    const QString key = Theme::key() + QLatin1Char('|') + QString::number(dpr) + QLatin1Char('|') +
                        QString::number(m_width);
    if (key == m_bandKey)
        return;
    m_bandKey = key;
    const QRectF box = bandRect();
    m_bandLayer = newLayer(box.size().toSize() + QSize(2, 2), dpr);
    QPainter p(&m_bandLayer);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = m_width * 0.7;
    const qreal h = screenRect().height();
    p.translate(box.width() / 2 + 1, box.height() / 2 + 1);
    p.rotate(18);
    const QRectF band(-w / 2, -h / 2, w, h);
    QLinearGradient g(band.topLeft(), band.bottomRight());
    const QColor spec = Ink::specular();
    g.setColorAt(0, clearOf(spec));
    g.setColorAt(0.5, withOpacity(spec, 0.3));
    g.setColorAt(1, clearOf(spec));
    p.fillRect(band, g);
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

const QImage &DeviceObject::arcSprite(int step, qreal dpr)
{
    const bool still = A11y::reduceMotion();
    const int key = still ? -1 : step;
    auto it = m_arcSprites.constFind(key);
    if (it != m_arcSprites.constEnd())
        return *it;
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
    {
        QImage composed = newLayer(bounds.size(), dpr);
        QPainter cp(&composed);
        cp.drawImage(QPointF(0, 0), m_staticLayer, QRectF(QPointF(origin), QSizeF(sprite.size())));
        cp.drawImage(QPointF(0, 0), sprite);
        cp.end();
        sprite = composed;
    }
    return *m_arcSprites.insert(key, sprite);
}

QRegion DeviceObject::screenInnerRegion() const
{
    // The screen less its anti-aliased edge and its four rounded corners: pixels that are
    // wholly glass, so rectangles describe them exactly.
    const QRect inner = screenRect().adjusted(1, 1, -1, -1).toAlignedRect().adjusted(1, 1, -1, -1);
    const int c = int(std::ceil(m_width * 0.155 * 1.28)) + 1;
    return QRegion(inner.adjusted(c, 0, -c, 0)) + QRegion(inner.adjusted(0, c, 0, -c));
}

QList<QRect> DeviceObject::screenCorners() const
{
    const QRect outer = screenRect().toAlignedRect();
    const QRect inner = screenRect().adjusted(1, 1, -1, -1).toAlignedRect().adjusted(1, 1, -1, -1);
    const int c = int(std::ceil(m_width * 0.155 * 1.28)) + 1 + (inner.left() - outer.left());
    return {QRect(outer.left(), outer.top(), c, c), QRect(outer.right() - c + 1, outer.top(), c, c),
            QRect(outer.left(), outer.bottom() - c + 1, c, c), QRect(outer.right() - c + 1, outer.bottom() - c + 1, c, c)};
}

bool DeviceObject::bandTouches(const QRect &area) const
{
    // In the band's own turned frame the band is an upright w × h rectangle; the area's
    // corners turned the other way either reach it or not.
    const QRectF screen = screenRect();
    const QPointF c(screen.center().x() + bandOffset(), screen.center().y());
    const qreal w = m_width * 0.7 / 2;
    const qreal h = screen.height() / 2;
    const qreal a = -M_PI / 10;
    qreal minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const QPointF &pt : {QPointF(area.topLeft()), QPointF(area.topRight()) + QPointF(1, 0),
                              QPointF(area.bottomLeft()) + QPointF(0, 1), QPointF(area.bottomRight()) + QPointF(1, 1)}) {
        const QPointF d = pt - c;
        const qreal x = d.x() * std::cos(a) - d.y() * std::sin(a);
        const qreal y = d.x() * std::sin(a) + d.y() * std::cos(a);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    return maxX >= -w && minX <= w && maxY >= -h && minY <= h;
}

QRegion DeviceObject::sweepRegion() const
{
    QRegion r = screenInnerRegion();
    for (const QRect &c : screenCorners())
        if (bandTouches(c))
            r += c;
    return r;
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
        m_arcSprites.clear(); // each step's image holds the glow
        m_staticLayer = newLayer(size(), dpr);
        QPainter sp(&m_staticLayer);
        sp.setOpacity(glow);
        sp.drawImage(QPointF(0, 0), m_glowLayer);
        sp.setOpacity(1);
        sp.drawImage(QPointF(0, 0), m_overLayer);
    }

    const QRectF screen = screenRect();
    const QRectF band = bandRect();
    const bool banded = motion && band.intersects(screen);
    QPoint bandAt;
    if (banded) {
        renderBand(dpr);
        bandAt = band.topLeft().toPoint() - QPoint(1, 1);
    }

    // The screen's opaque core comes back as a plain copy (with the band composed into it);
    // everything else is drawn from the composed glow and body.
    const QRegion coreDirty = dirty & m_innerRegion;
    const QRegion rest = dirty - coreDirty;

    p.save();
    p.setClipping(false);
    if (!rest.isEmpty()) {
        const bool busy = isBusy(m_state);
        const QRect arcBox = busy ? arcBounds(motion ? m_orbitDeg : 0) : QRect();
        blitRegion(p, m_staticLayer, QPoint(0, 0), busy ? rest - arcBox : rest);
        if (busy) {
            const qreal degrees = motion ? m_orbitDeg : 0;
            const QRect bounds = arcBounds(degrees);
            const QRegion arcRest = rest & bounds;
            // The step's box comes from its own image (glow, arc and body composed), the rest
            // from the still composite: one pass over every pixel.
            if (!arcRest.isEmpty())
                blitRegion(p, arcSprite(orbitStep(degrees), dpr), bounds.topLeft(), arcRest);
        }
    }
    if (!coreDirty.isEmpty()) {
        // A plain copy of the glass, then the band blended straight onto it.
        blitRegion(p, m_screenOpaque, m_coreRect.topLeft(), coreDirty);
        if (banded)
            blitRegion(p, m_bandLayer, bandAt, coreDirty);
    }
    if (banded) {
        // The rounded corners take the band through their masks; the one-pixel anti-aliased
        // rim is left as it is.
        const QRect bandBox(bandAt, (QSizeF(m_bandLayer.size()) / dpr).toSize());
        for (int i = 0; i < m_corners.size(); ++i) {
            const QRect c = m_corners[i];
            if (!bandTouches(c) || !dirty.intersects(c))
                continue;
            QImage &scratch = m_cornerScratch[i];
            maskBand(scratch, m_bandLayer, (bandAt - c.topLeft()) * dpr, m_cornerMasks[i]);
            blitRegion(p, scratch, c.topLeft(), dirty & c);
        }
        if (bandBox.intersects(m_cameraRect) && dirty.intersects(m_cameraRect))
            blitRegion(p, m_cameraLayer, m_cameraRect.topLeft(), dirty & m_cameraRect);
    }
    p.restore();
}

void DeviceObject::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    paintFrame(p, event->region());
}
