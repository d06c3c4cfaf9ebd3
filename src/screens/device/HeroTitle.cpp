#include "HeroTitle.h"

#include "design/Ink.h"

#include <QResizeEvent>

#include <cmath>

HeroTitle::HeroTitle(const QString &text, const QFont &font, QWidget *parent)
    : DeckParagraph(text, font, [] { return Ink::text(); }, parent), m_base(font)
{
    setMaximumLines(kMaximumLines);
}

void HeroTitle::setTitle(const QString &text)
{
    setText(text);
    fit();
}

void HeroTitle::setTitleFont(const QFont &font)
{
    m_base = font;
    fit();
    updateGeometry();
}

QFont HeroTitle::scaled(qreal scale) const
{
    QFont font = m_base;
    if (m_base.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(std::round(m_base.pixelSize() * scale))));
    else
        font.setPointSizeF(m_base.pointSizeF() * scale);
    return font;
}

qreal HeroTitle::scaleFor(qreal width) const
{
    // Measured with a twin paragraph, so the line breaking is the one used to draw.
    DeckParagraph probe(text(), m_base, [] { return QColor(); });
    for (qreal scale = 1.0; scale > kMinimumScale; scale -= 0.05) {
        probe.setFont(scaled(scale));
        if (probe.lineCountFor(width) <= kMaximumLines)
            return scale;
    }
    return kMinimumScale;
}

int HeroTitle::heightForWidth(int width) const
{
    DeckParagraph probe(text(), scaled(scaleFor(width)), [] { return QColor(); });
    probe.setMaximumLines(kMaximumLines);
    return probe.heightForWidth(width);
}

void HeroTitle::resizeEvent(QResizeEvent *event)
{
    DeckParagraph::resizeEvent(event);
    fit();
}

void HeroTitle::fit()
{
    const QFont font = scaled(scaleFor(width()));
    if (font != this->font())
        setFont(font);
}
