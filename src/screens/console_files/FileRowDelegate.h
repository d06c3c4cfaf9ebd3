#pragma once

#include <QStyledItemDelegate>

// Paints one row of a file pane from the design tokens: the entry's symbol and name (on one line,
// its invisible characters as stand-ins, elided in the middle), the size right-aligned, the date; the selection and the row under the pointer
// as fills across the row. Every row has the same height.
class FileRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit FileRowDelegate(int rowHeight, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_rowHeight;
};
