#pragma once

#include <QAbstractButton>

#include <optional>

// A checkbox of the design language: a 14 px rounded box (accent with a white tick when on),
// an optional symbol and a label in the supporting font. Clicking toggles it (checkable).
class DeckCheckbox : public QAbstractButton {
    Q_OBJECT
public:
    DeckCheckbox(const QString &text, std::optional<QString> symbol = std::nullopt, QWidget *parent = nullptr);

    std::optional<QString> symbol() const { return m_symbol; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal kBoxSize = 14;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<QString> m_symbol;
};
