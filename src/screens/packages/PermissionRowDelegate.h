#pragma once

#include "PermissionLines.h"

#include <QStyledItemDelegate>

// Paints one runtime permission (check box, label over the raw name, the "fixed" badge of a
// permission the system holds, the grant badge) with a hairline under it, and shows the fixed
// permission's flags as the badge's help.
class PermissionRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    PermissionRowDelegate(ListModelAdapter<PermissionLine> *rows, QObject *parent = nullptr);

    struct RowLayout {
        QRectF checkBox;
        QRectF name;
        QRectF rawName;
        QRectF fixedBadge; // empty when the permission can change
        QRectF grantBadge;
        QLineF divider;
    };
    static RowLayout rowLayout(const QRectF &rect, const AppPermission &permission);
    static qreal rowHeight();

    // The texts of the badges.
    static QString grantText(bool granted);
    static QString fixedHelp(const AppPermission &permission);

    static constexpr qreal kCheckSize = 13;
    static constexpr qreal kDividerInset = 44;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

private:
    ListModelAdapter<PermissionLine> *m_rows;
};
