#pragma once

#include "RawValue.h"

// Colour theme of the console transcript; chosen on the console screen, not stored.
enum class ConsoleTheme { system, dark, light };

QString rawValue(ConsoleTheme theme); // the Russian label
template <> QList<ConsoleTheme> allCases<ConsoleTheme>();
template <> std::optional<ConsoleTheme> fromRawValue<ConsoleTheme>(const QString &raw);
