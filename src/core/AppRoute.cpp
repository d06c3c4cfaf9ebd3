#include "AppRoute.h"

namespace {

struct RouteInfo {
    AppRoute route;
    const char *raw;
    const char *title;
    const char *eyebrow;
    const char *icon;
    const char *selectedIcon;
    RouteSection section;
    bool needsDevice;
};

// clang-format off
const RouteInfo routeTable[] = {
    {AppRoute::overview, "overview", "Обзор", "Командный центр", "square.grid.2x2", "square.grid.2x2.fill", RouteSection::device, true},
    {AppRoute::applications, "applications", "Приложения", "Каталог устройства", "square.stack.3d.up", "square.stack.3d.up.fill", RouteSection::device, true},
    {AppRoute::debloat, "debloat", "Очистка", "Очистка системы", "sparkles", "sparkles", RouteSection::device, true},
    {AppRoute::permissions, "permissions", "Разрешения", "Контроль доступа", "hand.raised", "hand.raised.fill", RouteSection::device, true},
    {AppRoute::files, "files", "Файлы", "Передача данных", "folder", "folder.fill", RouteSection::workflows, true},
    {AppRoute::presets, "presets", "Пресеты", "Сценарии", "rectangle.stack.badge.play", "rectangle.stack.badge.play.fill", RouteSection::workflows, true},
    {AppRoute::tools, "tools", "Инструменты", "Управление устройством", "slider.horizontal.3", "slider.horizontal.3", RouteSection::system, false},
    {AppRoute::console, "console", "Консоль", "Прямые команды", "terminal", "terminal.fill", RouteSection::system, true},
    {AppRoute::logs, "logs", "Логи", "Диагностика", "waveform.path.ecg", "waveform.path.ecg", RouteSection::system, false},
    {AppRoute::settings, "settings", "Настройки", "Приложение", "gearshape", "gearshape.fill", RouteSection::app, false},
};
// clang-format on

const RouteInfo &info(AppRoute route)
{
    return routeTable[static_cast<int>(route)];
}

} // namespace

QString rawValue(RouteSection section)
{
    switch (section) {
    case RouteSection::device: return QStringLiteral("device");
    case RouteSection::workflows: return QStringLiteral("workflows");
    case RouteSection::system: return QStringLiteral("system");
    case RouteSection::app: return QStringLiteral("app");
    }
    return {};
}

template <> QList<RouteSection> allCases<RouteSection>()
{
    return {RouteSection::device, RouteSection::workflows, RouteSection::system, RouteSection::app};
}

template <> std::optional<RouteSection> fromRawValue<RouteSection>(const QString &raw)
{
    return rawValueLookup<RouteSection>(raw);
}

std::optional<QString> title(RouteSection section)
{
    switch (section) {
    case RouteSection::device: return QStringLiteral("Устройство");
    case RouteSection::workflows: return QStringLiteral("Рабочие сценарии");
    case RouteSection::system: return QStringLiteral("Система");
    case RouteSection::app: return std::nullopt;
    }
    return std::nullopt;
}

QList<AppRoute> routes(RouteSection section)
{
    QList<AppRoute> list;
    for (AppRoute route : allCases<AppRoute>())
        if (::section(route) == section)
            list.append(route);
    return list;
}

QString rawValue(AppRoute route) { return QString::fromLatin1(info(route).raw); }

template <> QList<AppRoute> allCases<AppRoute>()
{
    QList<AppRoute> list;
    for (const RouteInfo &r : routeTable)
        list.append(r.route);
    return list;
}

template <> std::optional<AppRoute> fromRawValue<AppRoute>(const QString &raw)
{
    return rawValueLookup<AppRoute>(raw);
}

QString title(AppRoute route) { return QString::fromUtf8(info(route).title); }
QString eyebrow(AppRoute route) { return QString::fromUtf8(info(route).eyebrow); }
QString icon(AppRoute route) { return QString::fromLatin1(info(route).icon); }
QString selectedIcon(AppRoute route) { return QString::fromLatin1(info(route).selectedIcon); }
RouteSection section(AppRoute route) { return info(route).section; }
bool needsDevice(AppRoute route) { return info(route).needsDevice; }

std::optional<int> shortcutIndex(AppRoute route)
{
    QList<AppRoute> numbered = allCases<AppRoute>();
    numbered.removeAll(AppRoute::settings);
    const qsizetype position = numbered.indexOf(route);
    if (position < 0 || position + 1 > 9)
        return std::nullopt;
    return int(position + 1);
}
