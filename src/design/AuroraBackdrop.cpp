#include "AuroraBackdrop.h"

#include "ShadowCache.h"

#include <QCache>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace {

// The glows are blurred at a quarter of their size, which a blur this wide hides.
constexpr qreal kScale = 0.25;

struct GlowKey {
    qreal width;
    qreal height;
    QRgb tint;
    QRgb secondary;
    double intensity;
    bool operator==(const GlowKey &) const = default;
};

size_t qHash(const GlowKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.width, k.height, k.tint, k.secondary, k.intensity);
}

QImage renderGlows(const QSizeF &size, const QColor &tint, const QColor &secondary, double intensity)
{
    const QSizeF scaled = size * kScale;
    const qreal pad = std::ceil(ShadowCache::reach(44) * kScale) + 2;
    QImage img(QSize(std::ceil(scaled.width() + 2 * pad), std::ceil(scaled.height() + 2 * pad)),
               QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(pad, pad);
    p.scale(kScale, kScale);
    const qreal m = std::max(size.width(), size.height());
    auto glow = [&](const AuroraBackdrop::Glow &g, const QColor &color, double opacity) {
        QColor c = color;
        c.setAlphaF(float(std::clamp(color.alphaF() * opacity, 0.0, 1.0)));
        QColor clear = color;
        clear.setAlpha(0);
        QRadialGradient rg(g.ellipse.center(), g.gradientRadius);
        rg.setColorAt(0, c);
        rg.setColorAt(1, clear);
        // Each glow is blurred on its own layer, then added.
        QImage layer(img.size(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            QPainter lp(&layer);
            lp.setRenderHint(QPainter::Antialiasing);
            lp.translate(pad, pad);
            lp.scale(kScale, kScale);
            lp.setPen(Qt::NoPen);
            lp.setBrush(rg);
            lp.drawEllipse(g.ellipse);
        }
        // Blur every channel: premultiplied colour blurs correctly channel by channel.
        for (int ch = 0; ch < 4; ++ch) {
            QImage a(layer.size(), QImage::Format_Alpha8);
            for (int y = 0; y < layer.height(); ++y) {
                const uchar *src = layer.constScanLine(y);
                uchar *dst = a.scanLine(y);
                for (int x = 0; x < layer.width(); ++x)
                    dst[x] = src[x * 4 + ch];
            }
            ShadowCache::blurAlpha(a, g.blur * kScale);
            for (int y = 0; y < layer.height(); ++y) {
                const uchar *src = a.constScanLine(y);
                uchar *dst = layer.scanLine(y);
                for (int x = 0; x < layer.width(); ++x)
                    dst[x * 4 + ch] = src[x];
            }
        }
        p.save();
        p.resetTransform();
        p.setCompositionMode(QPainter::CompositionMode_Plus);
        p.drawImage(0, 0, layer);
        p.restore();
        (void)m;
    };
    glow(AuroraBackdrop::firstGlow(size), tint, intensity * 0.36);
    glow(AuroraBackdrop::secondGlow(size), secondary, intensity * 0.22);
    return img;
}

} // namespace

AuroraBackdrop::AuroraBackdrop(const QColor &tint, const QColor &secondary, double intensity, QWidget *parent)
    : QWidget(parent), m_tint(tint), m_secondary(secondary), m_intensity(intensity)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AuroraBackdrop::setColors(const QColor &tint, const QColor &secondary)
{
    m_tint = tint;
    m_secondary = secondary;
    update();
}

void AuroraBackdrop::setIntensity(double intensity)
{
    m_intensity = intensity;
    update();
}

AuroraBackdrop::Glow AuroraBackdrop::firstGlow(const QSizeF &s)
{
    const qreal w = s.width(), h = s.height(), m = std::max(w, h);
    QRectF e(0, 0, 1.05 * w, 1.25 * h);
    e.moveCenter(QPointF(w / 2 - 0.2 * w, h / 2 - 0.18 * h));
    return {e, 0.52 * m, 34};
}

AuroraBackdrop::Glow AuroraBackdrop::secondGlow(const QSizeF &s)
{
    const qreal w = s.width(), h = s.height(), m = std::max(w, h);
    QRectF e(0, 0, 0.85 * w, 0.95 * h);
    e.moveCenter(QPointF(w / 2 + 0.3 * w, h / 2 + 0.24 * h));
    return {e, 0.45 * m, 44};
}

void AuroraBackdrop::paint(QPainter &painter, const QRectF &rect, const QColor &tint, const QColor &secondary,
                           double intensity)
{
    if (intensity <= 0 || rect.isEmpty())
        return;
    // Looked up on every repaint, also for a small dirty rectangle: a plain key, no text.
    const GlowKey key{rect.width(), rect.height(), tint.rgba(), secondary.rgba(), intensity};
    static QCache<GlowKey, QImage> cache(16 * 1024 * 1024);
    QImage *img = cache.object(key);
    if (!img) {
        img = new QImage(renderGlows(rect.size(), tint, secondary, intensity));
        cache.insert(key, img, int(img->sizeInBytes()));
    }
    const qreal pad = (img->width() - rect.width() * kScale) / 2 / kScale;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.drawImage(rect.adjusted(-pad, -pad, pad, pad), *img);
    painter.restore();
}

void AuroraBackdrop::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paint(p, QRectF(rect()), m_tint, m_secondary, m_intensity);
}
