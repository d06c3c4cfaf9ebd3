#pragma once

#include <QObject>
#include <QPointer>

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// A property a view can follow: it notifies its owner with its own address on every change.
// Published, Stored and PublishedList declare themselves; a plain member does not compile.
template <typename P>
concept PublishedProperty = std::remove_cvref_t<P>::isPublishedProperty;

// Base of the observable models. Observers are kept per property, so a change costs
// only the observers of the property that changed.
class Observable : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Calls `handler` after every change of `property`, until `receiver` is gone.
    template <PublishedProperty P, typename F>
    void observe(const P &property, QObject *receiver, F handler)
    {
        addObserver(&property, receiver, std::function<void()>(std::move(handler)));
    }

    void notifyChanged(const void *property);

    // Observers still alive for `property` (for tests and diagnostics).
    int observerCount(const void *property) const;

Q_SIGNALS:
    // Every change, for tests and diagnostics; views follow single properties instead.
    void changed(const void *property);

private:
    struct Observer {
        QPointer<QObject> receiver;
        std::function<void()> handler;
    };
    void addObserver(const void *property, QObject *receiver, std::function<void()> handler);

    std::unordered_map<const void *, std::vector<std::shared_ptr<Observer>>> m_observers;
};

// One published property of an Observable. Setting it never starts model work:
// it only stores the value and notifies observers when the value differs.
template <typename T>
class Published {
public:
    static constexpr bool isPublishedProperty = true;
    using value_type = T;

    explicit Published(Observable *owner, T initial = T{}) : m_owner(owner), m_value(std::move(initial)) {}
    Published(const Published &) = delete;
    Published &operator=(const Published &) = delete;

    const T &get() const { return m_value; }
    const T &operator()() const { return m_value; }
    const T *operator->() const { return &m_value; }

    void set(T value)
    {
        if constexpr (std::equality_comparable<T>) {
            if (value == m_value)
                return;
        }
        m_value = std::move(value);
        m_owner->notifyChanged(this);
    }

    // Changes the value in place and notifies once.
    template <typename F>
    void mutate(F &&change)
    {
        std::forward<F>(change)(m_value);
        m_owner->notifyChanged(this);
    }

private:
    Observable *m_owner;
    T m_value;
};
