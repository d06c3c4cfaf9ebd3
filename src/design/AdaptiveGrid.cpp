#include "AdaptiveGrid.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

AdaptiveGrid::AdaptiveGrid(qreal minimumColumnWidth, qreal spacing, qreal rowSpacing, QWidget *parent)
    : QLayout(parent), m_minimum(minimumColumnWidth), m_spacing(spacing), m_rowSpacing(rowSpacing)
{
    setContentsMargins(0, 0, 0, 0);
}

AdaptiveGrid::~AdaptiveGrid()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

int AdaptiveGrid::columnCount(qreal width, qreal minimumColumnWidth, qreal spacing)
{
    if (!(width > 0) || !(minimumColumnWidth > 0))
        return 1;
    // n columns fit when n × minimum + (n − 1) × spacing ≤ width.
    return std::max(1, int(std::floor((width + spacing) / (minimumColumnWidth + spacing))));
}

void AdaptiveGrid::setItemOutsets(const QMargins &outsets)
{
    m_outsets = outsets;
    invalidate();
}

void AdaptiveGrid::setMinimumColumnWidth(qreal minimum)
{
    if (minimum == m_minimum)
        return;
    m_minimum = minimum;
    invalidate();
}

void AdaptiveGrid::addItem(QLayoutItem *item) { m_items.append(item); }
int AdaptiveGrid::count() const { return int(m_items.size()); }
QLayoutItem *AdaptiveGrid::itemAt(int index) const { return m_items.value(index); }

QLayoutItem *AdaptiveGrid::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

Qt::Orientations AdaptiveGrid::expandingDirections() const { return Qt::Horizontal; }
bool AdaptiveGrid::hasHeightForWidth() const { return true; }

QList<QRect> AdaptiveGrid::arrange(const QRect &outer, int *height) const
{
    QList<QLayoutItem *> shown;
    for (QLayoutItem *item : m_items)
        if (!item->isEmpty())
            shown.append(item);
    const QMargins &o = m_outsets;
    const QRect inner = outer.marginsRemoved(o);
    const int columns = columnCount(inner.width(), m_minimum, m_spacing);
    const qreal columnWidth = std::max<qreal>(0, (inner.width() - m_spacing * (columns - 1)) / columns);
    QList<QRect> rects;
    qreal y = inner.top();
    for (int first = 0; first < shown.size(); first += columns) {
        const int last = std::min<int>(first + columns, int(shown.size()));
        int rowHeight = 0;
        for (int i = first; i < last; ++i) {
            QLayoutItem *item = shown[i];
            const int w = int(std::floor(columnWidth)) + o.left() + o.right();
            const int h = item->hasHeightForWidth() ? item->heightForWidth(w) : item->sizeHint().height();
            rowHeight = std::max({rowHeight, h - o.top() - o.bottom(), item->minimumSize().height() - o.top() - o.bottom()});
        }
        for (int i = first; i < last; ++i) {
            const qreal left = inner.left() + (i - first) * (columnWidth + m_spacing);
            const int x = int(std::round(left));
            const int right = int(std::round(left + columnWidth));
            rects.append(QRect(x, int(std::round(y)), right - x, rowHeight).marginsAdded(o));
        }
        y += rowHeight + m_rowSpacing;
    }
    if (height)
        *height = shown.isEmpty() ? 0 : int(std::ceil(y - m_rowSpacing - inner.top())) + o.top() + o.bottom();
    return rects;
}

int AdaptiveGrid::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    int height = 0;
    arrange(QRect(0, 0, width - m.left() - m.right(), 0), &height);
    return height + m.top() + m.bottom();
}

QSize AdaptiveGrid::sizeHint() const
{
    // One column at its minimum width.
    const QMargins m = contentsMargins();
    const int width = int(std::ceil(m_minimum)) + m.left() + m.right() + m_outsets.left() + m_outsets.right();
    return QSize(width, heightForWidth(width));
}

QSize AdaptiveGrid::minimumSize() const
{
    // As narrow as the widest single item allows: a narrow window still shows one column.
    QSize s(0, 0);
    for (QLayoutItem *item : m_items)
        if (!item->isEmpty())
            s = s.expandedTo(QSize(item->minimumSize().width(), 0));
    return s.grownBy(contentsMargins());
}

void AdaptiveGrid::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRect outer = rect.marginsRemoved(contentsMargins());
    m_shownColumns = columnCount(outer.marginsRemoved(m_outsets).width(), m_minimum, m_spacing);
    const QList<QRect> rects = arrange(outer, nullptr);
    int i = 0;
    for (QLayoutItem *item : m_items)
        if (!item->isEmpty())
            item->setGeometry(rects[i++]);
}
