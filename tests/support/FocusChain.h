#pragma once

// For widget tests only (they link Qt Widgets).
#include <QAbstractButton>
#include <QLayout>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>

// Tab order against reading order: the order of what is shown, by its geometry, grouped as the
// widgets and layouts that hold it group it.
namespace FocusChain {

// Whether Tab would stop at `w` in its window: shown, enabled, taking focus by Tab, not passing
// it on to a proxy.
inline bool takesTab(const QWidget *w)
{
    return w && !w->isWindow() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy()
        && w->isVisibleTo(w->window()) && w->isEnabled();
}

// The stops of `window` in the order its focus chain holds them, from the window on. With
// `within`, only those inside it.
inline QList<QWidget *> stops(QWidget *window, const QWidget *within = nullptr)
{
    QList<QWidget *> out;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (takesTab(w) && (!within || within->isAncestorOf(w)))
            out << w;
    return out;
}

// A name for failure messages: accessible name, button text, object name or class.
inline QString name(const QWidget *w)
{
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w); button && !button->text().isEmpty())
        return button->text();
    if (!w->objectName().isEmpty())
        return w->objectName();
    return QString::fromLatin1(w->metaObject()->className());
}

// A widget or a layout on the way from a stop up to its window: what holds the stop, in turn.
struct Part {
    const QObject *node;
    QRect geometry; // in the coordinates of the widget that holds the part
};

namespace detail {

inline bool layoutPath(QLayout *layout, const QWidget *w, QList<QLayout *> &path)
{
    path << layout;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == w)
            return true;
        if (QLayout *inner = item->layout(); inner && layoutPath(inner, w, path))
            return true;
    }
    path.removeLast();
    return false;
}

} // namespace detail

// What holds `w`, from `w` itself up to its window: each widget, then the layouts of its parent
// that hold it (innermost first), then the parent.
inline QList<Part> ancestry(const QWidget *w)
{
    QList<Part> out;
    for (; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        out << Part{w, w->geometry()};
        QList<QLayout *> path;
        if (QWidget *parent = w->parentWidget(); parent && !w->isWindow() && parent->layout())
            detail::layoutPath(parent->layout(), w, path);
        for (qsizetype i = path.size() - 1; i >= 0; --i)
            out << Part{path[i], path[i]->geometry()};
    }
    return out;
}

// Whether the stop of ancestry `a` reads before the stop of ancestry `b`. They are compared where
// their ancestries part, as the two parts of the nearest common holder that hold them (a card
// before the next card, a column of a line before the next column, whatever lies inside them):
// a part whose middle lies above the other's top is on an earlier line; parts sharing a line
// read from the left. A stop holding the other reads first.
inline bool readsBefore(const QList<Part> &a, const QList<Part> &b)
{
    if (a.isEmpty() || b.isEmpty() || a.first().node == b.first().node)
        return false;
    const auto holds = [](const QList<Part> &chain, const QObject *node) {
        return std::any_of(chain.begin(), chain.end(), [&](const Part &p) { return p.node == node; });
    };
    if (holds(b, a.first().node))
        return true;
    if (holds(a, b.first().node))
        return false;
    qsizetype ia = 0;
    while (ia + 1 < a.size() && !holds(b, a[ia + 1].node))
        ++ia;
    if (ia + 1 >= a.size())
        return false; // different windows
    qsizetype ib = 0;
    while (b[ib + 1].node != a[ia + 1].node)
        ++ib;
    const QRect ra = a[ia].geometry, rb = b[ib].geometry;
    if (ra.center().y() < rb.top())
        return true;
    if (rb.center().y() < ra.top())
        return false;
    if (ra.left() != rb.left())
        return ra.left() < rb.left();
    return ra.top() < rb.top();
}

inline bool readsBefore(const QWidget *a, const QWidget *b) { return readsBefore(ancestry(a), ancestry(b)); }

// One line for each stop of `order` that Tab reaches after a stop it reads before (the first
// few). Empty when Tab follows the reading order.
inline QStringList readingOrderFaults(const QList<QWidget *> &order, int limit = 6)
{
    QList<QList<Part>> chains;
    for (const QWidget *w : order)
        chains << ancestry(w);
    QStringList faults;
    for (qsizetype j = 1; j < order.size() && faults.size() < limit; ++j)
        for (qsizetype i = 0; i < j; ++i)
            if (readsBefore(chains[j], chains[i])) {
                faults << QStringLiteral("\"%1\" reads before \"%2\" but Tab reaches it later")
                              .arg(name(order[j]), name(order[i]));
                break;
            }
    return faults;
}

// `ring` (the stops Tab goes round, from anywhere) begun at the stop that reads first.
inline QList<QWidget *> fromTheFirst(const QList<QWidget *> &ring)
{
    if (ring.isEmpty())
        return ring;
    QList<QList<Part>> chains;
    for (const QWidget *w : ring)
        chains << ancestry(w);
    qsizetype first = 0;
    qsizetype fewest = ring.size();
    for (qsizetype i = 0; i < ring.size(); ++i) {
        qsizetype before = 0;
        for (const QList<Part> &other : chains)
            before += readsBefore(other, chains[i]) ? 1 : 0;
        if (before < fewest) {
            fewest = before;
            first = i;
        }
    }
    return ring.mid(first) + ring.mid(0, first);
}

} // namespace FocusChain
