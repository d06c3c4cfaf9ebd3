#include "PackagePickerDelegate.h"

#include "RowPainting.h"

#include "design/FocusRing.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QPainter>

#include <cmath>

PackagePickerDelegate::PackagePickerDelegate(ListModelAdapter<AndroidPackage> *rows, QObject *parent)
    : QStyledItemDelegate(parent), m_rows(rows)
{
}

qreal PackagePickerDelegate::rowHeight()
{
    const qreal text = RowPainting::lineHeight(Typo::bodyMedium()) + 1 + RowPainting::lineHeight(Typo::monoSmall());
    return std::ceil(Space::s + std::max(text, kIconSize) + Space::s);
}

PackagePickerDelegate::RowLayout PackagePickerDelegate::rowLayout(const QRectF &rect, const AndroidPackage &package)
{
    RowLayout l;
    const QRectF inner = rect.adjusted(Space::gutter, Space::s, -Space::gutter, -Space::s);
    const qreal mid = inner.center().y();
    l.icon = QRectF(inner.left(), mid - kIconSize / 2, kIconSize, kIconSize);
    const QSizeF badge = RowPainting::badgeSize(icon(package.kind), shortTitle(package.kind), true);
    l.badge = QRectF(QPointF(inner.right() - badge.width(), mid - badge.height() / 2), badge);
    const qreal left = l.icon.right() + Space::m;
    const qreal width = std::max<qreal>(0, l.badge.left() - Space::m - left);
    const qreal nameHeight = RowPainting::lineHeight(Typo::bodyMedium());
    const qreal idHeight = RowPainting::lineHeight(Typo::monoSmall());
    const qreal top = mid - (nameHeight + 1 + idHeight) / 2;
    l.name = QRectF(left, top, width, nameHeight);
    l.packageName = QRectF(left, top + nameHeight + 1, width, idHeight);
    return l;
}

QSize PackagePickerDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 400, int(rowHeight()));
}

void PackagePickerDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const AndroidPackage &package = m_rows->rowAt(index.row());
    const QRectF rect(option.rect);
    const RowLayout l = rowLayout(rect, package);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_MouseOver)
        painter->fillPath(Squircle::path(rect.adjusted(Space::xs, 0, -Space::xs, 0), Radius::s), Ink::surfaceHover());
    RowPainting::packageIcon(*painter, l.icon, package, kIconSize);
    RowPainting::text(*painter, l.name, package.displayName, Typo::bodyMedium(), Ink::text());
    RowPainting::text(*painter, l.packageName, package.name, Typo::monoSmall(), Ink::textTertiary(), Qt::ElideMiddle);
    RowPainting::badge(*painter, l.badge.topLeft(), icon(package.kind), shortTitle(package.kind), Tone::neutral,
                       BadgeStyle::outline, true);
    FocusRing::paintRow(*painter, option, rect.adjusted(Space::xs, 0, -Space::xs, 0), Radius::s);
    painter->restore();
}
