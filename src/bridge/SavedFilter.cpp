#include "SavedFilter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

std::optional<QUuid> canonicalUuid(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    return QUuid::fromString(text);
}

} // namespace

QJsonObject SavedFilter::toJson() const
{
    QJsonArray riskArray;
    for (int r : risks)
        riskArray.append(r);
    return QJsonObject{
        {QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
        {QStringLiteral("name"), name},
        {QStringLiteral("query"), query},
        {QStringLiteral("kind"), kind},
        {QStringLiteral("states"), QJsonArray::fromStringList(states)},
        {QStringLiteral("risks"), riskArray},
    };
}

std::optional<SavedFilter> SavedFilter::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    const QJsonValue id = o.value(QLatin1StringView("id")), name = o.value(QLatin1StringView("name")),
                     query = o.value(QLatin1StringView("query")), kind = o.value(QLatin1StringView("kind")),
                     states = o.value(QLatin1StringView("states")), risks = o.value(QLatin1StringView("risks"));
    if (!id.isString() || !name.isString() || !query.isString() || !kind.isString() || !states.isArray()
        || !risks.isArray())
        return std::nullopt;
    const auto uuid = canonicalUuid(id.toString());
    if (!uuid)
        return std::nullopt;
    SavedFilter f;
    f.id = *uuid;
    f.name = name.toString();
    f.query = query.toString();
    f.kind = kind.toString();
    for (const QJsonValue &s : states.toArray()) {
        if (!s.isString())
            return std::nullopt;
        f.states << s.toString();
    }
    for (const QJsonValue &r : risks.toArray()) {
        if (!r.isDouble())
            return std::nullopt;
        const double d = r.toDouble();
        const qint64 i = r.toInteger(0);
        if ((i == 0 && d != 0) || i < INT_MIN || i > INT_MAX)
            return std::nullopt;
        f.risks << int(i);
    }
    return f;
}

QByteArray SavedFilter::encodeList(const QList<SavedFilter> &filters)
{
    QJsonArray array;
    for (const SavedFilter &f : filters)
        array.append(f.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QList<SavedFilter> SavedFilter::decodeList(const QByteArray &json, int *skipped)
{
    QList<SavedFilter> filters;
    int bad = 0;
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (doc.isArray()) {
        for (const QJsonValue &element : doc.array()) {
            if (auto f = fromJson(element))
                filters << *f;
            else
                ++bad;
        }
    } else if (!json.trimmed().isEmpty()) {
        bad = 1; // not an array at all: nothing usable, but something was stored
    }
    if (skipped)
        *skipped = bad;
    return filters;
}
