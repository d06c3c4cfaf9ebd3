#include "AppSettings.h"

#include <QCoreApplication>

#include <cmath>

namespace {

template <typename E>
QVariant encodeRaw(const E &value) { return rawValue(value); }
template <typename T>
QVariant encodePlain(const T &value) { return QVariant::fromValue(value); }

QVariant encodeFilters(const QList<SavedFilter> &filters) { return SavedFilter::encodeList(filters); }

bool isNumeric(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Float:
    case QMetaType::Double: return true;
    default: return false;
    }
}

} // namespace

std::optional<QString> AppSettings::readText(const QSettings &store, const QString &key)
{
    const QVariant v = store.value(key);
    if (v.metaType().id() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<bool> AppSettings::readBool(const QSettings &store, const QString &key)
{
    const QVariant v = store.value(key);
    if (v.metaType().id() != QMetaType::Bool)
        return std::nullopt;
    return v.toBool();
}

std::optional<double> AppSettings::readDouble(const QSettings &store, const QString &key)
{
    const QVariant v = store.value(key);
    if (!isNumeric(v))
        return std::nullopt;
    return v.toDouble();
}

std::optional<qint64> AppSettings::readWholeNumber(const QSettings &store, const QString &key)
{
    const QVariant v = store.value(key);
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::UShort: return v.toLongLong();
    case QMetaType::ULongLong: {
        const qulonglong u = v.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(u);
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        // A double reads as a whole number only when it is one exactly.
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || d < -9.2e18 || d > 9.2e18)
            return std::nullopt;
        return qint64(d);
    }
    default: return std::nullopt;
    }
}

std::optional<QByteArray> AppSettings::readData(const QSettings &store, const QString &key)
{
    const QVariant v = store.value(key);
    if (v.metaType().id() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

AppSettings::AppSettings(QSettings *store, QObject *parent)
    : Observable(parent)
    , defaults(store)
    , appearance(this, QStringLiteral("deck.appearance"),
                 [&] {
                     const QString raw = readText(*store, QStringLiteral("deck.appearance")).value_or(QString());
                     if (raw == QLatin1String("system"))
                         return AppearanceMode::system;
                     if (raw == QLatin1String("light"))
                         return AppearanceMode::light;
                     return AppearanceMode::dark;
                 }(),
                 encodeRaw<AppearanceMode>)
    , density(this, QStringLiteral("deck.listDensity"),
              fromRawValue<ListDensity>(readText(*store, QStringLiteral("deck.listDensity")).value_or(QString()))
                  .value_or(ListDensity::regular),
              encodeRaw<ListDensity>)
    , confirmDestructive(this, QStringLiteral("deck.confirmDestructive"),
                         readBool(*store, QStringLiteral("deck.confirmDestructive")).value_or(true), encodePlain<bool>)
    , monitorInterval(this, QStringLiteral("deck.monitorInterval"),
                      readDouble(*store, QStringLiteral("deck.monitorInterval")).value_or(2.0), encodePlain<double>)
    , customADBPath(this, QStringLiteral("deck.customADBPath"),
                    readText(*store, QStringLiteral("deck.customADBPath")).value_or(QString()), encodePlain<QString>)
    , logcatBufferSize(this, QStringLiteral("deck.logcatBuffer"),
                       readWholeNumber(*store, QStringLiteral("deck.logcatBuffer")).value_or(5000),
                       encodePlain<qint64>)
    , showRiskColumn(this, QStringLiteral("deck.showRiskColumn"),
                     readBool(*store, QStringLiteral("deck.showRiskColumn")).value_or(true), encodePlain<bool>)
    , lastRoute(this, QStringLiteral("deck.lastRoute"),
                fromRawValue<AppRoute>(readText(*store, QStringLiteral("deck.lastRoute")).value_or(QString()))
                    .value_or(AppRoute::overview),
                encodeRaw<AppRoute>)
    , savedFilters(this, QStringLiteral("deck.savedFilters"),
                   SavedFilter::decodeList(readData(*store, QStringLiteral("deck.savedFilters")).value_or(QByteArray())),
                   encodeFilters, false)
{
}

void AppSettings::write(const QString &key, const QVariant &value)
{
    defaults->setValue(key, value);
    // Written through at once: a crash or a killed process never loses a choice.
    defaults->sync();
}

void AppSettings::resetToDefaults()
{
    appearance.set(AppearanceMode::dark);
    density.set(ListDensity::regular);
    confirmDestructive.set(true);
    monitorInterval.set(2.0);
    customADBPath.set(QString());
    logcatBufferSize.set(5000);
    showRiskColumn.set(true);
}

void AppSettings::applyAppearance()
{
    if (!QCoreApplication::instance() || !appearanceApplier)
        return;
    appearanceApplier(appearance.get());
}
