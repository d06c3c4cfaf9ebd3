#include "RowPainting.h"

#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPixmap>

#include <cmath>

namespace RowPainting {

namespace {

// Forgets everything rendered for another theme.
template <typename Cache>
Cache &forTheme(Cache &cache, QString &key)
{
    if (key != Theme::key()) {
        cache.clear();
        key = Theme::key();
    }
    return cache;
}

} // namespace

QSizeF badgeSize(const QString &icon, const QString &text, bool compact)
{
    static QHash<QString, QSizeF> sizes;
    const QString key = (compact ? QStringLiteral("c") : QStringLiteral("r")) + text;
    if (const auto it = sizes.constFind(key); it != sizes.cend())
        return *it;
    const StatusBadge measure(icon, text, Tone::neutral, BadgeStyle::soft, compact);
    return *sizes.insert(key, QSizeF(measure.sizeHint()));
}

void badge(QPainter &painter, const QPointF &topLeft, const QString &icon, const QString &text, Tone tone,
           BadgeStyle style, bool compact)
{
    static QHash<QString, QPixmap> cache;
    static QString theme;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6")
                            .arg(icon, text)
                            .arg(int(tone))
                            .arg(int(style))
                            .arg(compact)
                            .arg(dpr);
    QHash<QString, QPixmap> &pixmaps = forTheme(cache, theme);
    auto it = pixmaps.constFind(key);
    if (it == pixmaps.cend()) {
        StatusBadge widget(icon, text, tone, style, compact);
        widget.setAttribute(Qt::WA_DontShowOnScreen);
        widget.resize(widget.sizeHint());
        QPixmap pixmap(QSize(int(std::ceil(widget.width() * dpr)), int(std::ceil(widget.height() * dpr))));
        pixmap.setDevicePixelRatio(dpr);
        pixmap.fill(Qt::transparent);
        widget.render(&pixmap, QPoint(), QRegion(), QWidget::RenderFlags());
        if (pixmaps.size() > 512)
            pixmaps.clear();
        it = pixmaps.insert(key, pixmap);
    }
    const QPointF at(std::round(topLeft.x() * dpr) / dpr, std::round(topLeft.y() * dpr) / dpr);
    painter.drawPixmap(at, *it);
}

void packageIcon(QPainter &painter, const QRectF &square, const AndroidPackage &package, qreal size)
{
    const QRectF frame(square.center().x() - size / 2, square.center().y() - size / 2, size, size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (package.isInactive())
        painter.setOpacity(painter.opacity() * 0.5);
    painter.fillPath(Squircle::path(frame, size * 0.24), Ink::surfaceSunken());
    Symbols::paint(painter, icon(package.kind), frame, size * 0.45, Ink::textTertiary());
    painter.restore();
}

void checkBox(QPainter &painter, const QRectF &square, bool checked, qreal size, qreal opacity)
{
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    Symbols::paint(painter, checked ? QStringLiteral("checkmark.square.fill") : QStringLiteral("square"), square, size,
                   checked ? Ink::accent() : Ink::textTertiary());
    painter.restore();
}

void text(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font, const QColor &color,
          Qt::TextElideMode mode, Qt::Alignment alignment)
{
    const QFontMetricsF fm(font);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine,
                     fm.elidedText(ShownText::line(text), mode, rect.width()));
}

qreal lineHeight(const QFont &font) { return QFontMetricsF(font).height(); }

} // namespace RowPainting
