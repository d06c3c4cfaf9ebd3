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
    // One table per position of a symbol in its quad, value already in place; an
    // invalid symbol sets bits above the 24 that carry data.
    struct Tables {
        std::array<quint32, 128> at[4];
    };
    static const Tables tables = [] {
        Tables t;
        for (auto &table : t.at)
            table.fill(0xFF000000u);
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (quint32 v = 0; v < 64; ++v) {
            const auto c = size_t(alphabet[v]);
            t.at[0][c] = v << 18;
            t.at[1][c] = v << 12;
            t.at[2][c] = v << 6;
            t.at[3][c] = v;
        }
        return t;
    }();
    const qsizetype n = text.size();
    if (n == 0 || n % 4 != 0)
        return std::nullopt;
    const char16_t *d = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype pad = d[n - 1] == u'=' ? (d[n - 2] == u'=' ? 2 : 1) : 0;
    const qsizetype size = n / 4 * 3 - pad;
    QByteArray out(size, Qt::Uninitialized);
    auto *o = reinterpret_cast<quint8 *>(out.data());

    // Every quad but the last has no padding.
    const qsizetype full = n - 4;
    quint32 bad = 0;
    unsigned wide = 0;
    for (qsizetype i = 0; i < full; i += 4) {
        const unsigned a = d[i], b = d[i + 1], c = d[i + 2], e = d[i + 3];
        wide |= a | b | c | e;
        const quint32 acc = tables.at[0][a & 127] | tables.at[1][b & 127] | tables.at[2][c & 127] | tables.at[3][e & 127];
        bad |= acc;
        o[0] = quint8(acc >> 16);
        o[1] = quint8(acc >> 8);
        o[2] = quint8(acc);
        o += 3;
    }
    if (wide >= 128 || (bad & 0xFF000000u))
        return std::nullopt;

    const unsigned a = d[full], b = d[full + 1];
    const unsigned c = pad >= 2 ? u'A' : d[full + 2];
    const unsigned e = pad >= 1 ? u'A' : d[full + 3];
    if ((a | b | c | e) >= 128)
        return std::nullopt;
    const quint32 acc = tables.at[0][a] | tables.at[1][b] | tables.at[2][c] | tables.at[3][e];
    if (acc & 0xFF000000u)
        return std::nullopt;
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
