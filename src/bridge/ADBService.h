#pragma once

#include "AppPermission.h"
#include "CommandResult.h"
#include "ProcessExecution.h"

#include <QCoro/QCoroTask>
#include <QStringList>

#include <optional>

// Where the locators look; tests build one of their own instead of the machine's.
struct ToolSearchEnvironment {
    QString bundledPlatformTools;   // the bundle's "platform-tools" folder, empty when absent
    QStringList fixedFolders;       // "/opt/homebrew/bin", "/usr/local/bin"
    QString home;                   // the user's home folder
    std::optional<QString> path;    // PATH; none when unset

    static ToolSearchEnvironment current();
};

// Whether `path` names a regular file the current user may execute.
bool isExecutableFile(const QString &path);

// The adb tool at one location. A plain value: copies are interchangeable and any
// number of calls may run at once. `executableURL` holds a local file path.
class ADBService {
public:
    ADBService() = default;
    explicit ADBService(QString executableURL) : executableURL(std::move(executableURL)) {}

    QString executableURL;

    static std::optional<QString> locateADB(const ToolSearchEnvironment &env = ToolSearchEnvironment::current());
    static std::optional<QString> locateFastboot(const std::optional<QString> &nextTo,
                                                 const ToolSearchEnvironment &env = ToolSearchEnvironment::current());

    // Runs adb with "-s serial" in front when the serial is not empty. Never fails:
    // errors come back as a CommandResult. The child runs off the calling thread.
    QCoro::Task<CommandResult> run(QStringList arguments, QString serial = {},
                                   RunTimeout timeout = std::nullopt) const;


    // Runtime permissions of one package for one Android user (RuntimePermissions.cpp).
    QCoro::Task<RuntimePermissionsResult> loadRuntimePermissions(QString packageName, QString serial, int userID) const;
    static QList<AppPermission> parseRuntimePermissions(const QString &text, int userID);
    QCoro::Task<CommandResult> changeRuntimePermission(QString packageName, QString permissionName,
                                                       PermissionOperation operation, QString serial, int userID) const;

    bool operator==(const ADBService &) const = default;
};

// Runs any executable off the calling thread and awaits its result.
QCoro::Task<CommandResult> runProcessAsync(QString executable, QStringList arguments,
                                           RunTimeout timeout = std::nullopt);
