#pragma once

#include "DebloatVerdict.h"
#include "PackageMetadata.h"
#include "RawValue.h"
#include "Tone.h"

#include <QByteArray>
#include <QString>

#include <optional>

enum class PackageKind { user, system };
QString rawValue(PackageKind kind); // the Russian label
inline QString shortTitle(PackageKind kind) { return rawValue(kind); }
QString icon(PackageKind kind);
template <> QList<PackageKind> allCases<PackageKind>();
template <> std::optional<PackageKind> fromRawValue<PackageKind>(const QString &raw);

enum class PackageState { enabled, disabled, removedForUser };
QString rawValue(PackageState state);
QString title(PackageState state);
QString shortTitle(PackageState state);
QString icon(PackageState state);
Tone tone(PackageState state);
template <> QList<PackageState> allCases<PackageState>();
template <> std::optional<PackageState> fromRawValue<PackageState>(const QString &raw);

enum class PackageSort { name, packageID, size, risk, state };
QString rawValue(PackageSort sort);
QString title(PackageSort sort);
QString icon(PackageSort sort);
template <> QList<PackageSort> allCases<PackageSort>();
template <> std::optional<PackageSort> fromRawValue<PackageSort>(const QString &raw);

enum class ListDensity { compact, regular, comfortable };
QString rawValue(ListDensity density);
QString title(ListDensity density);
int rowHeight(ListDensity density);
int iconSize(ListDensity density);
bool showsSecondLine(ListDensity density);
template <> QList<ListDensity> allCases<ListDensity>();
template <> std::optional<ListDensity> fromRawValue<ListDensity>(const QString &raw);

enum class PackageFilter { all, user, system };
QString rawValue(PackageFilter filter); // the Russian label, shown as is
template <> QList<PackageFilter> allCases<PackageFilter>();
template <> std::optional<PackageFilter> fromRawValue<PackageFilter>(const QString &raw);

// One package of the selected device's catalogue; identified by its name.
struct AndroidPackage {
    AndroidPackage() = default;
    AndroidPackage(QString name, std::optional<QString> apkPath, PackageKind kind,
                   const std::optional<PackageMetadata> &metadata = std::nullopt,
                   PackageState state = PackageState::enabled);

    QString name;
    std::optional<QString> apkPath;
    PackageKind kind = PackageKind::user;
    QString displayName;
    std::optional<qint64> apkSize;
    std::optional<QByteArray> iconData;
    PackageState state = PackageState::enabled;

    const QString &id() const { return name; }
    bool isInactive() const { return state != PackageState::enabled; }
    // The removal verdict of the debloat catalogue for this name and kind.
    const DebloatVerdict &risk() const;

    bool operator==(const AndroidPackage &) const = default;
};
