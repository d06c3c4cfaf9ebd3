#include "ShadowCache.h"

#include "Squircle.h"

#include <QCache>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void boxBlurLine(uchar *data, int count, int stride, int half, std::vector<int> &buffer)
{
    buffer.resize(count);
    for (int i = 0; i < count; ++i)
        buffer[i] = data[i * stride];
    const int window = 2 * half + 1;
    int sum = 0;
    for (int i = -half; i <= half; ++i)
        sum += (i >= 0 && i < count) ? buffer[i] : 0;
    for (int i = 0; i < count; ++i) {
        data[i * stride] = uchar(sum / window);
        const int out = i - half, in = i + half + 1;
        if (out >= 0)
            sum -= buffer[out];
        if (in < count)
            sum += buffer[in];
    }
}

} // namespace

namespace ShadowCache {

qreal reach(qreal blur) { return std::ceil(blur * 1.5); }

QMarginsF extent(const Elevation &e)
{
    if (e.opacity <= 0)
        return {};
    const qreal r = reach(e.radius);
    return QMarginsF(r, std::max<qreal>(0, r - e.y), r, r + e.y);
}

void blurAlpha(QImage &alpha, qreal radius)
{
    const int half = std::max(0, int(std::lround(radius / 2)));
    if (half == 0 || alpha.isNull())
        return;
    std::vector<int> buffer;
    const int w = alpha.width(), h = alpha.height(), stride = int(alpha.bytesPerLine());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            boxBlurLine(alpha.scanLine(y), w, 1, half, buffer);
        for (int x = 0; x < w; ++x)
            boxBlurLine(alpha.bits() + x, h, stride, half, buffer);
    }
}

QImage shadow(const QSizeF &size, qreal radius, qreal blur, const QColor &color, qreal dpr)
{
    const qreal r = reach(blur);
    const QString key = QStringLiteral("%1x%2|%3|%4|%5|%6")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(radius)
                            .arg(blur)
                            .arg(color.rgba(), 0, 16)
                            .arg(dpr);
    static QCache<QString, QImage> cache(64 * 1024 * 1024);
    if (QImage *hit = cache.object(key))
        return *hit;

    const QSize px((size.width() + 2 * r) * dpr + 0.5, (size.height() + 2 * r) * dpr + 0.5);
    QImage mask(px, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(dpr, dpr);
        p.fillPath(Squircle::path(QRectF(QPointF(r, r), size), radius), Qt::black);
    }
    blurAlpha(mask, blur * dpr);

    QImage out(px, QImage::Format_ARGB32_Premultiplied);
    const int ca = color.alpha(), cr = color.red(), cg = color.green(), cb = color.blue();
    for (int y = 0; y < px.height(); ++y) {
        const uchar *m = mask.constScanLine(y);
        auto *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < px.width(); ++x) {
            const int a = m[x] * ca / 255;
            o[x] = qRgba(cr * a / 255, cg * a / 255, cb * a / 255, a);
        }
    }
    out.setDevicePixelRatio(dpr);
    cache.insert(key, new QImage(out), int(out.sizeInBytes()));
    return out;
}

} // namespace ShadowCache
