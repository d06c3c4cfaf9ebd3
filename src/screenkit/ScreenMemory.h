#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QAbstractScrollArea;

// What a window's screens keep across rebuilds (a route change, a theme switch, the device
// becoming usable): state objects such as list models and selections, and scroll positions.
// A screen asks for its state here instead of owning it, so a rebuilt screen only lays out
// again and the user finds the list where it was.
class ScreenMemory : public QObject {
public:
    using QObject::QObject;

    // The state object stored under `key`, made by `make` on first use and kept for the life of
    // this memory (it is parented to it). Ask with the same type for a key every time.
    template <class State>
    State *obtain(const QString &key, const std::function<State *()> &make)
    {
        QPointer<QObject> &slot = m_states[key];
        if (!slot) {
            State *made = make();
            made->setParent(this);
            slot = made;
        }
        return static_cast<State *>(slot.data());
    }

    // Restores the vertical scroll position last seen under `key` once the view's range allows
    // it, and remembers every later position.
    void keepScroll(QAbstractScrollArea *view, const QString &key);
    int scrollPosition(const QString &key) const { return m_scroll.value(key, 0); }

private:
    QHash<QString, QPointer<QObject>> m_states;
    QHash<QString, int> m_scroll;
};
