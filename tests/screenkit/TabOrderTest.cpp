#include "screenkit/TabOrder.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QList<QWidget *> tabStops(QWidget *window)
{
    QList<QWidget *> stops;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            stops << w;
    return stops;
}

// Buttons made in any order are visited in the order of the layouts that hold them, nested
// layouts included, after what stood before the screen and before what comes after it.
TEST(TabOrder, StopsFollowTheLayoutsWhateverOrderTheyWereMadeIn)
{
    QWidget window;
    auto *column = new QHBoxLayout(&window);
    auto *before = new QPushButton(QStringLiteral("before"));
    auto *screen = new QWidget;
    column->addWidget(before);
    column->addWidget(screen);
    auto *lines = new QVBoxLayout(screen);
    auto *top = new QHBoxLayout;
    lines->addLayout(top);

    // Made bottom first; then something after the screen; then the top line's second button
    // is made again, and goes last.
    auto *bottom = new QPushButton(QStringLiteral("bottom"), screen);
    auto *first = new QPushButton(QStringLiteral("first"), screen);
    auto *second = new QPushButton(QStringLiteral("second"), screen);
    top->addWidget(first);
    top->addWidget(second);
    lines->addWidget(bottom);
    auto *after = new QPushButton(QStringLiteral("after"), &window); // in no layout of the screen
    delete second;
    second = new QPushButton(QStringLiteral("second, made again"), screen);
    top->addWidget(second);
    ASSERT_EQ(tabStops(&window), (QList<QWidget *>{before, bottom, first, after, second}));

    EXPECT_EQ(TabOrder::stops(screen), (QList<QWidget *>{first, second, bottom}));
    TabOrder::followLayouts(screen);
    EXPECT_EQ(tabStops(&window), (QList<QWidget *>{before, first, second, bottom, after}));
}

} // namespace
