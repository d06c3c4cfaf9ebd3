#pragma once

#include "CommandResult.h"
#include "RawValue.h"

#include <QStringList>

// What the user can do to selected packages. The raw value is the Russian label.
enum class PackageAction { disable, enable, uninstall, restore, clearData };
QString rawValue(PackageAction action);
// Uninstall and clear data lose the user's data: they wait for a confirmation.
bool isDestructive(PackageAction action);
template <> QList<PackageAction> allCases<PackageAction>();
template <> std::optional<PackageAction> fromRawValue<PackageAction>(const QString &raw);

// The adb arguments (after "-s serial") that apply `action` to one package.
QStringList commandArguments(PackageAction action, const QString &packageName);

// Whether `result` carries the device's own word that `action` was done: the line pm prints on
// success ("Package P new state: disabled-user", "… new state: enabled", "Success", "Package P
// installed for user: 0"). Through adb, a command cut off by a lost link can end with exit 0 and
// no output at all, so the exit code alone does not tell.
bool confirmsAction(PackageAction action, const CommandResult &result);
