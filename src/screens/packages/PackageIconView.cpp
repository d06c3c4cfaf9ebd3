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
    static QHash<QString, QPixmap> tiles;
    static QString themeKey;
    if (themeKey != Theme::key()) {
        tiles.clear();
        themeKey = Theme::key();
    }
    const QString key = QStringLiteral("%1/%2/%3/%4").arg(int(kind)).arg(size).arg(dpr).arg(faded);
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
