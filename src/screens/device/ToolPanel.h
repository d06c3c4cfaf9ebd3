#pragma once

#include "bridge/Tone.h"
#include "design/Panel.h"

#include <optional>

class DeckText;
class QVBoxLayout;

// A titled card of the Tools screen: a 28 px icon tile (neutral: Ink::textSecondary on
// Ink::neutralSoft, else the tone's ink on its fill), the title over an optional one-line
// subtitle, a hairline, then the content; 16 px inside a raised panel that fills its cell.
class ToolPanel : public DeckPanel {
    Q_OBJECT
public:
    ToolPanel(const QString &icon, const QString &title, std::optional<QString> subtitle, Tone tone,
              QWidget *content, QWidget *parent = nullptr);

    QString icon() const { return m_icon; }
    QString title() const { return m_title; }
    std::optional<QString> subtitle() const;
    void setSubtitle(const QString &subtitle); // for a panel made with one
    Tone tone() const { return m_tone; }
    void setTone(Tone tone);
    QWidget *content() const { return m_content; }
    QColor iconColor() const;
    QColor tileFill() const;

private:
    QString m_icon;
    QString m_title;
    Tone m_tone;
    DeckText *m_subtitle = nullptr;
    QWidget *m_tile;
    QWidget *m_content;
};
