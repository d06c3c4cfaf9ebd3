#pragma once

#include "Panel.h"

#include "bridge/ToastMessage.h"

#include <QWidget>

class DeckParagraph;

// The card of one toast: a 22 px badge (the symbol at 13 px semibold in the tone's foreground
// on a circle of the tone's soft fill), the title (never cut, wraps) and the detail (at most two
// lines; only a missing detail omits it, an empty one still takes its line), on a glass panel
// of 11 px corners and high elevation, 12 px padding. The card is always 340 px wide; the
// widget adds shadowMargins() around it for the shadow, so a stack of toasts may overlap those
// margins. Texts are shown verbatim. Stacking, dismissal and animation are the shell's.
class ToastView : public QWidget {
    Q_OBJECT
public:
    explicit ToastView(const ToastMessage &message, QWidget *parent = nullptr);

    const ToastMessage &message() const { return m_message; }
    // "title. detail" ("title. " without detail).
    QString accessibilityLabel() const;
    QRectF cardRect() const;
    QColor badgeGlyphColor() const;
    QColor badgeFillColor() const;
    DeckParagraph *titleLabel() const { return m_title; }
    DeckParagraph *detailLabel() const { return m_detail; } // null without detail

    static constexpr qreal kCardWidth = 340;
    static constexpr qreal kBadgeSide = 22;
    static PanelStyle panelStyle();
    static QMarginsF shadowMargins();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ToastMessage m_message;
    QWidget *m_badge;
    DeckParagraph *m_title;
    DeckParagraph *m_detail = nullptr;
};
