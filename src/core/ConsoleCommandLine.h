#pragma once

#include "bridge/ConsoleCommandError.h"

#include <QString>
#include <QStringList>

#include <variant>

// Cuts an adb-mode console line into adb arguments the way a shell would (quotes,
// backslash escapes), drops a leading "adb" or ".../adb", and refuses every device
// selector: the device is always the one chosen in the main window.
std::variant<QStringList, ConsoleCommandError> parseADBCommandLine(const QString &line);
