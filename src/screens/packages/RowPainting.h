#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/Tone.h"
#include "design/Labels.h"

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

// Pieces that list delegates of the package screens paint: the same badge, icon and check box
// the screens' widgets show, drawn without a widget per row.
namespace RowPainting {

// A StatusBadge's ideal size and the badge itself, its top-left corner at `topLeft`. Rendered
// once per look, theme and pixel ratio.
QSizeF badgeSize(const QString &icon, const QString &text, bool compact);
void badge(QPainter &painter, const QPointF &topLeft, const QString &icon, const QString &text, Tone tone,
           BadgeStyle style, bool compact);

// The package's icon `size` × `size`, centred in `square`: the rounded tile of its kind.
void packageIcon(QPainter &painter, const QRectF &square, const AndroidPackage &package, qreal size);

// The check box glyph ("checkmark.square.fill" in the accent when checked, else "square" in the
// tertiary ink) at `size`, centred in `square`, at `opacity`.
void checkBox(QPainter &painter, const QRectF &square, bool checked, qreal size, qreal opacity = 1);

// One line of text in `rect` (vertically centred), elided at `mode` to its width; its line
// breaks and other invisible characters drawn as stand-ins (ShownText::line).
void text(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font, const QColor &color,
          Qt::TextElideMode mode = Qt::ElideRight, Qt::Alignment alignment = Qt::AlignLeft);
// The height of one line of `font`.
qreal lineHeight(const QFont &font);

} // namespace RowPainting
