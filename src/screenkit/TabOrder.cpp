#include "TabOrder.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QPointer>
#include <QScrollArea>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <utility>

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

// Follows every kept root for the whole application: a widget that joins a root's tree, or the
// root's showing, orders that root again once the event loop runs. Other events pass at the cost
// of a comparison.
class Keeper : public QObject {
public:
    static Keeper *instance()
    {
        static QPointer<Keeper> keeper;
        if (!keeper && QCoreApplication::instance()) {
            keeper = new Keeper(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(keeper);
        }
        return keeper;
    }

    void add(QWidget *root)
    {
        if (m_roots.contains(root))
            return;
        m_roots.insert(root);
        connect(root, &QObject::destroyed, this, [this, root] {
            m_roots.remove(root);
            m_pending.remove(root);
        });
        schedule(root);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (static_cast<QChildEvent *>(event)->child()->isWidgetType())
                for (QObject *o = watched; o; o = o->parent())
                    if (m_roots.contains(o)) {
                        schedule(o);
                        break;
                    }
            break;
        case QEvent::Show:
            if (m_roots.contains(watched))
                schedule(watched);
            break;
        default:
            break;
        }
        return false;
    }

private:
    explicit Keeper(QObject *parent) : QObject(parent)
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const QSet<QObject *> pending = std::exchange(m_pending, {});
            for (QObject *root : pending)
                followLayouts(static_cast<QWidget *>(root));
        });
    }

    void schedule(QObject *root)
    {
        m_pending.insert(root);
        if (!m_timer.isActive())
            m_timer.start();
    }

    QSet<QObject *> m_roots;
    QSet<QObject *> m_pending;
    QTimer m_timer;
};

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

void keep(QWidget *root)
{
    if (Keeper *keeper = Keeper::instance())
        keeper->add(root);
}

} // namespace TabOrder
