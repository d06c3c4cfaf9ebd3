#pragma once

#include "DebloatGroups.h"

#include "core/ListModelAdapter.h"

#include <QStyledItemDelegate>

// Paints the lines of the Debloat list from the design tokens: a category heading (title,
// count, bytes), or a candidate on its group's card (check box, icon, name with its risk
// badge, summary, consequence, package name, size). The cards of a group join into one
// rounded card; rows after the first are separated by a hairline.
class DebloatRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    DebloatRowDelegate(ListModelAdapter<DebloatEntry> *rows, QObject *parent = nullptr);

    // Where each part of a candidate row lies (painting and tests).
    struct RowLayout {
        QRectF card;       // the row's part of the group card
        QRectF checkBox;
        QRectF icon;
        QRectF name;       // the display name, as wide as drawn
        QRectF badge;
        QRectF summary;
        QRectF consequence;
        QRectF packageName;
        QRectF size;
        QLineF separator;  // empty for the first row of a group
    };
    static RowLayout rowLayout(const QRectF &rect, const DebloatEntry &entry);

    static qreal headerHeight();
    static qreal rowHeight();
    // The rounded corners of a row's card: the top two when first, the bottom two when last.
    static QPainterPath cardShape(const QRectF &card, bool isFirst, bool isLast);

    static constexpr qreal kSizeBoxWidth = 66;
    static constexpr qreal kSeparatorInset = 46;
    static constexpr qreal kCheckSize = 14;
    static constexpr qreal kIconSize = 26;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    ListModelAdapter<DebloatEntry> *m_rows;
};
