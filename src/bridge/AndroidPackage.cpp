#include "AndroidPackage.h"

QString rawValue(PackageKind kind)
{
    return kind == PackageKind::user ? QStringLiteral("Пользовательское") : QStringLiteral("Системное");
}
QString icon(PackageKind kind)
{
    return kind == PackageKind::user ? QStringLiteral("person.crop.square") : QStringLiteral("gearshape.2");
}
template <> QList<PackageKind> allCases<PackageKind>() { return {PackageKind::user, PackageKind::system}; }
template <> std::optional<PackageKind> fromRawValue<PackageKind>(const QString &raw) { return rawValueLookup<PackageKind>(raw); }

QString rawValue(PackageState state)
{
    switch (state) {
    case PackageState::enabled: return QStringLiteral("enabled");
    case PackageState::disabled: return QStringLiteral("disabled");
    case PackageState::removedForUser: return QStringLiteral("removedForUser");
    }
    return {};
}
QString title(PackageState state)
{
    switch (state) {
    case PackageState::enabled: return QStringLiteral("Включено");
    case PackageState::disabled: return QStringLiteral("Отключено");
    case PackageState::removedForUser: return QStringLiteral("Удалено для пользователя");
    }
    return {};
}
QString shortTitle(PackageState state)
{
    return state == PackageState::removedForUser ? QStringLiteral("Удалено") : title(state);
}
QString icon(PackageState state)
{
    switch (state) {
    case PackageState::enabled: return QStringLiteral("checkmark.circle.fill");
    case PackageState::disabled: return QStringLiteral("pause.circle.fill");
    case PackageState::removedForUser: return QStringLiteral("minus.circle.fill");
    }
    return {};
}
Tone tone(PackageState state)
{
    switch (state) {
    case PackageState::enabled: return Tone::success;
    case PackageState::disabled: return Tone::warning;
    case PackageState::removedForUser: return Tone::neutral;
    }
    return Tone::neutral;
}
template <> QList<PackageState> allCases<PackageState>()
{
    return {PackageState::enabled, PackageState::disabled, PackageState::removedForUser};
}
template <> std::optional<PackageState> fromRawValue<PackageState>(const QString &raw) { return rawValueLookup<PackageState>(raw); }

QString rawValue(PackageSort sort)
{
    switch (sort) {
    case PackageSort::name: return QStringLiteral("name");
    case PackageSort::packageID: return QStringLiteral("packageID");
    case PackageSort::size: return QStringLiteral("size");
    case PackageSort::risk: return QStringLiteral("risk");
    case PackageSort::state: return QStringLiteral("state");
    }
    return {};
}
QString title(PackageSort sort)
{
    switch (sort) {
    case PackageSort::name: return QStringLiteral("По названию");
    case PackageSort::packageID: return QStringLiteral("По идентификатору");
    case PackageSort::size: return QStringLiteral("По размеру");
    case PackageSort::risk: return QStringLiteral("По уровню риска");
    case PackageSort::state: return QStringLiteral("По состоянию");
    }
    return {};
}
QString icon(PackageSort sort)
{
    switch (sort) {
    case PackageSort::name: return QStringLiteral("textformat");
    case PackageSort::packageID: return QStringLiteral("number");
    case PackageSort::size: return QStringLiteral("externaldrive");
    case PackageSort::risk: return QStringLiteral("shield.lefthalf.filled");
    case PackageSort::state: return QStringLiteral("switch.2");
    }
    return {};
}
template <> QList<PackageSort> allCases<PackageSort>()
{
    return {PackageSort::name, PackageSort::packageID, PackageSort::size, PackageSort::risk, PackageSort::state};
}
template <> std::optional<PackageSort> fromRawValue<PackageSort>(const QString &raw) { return rawValueLookup<PackageSort>(raw); }

QString rawValue(ListDensity density)
{
    switch (density) {
    case ListDensity::compact: return QStringLiteral("compact");
    case ListDensity::regular: return QStringLiteral("regular");
    case ListDensity::comfortable: return QStringLiteral("comfortable");
    }
    return {};
}
QString title(ListDensity density)
{
    switch (density) {
    case ListDensity::compact: return QStringLiteral("Плотно");
    case ListDensity::regular: return QStringLiteral("Обычно");
    case ListDensity::comfortable: return QStringLiteral("Свободно");
    }
    return {};
}
int rowHeight(ListDensity d) { return d == ListDensity::compact ? 34 : d == ListDensity::regular ? 46 : 58; }
int iconSize(ListDensity d) { return d == ListDensity::compact ? 18 : d == ListDensity::regular ? 28 : 36; }
bool showsSecondLine(ListDensity d) { return d != ListDensity::compact; }
template <> QList<ListDensity> allCases<ListDensity>()
{
    return {ListDensity::compact, ListDensity::regular, ListDensity::comfortable};
}
template <> std::optional<ListDensity> fromRawValue<ListDensity>(const QString &raw) { return rawValueLookup<ListDensity>(raw); }

QString rawValue(PackageFilter filter)
{
    switch (filter) {
    case PackageFilter::all: return QStringLiteral("Все");
    case PackageFilter::user: return QStringLiteral("Пользовательские");
    case PackageFilter::system: return QStringLiteral("Системные");
    }
    return {};
}
template <> QList<PackageFilter> allCases<PackageFilter>()
{
    return {PackageFilter::all, PackageFilter::user, PackageFilter::system};
}
template <> std::optional<PackageFilter> fromRawValue<PackageFilter>(const QString &raw) { return rawValueLookup<PackageFilter>(raw); }

AndroidPackage::AndroidPackage(QString name_, std::optional<QString> apkPath_, PackageKind kind_,
                               const std::optional<PackageMetadata> &metadata, PackageState state_)
    : name(std::move(name_)), apkPath(std::move(apkPath_)), kind(kind_), displayName(name), state(state_)
{
    if (metadata) {
        if (!metadata->label.trimmed().isEmpty())
            displayName = metadata->label;
        apkSize = metadata->size;
        iconData = metadata->iconData;
    }
}
