#include "WrappingListView.h"

#include <QResizeEvent>

WrappingListView::WrappingListView(QWidget *parent) : QListView(parent)
{
    setUniformItemSizes(false);
    setResizeMode(QListView::Adjust);
}

void WrappingListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    // Once per turn of the event loop however many resizes come, and also when this one came
    // while the rows were laid out.
    if (event->size().width() != event->oldSize().width())
        scheduleDelayedItemsLayout();
}
