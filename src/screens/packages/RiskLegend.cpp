#include "RiskLegend.h"

#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Panel.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The risk's glyph at 11 px in its tone.
class RiskGlyph : public QWidget {
public:
    RiskGlyph(RemovalRisk risk, QWidget *parent) : QWidget(parent), m_risk(risk) { setFixedSize(13, 16); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        Symbols::paint(p, icon(m_risk), QRectF(rect()), 11, foreground(tone(m_risk)));
    }

private:
    RemovalRisk m_risk;
};

PanelStyle cardStyle()
{
    PanelStyle style;
    style.kind = PanelKind::raised;
    style.radius = Radius::m;
    return style;
}

} // namespace

RiskLegend::RiskLegend(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (RemovalRisk risk : allCases<RemovalRisk>()) {
        auto *box = new QWidget(this);
        box->setObjectName(QStringLiteral("legend-") + shortTitle(risk));
        auto *column = new QVBoxLayout(box);
        column->setContentsMargins(int(Space::m), int(Space::m), int(Space::m), int(Space::m));
        column->setSpacing(int(Space::xs));
        auto *line = new QHBoxLayout;
        line->setSpacing(int(Space::xs));
        line->addWidget(new RiskGlyph(risk, box), 0, Qt::AlignVCenter);
        line->addWidget(new DeckText(title(risk), Typo::bodyMedium(), [] { return Ink::text(); }, box), 0,
                        Qt::AlignVCenter);
        line->addStretch(1);
        auto *count = new DeckText(QStringLiteral("0"), Typo::caption(), [] { return Ink::textTertiary(); }, box);
        line->addWidget(count, 0, Qt::AlignVCenter);
        column->addLayout(line);
        auto *text = new DeckParagraph(explanation(risk), Typo::caption(), [] { return Ink::textTertiary(); }, box);
        column->addWidget(text);
        column->addStretch(1);
        box->setAccessibleName(title(risk) + QStringLiteral(". ") + explanation(risk));
        m_cards.append({risk, box, count});
    }
}

void RiskLegend::setCounts(const QHash<RemovalRisk, int> &counts)
{
    for (const Card &card : m_cards)
        card.count->setText(QString::number(counts.value(card.risk, 0)));
}

QString RiskLegend::countText(RemovalRisk risk) const
{
    for (const Card &card : m_cards)
        if (card.risk == risk)
            return card.count->text();
    return {};
}

int RiskLegend::columnsFor(qreal width)
{
    const qreal room = width - 2 * Space::gutter;
    return std::clamp(int(std::floor((room + Space::s) / (kMinimumColumnWidth + Space::s))), 1, 4);
}

qreal RiskLegend::cardHeight(qreal cardWidth) const
{
    qreal tallest = kMinimumCardHeight;
    for (const Card &card : m_cards)
        tallest = std::max<qreal>(tallest, card.box->layout()->heightForWidth(int(cardWidth)) > 0
                                               ? card.box->layout()->heightForWidth(int(cardWidth))
                                               : card.box->sizeHint().height());
    return tallest;
}

QList<QRectF> RiskLegend::rectsFor(qreal width) const
{
    const int columns = columnsFor(width);
    const qreal room = width - 2 * Space::gutter;
    const qreal cardWidth = std::floor((room - (columns - 1) * Space::s) / columns);
    const qreal height = cardHeight(cardWidth);
    QList<QRectF> rects;
    for (int i = 0; i < m_cards.size(); ++i) {
        const int row = i / columns, col = i % columns;
        rects.append(QRectF(Space::gutter + col * (cardWidth + Space::s), row * (height + Space::s), cardWidth, height));
    }
    return rects;
}

QList<QRectF> RiskLegend::cardRects() const
{
    QList<QRectF> rects = rectsFor(width());
    const qreal hidden = (1 - m_reveal) * (rects.last().bottom() + Space::m);
    for (QRectF &rect : rects)
        rect.translate(0, -hidden);
    return rects;
}

int RiskLegend::heightForWidth(int width) const
{
    const QList<QRectF> rects = rectsFor(width);
    return int(std::ceil((rects.last().bottom() + Space::m) * m_reveal));
}

void RiskLegend::setReveal(qreal reveal)
{
    reveal = std::clamp<qreal>(reveal, 0, 1);
    if (reveal == m_reveal)
        return;
    m_reveal = reveal;
    updateGeometry();
    place();
    update();
}

QSize RiskLegend::sizeHint() const
{
    const int w = width() > 0 ? width() : 960;
    return QSize(w, heightForWidth(w));
}

QSize RiskLegend::minimumSizeHint() const { return QSize(int(kMinimumColumnWidth + 2 * Space::gutter), 0); }

void RiskLegend::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void RiskLegend::place()
{
    const QList<QRectF> rects = cardRects();
    for (int i = 0; i < m_cards.size(); ++i)
        m_cards[i].box->setGeometry(rects.at(i).toAlignedRect());
    if (int wanted = heightForWidth(width()); wanted != height())
        updateGeometry();
}

void RiskLegend::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QList<QRectF> rects = cardRects();
    for (int i = 0; i < m_cards.size(); ++i) {
        const QRectF card = rects.at(i);
        Panel::paint(p, card, cardStyle());
        const QRectF bar(card.left() + Space::m, card.top(), card.width() - 2 * Space::m, 2);
        p.fillPath(Squircle::path(bar, 1), foreground(tone(m_cards.at(i).risk)));
    }
}
