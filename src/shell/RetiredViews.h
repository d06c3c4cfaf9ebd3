#pragma once

#include <QList>
#include <QPointer>

class QWidget;

// Views a rebuild replaced. Each leaves the screen at once and is destroyed back in the event
// loop, since the change that replaced it may come from one of its own controls. Until then it
// still observes its owner's models, so any still waiting are destroyed with their owner.
class RetiredViews {
public:
    RetiredViews() = default;
    RetiredViews(const RetiredViews &) = delete;
    RetiredViews &operator=(const RetiredViews &) = delete;
    ~RetiredViews();

    void retire(QWidget *view);

private:
    QList<QPointer<QWidget>> m_views;
};
