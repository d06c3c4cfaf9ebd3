#pragma once

#include "bridge/AndroidPackage.h"
#include "core/ListModelAdapter.h"

#include <QStyledItemDelegate>

// Paints one package of the Permissions screen's picker: icon, label over package name, and
// the badge of its kind; the whole row lights up under the pointer.
class PackagePickerDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    PackagePickerDelegate(ListModelAdapter<AndroidPackage> *rows, QObject *parent = nullptr);

    struct RowLayout {
        QRectF icon;
        QRectF name;
        QRectF packageName;
        QRectF badge;
    };
    static RowLayout rowLayout(const QRectF &rect, const AndroidPackage &package);
    static qreal rowHeight();

    static constexpr qreal kIconSize = 26;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    ListModelAdapter<AndroidPackage> *m_rows;
};
