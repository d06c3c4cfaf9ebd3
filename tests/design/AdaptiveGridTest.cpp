#include "design/AdaptiveGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(AdaptiveGrid, ColumnsThatFit)
{
    struct Case {
        qreal width, minimum, spacing;
        int columns;
    };
    for (const Case &c : {Case{0, 300, 12, 1}, Case{299, 300, 12, 1}, Case{611, 300, 12, 1}, Case{612, 300, 12, 2},
                          Case{1000, 300, 12, 3}, Case{84, 84, 4, 1}, Case{350, 84, 4, 4}, Case{900, 84, 4, 10},
                          Case{900, 0, 12, 1}})
        EXPECT_EQ(AdaptiveGrid::columnCount(c.width, c.minimum, c.spacing), c.columns) << c.width << " " << c.minimum;
}

// A fixed-height box, so row heights are known.
QWidget *box(int height, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setFixedHeight(height);
    return w;
}

TEST(AdaptiveGrid, RowsTakeTheTallestItemAndOutsetsKeepShapesOnTheGrid)
{
    QWidget host;
    auto *grid = new AdaptiveGrid(100, 10, 6, &host);
    QList<QWidget *> items;
    for (int h : {20, 40, 30, 10})
        grid->addWidget(items.emplace_back(box(h, &host)));
    grid->setGeometry(QRect(0, 0, 320, 500)); // 3 columns of 100
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(items[0]->x(), 0);
    EXPECT_EQ(items[0]->width(), 100);
    EXPECT_EQ(items[1]->geometry(), QRect(110, 0, 100, 40));
    EXPECT_EQ(items[1]->geometry().left(), 110);
    EXPECT_EQ(items[2]->geometry().left(), 220);
    EXPECT_EQ(items[3]->geometry().topLeft(), QPoint(0, 46));
    EXPECT_EQ(grid->heightForWidth(320), 40 + 6 + 10);
    // A child's size change invalidates the layout until its relayout runs; the items still
    // stand in three columns meanwhile.
    grid->invalidate();
    EXPECT_EQ(grid->columnCount(), 3);

    // With a 5 px reach all round the shapes keep the same grid inside the outsets.
    QWidget host2;
    auto *outset = new AdaptiveGrid(100, 10, 6, &host2);
    outset->setItemOutsets(QMargins(5, 5, 5, 5));
    QWidget *a = box(50, &host2);
    QWidget *b = box(30, &host2);
    outset->addWidget(a);
    outset->addWidget(b);
    outset->setGeometry(QRect(0, 0, 220, 500)); // 210 inside the outsets: 2 columns of 100
    EXPECT_EQ(outset->columnCount(), 2);
    EXPECT_EQ(a->geometry(), QRect(0, 0, 110, 50));
    EXPECT_EQ(b->x(), 110);
    EXPECT_EQ(b->width(), 110);
    EXPECT_EQ(outset->heightForWidth(220), 50);
}

} // namespace
