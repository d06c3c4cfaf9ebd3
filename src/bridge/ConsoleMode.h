#pragma once

#include "RawValue.h"

// How a console line runs: handed whole to the device shell, or cut into adb arguments.
// The raw value is the Russian label, which is also the stored form.
enum class ConsoleMode { deviceShell, adb };

QString rawValue(ConsoleMode mode);
QString prompt(ConsoleMode mode);
QString shortTitle(ConsoleMode mode);
template <> QList<ConsoleMode> allCases<ConsoleMode>();
template <> std::optional<ConsoleMode> fromRawValue<ConsoleMode>(const QString &raw);
