#pragma once

#include <QObject>

#include <concepts>
#include <utility>

// Base of the observable models. Each Published member notifies `changed` with its
// own address, so a view can follow exactly the properties it shows.
class Observable : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Calls `handler` after every change of `property`, until `receiver` is gone.
    template <typename P, typename F>
    QMetaObject::Connection observe(const P &property, QObject *receiver, F handler)
    {
        const void *key = &property;
        return connect(this, &Observable::changed, receiver,
                       [key, handler = std::move(handler)](const void *which) {
                           if (which == key)
                               handler();
                       });
    }

    void notifyChanged(const void *property) { Q_EMIT changed(property); }

Q_SIGNALS:
    void changed(const void *property);
};

// One published property of an Observable. Setting it never starts model work:
// it only stores the value and notifies observers when the value differs.
template <typename T>
class Published {
public:
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
