#pragma once

#include <QWidget>

// A plain `Ink::canvas()` background laid over a list area, under what it holds (placeholder rows,
// an empty state), so nothing of the list shows through.
class CanvasCover : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
