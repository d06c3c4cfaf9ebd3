#include "PackageIconView.h"

#include "AppIconCache.h"

#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"

#include <QHash>
#include <QPainter>

#include <cmath>

namespace {

// The kind tile, rendered once per kind, size, look, theme and pixel ratio.
QPixmap tile(PackageKind kind, qreal size, qreal dpr, bool faded)
{
    static QHash<quint64, QPixmap> tiles;
    static QString themeKey;
    if (themeKey != Theme::key()) {
        tiles.clear();
        themeKey = Theme::key();
    }
    const quint64 key = quint64(std::lround(size * 64)) << 24 | quint64(std::lround(dpr * 64)) << 2
        | quint64(kind == PackageKind::system) << 1 | quint64(faded);
    if (const auto it = tiles.constFind(key); it != tiles.constEnd())
        return *it;
    const int side = int(std::ceil(size * dpr));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF square(0, 0, size, size);
        p.fillPath(Squircle::path(square, PackageIconView::tileRadius(size)), Ink::surfaceSunken());
        Symbols::paint(p, icon(kind), square, PackageIconView::glyphSize(size), Ink::textTertiary());
    }
    if (faded) {
        image = AppIconCache::faded(image);
        image.setDevicePixelRatio(dpr);
    }
    return *tiles.insert(key, QPixmap::fromImage(image));
}

} // namespace

PackageIconView::PackageIconView(const AndroidPackage &package, qreal size, QWidget *parent)
    : QWidget(parent), m_package(package), m_size(size)
{
    setFixedSize(int(std::ceil(size)), int(std::ceil(size)));
    // The row or header that places the icon carries the package's name.
    setAccessibleName(QString());
    setFocusPolicy(Qt::NoFocus);
    AppIconCache &cache = AppIconCache::shared();
    connect(&cache, &AppIconCache::iconReady, this, [this](const QString &name) {
        if (name == m_package.name)
            update();
    });
    connect(&cache, &AppIconCache::cleared, this, qOverload<>(&QWidget::update));
}

void PackageIconView::setPackage(const AndroidPackage &package)
{
    if (package == m_package)
        return;
    m_package = package;
    update();
}

bool PackageIconView::showsImage() const
{
    return !AppIconCache::shared().pixmap(m_package, m_size, devicePixelRatioF(), m_package.isInactive()).isNull();
}

QSize PackageIconView::sizeHint() const { return QSize(int(std::ceil(m_size)), int(std::ceil(m_size))); }

void PackageIconView::paint(QPainter &painter, const QRectF &square, const AndroidPackage &package, qreal size)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const bool faded = package.isInactive();
    const QRectF frame(square.center().x() - size / 2, square.center().y() - size / 2, size, size);
    const QPixmap image = AppIconCache::shared().pixmap(package, size, dpr, faded);
    if (image.isNull()) {
        const QPixmap fallback = tile(package.kind, size, dpr, faded);
        painter.drawPixmap(frame, fallback, QRectF(fallback.rect()));
        return;
    }
    // Fitted into the square, keeping its proportions.
    const QSizeF shown = QSizeF(image.size()).scaled(frame.size(), Qt::KeepAspectRatio);
    const QRectF target(frame.center().x() - shown.width() / 2, frame.center().y() - shown.height() / 2,
                        shown.width(), shown.height());
    // Images are kept at the drawn size: scaling is the exception (a size beyond the cap).
    const bool scales = std::abs(target.width() * dpr - image.width()) > 0.5
        || std::abs(target.height() * dpr - image.height()) > 0.5;
    if (!scales) {
        // Whole device pixels: a plain copy, no resampling.
        const QPointF at(std::round(target.left() * dpr) / dpr, std::round(target.top() * dpr) / dpr);
        painter.drawPixmap(QRectF(at, target.size()), image, QRectF(image.rect()));
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, image, QRectF(image.rect()));
    painter.restore();
}

void PackageIconView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paint(p, QRectF(rect()), m_package, m_size);
}
