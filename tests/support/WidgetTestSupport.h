#pragma once

// For widget tests only (they link the design library).
#include "design/Accessibility.h"

#include <QImage>
#include <QWidget>

// Reduce motion for one test, so states show at once; restored afterwards.
struct ReducedMotion {
    ReducedMotion() { A11y::setReduceMotion(true); }
    ~ReducedMotion() { A11y::resetForTesting(); }
};

// The widget and its children drawn onto a transparent image.
inline QImage renderWidget(QWidget &w)
{
    QImage img(w.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}
