// Installs, wireless connection by address, reboots and screenshots of the selected device.
#include "core/AppModel.h"

#include <QFileInfo>
#include <QPointer>

QString AppModel::uniqueDirectory(const QString &parent, const QString &preferredName)
{
    const QString base = parent.endsWith(QLatin1Char('/')) ? parent : parent + QLatin1Char('/');
    QString candidate = base + preferredName;
    for (int k = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++k)
        candidate = base + preferredName + QLatin1Char('-') + QString::number(k);
    return candidate;
}

QCoro::Task<void> AppModel::install(QStringList urls)
{
    if (!service || !selectedDeviceID())
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    const QString serial = *selectedDeviceID();
    BusyLedger::Token busy = beginBusy(QStringLiteral("Установка…"));
    const CommandResult result = co_await adb.install(urls, serial);
    if (!self)
        co_return;
    QStringList names;
    for (const QString &url : urls)
        names << QFileInfo(url).fileName();
    const QString files = names.join(QStringLiteral(", "));
    appendResult(QStringLiteral("install ") + files, result);
    const std::optional<QString> failure = ADBService::installFailure(result);
    const QString outcome = failure ? QStringLiteral("Ошибка установки") : QStringLiteral("Установка завершена");
    statusText.set(outcome);
    busy.release();
    record(outcome, failure ? (files.isEmpty() ? *failure : files + QStringLiteral(": ") + *failure) : files, !failure);
    if (failure)
        co_return;
    metadataCache.remove(serial);
    if (selectedDeviceID() != serial)
        co_return;
    co_await refreshPackages(true);
}

QCoro::Task<void> AppModel::connectWireless()
{
    if (!service)
        co_return;
    const QString address = wirelessAddress().trimmed();
    if (address.isEmpty())
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    BusyLedger::Token busy = beginBusy(QStringLiteral("Подключение к ") + address + QStringLiteral("…"));
    const QString target = address.contains(QLatin1Char(':')) ? address : address + QStringLiteral(":5555");
    const CommandResult result = co_await adb.connect(target);
    if (!self)
        co_return;
    appendResult(QStringLiteral("adb connect ") + address, result);
    // "adb connect" exits 0 also when it could not connect.
    const bool linked = ADBService::connectionEstablished(result);
    statusText.set(linked ? QStringLiteral("Команда подключения выполнена") : QStringLiteral("Ошибка подключения"));
    busy.release();
    if (!linked) {
        const QString output = result.combinedOutput().trimmed();
        record(QStringLiteral("Не удалось подключиться"), output.isEmpty() ? address : output, false);
    }
    co_await refreshDevices();
}

QCoro::Task<std::optional<CommandResult>> AppModel::reboot(std::optional<QString> mode)
{
    if (!service || !selectedDeviceID())
        co_return std::nullopt;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    QStringList args{QStringLiteral("reboot")};
    if (mode)
        args << *mode;
    BusyLedger::Token busy = beginBusy(QStringLiteral("Перезагрузка…"));
    const CommandResult result = co_await adb.run(args, *selectedDeviceID());
    if (!self)
        co_return result;
    appendResult(QStringLiteral("adb ") + args.join(QLatin1Char(' ')), result);
    statusText.set(result.succeeded() ? QStringLiteral("Команда перезагрузки отправлена")
                                      : QStringLiteral("Ошибка перезагрузки"));
    busy.release();
    co_return result;
}

QCoro::Task<std::optional<CommandResult>> AppModel::saveScreenshot(QString destination)
{
    if (!service || !selectedDeviceID())
        co_return std::nullopt;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    BusyLedger::Token busy = beginBusy(QStringLiteral("Создание снимка…"));
    const CommandResult result = co_await adb.captureScreenshot(*selectedDeviceID(), destination);
    if (!self)
        co_return result;
    appendResult(QStringLiteral("adb exec-out screencap -p"), result);
    statusText.set(result.succeeded() ? QStringLiteral("Снимок сохранён") : QStringLiteral("Ошибка снимка"));
    busy.release();
    co_return result;
}

QCoro::Task<void> AppModel::takeScreenshot(QString destination)
{
    QPointer<AppModel> self(this);
    const QString name = QFileInfo(destination).fileName();
    const std::optional<CommandResult> result = co_await saveScreenshot(destination);
    if (!self)
        co_return;
    // The capture's own result decides: a file already at the path proves nothing.
    if (!result) {
        record(QStringLiteral("Снимок экрана"), name + QStringLiteral(": устройство не выбрано"), false);
        co_return;
    }
    const QString message = result->combinedOutput().trimmed();
    record(QStringLiteral("Снимок экрана"),
           result->succeeded() || message.isEmpty() ? name : name + QStringLiteral(": ") + message,
           result->succeeded());
}
