#include "RouteScreens.h"

#include "screens/files/FilesScreen.h"
#include "screens/settings/SettingsScreen.h"

#include "screens/console/ConsoleView.h"
#include "screens/device/LogsScreen.h"
#include "screens/packages/ApplicationsView.h"
#include "screens/packages/DebloatView.h"
#include "screens/packages/PermissionsView.h"

#include "design/DeckEmptyState.h"
#include "screens/device/OverviewScreen.h"
#include "screens/device/ToolsScreen.h"
#include "screens/packages/PresetsView.h"

namespace RouteScreens {

QWidget *placeholder(AppRoute route)
{
    auto *page = new DeckEmptyState(icon(route), title(route));
    page->setObjectName(QStringLiteral("placeholder-") + rawValue(route));
    return page;
}

QWidget *build(AppRoute route, AppModel *model, AppSettings *settings, ScreenMemory *memory)
{
    switch (route) {
    case AppRoute::applications:
        return new ApplicationsView(model, settings, memory);
    case AppRoute::overview:
        return new OverviewScreen(model, memory);
    case AppRoute::tools:
        return new ToolsScreen(model, memory);
    case AppRoute::files:
        return new FilesScreen(model, memory);
    case AppRoute::presets:
        return new PresetsView(model, memory);
    case AppRoute::console:
        return new ConsoleView(model, memory);
    case AppRoute::settings:
        return new SettingsScreen(model, settings);
    case AppRoute::logs:
        return new LogsScreen(model, settings, memory);
    case AppRoute::debloat:
        return new DebloatView(model, memory);
    case AppRoute::permissions:
        return new PermissionsView(model, memory);
    default:
        return placeholder(route);
    }
}

} // namespace RouteScreens
