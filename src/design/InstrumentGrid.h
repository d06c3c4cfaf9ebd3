#pragma once

#include <QPainterPath>
#include <QWidget>

// A faint square grid of hairlines (Ink::text at `opacity`, 0.5 px), stroked as one path.
// Takes no pointer events. `spacing` must be positive.
class InstrumentGrid : public QWidget {
    Q_OBJECT
public:
    explicit InstrumentGrid(qreal spacing = 28, double opacity = 0.035, QWidget *parent = nullptr);

    // Vertical lines at x = 0, spacing, ... while x < width, then horizontal ones likewise.
    static QPainterPath gridPath(const QSizeF &size, qreal spacing);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_spacing;
    double m_opacity;
};
