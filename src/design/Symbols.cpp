#include "Symbols.h"

#include <QCache>
#include <QFile>
#include <QHash>
#include <QSvgRenderer>
#include <QtDebug>

#include <cmath>

static void initDesignIcons() { Q_INIT_RESOURCE(DesignIcons); }

namespace {

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> t = [] {
        initDesignIcons();
        return QHash<QString, QString>{
            {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("exclamation-triangle-fill")},
            {QStringLiteral("exclamationmark.triangle"), QStringLiteral("exclamation-triangle")},
            {QStringLiteral("exclamationmark.circle.fill"), QStringLiteral("exclamation-circle-fill")},
            {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check-circle-fill")},
            {QStringLiteral("checkmark.circle"), QStringLiteral("check-circle")},
            {QStringLiteral("checkmark.shield.fill"), QStringLiteral("shield-fill-check")},
            {QStringLiteral("checkmark.seal.fill"), QStringLiteral("patch-check-fill")},
            {QStringLiteral("checkmark.square.fill"), QStringLiteral("check-square-fill")},
            {QStringLiteral("checkmark"), QStringLiteral("check-lg")},
            {QStringLiteral("cable.connector"), QStringLiteral("usb-plug")},
            {QStringLiteral("cable.connector.slash"), QStringLiteral("usb-plug-fill")},
            {QStringLiteral("bolt.fill"), QStringLiteral("lightning-charge-fill")},
            {QStringLiteral("bolt"), QStringLiteral("lightning-charge")},
            {QStringLiteral("bolt.horizontal.circle.fill"), QStringLiteral("lightning-fill")},
            {QStringLiteral("arrow.clockwise"), QStringLiteral("arrow-clockwise")},
            {QStringLiteral("arrow.clockwise.circle"), QStringLiteral("arrow-clockwise")},
            {QStringLiteral("arrow.triangle.2.circlepath"), QStringLiteral("arrow-repeat")},
            {QStringLiteral("arrow.uturn.backward.circle"), QStringLiteral("arrow-counterclockwise")},
            {QStringLiteral("arrow.down.to.line"), QStringLiteral("download")},
            {QStringLiteral("arrow.left"), QStringLiteral("arrow-left")},
            {QStringLiteral("arrow.right"), QStringLiteral("arrow-right")},
            {QStringLiteral("arrow.right.circle"), QStringLiteral("arrow-right-circle")},
            {QStringLiteral("arrow.up"), QStringLiteral("arrow-up")},
            {QStringLiteral("arrow.left.arrow.right"), QStringLiteral("arrow-left-right")},
            {QStringLiteral("person.crop.square"), QStringLiteral("person-square")},
            {QStringLiteral("gearshape.2"), QStringLiteral("gear-wide-connected")},
            {QStringLiteral("gearshape.2.fill"), QStringLiteral("gear-wide-connected")},
            {QStringLiteral("gearshape"), QStringLiteral("gear")},
            {QStringLiteral("gearshape.fill"), QStringLiteral("gear-fill")},
            {QStringLiteral("gearshape.arrow.triangle.2.circlepath"), QStringLiteral("gear-wide")},
            {QStringLiteral("minus.circle"), QStringLiteral("dash-circle")},
            {QStringLiteral("minus.circle.fill"), QStringLiteral("dash-circle-fill")},
            {QStringLiteral("hand.raised.fill"), QStringLiteral("hand-index-fill")},
            {QStringLiteral("hand.raised"), QStringLiteral("hand-index")},
            {QStringLiteral("hand.raised.slash"), QStringLiteral("slash-circle")},
            {QStringLiteral("hand.tap"), QStringLiteral("hand-index-thumb")},
            {QStringLiteral("waveform.path.ecg"), QStringLiteral("activity")},
            {QStringLiteral("waveform"), QStringLiteral("soundwave")},
            {QStringLiteral("shield.lefthalf.filled"), QStringLiteral("shield-shaded")},
            {QStringLiteral("shield.lefthalf.filled.slash"), QStringLiteral("shield-slash")},
            {QStringLiteral("questionmark.circle.fill"), QStringLiteral("question-circle-fill")},
            {QStringLiteral("questionmark.circle"), QStringLiteral("question-circle")},
            {QStringLiteral("questionmark"), QStringLiteral("question-lg")},
            {QStringLiteral("pause.circle.fill"), QStringLiteral("pause-circle-fill")},
            {QStringLiteral("pause.circle"), QStringLiteral("pause-circle")},
            {QStringLiteral("pause"), QStringLiteral("pause-fill")},
            {QStringLiteral("play.circle.fill"), QStringLiteral("play-circle-fill")},
            {QStringLiteral("play.fill"), QStringLiteral("play-fill")},
            {QStringLiteral("play"), QStringLiteral("play-fill")},
            {QStringLiteral("stop.circle.fill"), QStringLiteral("stop-circle-fill")},
            {QStringLiteral("stop.fill"), QStringLiteral("stop-fill")},
            {QStringLiteral("lock.trianglebadge.exclamationmark.fill"), QStringLiteral("shield-lock-fill")},
            {QStringLiteral("lock.fill"), QStringLiteral("lock-fill")},
            {QStringLiteral("xmark.circle"), QStringLiteral("x-circle")},
            {QStringLiteral("xmark.circle.fill"), QStringLiteral("x-circle-fill")},
            {QStringLiteral("xmark.octagon.fill"), QStringLiteral("x-octagon-fill")},
            {QStringLiteral("xmark.octagon"), QStringLiteral("x-octagon")},
            {QStringLiteral("xmark"), QStringLiteral("x-lg")},
            {QStringLiteral("doc.on.doc"), QStringLiteral("files")},
            {QStringLiteral("doc.text"), QStringLiteral("file-earmark-text")},
            {QStringLiteral("doc.richtext"), QStringLiteral("file-earmark-richtext")},
            {QStringLiteral("doc"), QStringLiteral("file-earmark")},
            {QStringLiteral("folder.fill"), QStringLiteral("folder-fill")},
            {QStringLiteral("folder"), QStringLiteral("folder")},
            {QStringLiteral("folder.badge.plus"), QStringLiteral("folder-plus")},
            {QStringLiteral("switch.2"), QStringLiteral("toggles")},
            {QStringLiteral("sun.max.fill"), QStringLiteral("sun-fill")},
            {QStringLiteral("sun.max"), QStringLiteral("sun")},
            {QStringLiteral("moon.stars.fill"), QStringLiteral("moon-stars-fill")},
            {QStringLiteral("moon"), QStringLiteral("moon")},
            {QStringLiteral("square.and.arrow.down"), QStringLiteral("box-arrow-in-down")},
            {QStringLiteral("square.and.arrow.up"), QStringLiteral("box-arrow-up")},
            {QStringLiteral("shippingbox.fill"), QStringLiteral("box-seam-fill")},
            {QStringLiteral("shippingbox"), QStringLiteral("box-seam")},
            {QStringLiteral("rectangle.stack.badge.play.fill"), QStringLiteral("collection-play-fill")},
            {QStringLiteral("rectangle.stack.badge.play"), QStringLiteral("collection-play")},
            {QStringLiteral("rectangle.stack.badge.plus"), QStringLiteral("collection")},
            {QStringLiteral("rectangle.on.rectangle"), QStringLiteral("window-stack")},
            {QStringLiteral("key.fill"), QStringLiteral("key-fill")},
            {QStringLiteral("internaldrive.fill"), QStringLiteral("device-hdd-fill")},
            {QStringLiteral("externaldrive"), QStringLiteral("hdd")},
            {QStringLiteral("info.circle"), QStringLiteral("info-circle")},
            {QStringLiteral("dot.radiowaves.left.and.right"), QStringLiteral("broadcast")},
            {QStringLiteral("antenna.radiowaves.left.and.right"), QStringLiteral("broadcast-pin")},
            {QStringLiteral("circle.lefthalf.filled"), QStringLiteral("circle-half")},
            {QStringLiteral("circle"), QStringLiteral("circle")},
            {QStringLiteral("battery.0percent"), QStringLiteral("battery")},
            {QStringLiteral("battery.25percent"), QStringLiteral("battery-half")},
            {QStringLiteral("battery.25"), QStringLiteral("battery-half")},
            {QStringLiteral("battery.50percent"), QStringLiteral("battery-half")},
            {QStringLiteral("battery.75percent"), QStringLiteral("battery-full")},
            {QStringLiteral("battery.100percent"), QStringLiteral("battery-full")},
            {QStringLiteral("battery.100percent.bolt"), QStringLiteral("battery-charging")},
            {QStringLiteral("square.stack.3d.up.fill"), QStringLiteral("stack")},
            {QStringLiteral("square.stack.3d.up"), QStringLiteral("layers")},
            {QStringLiteral("square.stack.3d.up.slash"), QStringLiteral("layers-half")},
            {QStringLiteral("square.on.square"), QStringLiteral("window-stack")},
            {QStringLiteral("square.grid.2x2.fill"), QStringLiteral("grid-fill")},
            {QStringLiteral("square.grid.2x2"), QStringLiteral("grid")},
            {QStringLiteral("square"), QStringLiteral("square")},
            {QStringLiteral("slider.horizontal.3"), QStringLiteral("sliders")},
            {QStringLiteral("server.rack"), QStringLiteral("hdd-rack")},
            {QStringLiteral("text.alignleft"), QStringLiteral("text-left")},
            {QStringLiteral("terminal.fill"), QStringLiteral("terminal-fill")},
            {QStringLiteral("terminal"), QStringLiteral("terminal")},
            {QStringLiteral("apple.terminal"), QStringLiteral("terminal")},
            {QStringLiteral("apple.logo"), QStringLiteral("apple")},
            {QStringLiteral("star.fill"), QStringLiteral("star-fill")},
            {QStringLiteral("star"), QStringLiteral("star")},
            {QStringLiteral("speaker.wave.2"), QStringLiteral("volume-up")},
            {QStringLiteral("speaker.wave.1"), QStringLiteral("volume-down")},
            {QStringLiteral("sidebar.right"), QStringLiteral("layout-sidebar-reverse")},
            {QStringLiteral("sidebar.left"), QStringLiteral("layout-sidebar")},
            {QStringLiteral("list.bullet.rectangle"), QStringLiteral("card-list")},
            {QStringLiteral("line.3.horizontal.decrease.circle"), QStringLiteral("filter-circle")},
            {QStringLiteral("iphone.gen3"), QStringLiteral("phone")},
            {QStringLiteral("camera.viewfinder"), QStringLiteral("camera")},
            {QStringLiteral("camera"), QStringLiteral("camera")},
            {QStringLiteral("chevron.right"), QStringLiteral("chevron-right")},
            {QStringLiteral("chevron.down"), QStringLiteral("chevron-down")},
            {QStringLiteral("chevron.backward"), QStringLiteral("chevron-left")},
            {QStringLiteral("wrench.adjustable"), QStringLiteral("wrench-adjustable")},
            {QStringLiteral("archivebox"), QStringLiteral("archive")},
            {QStringLiteral("bookmark"), QStringLiteral("bookmark")},
            {QStringLiteral("clock"), QStringLiteral("clock")},
            {QStringLiteral("cpu"), QStringLiteral("cpu")},
            {QStringLiteral("ellipsis"), QStringLiteral("three-dots")},
            {QStringLiteral("film"), QStringLiteral("film")},
            {QStringLiteral("flame"), QStringLiteral("fire")},
            {QStringLiteral("hammer"), QStringLiteral("hammer")},
            {QStringLiteral("house"), QStringLiteral("house")},
            {QStringLiteral("ladybug"), QStringLiteral("bug")},
            {QStringLiteral("laptopcomputer"), QStringLiteral("laptop")},
            {QStringLiteral("magnifyingglass"), QStringLiteral("search")},
            {QStringLiteral("memorychip"), QStringLiteral("memory")},
            {QStringLiteral("number"), QStringLiteral("hash")},
            {QStringLiteral("paintbrush"), QStringLiteral("brush")},
            {QStringLiteral("photo"), QStringLiteral("image")},
            {QStringLiteral("power"), QStringLiteral("power")},
            {QStringLiteral("sparkles"), QStringLiteral("stars")},
            {QStringLiteral("textformat"), QStringLiteral("fonts")},
            {QStringLiteral("trash"), QStringLiteral("trash")},
            {QStringLiteral("wifi"), QStringLiteral("wifi")},
        };
    }();
    return t;
}

} // namespace

namespace Symbols {

bool contains(const QString &name) { return table().contains(name); }

QStringList names()
{
    QStringList list = table().keys();
    list.sort();
    return list;
}

QString resourcePath(const QString &name)
{
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return {};
    return QStringLiteral(":/kestrel/icons/") + it.value() + QStringLiteral(".svg");
}

QPixmap pixmap(const QString &name, qreal size, const QColor &color, qreal dpr)
{
    const QString path = resourcePath(name);
    if (path.isEmpty()) {
        qWarning() << "no icon for symbol" << name;
        return {};
    }
    const int px = std::max(1, int(std::lround(size * dpr)));
    const QString key = name + QLatin1Char('|') + QString::number(px) + QLatin1Char('|') +
                        QString::number(color.rgba(), 16);
    static QCache<QString, QPixmap> cache(4 * 1024 * 1024);
    if (QPixmap *hit = cache.object(key))
        return *hit;

    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QSvgRenderer renderer(path);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        // Keep the icon's aspect inside the square.
        QSizeF s = renderer.defaultSize();
        s.scale(px, px, Qt::KeepAspectRatio);
        renderer.render(&p, QRectF((px - s.width()) / 2, (px - s.height()) / 2, s.width(), s.height()));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(image.rect(), color);
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(dpr);
    cache.insert(key, new QPixmap(result), px * px * 4);
    return result;
}

void paint(QPainter &painter, const QString &name, const QRectF &rect, qreal size, const QColor &color)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(name, size, color, dpr);
    if (pm.isNull())
        return;
    // The pixmap has whole device pixels: drawn at its own size on the pixel grid it is copied
    // as it is. Stretched to a fractional size at a fractional place, the scaler drops its last
    // row and column (a 30 px button's 13.2 px glyph lost its bottom edge).
    const qreal side = pm.width() / dpr;
    QPointF topLeft(rect.center().x() - side / 2, rect.center().y() - side / 2);
    const QTransform &world = painter.worldTransform();
    if (world.type() <= QTransform::TxTranslate) {
        const auto snap = [dpr](qreal at, qreal offset) { return std::round((at + offset) * dpr) / dpr - offset; };
        topLeft = QPointF(snap(topLeft.x(), world.dx()), snap(topLeft.y(), world.dy()));
    }
    painter.drawPixmap(QRectF(topLeft, QSizeF(side, side)), pm, QRectF(pm.rect()));
}

} // namespace Symbols
