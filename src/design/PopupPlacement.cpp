#include "PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace PopupPlacement {

namespace {

int clampTo(int at, int length, int from, int to) { return std::max(from, std::min(at, to - length)); }

QRect globalRect(const QWidget *w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

} // namespace

QRect room(const QWidget *anchor, QSize size)
{
    const QScreen *screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 20, 1 << 20));
    const QRect window = globalRect(anchor->window()) & screenArea;
    QRect area = screenArea;
    if (window.width() >= size.width()) {
        area.setLeft(window.left());
        area.setRight(window.right());
    }
    if (window.height() >= size.height()) {
        area.setTop(window.top());
        area.setBottom(window.bottom());
    }
    return area;
}

QPoint below(const QWidget *anchor, QSize size, int gap)
{
    const QRect area = room(anchor, size);
    const QRect a = globalRect(anchor);
    const int end = area.left() + area.width();
    int x = anchor->isRightToLeft() ? a.right() + 1 - size.width() : a.left();
    if (x + size.width() > end)
        x = a.right() + 1 - size.width();
    if (x < area.left())
        x = a.left();
    x = clampTo(x, size.width(), area.left(), end);
    int y = a.bottom() + 1 + gap;
    if (y + size.height() > area.top() + area.height() && a.top() - gap - size.height() >= area.top())
        y = a.top() - gap - size.height();
    y = clampTo(y, size.height(), area.top(), area.top() + area.height());
    return {x, y};
}

QPoint beside(const QWidget *anchor, QSize size, int gap)
{
    const QRect area = room(anchor, size);
    const QRect a = globalRect(anchor);
    const int end = area.left() + area.width();
    int x = a.right() + 1 + gap;
    if (x + size.width() > end)
        x = a.left() - gap - size.width();
    x = clampTo(x, size.width(), area.left(), end);
    const int y = clampTo(a.top(), size.height(), area.top(), area.top() + area.height());
    return {x, y};
}

} // namespace PopupPlacement
