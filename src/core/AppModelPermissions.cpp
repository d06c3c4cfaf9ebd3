#include "AppModel.h"

#include <QPointer>

namespace {
constexpr int kPermissionUser = 0;
}

QList<AppPermission> AppModel::filteredPermissions() const
{
    const QString query = permissionSearchText().trimmed();
    QList<AppPermission> out;
    for (const AppPermission &p : permissions()) {
        if (!admits(permissionFilter(), p))
            continue;
        if (!query.isEmpty() && !p.name.contains(query, Qt::CaseInsensitive)
            && !p.displayName().contains(query, Qt::CaseInsensitive))
            continue;
        out << p;
    }
    return out;
}

void AppModel::openPermissionManager()
{
    if (selectedPackageIDs().size() != 1)
        return;
    const QString name = *selectedPackageIDs().cbegin();
    const auto it = std::find_if(packages().cbegin(), packages().cend(),
                                 [&](const AndroidPackage &p) { return p.name == name; });
    if (it == packages().cend())
        return;
    permissionPackage.set(*it);
    permissions.set({});
    selectedPermissionIDs.set({});
    permissionSearchText.set(QString());
    permissionFilter.set(PermissionFilter::all);
    permissionStatusText.set(QStringLiteral("Загрузка разрешений…"));
    permissionListSource.reset();
    loadPermissions(); // runs on by itself
}

QCoro::Task<void> AppModel::loadPermissions()
{
    co_await readPermissions();
}

QCoro::Task<bool> AppModel::readPermissions()
{
    if (!service || !selectedDeviceID() || !permissionPackage())
        co_return false;
    const ADBService adb = *service;
    const QString serial = *selectedDeviceID();
    const QString packageName = permissionPackage()->name;

    BusyLedger::Token busy = permissionRuns.begin();
    permissionStatusText.set(QStringLiteral("Чтение разрешений…"));
    appendLog(QStringLiteral("$ dumpsys package %1 (runtime permissions, user 0)").arg(packageName));

    QPointer<AppModel> self(this);
    const RuntimePermissionsResult answer = co_await adb.loadRuntimePermissions(packageName, serial, kPermissionUser);
    if (!self)
        co_return false;
    const auto device = selectedDevice();
    if (selectedDeviceID() != serial || !device || !device->isReady() || !permissionPackage()
        || permissionPackage()->name != packageName)
        co_return false;

    if (!answer.result.succeeded()) {
        permissionStatusText.set(QStringLiteral("Не удалось прочитать разрешения"));
        const QString output = answer.result.combinedOutput();
        permissionErrorMessage.set(output.isEmpty() ? QStringLiteral("ADB не вернул данные о разрешениях") : output);
        appendResult(QStringLiteral("dumpsys package ") + packageName, answer.result);
    } else {
        permissions.set(answer.permissions);
        permissionListSource = PermissionListSource{serial, packageName};
        QSet<QString> names;
        int granted = 0;
        for (const AppPermission &p : answer.permissions) {
            names.insert(p.name);
            granted += p.isGranted ? 1 : 0;
        }
        selectedPermissionIDs.set(selectedPermissionIDs() & names);
        const qsizetype total = answer.permissions.size();
        permissionStatusText.set(QStringLiteral("Runtime-разрешений: %1, предоставлено: %2").arg(total).arg(granted));
        appendLog(QStringLiteral("Runtime-разрешения %1: %2, предоставлено %3").arg(packageName).arg(total).arg(granted));
    }
    busy.release();
    co_return answer.result.succeeded();
}

void AppModel::closePermissionManager()
{
    permissionPackage.set(std::nullopt);
    permissions.set({});
    selectedPermissionIDs.set({});
    pendingPermissionOperation.set(std::nullopt);
    permissionRuns.endContext();
    permissionListSource.reset();
}

QList<AppPermission> AppModel::permissionTargets(PermissionOperation operation) const
{
    QList<AppPermission> out;
    for (const AppPermission &p : permissions()) {
        if (!selectedPermissionIDs().contains(p.name) || !p.canChange())
            continue;
        if ((operation == PermissionOperation::grant) != p.isGranted)
            out << p;
    }
    return out;
}

void AppModel::requestPermissionOperation(PermissionOperation operation)
{
    if (!permissionTargets(operation).isEmpty())
        pendingPermissionOperation.set(operation);
}

void AppModel::confirmPermissionOperation()
{
    if (!pendingPermissionOperation() || !permissionPackage())
        return;
    const PermissionOperation operation = *pendingPermissionOperation();
    QStringList names;
    for (const AppPermission &p : permissionTargets(operation))
        names << p.name;
    pendingPermissionOperation.set(std::nullopt);
    executePermissionOperation(operation, permissionPackage()->name, names); // runs on by itself
}

QCoro::Task<void> AppModel::executePermissionOperation(PermissionOperation operation, QString packageName,
                                                       QStringList permissionNames)
{
    if (!service || !selectedDeviceID() || permissionNames.isEmpty())
        co_return;
    const ADBService adb = *service;
    const QString serial = *selectedDeviceID();
    // The list on screen must describe this device and package, or the user confirmed
    // changes for something else: send nothing.
    if (!permissionListSource || permissionListSource->serial != serial
        || permissionListSource->packageName != packageName) {
        permissionStatusText.set(QStringLiteral("Список разрешений устарел: изменения не отправлены"));
        appendLog(QStringLiteral("Изменение разрешений %1 отменено: список загружен для другого устройства или пакета")
                      .arg(packageName));
        co_return;
    }

    BusyLedger::Token busy = permissionRuns.begin();
    permissionStatusText.set(title(operation) + QStringLiteral("…"));
    QPointer<AppModel> self(this);
    int failures = 0;
    for (const QString &name : permissionNames) {
        const CommandResult result =
            co_await adb.changeRuntimePermission(packageName, name, operation, serial, kPermissionUser);
        if (!self)
            co_return;
        appendResult(QStringLiteral("pm %1 --user 0 %2 %3").arg(rawValue(operation), packageName, name), result);
        if (!result.succeeded())
            ++failures;
    }
    const qsizetype total = permissionNames.size();
    const QString summary = failures == 0 ? QStringLiteral("Операция завершена: %1").arg(total)
                                          : QStringLiteral("Завершено с ошибками: %1 из %2").arg(failures).arg(total);
    permissionStatusText.set(summary);
    busy.release();
    // The reload shows the device's real state; its own status would hide how the
    // batch went, so the batch's summary stays on the status line after it.
    const bool reloaded = co_await readPermissions();
    if (self && reloaded)
        permissionStatusText.set(summary);
}

void AppModel::clearPermissionDeviceState()
{
    closePermissionManager();
    // Closing keeps the texts for a manager opened again; another device's alert goes.
    permissionErrorMessage.set(std::nullopt);
}
