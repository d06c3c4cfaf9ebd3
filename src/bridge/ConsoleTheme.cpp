#include "ConsoleTheme.h"

QString rawValue(ConsoleTheme theme)
{
    switch (theme) {
    case ConsoleTheme::system: return QStringLiteral("Системная");
    case ConsoleTheme::dark: return QStringLiteral("Тёмная");
    case ConsoleTheme::light: return QStringLiteral("Светлая");
    }
    return {};
}

template <> QList<ConsoleTheme> allCases<ConsoleTheme>()
{
    return {ConsoleTheme::system, ConsoleTheme::dark, ConsoleTheme::light};
}
template <> std::optional<ConsoleTheme> fromRawValue<ConsoleTheme>(const QString &raw) { return rawValueLookup<ConsoleTheme>(raw); }
