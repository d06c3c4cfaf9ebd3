#include "ConsoleFavorite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<ConsoleFavorite> decodeOne(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const QJsonValue id = object.value(QLatin1String("id"));
    const QJsonValue mode = object.value(QLatin1String("mode"));
    const QJsonValue command = object.value(QLatin1String("command"));
    if (!id.isString() || !mode.isString() || !command.isString())
        return std::nullopt;
    // Only the bare 36-character form; QUuid itself would also take braces.
    const QString idText = id.toString();
    const QUuid uuid = idText.size() == 36 ? QUuid::fromString(idText) : QUuid();
    if (uuid.isNull() && idText != QLatin1String("00000000-0000-0000-0000-000000000000"))
        return std::nullopt;
    const std::optional<ConsoleMode> parsedMode = fromRawValue<ConsoleMode>(mode.toString());
    if (!parsedMode)
        return std::nullopt;
    return ConsoleFavorite(*parsedMode, command.toString(), uuid);
}

} // namespace

QByteArray encodeConsoleFavorites(const QList<ConsoleFavorite> &favorites)
{
    QJsonArray array;
    for (const ConsoleFavorite &f : favorites) {
        array.append(QJsonObject{
            {QLatin1String("id"), f.id.toString(QUuid::WithoutBraces).toUpper()},
            {QLatin1String("mode"), rawValue(f.mode)},
            {QLatin1String("command"), f.command},
        });
    }
    QByteArray json = QJsonDocument(array).toJson(QJsonDocument::Compact);
    // The stored form escapes every slash; outside strings compact JSON has none.
    json.replace("/", "\\/");
    return json;
}

std::optional<DecodedConsoleFavorites> decodeConsoleFavorites(const QByteArray &data)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    DecodedConsoleFavorites decoded;
    for (const QJsonValue &value : document.array()) {
        if (std::optional<ConsoleFavorite> favorite = decodeOne(value))
            decoded.favorites.append(*favorite);
        else
            ++decoded.skipped;
    }
    return decoded;
}
