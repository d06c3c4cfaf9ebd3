#include "PresetAction.h"

QString rawValue(PresetAction action)
{
    return action == PresetAction::disable ? QStringLiteral("disable") : QStringLiteral("uninstall");
}
PackageAction packageAction(PresetAction action)
{
    return action == PresetAction::disable ? PackageAction::disable : PackageAction::uninstall;
}
QString title(PresetAction action) { return rawValue(packageAction(action)); }
template <> QList<PresetAction> allCases<PresetAction>() { return {PresetAction::disable, PresetAction::uninstall}; }
template <> std::optional<PresetAction> fromRawValue<PresetAction>(const QString &raw)
{
    return rawValueLookup<PresetAction>(raw);
}
