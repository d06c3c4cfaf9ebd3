#include "DeckParagraph.h"

#include "ShownText.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

DeckParagraph::DeckParagraph(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent)
    : QWidget(parent), m_text(text), m_shown(ShownText::paragraphs(text)), m_ink(std::move(ink))
{
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void DeckParagraph::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_shown = ShownText::paragraphs(text);
    updateGeometry();
    update();
}

void DeckParagraph::setInk(DeckText::InkRole ink)
{
    m_ink = std::move(ink);
    update();
}

void DeckParagraph::setMaximumLines(int lines)
{
    m_maxLines = std::max(0, lines);
    updateGeometry();
    update();
}

void DeckParagraph::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

qreal DeckParagraph::lineHeight() const { return QFontMetricsF(font()).height(); }

QList<DeckParagraph::Line> DeckParagraph::breakLines(qreal width) const
{
    QList<Line> out;
    // Explicit line breaks start new paragraphs; an empty text still takes one line.
    const QStringList paragraphs = m_shown.split(QLatin1Char('\n'));
    int offset = 0;
    for (const QString &para : paragraphs) {
        if (para.isEmpty()) {
            out.append({offset, 0});
        } else {
            QTextLayout layout(para, font());
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            for (;;) {
                QTextLine line = layout.createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(std::max<qreal>(1, width));
                out.append({offset + line.textStart(), line.textLength()});
            }
            layout.endLayout();
        }
        offset += int(para.size()) + 1;
    }
    return out;
}

int DeckParagraph::lineCountFor(qreal width) const { return int(breakLines(width).size()); }

int DeckParagraph::shownLineCountFor(qreal width) const
{
    const int all = lineCountFor(width);
    return m_maxLines > 0 ? std::min(all, m_maxLines) : all;
}

int DeckParagraph::heightForWidth(int width) const
{
    return int(std::ceil(shownLineCountFor(width) * lineHeight()));
}

QSize DeckParagraph::sizeHint() const
{
    // Ideal: every paragraph on one line, capped by the maximum width.
    const QFontMetricsF fm(font());
    qreal widest = 0;
    for (const QString &para : m_shown.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(para));
    const int w = std::min(int(std::ceil(widest)) + 1, maximumWidth());
    return QSize(w, heightForWidth(w));
}

QSize DeckParagraph::minimumSizeHint() const
{
    // A paragraph may narrow down to a few characters; its height then grows.
    const QFontMetricsF fm(font());
    // Layouts ask heightForWidth for the real height; the minimum is one line so a narrow
    // minimum width does not inflate the minimum height.
    const int w = std::min(sizeHint().width(), int(std::ceil(fm.horizontalAdvance(QStringLiteral("MMMM")))));
    return QSize(w, int(std::ceil(lineHeight())));
}

void DeckParagraph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(m_ink());
    p.setFont(font());
    const QFontMetricsF fm(font());
    const QList<Line> lines = breakLines(width());
    const int shown = m_maxLines > 0 ? std::min<int>(m_maxLines, int(lines.size())) : int(lines.size());
    const qreal h = lineHeight();
    for (int i = 0; i < shown; ++i) {
        QString text = m_shown.mid(lines[i].start, lines[i].length);
        if (i == shown - 1 && shown < lines.size()) {
            // The last shown line carries the rest of the text, elided.
            text = fm.elidedText(m_shown.mid(lines[i].start).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                 Qt::ElideRight, width());
        }
        const QRectF r(0, i * h, width(), h);
        const Qt::Alignment horizontal = m_alignment & Qt::AlignHorizontal_Mask;
        p.drawText(r, int(horizontal | Qt::AlignVCenter), text.trimmed().isEmpty() ? text : text.trimmed());
    }
}
