#pragma once

#include "AnimatedValue.h"
#include "bridge/Tone.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QPointer>

class DropShadowUnderlay;

enum class DeckButtonRole { primary, secondary, ghost, destructive };
enum class DeckButtonSize { small, regular, large };

// How a DeckButton looks. Default: secondary, regular, not full width.
struct DeckButtonStyle {
    DeckButtonRole role = DeckButtonRole::secondary;
    DeckButtonSize size = DeckButtonSize::regular;
    bool fullWidth = false;
    // The symbol (15 px) above the text (caption font, 4 px from the sides), 4 px apart, 8 px
    // clear above and below: for narrow columns of buttons.
    bool stacked = false;

    bool operator==(const DeckButtonStyle &) const = default;

    // Height 24 / 30 / 38 px; horizontal padding 9 / 13 / 18 px each side.
    static qreal height(DeckButtonSize size);
    static qreal padding(DeckButtonSize size);
    static QFont font(DeckButtonSize size);
};

// A push button with a text and an optional leading symbol, drawn in a DeckButtonStyle:
// rounded 8 px, filled by role, eased hover (Motion::quick), scaled to 0.975 while pressed,
// and the primary role's accent gradient, specular edge and glow. A push button, so a dialog
// can make it its default (Return presses it); it never becomes one by itself.
class DeckButton : public QPushButton {
    Q_OBJECT
public:
    explicit DeckButton(const QString &text, const DeckButtonStyle &style = {}, QWidget *parent = nullptr);
    DeckButton(const QString &symbol, const QString &text, const DeckButtonStyle &style = {},
               QWidget *parent = nullptr);

    const DeckButtonStyle &buttonStyle() const { return m_style; }
    void setButtonStyle(const DeckButtonStyle &style);
    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    // Symbol and text at the leading edge instead of centred (full-width buttons of a list).
    bool isLabelLeading() const { return m_leading; }
    void setLabelLeading(bool leading);

    // The hover flag: pointer inside and enabled, stored at pointer events (and by previews).
    bool isHovering() const { return m_hovering; }
    void setHovering(bool inside);

    // Resolved colours of the current state (at rest or fully eased).
    QColor labelColor() const;
    QColor fillColor() const; // primary: the top stop of its gradient
    QColor borderColor() const;
    qreal pressScale() const { return m_press->value(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }

private:
    void syncPress();

    DeckButtonStyle m_style;
    QString m_symbol;
    bool m_leading = false;
    bool m_hovering = false;
    AnimatedValue *m_hover;
    AnimatedValue *m_press;
    QPointer<DropShadowUnderlay> m_shadow;
};

// How an IconButton looks. Default: 28 px square, neutral, not active.
struct IconButtonStyle {
    qreal size = 28;
    Tone tone = Tone::neutral;
    bool isActive = false;

    bool operator==(const IconButtonStyle &) const = default;
};

// A square icon-only button: glyph at 0.44 × side, accent fill and border while active,
// hover fill, scaled to 0.92 while pressed. Give it an accessible name.
class IconButton : public QAbstractButton {
    Q_OBJECT
public:
    IconButton(const QString &symbol, const IconButtonStyle &style = {}, QWidget *parent = nullptr);

    const IconButtonStyle &buttonStyle() const { return m_style; }
    void setButtonStyle(const IconButtonStyle &style);
    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);

    bool isHovering() const { return m_hovering; }
    void setHovering(bool inside);

    qreal glyphSize() const { return m_style.size * 0.44; }
    QColor glyphColor() const;
    QColor fillColor() const;
    QColor borderColor() const;
    qreal pressScale() const { return m_press->value(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    IconButtonStyle m_style;
    QString m_symbol;
    bool m_hovering = false;
    AnimatedValue *m_hover;
    AnimatedValue *m_press;
};
