#pragma once

#include "AppPermission.h"
#include "CommandResult.h"
#include "PackageQueries.h"
#include "DeviceFileItem.h"
#include "FastbootDevice.h"
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
    QStringList lateFolders;        // after PATH: where Android's SDK lands on Linux

    static ToolSearchEnvironment current();
};

// Whether `path` names a regular file the current user may execute.
bool isExecutableFile(const QString &path);

// Device snapshot: one probe run parsed into the device's facts (DeviceSnapshot.cpp).
struct DeviceSnapshotLoad;

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

    // Package queries, package details and the on-device metadata program.
    QCoro::Task<PackageStates> packageStates(QString serial) const;
    static QSet<QString> parsePackageNames(const QString &output);
    QCoro::Task<PackageAPKPaths> packageAPKPaths(QString packageName, QString serial) const;
    static QStringList parsePackageAPKPaths(const QString &output);
    QCoro::Task<PackageDetailsAnswer> packageDetails(QString packageName, QString serial) const;
    static PackageDetails parsePackageDetails(const QString &output, const QString &packageName);
    QCoro::Task<PackageMetadataAnswer> loadPackageMetadata(QString serial) const;
    static QHash<QString, PackageMetadata> parsePackageMetadata(const QString &output);
    // Installs, pulls, screenshots, device files, device control and fastboot parsing.
    QCoro::Task<CommandResult> install(QStringList urls, QString serial) const;
    // Why an install did not happen, in adb's own words ("INSTALL_PARSE_FAILED_NOT_APK", or its
    // last line when it names no such reason); none when it happened. A "Failure [...]" answer
    // counts as a failure whatever the exit code.
    static std::optional<QString> installFailure(const CommandResult &result);
    QCoro::Task<CommandResult> pullAPK(QString remotePath, QString destination, QString serial) const;
    QCoro::Task<CommandResult> pullDeviceItem(QString remotePath, QString destination, QString serial) const;
    QCoro::Task<CommandResult> captureScreenshot(QString serial, QString destination) const;

    QCoro::Task<DeviceDirectoryListing> listDeviceDirectory(QString path, QString serial) const;
    QCoro::Task<CommandResult> pushLocalItem(QString source, QString remotePath, QString serial) const;
    QCoro::Task<CommandResult> createDeviceDirectory(QString path, QString serial) const;
    QCoro::Task<CommandResult> moveDeviceItem(QString from, QString to, QString serial) const;
    QCoro::Task<CommandResult> removeDeviceItem(QString path, QString serial) const;
    // The device shell line that lists `path` (what listDeviceDirectory runs after "shell").
    static QString deviceListingCommand(const QString &path);
    static QList<DeviceFileItem> parseDeviceDirectoryListing(const QString &output, const QString &basePath);
    // The device's own bytes: a name that is not UTF-8 is listed with `undecodableName` set.
    static QList<DeviceFileItem> parseDeviceDirectoryListing(const QByteArray &output, const QString &basePath);
    static constexpr int kTargetExistsExitCode = 17; // the device shell's answer when a move or push would replace

    QCoro::Task<std::optional<QString>> version() const;
    QCoro::Task<CommandResult> restartServer() const;
    QCoro::Task<CommandResult> connect(QString address) const;
    QCoro::Task<CommandResult> disconnect(QString address) const;
    QCoro::Task<CommandResult> pair(QString address, QString code) const;
    QCoro::Task<CommandResult> enableWirelessMode(QString serial, int port = 5555) const;
    QCoro::Task<std::optional<QString>> deviceIPAddress(QString serial) const;
    QCoro::Task<CommandResult> setScreenSize(QString size, QString serial) const;
    QCoro::Task<CommandResult> resetScreenSize(QString serial) const;
    QCoro::Task<CommandResult> setScreenDensity(int density, QString serial) const;
    QCoro::Task<CommandResult> resetScreenDensity(QString serial) const;
    QCoro::Task<CommandResult> setScreenTimeout(qint64 milliseconds, QString serial) const;
    QCoro::Task<std::optional<qint64>> readScreenTimeout(QString serial) const;
    QCoro::Task<CommandResult> sendKeyEvent(QString keyCode, QString serial) const;
    QCoro::Task<CommandResult> launchPackage(QString packageName, QString serial) const;
    QCoro::Task<CommandResult> forceStopPackage(QString packageName, QString serial) const;
    static std::optional<QString> parseDeviceIPAddress(const QString &ipRouteOutput);
    static std::optional<qint64> parseScreenTimeout(const QString &output);
    // "adb connect" exits 0 also when it fails; only these words mean a link.
    static bool connectionEstablished(const CommandResult &result);
    static bool isValidScreenSize(const QString &size);
    static bool isValidKeyCode(const QString &keyCode);
    static bool isValidNetworkAddress(const QString &address);

    static QList<FastbootDevice> parseFastbootDevices(const QString &output);
    static QList<FastbootVariable> parseFastbootVariables(const QString &output);
    static bool fastbootReportsNoPermissions(const QString &output);
    // --- device snapshot (DeviceSnapshot.cpp) ---
    // Runs the probe script; a failed run gives the empty snapshot and its result.
    QCoro::Task<DeviceSnapshotLoad> deviceSnapshot(QString serial) const;

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
