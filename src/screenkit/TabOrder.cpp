#include "TabOrder.h"

#include <QLayout>
#include <QScrollArea>
#include <QSet>
#include <QWidget>

namespace TabOrder {

namespace {

void collect(QWidget *widget, QList<QWidget *> &out);

void collect(QLayout *layout, QList<QWidget *> &out)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *w = item->widget())
            collect(w, out);
        else if (QLayout *inner = item->layout())
            collect(inner, out);
    }
}

void collect(QWidget *widget, QList<QWidget *> &out)
{
    if (widget->isWindow())
        return;
    // A widget with a focus proxy passes the focus on: its proxy is found inside it.
    if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
        out << widget;
    if (QLayout *layout = widget->layout())
        collect(layout, out);
    else if (auto *area = qobject_cast<QScrollArea *>(widget); area && area->widget())
        collect(area->widget(), out);
}

} // namespace

QList<QWidget *> stops(QWidget *root)
{
    QList<QWidget *> out;
    if (QLayout *layout = root->layout())
        collect(layout, out);
    else if (auto *area = qobject_cast<QScrollArea *>(root); area && area->widget())
        collect(area->widget(), out);
    return out;
}

void followLayouts(QWidget *root)
{
    const QList<QWidget *> ordered = stops(root);
    if (ordered.size() < 2)
        return;
    // The group goes after the last widget taking focus before its earliest member, so what comes
    // before and after the screen in the window keeps its place (setTabOrder ignores a widget
    // that takes no focus). With none, the group gathers behind its first stop.
    const QSet<QWidget *> members(ordered.begin(), ordered.end());
    QWidget *window = root->window();
    QWidget *anchor = nullptr;
    for (QWidget *w = window->nextInFocusChain(); w != window && !members.contains(w); w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            anchor = w;
    if (anchor)
        QWidget::setTabOrder(anchor, ordered.first());
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1], ordered[i]);
}

} // namespace TabOrder
