#include "DeckEmptyState.h"

#include "DeckParagraph.h"
#include "DeckText.h"
#include "Ink.h"
#include "Symbols.h"
#include "Theme.h"
#include "ToneInk.h"
#include "Tokens.h"
#include "Typo.h"

#include <QPainter>
#include <QRadialGradient>
#include <QHBoxLayout>
#include <QVBoxLayout>

// --- EmptyStateTile ---

EmptyStateTile::EmptyStateTile(const QString &icon, Tone tone, QWidget *parent)
    : QWidget(parent), m_icon(icon), m_tone(tone)
{
    setFixedSize(int(kSide), int(kSide));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QColor EmptyStateTile::glowColor() const { return withOpacity(foreground(m_tone), 0.2); }

QColor EmptyStateTile::symbolColor() const
{
    return m_tone == Tone::neutral ? Ink::textTertiary() : foreground(m_tone);
}

void EmptyStateTile::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = QRectF(rect()).center();
    const qreal r = kSide / 2;
    // The glow starts 2 px out from the centre and fades out exactly at the rim.
    QRadialGradient glow(c, r, c, 2);
    const QColor inner = glowColor();
    QColor clear = inner;
    clear.setAlpha(0);
    glow.setColorAt(0, inner);
    glow.setColorAt(1, clear);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, r, r);
    Symbols::paint(p, m_icon, QRectF(rect()), kSymbolSize, symbolColor());
}

// --- DeckEmptyState ---

DeckEmptyState::DeckEmptyState(const QString &icon, const QString &title, std::optional<QString> message, Tone tone,
                               QWidget *actions, QWidget *parent)
    : QWidget(parent), m_actions(actions)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(int(Space::xxl), int(Space::xxl), int(Space::xxl), int(Space::xxl));
    outer->setSpacing(int(Space::l));
    outer->addStretch(1);

    m_tile = new EmptyStateTile(icon, tone, this);
    outer->addWidget(m_tile, 0, Qt::AlignHCenter);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(int(Space::xs));
    m_title = new DeckText(title, Typo::cardTitle(), [] { return Ink::text(); }, this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setElideMode(Qt::ElideNone);
    texts->addWidget(m_title, 0, Qt::AlignHCenter);
    if (message) {
        m_message = new DeckParagraph(*message, Typo::supporting(), [] { return Ink::textTertiary(); }, this);
        m_message->setAlignment(Qt::AlignHCenter);
        m_message->setMaximumWidth(int(kMessageMaxWidth));
        // Centred by stretches, not by alignment, so the layout still asks its height for the
        // width it gets.
        auto *centre = new QHBoxLayout;
        centre->setSpacing(0);
        centre->addStretch(1);
        centre->addWidget(m_message, 100);
        centre->addStretch(1);
        texts->addLayout(centre);
    }
    outer->addLayout(texts);

    if (actions)
        outer->addWidget(actions, 0, Qt::AlignHCenter);
    outer->addStretch(1);

    // One group for assistive technology; its parts stay readable one by one.
    setAccessibleName(title);
    if (message)
        setAccessibleDescription(*message);
}
