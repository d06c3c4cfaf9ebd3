#pragma once

#include "AnimatedValue.h"
#include "DeckText.h"
#include "InteractiveSurface.h"
#include "LoopClock.h"
#include "Typo.h"

#include "bridge/Tone.h"

#include <QAbstractButton>
#include <QVariantAnimation>
#include <QWidget>

#include <chrono>
#include <optional>

// The small upper-case caption above titles, tiles and groups (10 px semibold, 1.1 px tracking,
// Ink::textTertiary).
class Eyebrow : public DeckText {
    Q_OBJECT
public:
    explicit Eyebrow(const QString &text, QWidget *parent = nullptr);
};

// A section's title line: title (card title, Ink::text) over an optional subtitle (supporting,
// Ink::textTertiary), then at least Space::s of room, then `trailing` (may be null).
class SectionHeader : public QWidget {
    Q_OBJECT
public:
    SectionHeader(const QString &title, std::optional<QString> subtitle = std::nullopt, QWidget *trailing = nullptr,
                  QWidget *parent = nullptr);

    DeckText *titleLabel() const { return m_title; }
    DeckText *subtitleLabel() const { return m_subtitle; }
    QWidget *trailing() const { return m_trailing; }

private:
    DeckText *m_title;
    DeckText *m_subtitle = nullptr;
    QWidget *m_trailing;
};

// A value the user copies with one click (a serial, a package name). Shows the value, elided
// in the middle, and a copy icon; a click puts exactly the text on the clipboard and shows a
// checkmark for 1.4 s (the first timer to expire clears it; a second click does not extend it).
// The value is drawn with its invisible characters as stand-ins (ShownText::line) and copied as
// it is.
class CopyableValue : public QAbstractButton {
    Q_OBJECT
public:
    CopyableValue(const QString &text, QWidget *parent = nullptr);
    CopyableValue(const QString &text, const QFont &font, DeckText::InkRole tint,
                  std::optional<QString> label = std::nullopt, QWidget *parent = nullptr);

    QString value() const { return m_text; }
    bool isCopied() const { return m_copied; }
    QString symbolName() const;
    QColor symbolColor() const;
    // The accessible label: "label: value", or the value alone.
    QString accessibilityLabel() const;
    InteractiveSurface *surface() const { return m_surface; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the value's text begins inside the widget: the room its hover fill and focus ring
    // keep around it. A list that aligns the value with plain text moves the widget by as much.
    static QPoint textOffset();

    static constexpr int kCopiedMs = 1400;
    // How long the checkmark of the next click stays (tests change it).
    std::chrono::milliseconds copiedDuration{kCopiedMs};

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void copy();
    void setCopied(bool copied);

    QString m_text;
    DeckText::InkRole m_tint;
    std::optional<QString> m_label;
    bool m_copied = false;
    InteractiveSurface *m_surface;
};

enum class BadgeStyle { soft, solid, outline };

// A capsule badge with an icon and a word, tinted by a tone. Always drawn at its ideal size:
// it never shrinks, truncates or wraps.
class StatusBadge : public QWidget {
    Q_OBJECT
public:
    StatusBadge(const QString &icon, const QString &text, Tone tone = Tone::neutral, BadgeStyle style = BadgeStyle::soft,
                bool compact = false, QWidget *parent = nullptr);

    void setTone(Tone tone);
    void setText(const QString &text);
    void setIcon(const QString &icon);
    Tone tone() const { return m_tone; }
    BadgeStyle badgeStyle() const { return m_style; }
    bool isCompact() const { return m_compact; }

    // Colours by style: label (icon and text), capsule fill, border (transparent when none).
    QColor labelColor() const;
    QColor capsuleFill() const;
    QColor borderColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The badge drawn without a widget (list delegates paint many): its size and its painting
    // into `rect`, exactly as the widget draws itself.
    static QSizeF badgeSize(const QString &text, bool compact);
    static void paint(QPainter &painter, const QRectF &rect, const QString &icon, const QString &text, Tone tone,
                      BadgeStyle style, bool compact);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont textFont() const;
    qreal iconSize() const;

    QString m_icon;
    QString m_text;
    Tone m_tone;
    BadgeStyle m_style;
    bool m_compact;
};

// A 6 px status dot in a 14 px frame; while `animating` (and reduce motion is off when it is
// shown) a ring grows from 0.45 to full size and fades out every 2.2 s. The loop runs only while
// the dot is on screen: it stops when hidden (its window closed or minimised) or under reduce
// motion and starts again when shown. It repaints only when the ring changes by a visible step,
// a few times a second.
class PulseDot : public QWidget {
    Q_OBJECT
public:
    PulseDot(Tone tone, bool animating, QWidget *parent = nullptr);

    void setTone(Tone tone);
    Tone tone() const { return m_tone; }
    void setAnimating(bool animating);
    bool isAnimating() const { return m_animating; }
    bool isPulsing() const { return m_pulse.isRunning(); }
    bool showsRing() const;
    const LoopClock &loop() const { return m_pulse; }

    // The ring at progress `t` (0 to 1 through a loop, eased): radius and opacity.
    static qreal ringRadius(qreal t) { return 7 * (0.45 + 0.55 * t); }
    static qreal ringOpacity(qreal t) { return 0.9 * (1 - t); }
    // The ring at `t` as drawn at `pixelRatio`, in the steps an eye can tell apart: whole
    // device pixels of radius, sixths of opacity.
    static qint64 ringStep(qreal t, qreal pixelRatio);
    static constexpr int kPeriodMs = 2200;
    static constexpr int kFrameIntervalMs = 100;

    QSize sizeHint() const override { return {14, 14}; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void startPulse();

    Tone m_tone;
    bool m_animating;
    LoopClock m_pulse;
};
