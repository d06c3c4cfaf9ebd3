#include "PackageAction.h"

QString rawValue(PackageAction action)
{
    switch (action) {
    case PackageAction::disable: return QStringLiteral("Отключить");
    case PackageAction::enable: return QStringLiteral("Включить");
    case PackageAction::uninstall: return QStringLiteral("Удалить для пользователя");
    case PackageAction::restore: return QStringLiteral("Восстановить");
    case PackageAction::clearData: return QStringLiteral("Очистить данные");
    }
    return {};
}

bool isDestructive(PackageAction action)
{
    return action == PackageAction::uninstall || action == PackageAction::clearData;
}

template <> QList<PackageAction> allCases<PackageAction>()
{
    return {PackageAction::disable, PackageAction::enable, PackageAction::uninstall, PackageAction::restore,
            PackageAction::clearData};
}
template <> std::optional<PackageAction> fromRawValue<PackageAction>(const QString &raw)
{
    return rawValueLookup<PackageAction>(raw);
}

QStringList commandArguments(PackageAction action, const QString &p)
{
    const QString shell = QStringLiteral("shell"), pm = QStringLiteral("pm"), user = QStringLiteral("--user"),
                  zero = QStringLiteral("0");
    switch (action) {
    case PackageAction::disable: return {shell, pm, QStringLiteral("disable-user"), user, zero, p};
    case PackageAction::enable: return {shell, pm, QStringLiteral("enable"), p};
    case PackageAction::uninstall: return {shell, pm, QStringLiteral("uninstall"), user, zero, p};
    case PackageAction::restore:
        return {shell, QStringLiteral("cmd"), QStringLiteral("package"), QStringLiteral("install-existing"), user, zero, p};
    case PackageAction::clearData: return {shell, pm, QStringLiteral("clear"), p};
    }
    return {};
}

bool confirmsAction(PackageAction action, const CommandResult &result)
{
    if (!result.succeeded())
        return false;
    const auto hasLine = [&](auto &&matches) {
        for (const QStringView line : QStringView(result.stdOut).split(QLatin1Char('\n')))
            if (matches(line.trimmed()))
                return true;
        return false;
    };
    const auto packageLineEndingWith = [&](const QString &ending) {
        return hasLine([&](QStringView line) {
            return line.startsWith(QLatin1String("Package ")) && line.endsWith(ending);
        });
    };
    switch (action) {
    case PackageAction::disable: return packageLineEndingWith(QStringLiteral(" new state: disabled-user"));
    case PackageAction::enable: return packageLineEndingWith(QStringLiteral(" new state: enabled"));
    case PackageAction::restore: return packageLineEndingWith(QStringLiteral(" installed for user: 0"));
    case PackageAction::uninstall:
    case PackageAction::clearData: return hasLine([](QStringView line) { return line == QLatin1String("Success"); });
    }
    return false;
}
