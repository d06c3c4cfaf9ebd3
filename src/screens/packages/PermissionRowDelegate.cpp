#include "PermissionRowDelegate.h"

#include "RowPainting.h"

#include "screenkit/ViewUpdates.h"

#include "design/FocusRing.h"
#include "design/Ink.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

const QString kFixedIcon = QStringLiteral("lock.fill");
const QString kFixedText = QStringLiteral("Зафиксировано");

QString grantIcon(bool granted)
{
    return granted ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("minus.circle");
}

} // namespace

PermissionRowDelegate::PermissionRowDelegate(ListModelAdapter<PermissionLine> *rows, QObject *parent)
    : QStyledItemDelegate(parent), m_rows(rows)
{
}

QString PermissionRowDelegate::grantText(bool granted)
{
    return granted ? QStringLiteral("Предоставлено") : QStringLiteral("Запрещено");
}

QString PermissionRowDelegate::fixedHelp(const AppPermission &permission)
{
    return permission.flags.join(QStringLiteral(" | "));
}

qreal PermissionRowDelegate::rowHeight()
{
    const qreal text = RowPainting::lineHeight(Typo::bodyMedium()) + 1 + RowPainting::lineHeight(Typo::monoSmall());
    const qreal badge = RowPainting::badgeSize(grantIcon(true), grantText(true), false).height();
    return std::ceil(Space::s + std::max({text, badge, kCheckSize}) + Space::s + 1);
}

PermissionRowDelegate::RowLayout PermissionRowDelegate::rowLayout(const QRectF &rect, const AppPermission &permission)
{
    RowLayout l;
    const QRectF inner = rect.adjusted(Space::l, Space::s, -Space::l, -Space::s - 1);
    const qreal mid = inner.center().y();
    l.checkBox = QRectF(inner.left(), mid - (kCheckSize + 2) / 2, kCheckSize + 2, kCheckSize + 2);
    const QSizeF grant = RowPainting::badgeSize(grantIcon(permission.isGranted), grantText(permission.isGranted), false);
    l.grantBadge = QRectF(QPointF(inner.right() - grant.width(), mid - grant.height() / 2), grant);
    qreal right = l.grantBadge.left();
    if (!permission.canChange()) {
        const QSizeF fixed = RowPainting::badgeSize(kFixedIcon, kFixedText, true);
        l.fixedBadge = QRectF(QPointF(right - Space::m - fixed.width(), mid - fixed.height() / 2), fixed);
        right = l.fixedBadge.left();
    }
    const qreal textLeft = l.checkBox.right() + Space::m;
    const qreal width = std::max<qreal>(0, right - Space::s - textLeft);
    const qreal nameHeight = RowPainting::lineHeight(Typo::bodyMedium());
    const qreal rawHeight = RowPainting::lineHeight(Typo::monoSmall());
    const qreal top = mid - (nameHeight + 1 + rawHeight) / 2;
    l.name = QRectF(textLeft, top, width, nameHeight);
    l.rawName = QRectF(textLeft, top + nameHeight + 1, width, rawHeight);
    const qreal y = rect.bottom() - 0.5;
    l.divider = QLineF(rect.left() + kDividerInset, y, rect.right(), y);
    return l;
}

QSize PermissionRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 400, int(rowHeight()));
}

void PermissionRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const PermissionLine &line = m_rows->rowAt(index.row());
    const AppPermission &p = line.permission;
    const QRectF rect(option.rect);
    const RowLayout l = rowLayout(rect, p);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_MouseOver)
        painter->fillRect(rect.adjusted(0, 0, 0, -1), Ink::surfaceHover());
    // A fixed permission cannot be picked: its box stays faint.
    RowPainting::checkBox(*painter, l.checkBox, line.isSelected, kCheckSize, p.canChange() ? 1 : 0.35);
    RowPainting::text(*painter, l.name, p.displayName(), Typo::bodyMedium(), Ink::text());
    RowPainting::text(*painter, l.rawName, p.name, Typo::monoSmall(), Ink::textTertiary(), Qt::ElideMiddle);
    if (!l.fixedBadge.isEmpty())
        RowPainting::badge(*painter, l.fixedBadge.topLeft(), kFixedIcon, kFixedText, Tone::warning, BadgeStyle::outline,
                           true);
    RowPainting::badge(*painter, l.grantBadge.topLeft(), grantIcon(p.isGranted), grantText(p.isGranted),
                       p.isGranted ? Tone::success : Tone::neutral, BadgeStyle::soft, false);
    painter->setPen(QPen(Ink::stroke(), 1));
    painter->drawLine(l.divider);
    FocusRing::paintRow(*painter, option, rect.adjusted(0, 0, 0, -1), Radius::xs);
    painter->restore();
}

bool PermissionRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                      const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const AppPermission &p = m_rows->rowAt(index.row()).permission;
    const RowLayout l = rowLayout(QRectF(option.rect), p);
    if (!l.fixedBadge.isEmpty() && l.fixedBadge.contains(event->pos())) {
        QToolTip::showText(event->globalPos(), ViewUpdates::plainToolTip(fixedHelp(p)), view);
        return true;
    }
    if (l.rawName.contains(event->pos())) {
        QToolTip::showText(event->globalPos(), ViewUpdates::plainToolTip(p.name), view);
        return true;
    }
    QToolTip::hideText();
    return true;
}
