#pragma once

#include "Panel.h"

#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <optional>

class AnimatedValue;
class DeckButton;
class DeckParagraph;
class DeckText;

// The spinner of an operation bar without a known progress: a 30 % arc (Ink::accent, 2 px,
// round caps) on a 16 px circle turning clockwise once every 0.9 s. Under reduce motion it
// stands still at 60 % opacity; the loop also stops while it is hidden.
class IndeterminateRing : public QWidget {
    Q_OBJECT
public:
    explicit IndeterminateRing(QWidget *parent = nullptr);

    bool isSpinning() const { return m_spin.state() == QAbstractAnimation::Running; }
    // Clockwise turn of the arc's start from three o'clock, in degrees.
    qreal angle() const { return m_angle; }
    qreal ringOpacity() const;

    static constexpr int kTurnMs = 900;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QVariantAnimation m_spin;
    qreal m_angle = 0;
};

// The floating bar of a running operation: a 16 px progress ring (the track, then the arc from
// twelve o'clock clockwise to the progress held within 2 %…100 %, eased with Motion::smooth;
// an IndeterminateRing while the progress is unknown), the title (never cut) over an optional
// one-line detail, the whole percentage (truncated, not rounded, not clamped: 1.25 shows
// "125%"), and a small ghost "Остановить" button when a cancel action is given. A raised panel
// with 11 px corners and medium elevation; the widget adds shadowMargins() for the shadow.
// A progress that is not a number shows the spinner; one whose percentage cannot be written
// as a whole number (infinite, huge) shows the clamped arc and no percentage.
class OperationBar : public QWidget {
    Q_OBJECT
public:
    OperationBar(const QString &title, std::optional<QString> detail = std::nullopt,
                 std::optional<double> progress = std::nullopt, std::function<void()> onCancel = {},
                 QWidget *parent = nullptr);

    void setTitle(const QString &title);
    void setDetail(std::optional<QString> detail);
    void setProgress(std::optional<double> progress);
    std::optional<double> progress() const { return m_progress; }

    // The percentage shown ("%1%"), or nothing without a (convertible) progress.
    static std::optional<qint64> percentValue(std::optional<double> progress);
    // The arc's share of the circle: clamped into 0.02…1 (a value that is not a number: 0.02).
    static double arcFraction(double progress);
    // Whether the spinner stands in for the arc.
    static bool isIndeterminate(std::optional<double> progress);

    QString accessibilityLabel() const;
    QString percentText() const; // empty when none is shown
    double shownArcFraction() const; // the arc's current (eased) share
    IndeterminateRing *spinner() const { return m_ring; }
    DeckButton *stopButton() const { return m_stop; } // null without a cancel action
    DeckParagraph *titleLabel() const { return m_title; }
    DeckText *detailLabel() const { return m_detail; }
    QRectF barRect() const;

    static PanelStyle panelStyle();
    static QMarginsF shadowMargins();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void sync();

    std::optional<double> m_progress;
    std::function<void()> m_onCancel;
    QWidget *m_indicator;
    IndeterminateRing *m_ring;
    AnimatedValue *m_arc;
    DeckParagraph *m_title;
    DeckText *m_detail;
    DeckText *m_percent;
    DeckButton *m_stop = nullptr;
};
