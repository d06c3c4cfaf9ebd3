#include "JsonSettingsFormat.h"

#include "AppPaths.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>

namespace {

const QString typeKey = QStringLiteral("type");
const QString base64Key = QStringLiteral("base64");

QJsonObject wrapped(const QString &type, const QByteArray &bytes)
{
    return QJsonObject{{typeKey, type}, {base64Key, QString::fromLatin1(bytes.toBase64())}};
}

QJsonValue toJson(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType: return QJsonValue::Null;
    case QMetaType::Bool: return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return value.toLongLong();
    case QMetaType::Float:
    case QMetaType::Double: return value.toDouble();
    case QMetaType::QString: return value.toString();
    case QMetaType::QByteArray: return wrapped(QStringLiteral("data"), value.toByteArray());
    case QMetaType::QStringList: return QJsonArray::fromStringList(value.toStringList());
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant &v : value.toList())
            array.append(toJson(v));
        return array;
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), toJson(it.value()));
        return object;
    }
    default: break;
    }
    QByteArray image;
    QDataStream stream(&image, QIODevice::WriteOnly);
    stream << value;
    return wrapped(QStringLiteral("variant"), image);
}

QVariant fromJson(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined: return {};
    case QJsonValue::Bool: return value.toBool();
    case QJsonValue::Double: {
        // JSON has one number type: a whole number within 64 bits reads back as an
        // integer, anything else as a double.
        const QVariant stored = value.toVariant();
        if (stored.metaType().id() == QMetaType::LongLong)
            return stored;
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9007199254740992.0)
            return qint64(d);
        return d;
    }
    case QJsonValue::String: return value.toString();
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue &v : value.toArray())
            list.append(fromJson(v));
        return list;
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        if (object.size() == 2 && object.value(typeKey).isString() && object.value(base64Key).isString()) {
            const QByteArray bytes = QByteArray::fromBase64(object.value(base64Key).toString().toLatin1());
            const QString type = object.value(typeKey).toString();
            if (type == QLatin1String("data"))
                return bytes;
            if (type == QLatin1String("variant")) {
                QDataStream stream(bytes);
                QVariant v;
                stream >> v;
                return stream.status() == QDataStream::Ok ? v : QVariant();
            }
        }
        QVariantMap map;
        for (auto it = object.begin(); it != object.end(); ++it)
            map.insert(it.key(), fromJson(it.value()));
        return map;
    }
    }
    return {};
}

} // namespace

bool readJsonSettings(QIODevice &device, QSettings::SettingsMap &map)
{
    const QByteArray bytes = device.readAll();
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), fromJson(it.value()));
    return true;
}

bool writeJsonSettings(QIODevice &device, const QSettings::SettingsMap &map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), toJson(it.value()));
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    return device.write(bytes) == bytes.size();
}

QSettings::Format jsonSettingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), readJsonSettings, writeJsonSettings);
    return format;
}

QSettings *openJsonSettings(const QString &configFolder, QObject *parent)
{
    const QString path = configFolder + QLatin1Char('/') + AppPaths::supportFolder + QLatin1Char('/') +
                         AppPaths::supportFolder + QStringLiteral(".json");
    auto *settings = new QSettings(path, jsonSettingsFormat(), parent);
    const QString earlier = configFolder + QStringLiteral("/Kestrel/Kestrel.json");
    if (!QFileInfo::exists(path) && QFileInfo::exists(earlier)) {
        const QSettings old(earlier, jsonSettingsFormat());
        for (const QString &key : old.allKeys())
            settings->setValue(key, old.value(key));
        settings->sync();
    }
    return settings;
}

QSettings *newStandardSettings(QObject *parent)
{
#ifdef Q_OS_MACOS
    QString organization = QCoreApplication::organizationName();
    QString application = QCoreApplication::applicationName();
    if (organization.isEmpty())
        organization = QStringLiteral("Kestrel");
    if (application.isEmpty())
        application = QStringLiteral("Kestrel");
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, organization, application, parent);
#else
    return openJsonSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), parent);
#endif
}
