#include "Typo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

namespace {

// QFont takes fractional sizes only in points; convert at the screen's logical DPI so that
// the font is exactly `px` logical pixels high.
qreal pointsPerPixel()
{
    static const qreal factor = [] {
        qreal dpi = 96;
        if (auto *screen = QGuiApplication::primaryScreen())
            dpi = screen->logicalDotsPerInchY();
        return 72.0 / (dpi > 0 ? dpi : 96);
    }();
    return factor;
}

} // namespace

namespace Typo {

QFont system(qreal px, QFont::Weight weight)
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPointSizeF(px * pointsPerPixel());
    f.setWeight(weight);
    return f;
}

namespace {

// Whether `font` gives a narrow letter, a wide one, a digit and a Cyrillic letter the same room,
// which is what monospaced means to a reader.
bool drawsMonospaced(const QFont &font)
{
    const QFontMetricsF fm(font);
    const qreal cell = fm.horizontalAdvance(QLatin1Char('0'));
    if (!(cell > 0))
        return false;
    for (const QChar c : {QChar(u'i'), QChar(u'W'), QChar(u'Ж')})
        if (fm.horizontalAdvance(c) != cell)
            return false;
    return true;
}

// The system's monospace font. Where that does not draw monospaced (the font database can map
// "monospace" to a proportional family), the first installed family with Cyrillic that does;
// the font database's own fixed-pitch flag is not asked, as fontconfig gives none to some
// monospaced families (Noto Sans Mono).
QFont monospaceBase()
{
    static const QFont base = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setStyleHint(QFont::Monospace);
        if (drawsMonospaced(f))
            return f;
        const QStringList preferred{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"),
                                    QStringLiteral("Liberation Mono"), QStringLiteral("Noto Mono")};
        QStringList candidates = preferred;
        candidates += QFontDatabase::families(QFontDatabase::Cyrillic);
        for (const QString &family : std::as_const(candidates)) {
            if (!QFontDatabase::hasFamily(family))
                continue;
            QFont candidate(f);
            candidate.setFamily(family);
            if (QFontInfo(candidate).family() == family && drawsMonospaced(candidate))
                return candidate;
        }
        return f;
    }();
    return base;
}

} // namespace

QFont monospaced(qreal px, QFont::Weight weight)
{
    QFont f = monospaceBase();
    f.setPointSizeF(px * pointsPerPixel());
    f.setWeight(weight);
    return f;
}

qreal pixelSize(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() / pointsPerPixel();
}

// The system sans-serif (DejaVu or Noto) already draws tabular digits, so the metric fonts
// need no feature switch (Qt 6.4 has none).
#define KESTREL_FONT(name, expr)                                                                                       \
    const QFont &name()                                                                                                \
    {                                                                                                                  \
        static const QFont f = expr;                                                                                   \
        return f;                                                                                                      \
    }

KESTREL_FONT(hero, system(40, QFont::DemiBold))
KESTREL_FONT(heroCompact, system(30, QFont::DemiBold))
KESTREL_FONT(screenTitle, system(21, QFont::DemiBold))
KESTREL_FONT(sectionTitle, system(13, QFont::DemiBold))
KESTREL_FONT(cardTitle, system(15, QFont::DemiBold))
KESTREL_FONT(body, system(13))
KESTREL_FONT(bodyMedium, system(13, QFont::Medium))
KESTREL_FONT(supporting, system(12))
KESTREL_FONT(label, system(11, QFont::Medium))
KESTREL_FONT(caption, system(11))
KESTREL_FONT(metric, system(26, QFont::DemiBold))
KESTREL_FONT(metricSmall, system(17, QFont::DemiBold))
KESTREL_FONT(mono, monospaced(12))
KESTREL_FONT(monoSmall, monospaced(11))
KESTREL_FONT(monoBody, monospaced(12.5))

#undef KESTREL_FONT

QFont eyebrow() { return system(10, QFont::DemiBold); }

} // namespace Typo
