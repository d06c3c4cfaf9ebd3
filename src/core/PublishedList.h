#pragma once

#include "core/Observable.h"

#include <QList>

#include <algorithm>
#include <concepts>
#include <vector>

// Told about a PublishedList's rows around each change, so an item model can announce exactly
// the rows that change (the Qt protocol needs the old row count before the change and the
// new one after it). ListModelAdapter is the one implementation.
class ListRowListener {
public:
    virtual ~ListRowListener() = default;
    virtual void beginListReset() = 0;
    virtual void endListReset() = 0;
    virtual void beginFrontTrim(qsizetype count) = 0; // rows [0, count) go away
    virtual void endFrontTrim() = 0;
    virtual void beginAppend(qsizetype first, qsizetype last) = 0;
    virtual void endAppend() = 0;
    virtual void rowEdited(qsizetype row) = 0;
    virtual void listGone() = 0; // the list is destroyed before its listener
};

// A published list whose changes say which rows changed: replace all (one reset), append at
// the end with trimming at the front (a log window at its cap), or edit one row. Observers
// get one notification per change, after the row listeners.
template <typename T>
class PublishedList {
public:
    static constexpr bool isPublishedProperty = true;
    using value_type = QList<T>;

    explicit PublishedList(Observable *owner, QList<T> initial = {}) : m_owner(owner), m_rows(std::move(initial)) {}
    PublishedList(const PublishedList &) = delete;
    PublishedList &operator=(const PublishedList &) = delete;
    ~PublishedList()
    {
        for (ListRowListener *listener : m_listeners)
            listener->listGone();
    }

    const QList<T> &get() const { return m_rows; }
    const QList<T> &operator()() const { return m_rows; }
    const QList<T> *operator->() const { return &m_rows; }
    qsizetype size() const { return m_rows.size(); }
    const T &at(qsizetype row) const { return m_rows.at(row); }

    // Replaces every row (one reset); an equal list changes nothing.
    void set(QList<T> rows)
    {
        if constexpr (std::equality_comparable<T>) {
            if (rows == m_rows)
                return;
        }
        for (ListRowListener *listener : m_listeners)
            listener->beginListReset();
        m_rows = std::move(rows);
        for (ListRowListener *listener : m_listeners)
            listener->endListReset();
        m_owner->notifyChanged(this);
    }

    // Arbitrary edits in place, announced as a reset.
    template <typename F>
    void mutate(F &&change)
    {
        for (ListRowListener *listener : m_listeners)
            listener->beginListReset();
        std::forward<F>(change)(m_rows);
        for (ListRowListener *listener : m_listeners)
            listener->endListReset();
        m_owner->notifyChanged(this);
    }

    // Appends `rows` and drops the oldest rows beyond `cap` (no cap when cap <= 0). A batch
    // that alone fills the cap replaces everything.
    void append(QList<T> rows, qsizetype cap = 0)
    {
        if (rows.isEmpty())
            return;
        if (cap > 0 && rows.size() >= cap) {
            rows.remove(0, rows.size() - cap);
            set(std::move(rows));
            return;
        }
        const qsizetype overflow = cap > 0 ? std::max<qsizetype>(0, m_rows.size() + rows.size() - cap) : 0;
        if (overflow > 0) {
            for (ListRowListener *listener : m_listeners)
                listener->beginFrontTrim(overflow);
            m_rows.remove(0, overflow);
            for (ListRowListener *listener : m_listeners)
                listener->endFrontTrim();
        }
        const qsizetype first = m_rows.size();
        for (ListRowListener *listener : m_listeners)
            listener->beginAppend(first, first + rows.size() - 1);
        m_rows.append(std::move(rows));
        for (ListRowListener *listener : m_listeners)
            listener->endAppend();
        m_owner->notifyChanged(this);
    }

    void append(T row, qsizetype cap = 0) { append(QList<T>{std::move(row)}, cap); }

    // Drops the oldest `count` rows (a window whose front aged out while nothing new was shown).
    void trimFront(qsizetype count)
    {
        count = std::min(count, m_rows.size());
        if (count <= 0)
            return;
        for (ListRowListener *listener : m_listeners)
            listener->beginFrontTrim(count);
        m_rows.remove(0, count);
        for (ListRowListener *listener : m_listeners)
            listener->endFrontTrim();
        m_owner->notifyChanged(this);
    }

    // Edits one row in place.
    template <typename F>
    void edit(qsizetype row, F &&change)
    {
        std::forward<F>(change)(m_rows[row]);
        for (ListRowListener *listener : m_listeners)
            listener->rowEdited(row);
        m_owner->notifyChanged(this);
    }

    void addListener(ListRowListener *listener) { m_listeners.push_back(listener); }
    void removeListener(ListRowListener *listener) { std::erase(m_listeners, listener); }

private:
    Observable *m_owner;
    QList<T> m_rows;
    std::vector<ListRowListener *> m_listeners;
};
