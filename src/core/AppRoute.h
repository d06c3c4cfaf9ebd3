#pragma once

#include "bridge/RawValue.h"

#include <QString>

#include <optional>

// The sidebar groups of the main window's screens.
enum class RouteSection { device, workflows, system, app };

// The screens of the main window, in sidebar order. The raw value is the stored form.
enum class AppRoute { overview, applications, debloat, permissions, files, presets, tools, console, logs, settings };

QString rawValue(RouteSection section);
template <> QList<RouteSection> allCases<RouteSection>();
template <> std::optional<RouteSection> fromRawValue<RouteSection>(const QString &raw);
std::optional<QString> title(RouteSection section); // the app group has no heading
QList<AppRoute> routes(RouteSection section);      // in route order

QString rawValue(AppRoute route);
template <> QList<AppRoute> allCases<AppRoute>();
template <> std::optional<AppRoute> fromRawValue<AppRoute>(const QString &raw);
QString title(AppRoute route);
QString eyebrow(AppRoute route);
QString icon(AppRoute route);
QString selectedIcon(AppRoute route);
RouteSection section(AppRoute route);
std::optional<int> shortcutIndex(AppRoute route); // the Command-digit, none for settings
bool needsDevice(AppRoute route);
