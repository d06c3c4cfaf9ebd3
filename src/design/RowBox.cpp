#include "RowBox.h"

#include <QHBoxLayout>

RowBox::RowBox(const QList<QWidget *> &items, QWidget *parent, qreal spacing) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(spacing));
    for (QWidget *item : items) {
        item->setParent(this);
        layout->addWidget(item, 0, Qt::AlignVCenter);
    }
    layout->addStretch(1);
}
