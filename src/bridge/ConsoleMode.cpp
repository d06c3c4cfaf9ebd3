#include "ConsoleMode.h"

QString rawValue(ConsoleMode mode)
{
    return mode == ConsoleMode::deviceShell ? QStringLiteral("Shell устройства") : QStringLiteral("ADB");
}

QString prompt(ConsoleMode mode)
{
    return mode == ConsoleMode::deviceShell ? QStringLiteral("shell $") : QStringLiteral("adb >");
}

QString shortTitle(ConsoleMode mode)
{
    return mode == ConsoleMode::deviceShell ? QStringLiteral("Shell") : QStringLiteral("ADB");
}

template <> QList<ConsoleMode> allCases<ConsoleMode>() { return {ConsoleMode::deviceShell, ConsoleMode::adb}; }
template <> std::optional<ConsoleMode> fromRawValue<ConsoleMode>(const QString &raw) { return rawValueLookup<ConsoleMode>(raw); }
