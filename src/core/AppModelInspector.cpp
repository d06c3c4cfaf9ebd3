#include "AppModel.h"

#include <QPointer>

std::optional<AndroidPackage> AppModel::inspectorPackage() const
{
    if (!inspectorPackageID())
        return std::nullopt;
    for (const AndroidPackage &p : packages())
        if (p.name == *inspectorPackageID())
            return p;
    return std::nullopt;
}

void AppModel::showInspector(const std::optional<QString> &name)
{
    if (name == inspectorPackageID())
        return;
    inspectorPackageID.set(name);
    packageDetails.set(std::nullopt);
    packageDetailsError.set(std::nullopt);
    if (name)
        loadPackageDetails(); // runs on by itself
}

QCoro::Task<void> AppModel::loadPackageDetails()
{
    if (!service || !selectedDeviceID() || !inspectorPackageID())
        co_return;
    const auto device = selectedDevice();
    if (!device || !device->isReady())
        co_return;
    const ADBService adb = *service;
    const QString packageName = *inspectorPackageID();
    const QString serial = *selectedDeviceID();
    const quint64 load = ++detailsLoadsStarted;
    isDetailsLoading.set(true);

    QPointer<AppModel> self(this);
    const PackageDetailsAnswer answer = co_await adb.packageDetails(packageName, serial);
    if (!self)
        co_return;
    if (inspectorPackageID() == packageName && selectedDeviceID() == serial) {
        if (answer.result.succeeded()) {
            packageDetails.set(answer.details);
            packageDetailsError.set(std::nullopt);
        } else {
            // A failed dumpsys yields a package with no facts: say so instead.
            const QString output = answer.result.combinedOutput().trimmed();
            packageDetails.set(std::nullopt);
            packageDetailsError.set(output.isEmpty()
                                        ? QStringLiteral("Не удалось получить сведения о пакете (код завершения %1)")
                                              .arg(answer.result.exitCode)
                                        : QStringLiteral("Не удалось получить сведения о пакете: ") + output);
        }
    }
    // A load that a newer one replaced leaves the loading state to the newer one.
    if (load == detailsLoadsStarted)
        isDetailsLoading.set(false);
}

void AppModel::launchInspectedPackage()
{
    if (!service || !selectedDeviceID() || !inspectorPackageID())
        return;
    runInspectorAction(InspectorAction::launch, *service, *inspectorPackageID(), *selectedDeviceID());
}

void AppModel::forceStopInspectedPackage()
{
    if (!service || !selectedDeviceID() || !inspectorPackageID())
        return;
    runInspectorAction(InspectorAction::forceStop, *service, *inspectorPackageID(), *selectedDeviceID());
}

QCoro::Task<void> AppModel::runInspectorAction(InspectorAction action, ADBService adb, QString packageName,
                                               QString serial)
{
    QPointer<AppModel> self(this);
    const bool launch = action == InspectorAction::launch;
    const CommandResult result = launch ? co_await adb.launchPackage(packageName, serial)
                                        : co_await adb.forceStopPackage(packageName, serial);
    if (!self)
        co_return;
    appendResult(launch ? QStringLiteral("monkey -p %1 1").arg(packageName)
                        : QStringLiteral("am force-stop %1").arg(packageName),
                 result);
    if (result.succeeded())
        toast(launch ? QStringLiteral("Приложение запущено") : QStringLiteral("Приложение остановлено"), packageName,
              launch ? QStringLiteral("play.circle.fill") : QStringLiteral("stop.circle.fill"), Tone::success);
    else
        toast(launch ? QStringLiteral("Не удалось запустить") : QStringLiteral("Не удалось остановить"), packageName,
              QStringLiteral("exclamationmark.triangle.fill"), Tone::warning);
}

void AppModel::clearInspectorDeviceState()
{
    inspectorPackageID.set(std::nullopt);
    packageDetails.set(std::nullopt);
    isDetailsLoading.set(false);
    packageDetailsError.set(std::nullopt);
}
