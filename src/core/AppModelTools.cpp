// Tools screen, device picker and menu workflows: the adb server, Wi-Fi pairing,
// switching and disconnecting, screen time-out, size and density, hardware keys.
#include "core/AppModel.h"

#include <QCoro/QCoroTimer>
#include <QPointer>

std::optional<QString> AppModel::readyDeviceSerial() const
{
    if (!service || !selectedDeviceID())
        return std::nullopt;
    const auto device = selectedDevice();
    if (!device || !device->isReady())
        return std::nullopt;
    return selectedDeviceID();
}

QCoro::Task<void> AppModel::restartADBServer()
{
    if (!service)
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    BusyLedger::Token busy = beginBusy(QStringLiteral("Перезапуск ADB-сервера…"));
    const CommandResult result = co_await adb.restartServer();
    if (!self)
        co_return;
    appendResult(QStringLiteral("adb kill-server && adb start-server"), result);
    busy.release();
    record(QStringLiteral("ADB-сервер перезапущен"),
           result.succeeded() ? QStringLiteral("Сервер запущен заново") : result.combinedOutput(), result.succeeded());
    co_await refreshDevices();
}

QCoro::Task<void> AppModel::pairWireless()
{
    if (!service)
        co_return;
    const QString address = wirelessPairAddress().trimmed();
    const QString code = wirelessPairCode().trimmed();
    if (address.isEmpty() || code.isEmpty())
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    BusyLedger::Token busy = beginBusy(QStringLiteral("Сопряжение с ") + address + QStringLiteral("…"));
    const CommandResult result = co_await adb.pair(address, code);
    if (!self)
        co_return;
    // The code is a secret of the moment: never logged or shown.
    appendResult(QStringLiteral("adb pair ") + address, result);
    busy.release();
    const QString output = result.combinedOutput();
    record(result.succeeded() ? QStringLiteral("Сопряжение выполнено") : QStringLiteral("Сопряжение не удалось"),
           output.isEmpty() ? address : output, result.succeeded());
    if (!result.succeeded())
        co_return;
    wirelessPairCode.set(QString());
    co_await refreshDevices();
}

QCoro::Task<void> AppModel::switchToWireless()
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    BusyLedger::Token busy = beginBusy(QStringLiteral("Перевод устройства в режим Wi-Fi…"));

    // The address is read while the device still answers over USB: after "tcpip"
    // its adb restarts and may not answer for a while.
    const std::optional<QString> address = co_await adb.deviceIPAddress(*serial);
    if (!self)
        co_return;

    // TCP mode either way: without an address the user connects by hand, which only
    // works once the device listens on the port.
    const CommandResult tcpip = co_await adb.enableWirelessMode(*serial, 5555);
    if (!self)
        co_return;
    appendResult(QStringLiteral("adb tcpip 5555"), tcpip);
    if (!tcpip.succeeded()) {
        busy.release();
        record(QStringLiteral("Не удалось включить Wi-Fi-режим"), tcpip.combinedOutput(), false);
        co_return;
    }
    if (!address) {
        busy.release();
        record(QStringLiteral("IP-адрес устройства не найден"),
               QStringLiteral("Подключитесь вручную, указав адрес из настроек Wi-Fi"), false);
        co_return;
    }

    co_await QCoro::sleepFor(wirelessSwitchDelay);
    if (!self)
        co_return;
    const QString target = *address + QStringLiteral(":5555");
    wirelessAddress.set(target);
    const CommandResult connected = co_await adb.connect(target);
    if (!self)
        co_return;
    appendResult(QStringLiteral("adb connect ") + target, connected);
    busy.release();
    // "adb connect" exits 0 when it fails; only its words tell.
    const bool linked = ADBService::connectionEstablished(connected);
    const QString output = connected.combinedOutput().trimmed();
    record(linked ? QStringLiteral("Устройство доступно по Wi-Fi") : QStringLiteral("Не удалось подключиться"),
           linked || output.isEmpty() ? target : target + QStringLiteral(": ") + output, linked);
    co_await refreshDevices();
}

QCoro::Task<void> AppModel::disconnectWireless(QString address)
{
    // A blank address would make adb drop every network device.
    if (!service || address.trimmed().isEmpty())
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    const CommandResult result = co_await adb.disconnect(address);
    if (!self)
        co_return;
    appendResult(QStringLiteral("adb disconnect ") + address, result);
    record(QStringLiteral("Отключено"), address, result.succeeded());
    co_await refreshDevices();
}

QCoro::Task<void> AppModel::loadScreenTimeout()
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    const std::optional<qint64> value = co_await adb.readScreenTimeout(*serial);
    // A value read from a device that is no longer selected belongs to no one.
    if (!self || selectedDeviceID() != serial)
        co_return;
    screenTimeoutMilliseconds.set(value);
}

QCoro::Task<void> AppModel::applyScreenTimeout(qint64 milliseconds)
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    BusyLedger::Token run = displayRuns.begin();
    const CommandResult result = co_await adb.setScreenTimeout(milliseconds, *serial);
    if (!self)
        co_return;
    run.release();
    appendResult(QStringLiteral("settings put system screen_off_timeout ") + QString::number(milliseconds), result);
    if (result.succeeded() && selectedDeviceID() == serial)
        screenTimeoutMilliseconds.set(milliseconds);
    toolsStatusText.set(result.succeeded() ? QStringLiteral("Тайм-аут экрана обновлён")
                                           : QStringLiteral("Не удалось изменить тайм-аут"));
}

QCoro::Task<void> AppModel::runScreenCommand(QCoro::Task<CommandResult> command, QString logText,
                                             std::optional<QString> progress, QString success, QString failure,
                                             QString title, QString detail)
{
    QPointer<AppModel> self(this);
    BusyLedger::Token run = displayRuns.begin();
    if (progress)
        toolsStatusText.set(*progress);
    const CommandResult result = co_await std::move(command);
    if (!self)
        co_return;
    run.release();
    appendResult(logText, result);
    toolsStatusText.set(result.succeeded() ? success : failure);
    record(title, result.succeeded() ? detail : detail + QStringLiteral(": ") + result.combinedOutput().trimmed(),
           result.succeeded());
    co_await refreshSnapshot(true);
}

QCoro::Task<void> AppModel::applyScreenSize(QString size)
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    const ADBService adb = *service;
    co_await runScreenCommand(adb.setScreenSize(size, *serial), QStringLiteral("wm size ") + size,
                              QStringLiteral("Изменение разрешения…"), QStringLiteral("Разрешение изменено"),
                              QStringLiteral("Не удалось изменить разрешение"), QStringLiteral("Разрешение экрана"),
                              size);
}

QCoro::Task<void> AppModel::resetScreenSize()
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    const ADBService adb = *service;
    co_await runScreenCommand(adb.resetScreenSize(*serial), QStringLiteral("wm size reset"), std::nullopt,
                              QStringLiteral("Разрешение сброшено"), QStringLiteral("Не удалось сбросить"),
                              QStringLiteral("Разрешение экрана сброшено"), QStringLiteral("wm size reset"));
}

QCoro::Task<void> AppModel::applyScreenDensity(int dpi)
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    const ADBService adb = *service;
    co_await runScreenCommand(adb.setScreenDensity(dpi, *serial), QStringLiteral("wm density ") + QString::number(dpi),
                              QStringLiteral("Изменение плотности…"), QStringLiteral("Плотность изменена"),
                              QStringLiteral("Не удалось изменить плотность"), QStringLiteral("Плотность экрана"),
                              QString::number(dpi) + QStringLiteral(" dpi"));
}

QCoro::Task<void> AppModel::resetScreenDensity()
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    const ADBService adb = *service;
    co_await runScreenCommand(adb.resetScreenDensity(*serial), QStringLiteral("wm density reset"), std::nullopt,
                              QStringLiteral("Плотность сброшена"), QStringLiteral("Не удалось сбросить"),
                              QStringLiteral("Плотность экрана сброшена"), QStringLiteral("wm density reset"));
}

QCoro::Task<void> AppModel::sendKey(QString keyCode, QString title)
{
    const auto serial = readyDeviceSerial();
    if (!serial)
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    const CommandResult result = co_await adb.sendKeyEvent(keyCode, *serial);
    if (!self)
        co_return;
    appendResult(QStringLiteral("input keyevent ") + keyCode, result);
    toolsStatusText.set(title + (result.succeeded() ? QStringLiteral(": отправлено") : QStringLiteral(": ошибка")));
}

void AppModel::clearToolsDeviceState()
{
    screenTimeoutMilliseconds.set(std::nullopt);
}

QCoro::Task<void> AppModel::rebootAndRecord(std::optional<QString> mode, QString title)
{
    QPointer<AppModel> self(this);
    const std::optional<CommandResult> result = co_await reboot(mode);
    if (!self || !result)
        co_return;
    const QString output = result->combinedOutput().trimmed();
    record(title,
           result->succeeded() ? QStringLiteral("Команда отправлена устройству")
                               : (output.isEmpty() ? QStringLiteral("Команда перезагрузки не выполнена") : output),
           result->succeeded());
}

QCoro::Task<void> AppModel::loadToolsState()
{
    QPointer<AppModel> self(this);
    co_await loadScreenTimeout();
    if (!self)
        co_return;
    co_await refreshFastboot();
}

QCoro::Task<void> AppModel::refreshToolsState()
{
    QPointer<AppModel> self(this);
    co_await refreshSnapshot(true);
    if (!self)
        co_return;
    co_await loadToolsState();
}
