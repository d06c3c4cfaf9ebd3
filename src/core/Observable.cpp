#include "Observable.h"

#include <QMetaMethod>

#include <algorithm>

void Observable::addObserver(const void *property, QObject *receiver, std::function<void()> handler)
{
    auto &list = m_observers[property];
    // Pruning here bounds what receivers that are gone leave behind.
    std::erase_if(list, [](const std::shared_ptr<Observer> &o) { return !o->receiver; });
    list.push_back(std::make_shared<Observer>(Observer{receiver, std::move(handler)}));
}

void Observable::notifyChanged(const void *property)
{
    static const QMetaMethod changedSignal = QMetaMethod::fromSignal(&Observable::changed);
    if (isSignalConnected(changedSignal))
        Q_EMIT changed(property);

    const auto found = m_observers.find(property);
    if (found == m_observers.end() || found->second.empty())
        return;
    // A handler may add observers or destroy receivers (a screen rebuilt on a route change),
    // so the round runs over a copy and skips receivers that went away during it.
    const std::vector<std::shared_ptr<Observer>> round = found->second;
    QPointer<Observable> self(this);
    bool sawDead = false;
    for (const auto &observer : round) {
        if (!self)
            return;
        if (observer->receiver)
            observer->handler();
        else
            sawDead = true;
    }
    if (sawDead && self) {
        const auto again = m_observers.find(property);
        if (again != m_observers.end())
            std::erase_if(again->second, [](const std::shared_ptr<Observer> &o) { return !o->receiver; });
    }
}

int Observable::observerCount(const void *property) const
{
    const auto found = m_observers.find(property);
    if (found == m_observers.end())
        return 0;
    return int(std::count_if(found->second.begin(), found->second.end(),
                             [](const std::shared_ptr<Observer> &o) { return bool(o->receiver); }));
}
