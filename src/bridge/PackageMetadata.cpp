#include "PackageMetadata.h"

#include <QJsonObject>
#include <QJsonValue>

#include <array>

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

// Standard alphabet, padded to a multiple of four, nothing else tolerated (no white
// space, no line breaks). One pass straight from the UTF-16 text: icons make up
// nearly all of the program's output.
std::optional<QByteArray> strictBase64(const QString &text)
{
    static const auto table = [] {
        std::array<quint8, 65536> t{};
        t.fill(0xFF);
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            t[size_t(alphabet[i])] = quint8(i);
        return t;
    }();
    const qsizetype n = text.size();
    if (n == 0 || n % 4 != 0)
        return std::nullopt;
    const char16_t *d = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype pad = d[n - 1] == u'=' ? (d[n - 2] == u'=' ? 2 : 1) : 0;
    QByteArray out(n / 4 * 3 - pad, Qt::Uninitialized);
    auto *o = reinterpret_cast<quint8 *>(out.data());

    // Every quad but the last has no padding.
    const qsizetype full = n - 4;
    quint8 bad = 0;
    for (qsizetype i = 0; i < full; i += 4) {
        const quint8 a = table[d[i]], b = table[d[i + 1]], c = table[d[i + 2]], e = table[d[i + 3]];
        bad |= a | b | c | e;
        const quint32 acc = (quint32(a) << 18) | (quint32(b) << 12) | (quint32(c) << 6) | quint32(e);
        *o++ = quint8(acc >> 16);
        *o++ = quint8(acc >> 8);
        *o++ = quint8(acc);
    }
    if (bad & 0xC0)
        return std::nullopt;

    const quint8 a = table[d[full]], b = table[d[full + 1]];
    const quint8 c = pad >= 2 ? 0 : table[d[full + 2]];
    const quint8 e = pad >= 1 ? 0 : table[d[full + 3]];
    if ((a | b | c | e) & 0xC0)
        return std::nullopt;
    const quint32 acc = (quint32(a) << 18) | (quint32(b) << 12) | (quint32(c) << 6) | quint32(e);
    *o++ = quint8(acc >> 16);
    if (pad < 2)
        *o++ = quint8(acc >> 8);
    if (pad < 1)
        *o++ = quint8(acc);
    return out;
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
