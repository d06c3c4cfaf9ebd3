#include "FlowLayout.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

FlowLayout::FlowLayout(QWidget *parent) : QLayout(parent) { setContentsMargins(0, 0, 0, 0); }

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

QList<FlowLayout::Line> FlowLayout::lines(const QList<QSizeF> &sizes, qreal maxWidth, qreal spacing,
                                         const QList<bool> &flexible, const QList<bool> &dividers)
{
    QList<Line> result;
    Line current;
    for (int i = 0; i < sizes.size(); ++i) {
        const qreal w = sizes[i].width(), h = sizes[i].height();
        if (w <= 0 && h <= 0 && !flexible.value(i))
            continue; // a hidden item takes no place and no spacing
        if (current.indices.isEmpty()) {
            current.indices.append(i);
            current.width = w;
            current.height = std::max(current.height, h);
            continue;
        }
        const qreal candidate = current.width + spacing + w;
        if (candidate > maxWidth) {
            // A flexible space goes with what follows it: it pushes that to the edge of the
            // next line rather than trailing this one.
            Line next{{i}, w, h};
            const int last = current.indices.last();
            if (flexible.value(last) && current.indices.size() > 1) {
                current.indices.removeLast();
                current.width -= spacing + sizes[last].width();
                next.indices.prepend(last);
                next.width += sizes[last].width() + spacing;
                next.height = std::max(next.height, sizes[last].height());
                current.height = 0;
                for (int kept : current.indices)
                    current.height = std::max(current.height, sizes[kept].height());
            }
            result.append(current);
            current = next;
        } else {
            current.indices.append(i);
            current.width = candidate;
            current.height = std::max(current.height, h);
        }
    }
    if (!current.indices.isEmpty())
        result.append(current);
    if (!dividers.contains(true))
        return result;
    // A divider divides what stands on either side of it in its line: at a line's end or start,
    // or right after another divider (the items between them hidden), it divides nothing and
    // goes. The breaks stay where they were.
    QList<Line> divided;
    for (Line &line : result) {
        QList<int> kept;
        for (int i : std::as_const(line.indices))
            if (!dividers.value(i) || (!kept.isEmpty() && !dividers.value(kept.last())))
                kept.append(i);
        while (!kept.isEmpty() && dividers.value(kept.last()))
            kept.removeLast();
        line.indices = kept;
        if (line.indices.isEmpty())
            continue;
        line.width = spacing * qreal(line.indices.size() - 1);
        line.height = 0;
        for (int i : line.indices) {
            line.width += sizes[i].width();
            line.height = std::max(line.height, sizes[i].height());
        }
        divided.append(line);
    }
    return divided;
}

QSizeF FlowLayout::sizeThatFits(const QList<QSizeF> &sizes, std::optional<qreal> proposed, qreal spacing,
                                qreal lineSpacing, const QList<bool> &flexible, const QList<bool> &dividers)
{
    const qreal maxWidth = proposed.value_or(std::numeric_limits<qreal>::infinity());
    const QList<Line> ls = lines(sizes, maxWidth, spacing, flexible, dividers);
    qreal height = 0, widest = 0;
    for (const Line &l : ls) {
        height += l.height;
        widest = std::max(widest, l.width);
    }
    if (!ls.isEmpty())
        height += lineSpacing * (ls.size() - 1);
    const qreal width = (proposed && std::isfinite(*proposed)) ? *proposed : widest;
    return {width, height};
}

QList<QRectF> FlowLayout::place(const QList<QSizeF> &sizes, const QRectF &bounds, qreal spacing, qreal lineSpacing,
                                const QList<bool> &flexible, const QList<bool> &dividers)
{
    QList<QRectF> rects(sizes.size());
    qreal y = bounds.top();
    for (const Line &line : lines(sizes, bounds.width(), spacing, flexible, dividers)) {
        // The flexible spaces of a line share what the line leaves of the width.
        const qsizetype spaces = std::count_if(line.indices.begin(), line.indices.end(),
                                               [&](int i) { return flexible.value(i); });
        const qreal extra = spaces > 0 ? std::max<qreal>(0, bounds.width() - line.width) / qreal(spaces) : 0;
        qreal x = bounds.left();
        for (int i : line.indices) {
            QSizeF s = sizes[i];
            if (flexible.value(i))
                s.rwidth() += extra;
            rects[i] = QRectF(QPointF(x, y + (line.height - s.height()) / 2), s);
            x += s.width() + spacing;
        }
        y += line.height + lineSpacing;
    }
    return rects;
}

void FlowLayout::setFlowSpacing(qreal spacing, qreal lineSpacing)
{
    m_spacing = spacing;
    m_lineSpacing = lineSpacing;
    invalidate();
}

void FlowLayout::addItem(QLayoutItem *item) { m_items.append(item); }

void FlowLayout::addFlexibleSpace(qreal minimum)
{
    addItem(new QSpacerItem(int(std::ceil(minimum)), 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
}

void FlowLayout::addFlexibleWidget(QWidget *widget)
{
    addWidget(widget);
    m_flexibleWidgets.append(m_items.last());
}

void FlowLayout::addDivider(QWidget *divider)
{
    // The layout hides a divider that would end or start a line; hidden, it still counts when
    // lines break, or hiding it would move the breaks and call for it again.
    QSizePolicy policy = divider->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    divider->setSizePolicy(policy);
    addWidget(divider);
    m_dividers.append(m_items.last());
}

bool FlowLayout::isFlexible(QLayoutItem *item) const
{
    if (item->spacerItem())
        return item->expandingDirections() & Qt::Horizontal;
    return m_flexibleWidgets.contains(item) && !item->isEmpty();
}

QList<bool> FlowLayout::flexibleItems() const
{
    QList<bool> flags;
    for (QLayoutItem *item : m_items)
        flags.append(isFlexible(item));
    return flags;
}
QList<bool> FlowLayout::dividerItems() const
{
    QList<bool> flags;
    for (QLayoutItem *item : m_items)
        flags.append(m_dividers.contains(item));
    return flags;
}

int FlowLayout::count() const { return int(m_items.size()); }
QLayoutItem *FlowLayout::itemAt(int index) const { return m_items.value(index); }

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    m_flexibleWidgets.removeAll(m_items.at(index));
    m_dividers.removeAll(m_items.at(index));
    return m_items.takeAt(index);
}

Qt::Orientations FlowLayout::expandingDirections() const { return Qt::Horizontal; }
bool FlowLayout::hasHeightForWidth() const { return true; }

QList<QSizeF> FlowLayout::itemSizes() const
{
    QList<QSizeF> sizes;
    for (QLayoutItem *item : m_items) {
        if (item->spacerItem() && isFlexible(item))
            sizes.append(QSizeF(item->sizeHint().width(), 0));
        else
            sizes.append(item->isEmpty() ? QSizeF(0, 0) : QSizeF(item->sizeHint()));
    }
    return sizes;
}

int FlowLayout::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    const qreal inner = width - m.left() - m.right();
    return int(std::ceil(
               sizeThatFits(itemSizes(), inner, m_spacing, m_lineSpacing, flexibleItems(), dividerItems()).height()))
           + m.top() + m.bottom();
}

QSize FlowLayout::sizeHint() const
{
    const QMargins m = contentsMargins();
    const QSizeF s = sizeThatFits(itemSizes(), std::nullopt, m_spacing, m_lineSpacing, flexibleItems(), dividerItems());
    return QSize(std::ceil(s.width()), std::ceil(s.height())).grownBy(m);
}

QSize FlowLayout::minimumSize() const
{
    // As narrow as the widest single item.
    QSize s;
    for (QLayoutItem *item : m_items)
        s = s.expandedTo(item->minimumSize());
    return s.grownBy(contentsMargins());
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRectF inner = QRectF(rect).marginsRemoved(QMarginsF(contentsMargins()));
    const QList<QSizeF> sizes = itemSizes();
    const QList<bool> dividers = dividerItems();
    const QList<QRectF> rects = place(sizes, inner, m_spacing, m_lineSpacing, flexibleItems(), dividers);
    for (int i = 0; i < m_items.size(); ++i) {
        if (dividers[i]) {
            // Shown where it stands between two items; a widget keeps its minimum size, so one
            // given no place is hidden rather than shrunk.
            QWidget *divider = m_items[i]->widget();
            const bool placed = !rects[i].isEmpty();
            if (divider && divider->isHidden() == placed)
                divider->setVisible(placed);
            if (!placed)
                continue;
        }
        m_items[i]->setGeometry(rects[i].toRect());
    }
}
