#include "AdviceCard.h"

#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The 30 px tile of the advice's symbol, in the tone's ink on its soft fill.
class ToneTile : public QWidget {
public:
    ToneTile(QString icon, Tone tone, QWidget *parent) : QWidget(parent), m_icon(std::move(icon)), m_tone(tone)
    {
        setFixedSize(30, 30);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(Squircle::path(QRectF(rect()), Radius::s), fill(m_tone));
        Symbols::paint(p, m_icon, QRectF(rect()), 13, foreground(m_tone));
    }

private:
    QString m_icon;
    Tone m_tone;
};

} // namespace

AdviceCard::AdviceCard(const DeckAdvice &advice, std::function<void(AppRoute)> onNavigate, QWidget *parent)
    : DeckPanel(PanelStyle{}, parent), m_advice(advice)
{
    setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0); // the panel's padding is the whole inset
    row->setSpacing(int(Space::m));
    row->addWidget(new ToneTile(advice.icon, advice.tone, this), 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(int(Space::xxs));
    auto *title = new DeckParagraph(advice.title, Typo::bodyMedium(), [] { return Ink::text(); }, this);
    auto *message = new DeckParagraph(advice.message, Typo::supporting(), [] { return Ink::textSecondary(); }, this);
    texts->addWidget(title);
    texts->addWidget(message);
    row->addLayout(texts, 1);
    if (advice.route && advice.actionTitle) {
        m_action = new DeckButton(*advice.actionTitle, {DeckButtonRole::secondary, DeckButtonSize::small}, this);
        const AppRoute route = *advice.route;
        connect(m_action, &QAbstractButton::clicked, this, [onNavigate = std::move(onNavigate), route] {
            if (onNavigate)
                onNavigate(route);
        });
        row->addWidget(m_action, 0, Qt::AlignVCenter);
    }
    setAccessibleName(advice.title + QStringLiteral(". ") + advice.message);
}

void AdviceCard::paintEvent(QPaintEvent *event)
{
    DeckPanel::paintEvent(event);
    // The tone's bar along the leading edge, inside the panel's shape.
    const QRectF panel = panelRect();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF bar(panel.left() + 1, panel.top() + Radius::l / 2, 3, panel.height() - Radius::l);
    p.fillPath(Squircle::path(bar, 2), foreground(m_advice.tone));
}
