#pragma once

#include <QFont>

// The type scale. Sizes are pixel sizes; every font is the system sans-serif (monospaced
// ones the system monospace) with Cyrillic, created once and shared. The metric fonts keep
// digits of equal width.
namespace Typo {

const QFont &hero();
const QFont &heroCompact();
const QFont &screenTitle();
const QFont &sectionTitle();
const QFont &cardTitle();
const QFont &body();
const QFont &bodyMedium();
const QFont &supporting();
const QFont &label();
const QFont &caption();
const QFont &metric();
const QFont &metricSmall();
const QFont &mono();
const QFont &monoSmall();
const QFont &monoBody();
// A new 10 px semibold font on each call.
QFont eyebrow();

// A system font of `pixelSize` (fractional sizes allowed) and `weight`.
QFont system(qreal pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospaced(qreal pixelSize, QFont::Weight weight = QFont::Normal);
// The size in pixels that a font of ours renders at.
qreal pixelSize(const QFont &font);

} // namespace Typo
