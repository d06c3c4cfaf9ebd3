#include "Panel.h"

#include "Ink.h"
#include "NativeMaterial.h"
#include "ShadowCache.h"
#include "SpecularEdge.h"
#include "Squircle.h"
#include "Theme.h"

#include <QCache>
#include <QLayout>

#include <cmath>

namespace Panel {

QMarginsF shadowMargins(const PanelStyle &style)
{
    if (style.kind == PanelKind::outline)
        return {};
    return ShadowCache::extent(style.elevation);
}

void paintUncached(QPainter &painter, const QRectF &shape, const PanelStyle &style)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = Squircle::path(shape, style.radius);
    const Elevation &e = style.elevation;
    // An outline panel has no fill, so its shadow would not show.
    if (style.kind != PanelKind::outline && e.opacity > 0) {
        const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        const QImage shadow = ShadowCache::shadow(shape.size(), style.radius, e.radius,
                                                  withOpacity(Ink::shadow(), e.opacity), dpr);
        const qreal r = ShadowCache::reach(e.radius);
        painter.drawImage(shape.topLeft() + QPointF(-r, -r + e.y), shadow);
    }
    switch (style.kind) {
    case PanelKind::raised: painter.fillPath(path, Ink::surface()); break;
    case PanelKind::sunken: painter.fillPath(path, Ink::surfaceSunken()); break;
    case PanelKind::glass:
        painter.fillPath(path, NativeMaterial::fallback(NativeMaterialKind::hudWindow));
        painter.fillPath(path, withOpacity(Ink::surface(), 0.28));
        break;
    case PanelKind::outline: break;
    }
    if (style.stroked) {
        painter.setPen(QPen(Ink::stroke(), Stroke::hairline));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(Squircle::strokePath(shape, style.radius, Stroke::hairline));
    }
    if (style.specular)
        SpecularEdge::paint(painter, shape, style.radius, 1.0);
    painter.restore();
}

namespace {
// What a cached panel image depends on. Built on every paint, so it is plain numbers: no text.
struct ImageKey {
    qreal width, height;
    int kind;
    qreal radius, shadowRadius, shadowY;
    double shadowOpacity;
    bool stroked, specular;
    int scheme;
    bool contrast;
    qreal dpr;
    bool operator==(const ImageKey &) const = default;
};
size_t qHash(const ImageKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.width, k.height, k.kind, k.radius, k.shadowRadius, k.shadowY, k.shadowOpacity,
                      k.stroked, k.specular, k.scheme, k.contrast, k.dpr);
}
} // namespace

QImage image(const QSizeF &shape, const PanelStyle &style, qreal dpr)
{
    const QMarginsF m = shadowMargins(style);
    const ImageKey key{shape.width(),          shape.height(),          int(style.kind),
                       style.radius,           style.elevation.radius,  style.elevation.y,
                       style.elevation.opacity, style.stroked,          style.specular,
                       int(Theme::scheme()),   Theme::increaseContrast(), dpr};
    static QCache<ImageKey, QImage> cache(96 * 1024 * 1024);
    if (QImage *hit = cache.object(key))
        return *hit;
    const QSizeF full(shape.width() + m.left() + m.right(), shape.height() + m.top() + m.bottom());
    QImage img(QSize(std::ceil(full.width() * dpr), std::ceil(full.height() * dpr)),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        paintUncached(p, QRectF(QPointF(m.left(), m.top()), shape), style);
    }
    cache.insert(key, new QImage(img), int(img.sizeInBytes()));
    return img;
}

void paint(QPainter &painter, const QRectF &shape, const PanelStyle &style)
{
    if (shape.isEmpty())
        return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage img = image(shape.size(), style, dpr);
    const QMarginsF m = shadowMargins(style);
    const QPointF origin = shape.topLeft() - QPointF(m.left(), m.top());

    // Past the corners and the edge strokes a panel's middle is one flat colour. When that
    // colour is opaque, the middle is filled as a plain rectangle (the cheapest fill there is)
    // and only the four edge strips are blended from the image.
    const int inset = int(std::ceil(1.28 * std::min(style.radius, std::min(shape.width(), shape.height()) / 2))) + 2;
    const bool aligned = origin == origin.toPoint() && dpr == std::floor(dpr) && m == m.toMargins();
    const QRect middle = QRect(shape.toRect()).adjusted(inset, inset, -inset, -inset);
    if (!aligned || middle.width() < 8 || middle.height() < 8) {
        painter.drawImage(origin, img);
        return;
    }
    const QPoint centre = (QPointF(m.left() + shape.width() / 2, m.top() + shape.height() / 2) * dpr).toPoint();
    const QColor flat = img.pixelColor(centre);
    if (flat.alpha() != 255) {
        painter.drawImage(origin, img);
        return;
    }
    const QRect full(origin.toPoint(), QSize(int(img.width() / dpr), int(img.height() / dpr)));
    const QRect strips[] = {
        QRect(full.left(), full.top(), full.width(), middle.top() - full.top()),
        QRect(full.left(), middle.bottom() + 1, full.width(), full.bottom() - middle.bottom()),
        QRect(full.left(), middle.top(), middle.left() - full.left(), middle.height()),
        QRect(middle.right() + 1, middle.top(), full.right() - middle.right(), middle.height()),
    };
    for (const QRect &strip : strips) {
        const QRect source((strip.topLeft() - full.topLeft()) * dpr, strip.size() * dpr);
        painter.drawImage(strip, img, source);
    }
    painter.fillRect(middle, flat);
}

} // namespace Panel

DeckPanel::DeckPanel(const PanelStyle &style, QWidget *parent) : QWidget(parent), m_style(style)
{
    updateMargins();
}

void DeckPanel::setPanelStyle(const PanelStyle &style)
{
    if (style == m_style)
        return;
    m_style = style;
    updateMargins();
    update();
}

void DeckPanel::setPadding(const QMarginsF &padding)
{
    m_padding = padding;
    updateMargins();
}

QRectF DeckPanel::panelRect() const
{
    return QRectF(rect()).marginsRemoved(Panel::shadowMargins(m_style));
}

void DeckPanel::updateMargins()
{
    setContentsMargins((Panel::shadowMargins(m_style) + m_padding).toMargins());
}

void DeckPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Panel::paint(p, panelRect(), m_style);
}
