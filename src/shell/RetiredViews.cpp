#include "RetiredViews.h"

#include "design/Transition.h"

#include <QWidget>

RetiredViews::~RetiredViews()
{
    for (const QPointer<QWidget> &view : std::as_const(m_views))
        delete view.data();
}

void RetiredViews::retire(QWidget *view)
{
    if (!view)
        return;
    // A fade still running would go on moving a view that is no longer shown.
    Transition::settle(view);
    view->hide();
    view->setParent(nullptr);
    view->deleteLater();
    m_views.removeAll(nullptr);
    m_views.append(view);
}
