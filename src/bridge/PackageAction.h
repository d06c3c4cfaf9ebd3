#pragma once

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
