#include "ADBService.h"
#include "AppPermission.h"

#include <QCollator>
#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n': case u'\r': case u'\v': case u'\f': case 0x0085: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

// Calls `f` with each non-empty line (split at any line break) until it returns false.
template <typename F>
void forEachLine(QStringView text, F &&f)
{
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !isLineBreak(text[i]))
            continue;
        if (i > start && !f(text.mid(start, i - start)))
            return;
        start = i + 1;
    }
}

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
    QList<AppPermission> permissions;
    forEachLine(text, [&](QStringView raw) {
        const QStringView line = raw.trimmed();
        if (line.startsWith(u"User ") && line.contains(u':')) {
            inUserBlock = line.startsWith(userHeader);
            inPermissionList = false;
            return true;
        }
        if (!inUserBlock)
            return true;
        if (!inPermissionList) {
            inPermissionList = line == u"runtime permissions:";
            return true;
        }
        const qsizetype marker = line.indexOf(u": granted=");
        if (marker < 0)
            return false; // the next section: the list is over
        if (auto permission = parsePermissionLine(line, marker))
            permissions << std::move(*permission);
        return true;
    });

    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
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
    if (!isValidPermissionName(permissionName))
        co_return invalidPermissionNameResult(permissionName);
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("pm"), rawValue(operation), QStringLiteral("--user"),
                            QString::number(userID), packageName, permissionName},
                           serial);
}
