#include "AppModel.h"

#include <QSettings>
#include <QTime>

AppModel::AppModel(QSettings *userDefaults, std::optional<ADBService> presetService, bool autoRefresh,
                   std::optional<bool> autoMonitor, quint64 monitorIntervalNanoseconds,
                   ToolSearchEnvironment searchEnvironment, QObject *parent)
    : Observable(parent), userDefaults(userDefaults), toolSearchEnvironment(std::move(searchEnvironment)),
      deviceMonitorIntervalNanoseconds(monitorIntervalNanoseconds)
{
    // Start-up in order: the console, then adb and fastboot, then the refresh and the monitor.
    startConsole();

    // adb: a given service is used as is; otherwise the usual places are searched.
    if (presetService) {
        service = std::move(presetService);
        appendLog(QStringLiteral("ADB для тестирования: ") + service->executableURL);
    } else if (const auto found = ADBService::locateADB(toolSearchEnvironment)) {
        service = ADBService(*found);
        appendLog(QStringLiteral("ADB найден: ") + *found);
    } else {
        showADBSetup.set(true);
        appendLog(QStringLiteral("ADB не найден. Установите Android Platform Tools."));
    }

    adbPath.set(service ? std::optional(service->executableURL) : std::nullopt);

    // fastboot in every case, next to adb first; nothing is logged for it.
    if (const auto fastboot = ADBService::locateFastboot(adbPath(), toolSearchEnvironment))
        fastbootService = FastbootService(*fastboot);

    if (autoRefresh)
        refreshDevices(); // runs on by itself; the constructor does not wait for it
    if (autoMonitor.value_or(autoRefresh))
        startDeviceMonitoring();
}

AppModel::~AppModel()
{
    if (deviceMonitorTask)
        deviceMonitorTask->cancelled = true;
}

void AppModel::appendLog(const QString &text)
{
    const QString entry = QLatin1Char('[') + QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))
                          + QStringLiteral("] ") + text.trimmed();
    logs.append(entry, maxLogEntries);
}

void AppModel::appendResult(const QString &command, const CommandResult &result)
{
    appendLog(QStringLiteral("$ ") + command);
    const QString output = result.combinedOutput();
    if (!output.isEmpty())
        appendLog(output);
    if (!result.succeeded())
        appendLog(QStringLiteral("Код завершения: ") + QString::number(result.exitCode));
}

BusyLedger::Token AppModel::beginBusy(const std::optional<QString> &status)
{
    BusyLedger::Token token = busyLedger.begin();
    if (status)
        statusText.set(*status);
    return token;
}

void AppModel::clearLog()
{
    logs.set({});
}
