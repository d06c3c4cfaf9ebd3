#pragma once

#include "AnimatedValue.h"
#include "bridge/Tone.h"

#include <QAbstractButton>

#include <optional>

// A capsule toggle of a filter row: optional symbol, title, optional count badge. The caller
// owns the on state: connect to clicked() and call setOn(); the chip never flips itself.
// 25 px high, 9 px side padding; on: the tone's fill and ink; off: clear, hover fill.
class FilterChip : public QAbstractButton {
    Q_OBJECT
public:
    FilterChip(const QString &title, std::optional<QString> icon, std::optional<int> count, bool isOn,
               Tone tone = Tone::accent, QWidget *parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);
    std::optional<int> count() const { return m_count; }
    void setCount(std::optional<int> count);
    // Room kept for a count of `digits` digits, also before the first count: a count that
    // appears or grows within it leaves the chip's width, and the chips after it, where they
    // are. The content is centred in the room it does not fill.
    void reserveCountDigits(int digits);
    Tone tone() const { return m_tone; }

    bool isHovering() const { return m_hovering; }
    void setHovering(bool inside); // not gated by the enabled state

    // Resolved colours of the settled state.
    QColor labelColor() const;
    QColor capsuleFill() const;
    QColor borderColor() const;
    QColor badgeTextColor() const;
    QColor badgeFill() const;
    // The badge's text ("%lld" of the count), empty without a count.
    QString badgeText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal kHeight = 25;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QSizeF badgeSize() const;
    qreal badgeWidth(qsizetype digits) const;
    qreal contentWidth(qreal badge) const;

    QString m_title;
    std::optional<QString> m_icon;
    std::optional<int> m_count;
    int m_countDigits = 0;
    bool m_on;
    Tone m_tone;
    bool m_hovering = false;
    AnimatedValue *m_onValue;
};
