#include "AppModel.h"

#include "bridge/PackageName.h"

#include <QPointer>

#include <algorithm>
#include <optional>

namespace {

QStringList sortedNames(const QSet<QString> &names)
{
    QStringList list(names.begin(), names.end());
    std::sort(list.begin(), list.end());
    return list;
}

// Whether a package that is (or is not) installed for user 0 and disabled shows `action` done;
// none when these cannot tell (clearing data leaves no mark in them).
std::optional<bool> showsDone(PackageAction action, bool installed, bool disabled)
{
    switch (action) {
    case PackageAction::disable: return installed && disabled;
    case PackageAction::enable: return installed && !disabled;
    case PackageAction::uninstall: return !installed;
    case PackageAction::restore: return installed;
    case PackageAction::clearData: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

void AppModel::request(PackageAction action)
{
    if (selectedPackageIDs().isEmpty())
        return;
    // The list is taken now: a refresh landing before the confirmation must not
    // change what the user agreed to.
    const QStringList names = sortedNames(selectedPackageIDs());
    if (isDestructive(action)) {
        pendingActionPackages = names;
        pendingAction.set(action);
        return;
    }
    execute(action, names); // runs on by itself
}

void AppModel::confirmPendingAction()
{
    if (!pendingAction())
        return;
    const PackageAction action = *pendingAction();
    const QStringList names = std::exchange(pendingActionPackages, {});
    pendingAction.set(std::nullopt);
    execute(action, names); // runs on by itself
}

void AppModel::cancelPendingAction()
{
    pendingActionPackages.clear();
    pendingAction.set(std::nullopt);
}

QCoro::Task<void> AppModel::execute(PackageAction action, std::optional<QStringList> packageNames)
{
    if (!service || !selectedDeviceID())
        co_return;
    const QString serial = *selectedDeviceID();
    const QStringList names = packageNames ? *packageNames : sortedNames(selectedPackageIDs());
    if (names.isEmpty())
        co_return;

    QPointer<AppModel> self(this);
    const ADBService adb = *service;
    const QString title = rawValue(action);
    const qsizetype n = names.size();
    // A batch counts until its summary, also past a device change: it reports every package.
    BusyLedger::Token busy = busyLedger.begin(BusyLedger::Lifetime::untilDone);
    statusText.set(title + QStringLiteral("…"));
    runningOperation.set(RunningOperation{title, std::nullopt, 0.0, false});

    int failures = 0;
    QStringList unconfirmed;
    for (qsizetype i = 0; i < n; ++i) {
        const QString &name = names[i];
        runningOperation.set(RunningOperation{title, QStringLiteral("%1 из %2 · %3").arg(i + 1).arg(n).arg(name),
                                              double(i) / double(n), false});
        const QStringList arguments = commandArguments(action, name);
        // A name from a preset file or a plan is checked before it reaches the device.
        const CommandResult result =
            isValidPackageName(name) ? co_await adb.run(arguments, serial) : invalidPackageNameResult(name);
        if (!self)
            co_return;
        appendResult(arguments.join(QLatin1Char(' ')), result);
        if (!result.succeeded()) {
            ++failures;
        } else if (!confirmsAction(action, result)) {
            unconfirmed << name;
            appendLog(name + QStringLiteral(": код 0, но устройство не подтвердило действие (связь могла прерваться)"));
        }
    }
    if (!unconfirmed.isEmpty()) {
        runningOperation.set(RunningOperation{title, QStringLiteral("Проверка результата на устройстве…"),
                                              double(n - 1) / double(n), false});
        const std::optional<QStringList> done = co_await doneOnDevice(action, unconfirmed, serial, adb);
        if (!self)
            co_return;
        failures += int(unconfirmed.size() - (done ? done->size() : 0));
        // The list is read again below; the model may not have seen the device come back yet.
        const auto device = selectedDevice();
        if (done && selectedDeviceID() == serial && !(device && device->isReady())) {
            co_await refreshDevices();
            if (!self)
                co_return;
        }
    }

    runningOperation.set(std::nullopt);
    statusText.set(failures == 0 ? QStringLiteral("Операция завершена: %1").arg(n)
                                 : QStringLiteral("Завершено с ошибками: %1").arg(failures));
    record(title,
           failures == 0 ? QStringLiteral("Обработано пакетов: %1").arg(n)
                         : QStringLiteral("Ошибок: %1 из %2").arg(failures).arg(n),
           failures == 0);
    busy.release();

    co_await refreshPackages(false);
    if (!self)
        co_return;
    co_await refreshSnapshot(true);
}

QCoro::Task<std::optional<QStringList>> AppModel::doneOnDevice(PackageAction action, QStringList names, QString serial, ADBService adb)
{
    if (!showsDone(action, true, false)) {
        appendLog(QStringLiteral("Результат не подтверждён устройством и не может быть проверен: ") +
                  names.join(QStringLiteral(", ")));
        co_return std::nullopt;
    }
    QPointer<AppModel> self(this);
    appendLog(QStringLiteral("Связь с устройством прерывалась: результат проверяется по состоянию пакетов"));
    // adb brings a network device back by itself, a rebooted phone comes back once it has started.
    const CommandResult back = co_await adb.run({QStringLiteral("wait-for-device")}, serial, deviceReturnTimeout);
    if (!self)
        co_return std::nullopt;
    if (!back.succeeded()) {
        appendLog(QStringLiteral("Устройство не вернулось: результат не проверен"));
        co_return std::nullopt;
    }
    const QStringList list{QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list"),
                           QStringLiteral("packages")};
    auto installedRun = adb.run(list + QStringList{QStringLiteral("--user"), QStringLiteral("0")}, serial);
    auto disabledRun = adb.run(list + QStringList{QStringLiteral("-d"), QStringLiteral("--user"), QStringLiteral("0")},
                               serial);
    const CommandResult installed = co_await std::move(installedRun);
    const CommandResult disabled = co_await std::move(disabledRun);
    if (!self)
        co_return std::nullopt;
    const QSet<QString> installedNames = ADBService::parsePackageNames(installed.stdOut);
    // An empty list is an answer cut short as well: no phone runs without packages.
    if (!installed.succeeded() || !disabled.succeeded() || installedNames.isEmpty()) {
        appendLog(QStringLiteral("Состояние пакетов не прочитано: результат не проверен"));
        co_return std::nullopt;
    }
    const QSet<QString> disabledNames = ADBService::parsePackageNames(disabled.stdOut);
    QStringList done;
    for (const QString &name : names) {
        const bool applied = showsDone(action, installedNames.contains(name), disabledNames.contains(name)).value_or(false);
        appendLog(name + (applied ? QStringLiteral(": по состоянию на устройстве действие выполнено")
                                  : QStringLiteral(": по состоянию на устройстве действие не выполнено")));
        if (applied)
            done << name;
    }
    co_return done;
}

void AppModel::clearPackageActionDeviceState()
{
    pendingAction.set(std::nullopt);
    pendingActionPackages.clear();
}
