#include "PackagePreset.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

std::optional<PackagePreset> PackagePreset::fromJson(const QJsonObject &o)
{
    const QJsonValue version = o.value(QLatin1StringView("version"));
    const QJsonValue name = o.value(QLatin1StringView("name"));
    const QJsonValue description = o.value(QLatin1StringView("description"));
    const QJsonValue action = o.value(QLatin1StringView("action"));
    const QJsonValue packages = o.value(QLatin1StringView("packages"));
    const QJsonValue createdAt = o.value(QLatin1StringView("createdAt"));
    if (!version.isDouble() || !name.isString() || !description.isString() || !action.isString()
        || !packages.isArray() || !createdAt.isString())
        return std::nullopt;
    const qint64 v = version.toInteger(0);
    if (v == 0 && version.toDouble() != 0)
        return std::nullopt; // a fraction or out of range
    const auto presetAction = fromRawValue<PresetAction>(action.toString());
    if (!presetAction)
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &p : packages.toArray()) {
        if (!p.isString())
            return std::nullopt;
        list << p.toString();
    }
    return PackagePreset{v, name.toString(), description.toString(), *presetAction, list, createdAt.toString()};
}

std::optional<PackagePreset> PackagePreset::decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return fromJson(doc.object());
}

QJsonObject PackagePreset::toJson() const
{
    return QJsonObject{
        {QStringLiteral("version"), supportedVersion},
        {QStringLiteral("name"), name},
        {QStringLiteral("description"), description},
        {QStringLiteral("action"), rawValue(action)},
        {QStringLiteral("packages"), QJsonArray::fromStringList(packages)},
        {QStringLiteral("createdAt"), createdAt},
    };
}

QByteArray PackagePreset::encode() const
{
    // QJsonObject keeps its keys sorted and never escapes "/".
    return QJsonDocument(toJson()).toJson(QJsonDocument::Indented);
}

QString PackagePreset::timestamp(const QDateTime &moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}
