#include "DebloatReviewDelegate.h"

#include "RowPainting.h"

#include "screenkit/ViewUpdates.h"

#include "bridge/Bytes.h"
#include "design/FocusRing.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

DebloatReviewDelegate::DebloatReviewDelegate(ListModelAdapter<DebloatPlanItem> *rows, QObject *parent)
    : QStyledItemDelegate(parent), m_rows(rows)
{
}

qreal DebloatReviewDelegate::rowHeight()
{
    const qreal texts = RowPainting::lineHeight(Typo::body()) + 1 + RowPainting::lineHeight(Typo::monoSmall());
    return std::ceil(Space::s + std::max({texts, kIconSize, kExcludeSize}) + Space::s);
}

DebloatReviewDelegate::RowLayout DebloatReviewDelegate::rowLayout(const QRectF &rect, const DebloatPlanItem &item)
{
    RowLayout l;
    const QRectF inner = rect.adjusted(Space::l, Space::s, -Space::l, -Space::s);
    const qreal mid = inner.center().y();
    l.icon = QRectF(inner.left(), mid - kIconSize / 2, kIconSize, kIconSize);
    l.exclude = QRectF(inner.right() - kExcludeSize, mid - kExcludeSize / 2, kExcludeSize, kExcludeSize);
    l.size = QRectF(l.exclude.left() - Space::m - kSizeBoxWidth, inner.top(), kSizeBoxWidth, inner.height());
    const QSizeF badge = RowPainting::badgeSize(icon(item.verdict.risk), shortTitle(item.verdict.risk), true);
    l.badge = QRectF(QPointF(l.size.left() - Space::m - badge.width(), mid - badge.height() / 2), badge);
    const qreal textLeft = l.icon.right() + Space::m;
    const qreal width = std::max<qreal>(0, l.badge.left() - Space::s - textLeft);
    const qreal nameHeight = RowPainting::lineHeight(Typo::body());
    const qreal packageHeight = RowPainting::lineHeight(Typo::monoSmall());
    const qreal top = mid - (nameHeight + 1 + packageHeight) / 2;
    l.name = QRectF(textLeft, top, width, nameHeight);
    l.packageName = QRectF(textLeft, top + nameHeight + 1, width, packageHeight);
    l.divider = QLineF(rect.left() + Space::l + 34, rect.bottom() + 0.5, rect.right() + 1, rect.bottom() + 0.5);
    return l;
}

QSize DebloatReviewDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 400, int(rowHeight()));
}

void DebloatReviewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const DebloatPlanItem &item = m_rows->rowAt(index.row());
    const RowLayout l = rowLayout(QRectF(option.rect), item);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    RowPainting::packageIcon(*painter, l.icon, item.package, kIconSize);
    RowPainting::text(*painter, l.name, item.package.displayName, Typo::body(), Ink::text());
    RowPainting::text(*painter, l.packageName, item.package.name, Typo::monoSmall(), Ink::textTertiary(),
                      Qt::ElideMiddle);
    RowPainting::badge(*painter, l.badge.topLeft(), icon(item.verdict.risk), shortTitle(item.verdict.risk),
                       tone(item.verdict.risk), BadgeStyle::soft, true);
    RowPainting::text(*painter, l.size,
                      item.package.apkSize ? Bytes::shortText(*item.package.apkSize) : QStringLiteral("—"),
                      Typo::monoSmall(), Ink::textSecondary(), Qt::ElideNone, Qt::AlignRight);
    Symbols::paint(*painter, QStringLiteral("xmark.circle"), l.exclude, kExcludeSize * 0.44,
                   Ink::textSecondary());
    painter->setPen(QPen(Ink::stroke(), 1));
    painter->drawLine(l.divider);
    FocusRing::paintRow(*painter, option, QRectF(option.rect).adjusted(0, 0, 0, -1), Radius::xs);
    painter->restore();
}

bool DebloatReviewDelegate::editorEvent(QEvent *event, QAbstractItemModel *, const QStyleOptionViewItem &option,
                                        const QModelIndex &index)
{
    if (!index.isValid())
        return false;
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const RowLayout l = rowLayout(QRectF(option.rect), m_rows->rowAt(index.row()));
    const bool onButton = l.exclude.contains(mouse->position());
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressed = onButton ? QPersistentModelIndex(index) : QPersistentModelIndex();
        return onButton;
    }
    const bool clicked = onButton && m_pressed == index;
    m_pressed = QPersistentModelIndex();
    if (clicked)
        Q_EMIT excludeRequested(m_rows->rowAt(index.row()).package.name);
    return clicked;
}

bool DebloatReviewDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                      const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const RowLayout l = rowLayout(QRectF(option.rect), m_rows->rowAt(index.row()));
    if (l.exclude.contains(event->pos())) {
        QToolTip::showText(event->globalPos(), ViewUpdates::plainToolTip(QStringLiteral("Исключить из плана")), view);
        return true;
    }
    QToolTip::hideText();
    return true;
}
