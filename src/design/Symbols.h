#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStringList>

// SF Symbol names stay the names the code uses; this table maps each to one bundled SVG
// (Bootstrap Icons, MIT, see icons/LICENSE.txt). Icons are monochrome and tinted when drawn.
namespace Symbols {

// Whether `name` has an icon.
bool contains(const QString &name);
// Every mapped symbol name.
QStringList names();
// The resource path of the icon for `name` (":/kestrel/icons/....svg"), empty when unknown.
QString resourcePath(const QString &name);
// The icon rendered into a `size` × `size` square (logical pixels) in `color`, at the device
// pixel ratio given; cached by all four. An unknown name gives a null pixmap and a warning.
QPixmap pixmap(const QString &name, qreal size, const QColor &color, qreal devicePixelRatio = 1);
// Draws the icon centred in `rect` at `size` in `color`, on whole device pixels: `size` is
// rounded to them, as the pixmap is, and an untransformed painter copies it pixel for pixel.
void paint(QPainter &painter, const QString &name, const QRectF &rect, qreal size, const QColor &color);

} // namespace Symbols
