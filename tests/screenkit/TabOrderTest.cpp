#include "screenkit/TabOrder.h"

#include <QApplication>
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

// A kept screen stays in reading order by itself: built apart from its window, shown in it, and
// after a row above its buttons is made again (once the event loop has run).
TEST(TabOrder, AKeptScreenFollowsItsLayoutsAfterRowsAreMadeAgain)
{
    QWidget window;
    auto *column = new QHBoxLayout(&window);
    auto *before = new QPushButton(QStringLiteral("before"), &window);
    column->addWidget(before);

    auto *screen = new QWidget;
    auto *lines = new QVBoxLayout(screen);
    auto *rows = new QVBoxLayout;
    lines->addLayout(rows);
    auto *button = new QPushButton(QStringLiteral("button"), screen);
    lines->addWidget(button);
    auto *row = new QPushButton(QStringLiteral("row"), screen); // made after the button below it
    rows->addWidget(row);
    TabOrder::keep(screen);
    QApplication::processEvents();

    column->addWidget(screen);
    auto *after = new QPushButton(QStringLiteral("after"), &window);
    column->addWidget(after);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(tabStops(&window), (QList<QWidget *>{before, row, button, after}));

    delete row;
    auto *again = new QPushButton(QStringLiteral("row, made again"));
    rows->addWidget(again); // joins the screen through its layout
    QApplication::processEvents();
    EXPECT_EQ(tabStops(&window), (QList<QWidget *>{before, again, button, after}));
}

} // namespace
