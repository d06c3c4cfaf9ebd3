#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// Text whose digits keep equal widths in any font, so a changing count never jiggles: each
// digit sits centred in a cell as wide as the font's widest digit; other characters keep
// their own advance. (Qt 6.4 offers no switch for a font's tabular figures.)
namespace TabularDigits {

qreal width(const QString &text, const QFont &font);
// Draws `text` in `rect` with `alignment` (horizontal and vertical flags), in the painter's pen.
void paint(QPainter &painter, const QRectF &rect, Qt::Alignment alignment, const QString &text, const QFont &font);

} // namespace TabularDigits
