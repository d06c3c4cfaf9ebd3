#pragma once

#include "Tokens.h"

#include <QLayout>
#include <QList>

// A grid of as many equal columns as fit at least `minimumColumnWidth` each (always one at
// least; a minimum of 0 makes one column), `spacing` apart, filled row by row in the order the
// items were added. Each item takes its column's full width; a row is as tall as its tallest
// item at that width (height for width where an item has one) and every item of the row is
// stretched to that height. Rows are `rowSpacing` apart. Narrower than one column, the single
// column takes what it gets.
//
// Items that draw outside their visible shape (a panel's shadow) name that reach as outsets: the
// measures above then apply to the shapes, each item's rectangle is its cell grown by the
// outsets, and the outsets of the outer items stay inside the layout's rectangle.
class AdaptiveGrid : public QLayout {
    Q_OBJECT
public:
    AdaptiveGrid(qreal minimumColumnWidth, qreal spacing = Space::m, qreal rowSpacing = Space::m,
                 QWidget *parent = nullptr);
    ~AdaptiveGrid() override;

    qreal minimumColumnWidth() const { return m_minimum; }
    void setMinimumColumnWidth(qreal minimum);
    void setItemOutsets(const QMargins &outsets);
    QMargins itemOutsets() const { return m_outsets; }
    // The number of columns for an inner width (pure, for the layout and its tests).
    static int columnCount(qreal width, qreal minimumColumnWidth, qreal spacing);
    // The columns the items were last arranged in (one before the first arrangement). Not read
    // from geometry(): a child's size change invalidates the layout, which empties its geometry
    // until the posted relayout runs, while the items still stand where they were.
    int columnCount() const { return m_shownColumns; }

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Item rectangles inside `inner`; the total height through `height`.
    QList<QRect> arrange(const QRect &inner, int *height) const;

    QList<QLayoutItem *> m_items;
    qreal m_minimum;
    qreal m_spacing;
    qreal m_rowSpacing;
    QMargins m_outsets;
    int m_shownColumns = 1;
};
