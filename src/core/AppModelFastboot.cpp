// Fastboot panel: devices in the bootloader, their variables, and reboots.
#include "core/AppModel.h"

#include <QPointer>

QCoro::Task<void> AppModel::refreshFastboot()
{
    if (!fastbootService) {
        fastbootStatusText.set(QStringLiteral("Утилита fastboot не найдена рядом с adb"));
        co_return;
    }
    QPointer<AppModel> self(this);
    const FastbootService fastboot = *fastbootService;
    BusyLedger::Token run = fastbootRuns.begin();
    const FastbootDeviceList listed = co_await fastboot.devices();
    if (!self)
        co_return;
    const std::optional<QString> firstBefore =
        fastbootDevices().isEmpty() ? std::nullopt : std::optional(fastbootDevices().first().id);
    const std::optional<QString> firstNow =
        listed.devices.isEmpty() ? std::nullopt : std::optional(listed.devices.first().id);
    fastbootDevices.set(listed.devices);
    if (listed.devices.isEmpty() && ADBService::fastbootReportsNoPermissions(listed.result.combinedOutput()))
        fastbootStatusText.set(QStringLiteral("Нет прав на доступ к fastboot-устройству: проверьте правила udev"));
    else if (listed.devices.isEmpty())
        fastbootStatusText.set(QStringLiteral("Fastboot-устройства не найдены"));
    else
        fastbootStatusText.set(QStringLiteral("Найдено устройств: ") + QString::number(listed.devices.size()));
    // The variables describe the first device only: another device, or none, voids them.
    if (firstNow != firstBefore || listed.devices.isEmpty())
        fastbootVariables.set({});
    run.release();
}

QCoro::Task<void> AppModel::loadFastbootVariables()
{
    if (!fastbootService || fastbootDevices().isEmpty())
        co_return;
    QPointer<AppModel> self(this);
    const FastbootService fastboot = *fastbootService;
    const QString serial = fastbootDevices().first().id;
    BusyLedger::Token run = fastbootRuns.begin();
    fastbootStatusText.set(QStringLiteral("Чтение переменных загрузчика…"));
    const FastbootVariableList read = co_await fastboot.variables(serial);
    if (!self)
        co_return;
    run.release();
    if (fastbootDevices().isEmpty() || fastbootDevices().first().id != serial)
        co_return; // another device came first meanwhile; its variables are not these
    QMap<QString, QString> variables;
    for (const FastbootVariable &pair : read.pairs)
        if (!variables.contains(pair.key))
            variables.insert(pair.key, pair.value);
    fastbootVariables.set(variables);
    fastbootStatusText.set(variables.isEmpty()
                               ? QStringLiteral("Загрузчик не вернул переменные")
                               : QStringLiteral("Переменных получено: ") + QString::number(variables.size()));
}

QCoro::Task<void> AppModel::fastbootReboot(std::optional<QString> target, QString title)
{
    if (!fastbootService || fastbootDevices().isEmpty())
        co_return;
    QPointer<AppModel> self(this);
    const FastbootService fastboot = *fastbootService;
    const QString serial = fastbootDevices().first().id;
    BusyLedger::Token run = fastbootRuns.begin();
    const CommandResult result = co_await fastboot.reboot(target, serial);
    if (!self)
        co_return;
    appendResult(QStringLiteral("fastboot reboot ") + target.value_or(QString()), result);
    run.release();
    record(title, result.succeeded() ? QStringLiteral("Команда отправлена") : result.combinedOutput(),
           result.succeeded());
    co_await refreshFastboot();
    if (!self)
        co_return;
    co_await refreshDevices();
}
