#pragma once

#include "bridge/RawValue.h"

#include <QString>

#include <optional>

// The two colour schemes an appearance can force.
enum class AppColorScheme { light, dark };

// The appearance the user chose; `system` follows the system.
enum class AppearanceMode { system, light, dark };

QString rawValue(AppearanceMode mode);
template <> QList<AppearanceMode> allCases<AppearanceMode>();
template <> std::optional<AppearanceMode> fromRawValue<AppearanceMode>(const QString &raw);
QString title(AppearanceMode mode);
QString icon(AppearanceMode mode);
std::optional<AppColorScheme> colorScheme(AppearanceMode mode); // none: follow the system
