#pragma once

#include "PackageAction.h"
#include "RawValue.h"

// The action a preset or a debloat plan carries.
enum class PresetAction { disable, uninstall };
QString rawValue(PresetAction action);
QString title(PresetAction action);
PackageAction packageAction(PresetAction action);
template <> QList<PresetAction> allCases<PresetAction>();
template <> std::optional<PresetAction> fromRawValue<PresetAction>(const QString &raw);
