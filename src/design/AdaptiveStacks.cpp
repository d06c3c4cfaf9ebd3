#include "AdaptiveStacks.h"

namespace {
void rebuild(QBoxLayout *layout, QBoxLayout::Direction direction, int spacing, QWidget *first, QWidget *second,
             Qt::Alignment alignment)
{
    while (QLayoutItem *item = layout->takeAt(0))
        delete item;
    layout->setDirection(direction);
    layout->setSpacing(spacing);
    layout->addWidget(first, 0, alignment);
    layout->addWidget(second, 0, alignment);
}
} // namespace

AdaptiveHeroStack::AdaptiveHeroStack(bool isCompact, QWidget *object, QWidget *detail, QWidget *parent)
    : QWidget(parent), m_compact(isCompact), m_object(object), m_detail(detail),
      m_layout(new QBoxLayout(QBoxLayout::LeftToRight, this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    arrange();
}

void AdaptiveHeroStack::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    arrange();
}

void AdaptiveHeroStack::arrange()
{
    if (m_compact)
        rebuild(m_layout, QBoxLayout::TopToBottom, int(Space::l), m_object, m_detail, {});
    else
        rebuild(m_layout, QBoxLayout::LeftToRight, int(Space::xxl), m_object, m_detail, Qt::AlignVCenter);
}

// Two items side by side (equal widths, top-aligned, each as tall as it needs) or stacked, with
// outsets taken out of the gap between their shapes.
class AdaptiveColumns::Arrangement : public QLayout {
public:
    explicit Arrangement(AdaptiveColumns *owner) : QLayout(owner), m_owner(owner) { setContentsMargins(0, 0, 0, 0); }
    ~Arrangement() override
    {
        while (QLayoutItem *item = takeAt(0))
            delete item;
    }

    void addItem(QLayoutItem *item) override { m_items.append(item); }
    int count() const override { return int(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override
    {
        return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        int height = 0;
        arrange(width, &height);
        return height;
    }
    QSize sizeHint() const override { return combined([](QLayoutItem *item) { return item->sizeHint(); }); }
    QSize minimumSize() const override { return combined([](QLayoutItem *item) { return item->minimumSize(); }); }
    void setGeometry(const QRect &rect) override
    {
        QLayout::setGeometry(rect);
        const QList<QRect> rects = arrange(rect.width(), nullptr);
        for (int i = 0; i < m_items.size() && i < rects.size(); ++i)
            m_items[i]->setGeometry(rects[i].translated(rect.topLeft()));
    }

private:
    static int heightAt(QLayoutItem *item, int width)
    {
        return item->hasHeightForWidth() ? item->heightForWidth(width) : item->sizeHint().height();
    }

    // The overlap of two neighbours: the room of their shadows that the gap already provides.
    int overlap() const
    {
        const QMargins &o = m_owner->m_outsets;
        return m_owner->m_stacked ? o.bottom() : o.left() + o.right();
    }

    QList<QRect> arrange(int width, int *height) const
    {
        QList<QRect> rects;
        if (m_items.size() < 2)
            return rects;
        const int spacing = int(m_owner->m_spacing) - overlap();
        if (m_owner->m_stacked) {
            const int first = heightAt(m_items[0], width);
            const int second = heightAt(m_items[1], width);
            rects << QRect(0, 0, width, first) << QRect(0, first + spacing, width, second);
            if (height)
                *height = first + spacing + second;
            return rects;
        }
        const int columnWidth = std::max(0, (width - spacing) / 2);
        const int first = heightAt(m_items[0], columnWidth);
        const int second = heightAt(m_items[1], columnWidth);
        rects << QRect(0, 0, columnWidth, first) << QRect(width - columnWidth, 0, columnWidth, second);
        if (height)
            *height = std::max(first, second);
        return rects;
    }

    template <typename F>
    QSize combined(F size) const
    {
        if (m_items.size() < 2)
            return {};
        const QSize a = size(m_items[0]);
        const QSize b = size(m_items[1]);
        const int spacing = int(m_owner->m_spacing) - overlap();
        if (m_owner->m_stacked)
            return QSize(std::max(a.width(), b.width()), a.height() + spacing + b.height());
        return QSize(2 * std::max(a.width(), b.width()) + spacing, std::max(a.height(), b.height()));
    }

    AdaptiveColumns *m_owner;
    QList<QLayoutItem *> m_items;
};

AdaptiveColumns::AdaptiveColumns(bool isStacked, QWidget *primary, QWidget *secondary, qreal spacing,
                                 QWidget *parent)
    : QWidget(parent), m_stacked(isStacked), m_spacing(spacing), m_primary(primary), m_secondary(secondary),
      m_layout(new Arrangement(this))
{
    m_layout->addWidget(primary);
    m_layout->addWidget(secondary);
}

void AdaptiveColumns::setStacked(bool stacked)
{
    if (stacked == m_stacked)
        return;
    m_stacked = stacked;
    m_layout->invalidate();
}

void AdaptiveColumns::setItemOutsets(const QMargins &outsets)
{
    m_outsets = outsets;
    m_layout->invalidate();
}
