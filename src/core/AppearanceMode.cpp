#include "AppearanceMode.h"

QString rawValue(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system: return QStringLiteral("system");
    case AppearanceMode::light: return QStringLiteral("light");
    case AppearanceMode::dark: return QStringLiteral("dark");
    }
    return {};
}

template <> QList<AppearanceMode> allCases<AppearanceMode>()
{
    return {AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark};
}
template <> std::optional<AppearanceMode> fromRawValue<AppearanceMode>(const QString &raw)
{
    return rawValueLookup<AppearanceMode>(raw);
}

QString title(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system: return QStringLiteral("Системная");
    case AppearanceMode::light: return QStringLiteral("Светлая");
    case AppearanceMode::dark: return QStringLiteral("Тёмная");
    }
    return {};
}

QString icon(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system: return QStringLiteral("circle.lefthalf.filled");
    case AppearanceMode::light: return QStringLiteral("sun.max.fill");
    case AppearanceMode::dark: return QStringLiteral("moon.stars.fill");
    }
    return {};
}

std::optional<AppColorScheme> colorScheme(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system: return std::nullopt;
    case AppearanceMode::light: return AppColorScheme::light;
    case AppearanceMode::dark: return AppColorScheme::dark;
    }
    return std::nullopt;
}
