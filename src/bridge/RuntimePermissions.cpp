#include "ADBService.h"
#include "AppPermission.h"
#include "NameCollation.h"
#include "PackageName.h"
#include "TextLines.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// The permission named on one line of a runtime list, or none for a line to skip.
std::optional<AppPermission> parsePermissionLine(QStringView line, qsizetype marker)
{
    static const QString grantedMarker = QStringLiteral(": granted=");
    AppPermission permission;
    permission.name = line.left(marker).trimmed().toString();
    const QStringView value = line.mid(marker + grantedMarker.size());
    if (permission.name.isEmpty())
        return std::nullopt;
    if (value.startsWith(u"true"))
        permission.isGranted = true;
    else if (!value.startsWith(u"false"))
        return std::nullopt;
    const qsizetype open = value.indexOf(u"flags=[");
    if (open >= 0) {
        const qsizetype from = open + 7;
        const qsizetype close = value.indexOf(u']', from);
        if (close >= 0) {
            for (QStringView flag : value.mid(from, close - from).split(u'|')) {
                flag = flag.trimmed();
                if (!flag.isEmpty())
                    permission.flags << flag.toString();
            }
        }
    }
    return permission;
}

} // namespace

QList<AppPermission> ADBService::parseRuntimePermissions(const QString &text, int userID)
{
    const QString userHeader = QStringLiteral("User %1:").arg(userID);
    bool inUserBlock = false;
    bool inPermissionList = false;
    bool finished = false;
    QList<AppPermission> permissions;
    forEachLine(text, [&](QStringView raw) {
        if (finished)
            return;
        const QStringView line = raw.trimmed();
        if (line.startsWith(u"User ") && line.contains(u':')) {
            inUserBlock = line.startsWith(userHeader);
            inPermissionList = false;
            return;
        }
        if (!inUserBlock)
            return;
        if (!inPermissionList) {
            inPermissionList = line == u"runtime permissions:";
            return;
        }
        const qsizetype marker = line.indexOf(u": granted=");
        if (marker < 0) {
            finished = true; // the next section: the list is over
            return;
        }
        if (auto permission = parsePermissionLine(line, marker))
            permissions << std::move(*permission);
    });

    // By label, in the order of every name the interface shows.
    const QCollator &collator = NameCollation::collator();
    QList<std::pair<QString, AppPermission>> keyed;
    keyed.reserve(permissions.size());
    for (AppPermission &p : permissions)
        keyed.append({p.displayName(), std::move(p)});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const auto &a, const auto &b) { return collator.compare(a.first, b.first) < 0; });
    QList<AppPermission> sorted;
    sorted.reserve(keyed.size());
    for (auto &entry : keyed)
        sorted << std::move(entry.second);
    return sorted;
}

QCoro::Task<RuntimePermissionsResult> ADBService::loadRuntimePermissions(QString packageName, QString serial,
                                                                          int userID) const
{
    RuntimePermissionsResult out;
    if (!isValidPackageName(packageName)) {
        out.result = invalidPackageNameResult(packageName);
        co_return out;
    }
    out.result = co_await run({QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("package"), packageName},
                              serial);
    if (out.result.succeeded()) {
        // A large application's dumpsys runs to hundreds of kilobytes: parse off the main thread.
        out.permissions = co_await QtConcurrent::run(processThreadPool(), [text = out.result.stdOut, userID] {
            return parseRuntimePermissions(text, userID);
        });
    }
    co_return out;
}

QCoro::Task<CommandResult> ADBService::changeRuntimePermission(QString packageName, QString permissionName,
                                                               PermissionOperation operation, QString serial,
                                                               int userID) const
{
    if (!isValidPackageName(packageName))
        co_return invalidPackageNameResult(packageName);
    if (!isValidPermissionName(permissionName))
        co_return invalidPermissionNameResult(permissionName);
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("pm"), rawValue(operation), QStringLiteral("--user"),
                            QString::number(userID), packageName, permissionName},
                           serial);
}
