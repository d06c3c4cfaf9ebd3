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

AdaptiveColumns::AdaptiveColumns(bool isStacked, QWidget *primary, QWidget *secondary, qreal spacing,
                                 QWidget *parent)
    : QWidget(parent), m_stacked(isStacked), m_spacing(spacing), m_primary(primary), m_secondary(secondary),
      m_layout(new QBoxLayout(QBoxLayout::LeftToRight, this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    arrange();
}

void AdaptiveColumns::setStacked(bool stacked)
{
    if (stacked == m_stacked)
        return;
    m_stacked = stacked;
    arrange();
}

void AdaptiveColumns::arrange()
{
    if (m_stacked)
        rebuild(m_layout, QBoxLayout::TopToBottom, int(m_spacing), m_primary, m_secondary, {});
    else
        rebuild(m_layout, QBoxLayout::LeftToRight, int(m_spacing), m_primary, m_secondary, Qt::AlignTop);
}
