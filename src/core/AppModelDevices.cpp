#include "AppModel.h"

#include <QCoro/QCoroTimer>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <coroutine>

namespace {
// The monitor's sleep between polls, on a timer the model owns: the interval ends it, and so
// does the model going (its timer with it), so a released model leaves no loop waiting on a
// timer of its own (one still waiting when the application exits would be lost).
struct MonitorSleep {
    QObject *owner;
    std::chrono::milliseconds interval;
    bool await_ready() const { return false; }
    void await_suspend(std::coroutine_handle<> waiting) const
    {
        auto *timer = new QTimer(owner);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, timer, &QObject::deleteLater);
        QObject::connect(timer, &QObject::destroyed, [waiting] { waiting.resume(); });
        timer->start(interval);
    }
    void await_resume() const {}
};
} // namespace

namespace {

const QStringList devicesListArguments = {QStringLiteral("devices"), QStringLiteral("-l")};

} // namespace

std::optional<AndroidDevice> AppModel::selectedDevice() const
{
    if (!selectedDeviceID())
        return std::nullopt;
    for (const AndroidDevice &device : devices())
        if (device.id == *selectedDeviceID())
            return device;
    return std::nullopt;
}

bool AppModel::canRunDeviceAction() const
{
    const auto device = selectedDevice();
    return device && device->isReady() && !isBusy();
}

bool AppModel::claimDeviceListing(quint64 ticket)
{
    if (ticket < deviceListingApplied)
        return false;
    deviceListingApplied = ticket;
    return true;
}

QCoro::Task<void> AppModel::refreshDevices()
{
    if (!service) {
        statusText.set(QStringLiteral("ADB не установлен"));
        showADBSetup.set(true);
        co_return;
    }
    QPointer<AppModel> self(this);
    BusyLedger::Token busy = beginBusy(QStringLiteral("Поиск устройств…"));
    const quint64 ticket = beginDeviceListing();
    const ADBService adb = *service; // the model's copy may be replaced while this runs
    const CommandResult result = co_await adb.run(devicesListArguments);
    if (!self)
        co_return;
    appendResult(QStringLiteral("adb devices -l"), result);
    if (claimDeviceListing(ticket)) {
        if (!result.succeeded()) {
            devices.set({});
            selectedDeviceID.set(std::nullopt);
            resetDeviceContext();
            statusText.set(QStringLiteral("Ошибка ADB"));
        } else {
            consecutiveMonitorFailures = 0;
            applyDeviceSnapshot(parseDevices(result.stdOut));
        }
    }
    busy.release(); // a package batch or another operation may still keep the model busy

    co_await loadSelectedDeviceData();
}

QCoro::Task<void> AppModel::loadSelectedDeviceData()
{
    QPointer<AppModel> self(this);
    const auto device = selectedDevice();
    if (device && device->isReady() && packages().isEmpty()) {
        co_await refreshPackages(false);
        if (!self)
            co_return;
    }
    co_await ensureDeviceData();
}

QCoro::Task<void> AppModel::refreshAll()
{
    QPointer<AppModel> self(this);
    co_await refreshDevices();
    if (!self)
        co_return;
    const auto device = selectedDevice();
    if (device && device->isReady())
        co_await refreshPackages(true);
}

QCoro::Task<void> AppModel::selectDevice(std::optional<QString> serial)
{
    resetDeviceContext();
    selectedDeviceID.set(std::move(serial));
    const auto device = selectedDevice();
    if (device && device->isReady())
        co_await refreshPackages(false);
}

void AppModel::applyDeviceSnapshot(const QList<AndroidDevice> &newDevices)
{
    const std::optional<QString> previousID = selectedDeviceID();
    const auto previous = selectedDevice();
    const bool wasReady = previous && previous->isReady();

    std::optional<QString> next;
    const auto listed = [&](const QString &id) {
        return std::any_of(newDevices.begin(), newDevices.end(), [&](const AndroidDevice &d) { return d.id == id; });
    };
    if (previousID && listed(*previousID)) {
        next = previousID;
    } else {
        for (const AndroidDevice &d : newDevices) {
            if (d.isReady()) {
                next = d.id;
                break;
            }
        }
        if (!next && !newDevices.isEmpty())
            next = newDevices.first().id;
    }

    // The device-bound state survives only when the same ready device stays selected.
    bool keepsContext = false;
    if (next && previousID && *next == *previousID && wasReady) {
        for (const AndroidDevice &d : newDevices) {
            if (d.id == *next) {
                keepsContext = d.isReady();
                break;
            }
        }
    }
    devices.set(newDevices);
    if (!keepsContext)
        resetDeviceContext();
    selectedDeviceID.set(next);
    statusText.set(newDevices.isEmpty() ? QStringLiteral("Устройства не найдены")
                                        : QStringLiteral("Найдено устройств: ") + QString::number(newDevices.size()));
}

void AppModel::resetDeviceContext()
{
    // Refreshes and operations still running belong to the old context: their results
    // are dropped and they no longer count as busy.
    ++packageRefreshGeneration;
    busyLedger.endContext();
    for (const auto clear : deviceContextSteps)
        (this->*clear)();
}

void AppModel::startDeviceMonitoring()
{
    if (deviceMonitorTask)
        return;
    deviceMonitorTask = std::make_shared<DeviceMonitorHandle>();
    runDeviceMonitor(deviceMonitorTask); // the loop runs on by itself until cancelled
}

void AppModel::stopDeviceMonitoring()
{
    if (!deviceMonitorTask)
        return;
    deviceMonitorTask->cancelled = true;
    deviceMonitorTask.reset();
}

QCoro::Task<void> AppModel::runDeviceMonitor(std::shared_ptr<DeviceMonitorHandle> handle)
{
    // Holds the model only weakly: a released model ends the loop at its next wake-up.
    QPointer<AppModel> self(this);
    const auto interval = std::chrono::ceil<std::chrono::milliseconds>(
        std::chrono::nanoseconds(deviceMonitorIntervalNanoseconds));
    while (!handle->cancelled) {
        co_await MonitorSleep{this, interval};
        if (handle->cancelled || !self)
            co_return;
        co_await self->pollDeviceChanges();
    }
}

QCoro::Task<void> AppModel::pollDeviceChanges()
{
    if (devicePollInFlight || !service)
        co_return;
    QPointer<AppModel> self(this);
    devicePollInFlight = true;
    const quint64 ticket = beginDeviceListing();
    const ADBService adb = *service;
    const CommandResult result = co_await adb.run(devicesListArguments, {}, devicePollTimeout);
    if (!self)
        co_return;
    // A newer listing already settled the list: this answer is out of date either way.
    if (!claimDeviceListing(ticket)) {
        devicePollInFlight = false;
        co_return;
    }

    if (!result.succeeded()) {
        ++consecutiveMonitorFailures;
        if (consecutiveMonitorFailures >= 2 && !devices().isEmpty()) {
            const auto lost = selectedDevice();
            devices.set({});
            selectedDeviceID.set(std::nullopt);
            resetDeviceContext();
            statusText.set(QStringLiteral("ADB недоступен"));
            appendLog(lost ? QStringLiteral("Связь с ") + lost->displayName() + QStringLiteral(" потеряна")
                           : QStringLiteral("Связь с устройством потеряна"));
        }
        devicePollInFlight = false;
        co_return;
    }

    consecutiveMonitorFailures = 0;
    const QList<AndroidDevice> parsed = parseDevices(result.stdOut);
    if (parsed == devices()) {
        devicePollInFlight = false;
        co_return;
    }
    const auto previous = selectedDevice();
    applyDeviceSnapshot(parsed);
    if (parsed.isEmpty())
        appendLog(QStringLiteral("Устройство отключено: ")
                  + (previous ? previous->displayName() : QStringLiteral("неизвестное устройство")));
    else
        appendLog(QStringLiteral("Список устройств обновлён автоматически: ") + QString::number(parsed.size()));

    co_await loadSelectedDeviceData();
    if (!self)
        co_return;
    devicePollInFlight = false;
}

void AppModel::relinkADB()
{
    if (const auto found = ADBService::locateADB(toolSearchEnvironment))
        adoptADB(*found);
    else
        showADBSetup.set(true);
}

void AppModel::useCustomADB(const QString &path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty()) {
        if (!service)
            relinkADB();
        return;
    }
    // A relative path would resolve against whatever folder the application started in.
    if (!QDir::isAbsolutePath(trimmed) || !isExecutableFile(trimmed)) {
        appendLog(QStringLiteral("Указанный путь к adb не является исполняемым файлом: ") + trimmed);
        return;
    }
    if (service && service->executableURL == trimmed)
        return;
    adoptADB(trimmed);
}

void AppModel::adoptADB(const QString &path)
{
    service = ADBService(path);
    adbPath.set(path);
    // Listings still running against the previous tool must not land after this.
    deviceListingApplied = beginDeviceListing();
    showADBSetup.set(false);
    adbVersionText.set(std::nullopt);
    const auto fastboot = ADBService::locateFastboot(path, toolSearchEnvironment);
    fastbootService = fastboot ? std::optional(FastbootService(*fastboot)) : std::nullopt;
    appendLog(QStringLiteral("ADB найден: ") + path);
    refreshAfterAdoption();
}

QCoro::Task<void> AppModel::refreshAfterAdoption()
{
    QPointer<AppModel> self(this);
    co_await refreshDevices();
    if (!self)
        co_return;
    co_await ensureDeviceData();
}
