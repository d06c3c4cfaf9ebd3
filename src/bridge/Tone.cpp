#include "Tone.h"

QString rawValue(Tone tone)
{
    switch (tone) {
    case Tone::neutral: return QStringLiteral("neutral");
    case Tone::accent: return QStringLiteral("accent");
    case Tone::success: return QStringLiteral("success");
    case Tone::warning: return QStringLiteral("warning");
    case Tone::danger: return QStringLiteral("danger");
    case Tone::violet: return QStringLiteral("violet");
    }
    return {};
}

template <>
QList<Tone> allCases<Tone>()
{
    return {Tone::neutral, Tone::accent, Tone::success, Tone::warning, Tone::danger, Tone::violet};
}

template <>
std::optional<Tone> fromRawValue<Tone>(const QString &raw)
{
    return rawValueLookup<Tone>(raw);
}
