#pragma once

#include "Panel.h"

#include "bridge/Tone.h"

#include <QWidget>

#include <optional>

class AnimatedValue;
class DeckParagraph;
class Eyebrow;
class MeterBar;
class QHBoxLayout;

// The figure line of a tile: the value (Typo::metric, Ink::text) and the unit (supporting,
// Ink::textTertiary) on one baseline, 3 px apart. A new value rolls in from below while the old
// one rolls out upwards (Motion::metric; at once under reduce motion); the same value again
// does not animate.
class MetricFigure : public QWidget {
    Q_OBJECT
public:
    MetricFigure(const QString &value, std::optional<QString> unit, QWidget *parent = nullptr);

    QString value() const { return m_value; }
    std::optional<QString> unit() const { return m_unit; }
    void setValue(const QString &value, std::optional<QString> unit);
    bool isAnimating() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_value;
    QString m_previous;
    std::optional<QString> m_unit;
    AnimatedValue *m_roll;
};

// A card of one measured figure: the label line (the symbol at 10.5 px semibold, Ink::textTertiary
// when neutral else the tone's foreground; the label as an Eyebrow; the optional accessory at
// the trailing end), the figure line, a MeterBar of `progress` in the tone when one is given,
// and a footnote of at most two lines (never squeezed) when one is given; 8 px apart, 16 px
// inside a raised 15 px panel of low elevation. Read as one element: "label: value unit. footnote".
class MetricTile : public DeckPanel {
    Q_OBJECT
public:
    MetricTile(const QString &icon, const QString &label, const QString &value,
               std::optional<QString> unit = std::nullopt, std::optional<QString> footnote = std::nullopt,
               Tone tone = Tone::neutral, std::optional<double> progress = std::nullopt, QWidget *accessory = nullptr,
               QWidget *parent = nullptr);

    void setValue(const QString &value, std::optional<QString> unit = std::nullopt);
    void setProgress(double progress); // a tile made without progress shows no bar
    QString accessibilityLabel() const;
    QColor iconColor() const;
    Tone tone() const { return m_tone; }

    MetricFigure *figure() const { return m_figure; }
    MeterBar *meter() const { return m_meter; }             // null without progress
    DeckParagraph *footnoteLabel() const { return m_footnote; } // null without footnote
    QWidget *accessory() const { return m_accessory; }
    // The width of the tile's shape that shows its whole label line (symbol, label, accessory).
    int labelLineWidth() const;

    static PanelStyle tileStyle();

private:
    void updateAccessibility();

    QString m_icon;
    QString m_label;
    Tone m_tone;
    MetricFigure *m_figure;
    MeterBar *m_meter = nullptr;
    DeckParagraph *m_footnote = nullptr;
    std::optional<QString> m_footnoteText;
    QWidget *m_accessory;
    QHBoxLayout *m_labelLine = nullptr;
};
