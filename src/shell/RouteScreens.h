#pragma once

#include "core/AppRoute.h"

#include <QWidget>

class AppModel;
class AppSettings;
class ScreenMemory;

// The screen the main window shows for a route (the gate aside). Screens that are not part
// of the application yet show an empty state with the route's title. `memory` keeps what a
// screen holds across its rebuilds (list models, selections, scroll positions).
namespace RouteScreens {
QWidget *build(AppRoute route, AppModel *model, AppSettings *settings, ScreenMemory *memory);
// The stand-in for a screen that is not built yet.
QWidget *placeholder(AppRoute route);
} // namespace RouteScreens
