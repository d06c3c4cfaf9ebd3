#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/SavedFilter.h"
#include "core/AppRoute.h"
#include "core/AppearanceMode.h"
#include "core/Observable.h"

#include <QSettings>
#include <QString>

#include <functional>

class AppSettings;

// One stored preference: reads like a Published property, and every set() writes the
// value to its key at once (also an unchanged value), then notifies when it differs.
template <typename T>
class Stored {
public:
    static constexpr bool isPublishedProperty = true;
    using value_type = T;

    using Encoder = QVariant (*)(const T &);

    // `writeUnchanged` false: an unchanged value is not written again (used where the
    // stored form may hold more than the value read from it).
    Stored(AppSettings *owner, QString key, T initial, Encoder encode, bool writeUnchanged = true)
        : m_owner(owner), m_key(std::move(key)), m_value(std::move(initial)), m_encode(encode),
          m_writeUnchanged(writeUnchanged) {}
    Stored(const Stored &) = delete;
    Stored &operator=(const Stored &) = delete;

    const T &get() const { return m_value; }
    const T &operator()() const { return m_value; }
    const T *operator->() const { return &m_value; }
    const QString &key() const { return m_key; }

    void set(T value);

private:
    AppSettings *m_owner;
    QString m_key;
    T m_value;
    Encoder m_encode;
    bool m_writeUnchanged;
};

// The user's preferences, read once from the injected store when created and written
// back on every change. Values are stored exactly as set; nothing is clamped.
class AppSettings final : public Observable {
    Q_OBJECT
public:
    // `defaults` must outlive this object; tests hand in a private store.
    explicit AppSettings(QSettings *defaults, QObject *parent = nullptr);

    QSettings *const defaults;

    Stored<AppearanceMode> appearance;
    Stored<ListDensity> density;
    Stored<bool> confirmDestructive;
    Stored<double> monitorInterval;       // seconds
    Stored<QString> customADBPath;        // empty: search for adb
    Stored<qint64> logcatBufferSize;      // lines; key "deck.logcatBuffer"
    Stored<bool> showRiskColumn;
    Stored<AppRoute> lastRoute;
    // Decoded element by element: a malformed filter is skipped, and the stored list is
    // rewritten only when the user changes it, so one bad element never wipes the rest.
    Stored<QList<SavedFilter>> savedFilters;

    // Puts the seven ordinary preferences back to their defaults, each written.
    void resetToDefaults();

    // Hands `appearance` to the applier the shell installs (the widgets layer owns
    // the palette); does nothing before the application object exists.
    void applyAppearance();
    std::function<void(AppearanceMode)> appearanceApplier;

    // Typed reads with the rules for values "of another type": a number never reads
    // as a Boolean nor a text as a number.
    static std::optional<QString> readText(const QSettings &store, const QString &key);
    static std::optional<bool> readBool(const QSettings &store, const QString &key);
    static std::optional<double> readDouble(const QSettings &store, const QString &key);
    static std::optional<qint64> readWholeNumber(const QSettings &store, const QString &key);
    static std::optional<QByteArray> readData(const QSettings &store, const QString &key);

private:
    template <typename T>
    friend class Stored;
    void write(const QString &key, const QVariant &value);
};

template <typename T>
void Stored<T>::set(T value)
{
    if constexpr (std::equality_comparable<T>) {
        const bool same = value == m_value;
        if (!same || m_writeUnchanged)
            m_owner->write(m_key, m_encode(value));
        if (same)
            return;
    } else {
        m_owner->write(m_key, m_encode(value));
    }
    m_value = std::move(value);
    m_owner->notifyChanged(this);
}
