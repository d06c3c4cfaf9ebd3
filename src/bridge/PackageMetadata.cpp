#include "PackageMetadata.h"

#include <QJsonObject>
#include <QJsonValue>

namespace {

// Integral numbers within the signed 64-bit range only; fractions and strings fail.
std::optional<qint64> integralValue(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const qint64 i = v.toInteger(0);
    if (i == 0 && v.toDouble() != 0)
        return std::nullopt;
    return i;
}

bool isBase64Char(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

// Standard alphabet, padded to a multiple of four, nothing else tolerated.
std::optional<QByteArray> strictBase64(const QString &text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    const QByteArray ascii = text.toLatin1();
    const qsizetype n = ascii.size();
    qsizetype pad = 0;
    while (pad < 2 && pad < n && ascii[n - 1 - pad] == '=')
        ++pad;
    for (qsizetype i = 0; i < n - pad; ++i)
        if (!isBase64Char(ascii[i]))
            return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(ascii, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return std::move(decoded.decoded);
}

} // namespace

std::optional<PackageMetadata> decodePackageMetadata(const QJsonObject &object)
{
    const QJsonValue package = object.value(QLatin1StringView("package"));
    const QJsonValue label = object.value(QLatin1StringView("label"));
    if (!package.isString() || !label.isString())
        return std::nullopt;
    const auto size = integralValue(object.value(QLatin1StringView("size")));
    if (!size)
        return std::nullopt;

    PackageMetadata record{package.toString(), label.toString(), *size, std::nullopt};
    const QJsonValue icon = object.value(QLatin1StringView("icon"));
    if (icon.isString()) {
        const QString text = icon.toString();
        if (!text.isEmpty())
            record.iconData = strictBase64(text);
    } else if (!icon.isUndefined() && !icon.isNull()) {
        return std::nullopt;
    }
    return record;
}
