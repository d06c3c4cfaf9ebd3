#pragma once

// For widget tests only (they link the design library).
#include "design/Accessibility.h"
#include "design/DeckSegmented.h"
#include "design/FocusRing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <optional>

// Reduce motion for one test, so states show at once; restored afterwards.
struct ReducedMotion {
    ReducedMotion() { A11y::setReduceMotion(true); }
    ~ReducedMotion() { A11y::resetForTesting(); }
};

// Full motion for one scope (springs and sweeps run), the setting before it restored afterwards,
// also when a check fails on the way.
struct FullMotion {
    FullMotion() : m_reduced(A11y::reduceMotion()) { A11y::setReduceMotion(false); }
    ~FullMotion() { A11y::setReduceMotion(m_reduced); }
    FullMotion(const FullMotion &) = delete;
    FullMotion &operator=(const FullMotion &) = delete;

private:
    bool m_reduced;
};

// The widget and its children drawn onto a transparent image.
inline QImage renderWidget(QWidget &w)
{
    QImage img(w.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

// The sum of the alpha of every pixel of `image`: how much ink it holds.
inline qint64 ink(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            sum += qAlpha(argb.pixel(x, y));
    return sum;
}

// How many pixels of what `control` and its children draw the focus ring lands on: `control`
// (which has the keyboard focus) drawn with its ring and without, and the pixels that hold ink
// without it and change with it counted. None when the ring clears the text and marks.
inline int inkUnderTheFocusRing(QWidget &control)
{
    const bool keyboard = FocusRing::keyboardInput();
    FocusRing::setKeyboardInput(true);
    const QImage ringed = renderWidget(control).convertToFormat(QImage::Format_ARGB32);
    FocusRing::setKeyboardInput(false);
    const QImage plain = renderWidget(control).convertToFormat(QImage::Format_ARGB32);
    FocusRing::setKeyboardInput(keyboard);
    EXPECT_NE(ringed, plain) << "the control shows no focus ring";
    int covered = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (qAlpha(plain.pixel(x, y)) > 24 && plain.pixel(x, y) != ringed.pixel(x, y))
                ++covered;
    return covered;
}

// A left click at `at` (the centre by default) sent through the widget's window, as the window
// system delivers it: it activates the window, and unlike a click sent to the widget it moves
// the keyboard focus.
inline void clickThroughWindow(QWidget *widget, std::optional<QPoint> at = std::nullopt)
{
    QWidget *window = widget->window();
    if (!window->isActiveWindow())
        QApplication::setActiveWindow(window);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at.value_or(widget->rect().center())));
}

// The pointer moved through the window off `widget` (to a corner of the window outside it), or
// onto its centre from there: the enter and leave events a real pointer gives. (The window
// system's own enter into the window is not simulated, so the pointer always arrives from
// inside the window.)
inline void pointAway(QWidget *widget)
{
    QWidget *window = widget->window();
    const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
    // Not (0, 0): QTest reads a null point as the window's centre.
    QPoint away(1, 1);
    if (inWindow.contains(away))
        away = QPoint(window->width() - 2, window->height() - 2);
    QTest::mouseMove(window->windowHandle(), away);
    QCoreApplication::processEvents();
}
inline void pointAt(QWidget *widget)
{
    pointAway(widget);
    QWidget *window = widget->window();
    QTest::mouseMove(window->windowHandle(), widget->mapTo(window, widget->rect().center()));
    QCoreApplication::processEvents();
}

// A click on the segment of `control` that stands for `value`.
inline void chooseSegment(DeckSegmented *control, const QVariant &value)
{
    const QList<DeckSegmented::Item> items = control->items();
    for (int i = 0; i < items.size(); ++i)
        if (items[i].value == value) {
            QTest::mouseClick(control, Qt::LeftButton, {}, control->segmentRects().at(i).center().toPoint());
            return;
        }
    ADD_FAILURE() << "no segment for " << value.toString().toStdString();
}

// The button of a message box or button box whose text is `text`, or null.
template <typename Box>
QAbstractButton *dialogButton(Box *box, const QString &text)
{
    for (QAbstractButton *b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

// Presses the button of `box` whose text is `text`; a missing button fails the test.
template <typename Box>
void press(Box *box, const QString &text)
{
    if (QAbstractButton *b = dialogButton(box, text))
        b->click();
    else
        ADD_FAILURE() << "no button " << text.toStdString();
}
