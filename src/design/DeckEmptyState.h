#pragma once

#include "bridge/Tone.h"

#include <QWidget>

#include <optional>

class DeckParagraph;
class DeckText;

// The round icon tile of an empty state: a 108 px circle of the tone's glow (its foreground at
// 0.2 fading to clear at the rim) with the symbol at 26 px, light, in Ink::textTertiary when
// neutral, else in the tone's foreground.
class EmptyStateTile : public QWidget {
    Q_OBJECT
public:
    EmptyStateTile(const QString &icon, Tone tone, QWidget *parent = nullptr);

    QString icon() const { return m_icon; }
    Tone tone() const { return m_tone; }
    QColor glowColor() const;   // centre colour of the glow
    QColor symbolColor() const;

    static constexpr qreal kSide = 108;
    static constexpr qreal kSymbolSize = 26;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_icon;
    Tone m_tone;
};

// Stands in for a list or panel with nothing to show: the icon tile, the title, an optional
// message (wrapped, centred, at most 380 px wide, never cut) and optional action widgets, in a
// column 16 px apart, centred in all the space it is given, 30 px clear of every edge.
// Texts are shown verbatim. `actions` (may be null) is taken as is, with nothing added.
class DeckEmptyState : public QWidget {
    Q_OBJECT
public:
    DeckEmptyState(const QString &icon, const QString &title, std::optional<QString> message = std::nullopt,
                   Tone tone = Tone::neutral, QWidget *actions = nullptr, QWidget *parent = nullptr);

    EmptyStateTile *tile() const { return m_tile; }
    DeckText *titleLabel() const { return m_title; }
    DeckParagraph *messageLabel() const { return m_message; } // null without a message
    QWidget *actions() const { return m_actions; }

    static constexpr qreal kMessageMaxWidth = 380;

private:
    EmptyStateTile *m_tile;
    DeckText *m_title;
    DeckParagraph *m_message = nullptr;
    QWidget *m_actions;
};
