#pragma once

#include "core/DebloatPlan.h"
#include "core/ListModelAdapter.h"

#include <QStyledItemDelegate>

// Paints one package of the plan under review (icon, name over package name, risk badge,
// size, the exclude button) and reports presses on the exclude button.
class DebloatReviewDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    DebloatReviewDelegate(ListModelAdapter<DebloatPlanItem> *rows, QObject *parent = nullptr);

    struct RowLayout {
        QRectF icon;
        QRectF name;
        QRectF packageName;
        QRectF badge;
        QRectF size;
        QRectF exclude;
        QLineF divider;
    };
    static RowLayout rowLayout(const QRectF &rect, const DebloatPlanItem &item);
    static qreal rowHeight();

    static constexpr qreal kIconSize = 24;
    static constexpr qreal kSizeBoxWidth = 62;
    static constexpr qreal kExcludeSize = 22;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

Q_SIGNALS:
    void excludeRequested(const QString &packageName);

private:
    ListModelAdapter<DebloatPlanItem> *m_rows;
    QPersistentModelIndex m_pressed;
};
