#pragma once

#include "CommandResult.h"
#include "RawValue.h"

#include <QHashFunctions>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// One runtime permission of a package for one Android user, as "dumpsys package" prints it.
struct AppPermission {
    QString name;
    bool isGranted = false;
    QStringList flags;

    const QString &id() const { return name; }
    // Permissions fixed by the system or by policy are never granted or revoked by us.
    bool canChange() const;
    // The Russian label of a well-known permission, else the last dotted component.
    QString displayName() const;

    bool operator==(const AppPermission &) const = default;
};
size_t qHash(const AppPermission &permission, size_t seed = 0);

// What "dumpsys package" gave: the permissions (empty on failure) and the run itself.
struct RuntimePermissionsResult {
    QList<AppPermission> permissions;
    CommandResult result;

    bool operator==(const RuntimePermissionsResult &) const = default;
};

enum class PermissionFilter { all, granted, denied };
QString rawValue(PermissionFilter filter); // the Russian label, shown as is
bool admits(PermissionFilter filter, const AppPermission &permission);
template <> QList<PermissionFilter> allCases<PermissionFilter>();
template <> std::optional<PermissionFilter> fromRawValue<PermissionFilter>(const QString &raw);

enum class PermissionOperation { grant, revoke };
QString rawValue(PermissionOperation operation); // the pm verb
QString title(PermissionOperation operation);
template <> QList<PermissionOperation> allCases<PermissionOperation>();
template <> std::optional<PermissionOperation> fromRawValue<PermissionOperation>(const QString &raw);

// A permission name as Android writes it: ASCII letters, digits, "_" and ".".
// Names read from the device pass this check before they reach "pm grant/revoke",
// whose arguments the device shell would otherwise interpret.
bool isValidPermissionName(const QString &name);

// The result of a grant or revoke refused before any run because of a bad name.
CommandResult invalidPermissionNameResult(const QString &name);
