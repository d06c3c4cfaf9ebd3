#include "AppModel.h"

#include "bridge/PackageName.h"

#include <QPointer>

#include <algorithm>

namespace {

QStringList sortedNames(const QSet<QString> &names)
{
    QStringList list(names.begin(), names.end());
    std::sort(list.begin(), list.end());
    return list;
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
    ++runningPackageBatches;
    isBusy.set(true);
    statusText.set(title + QStringLiteral("…"));
    runningOperation.set(RunningOperation{title, std::nullopt, 0.0, false});

    int failures = 0;
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
        if (!result.succeeded())
            ++failures;
    }

    runningOperation.set(std::nullopt);
    statusText.set(failures == 0 ? QStringLiteral("Операция завершена: %1").arg(n)
                                 : QStringLiteral("Завершено с ошибками: %1").arg(failures));
    record(title,
           failures == 0 ? QStringLiteral("Обработано пакетов: %1").arg(n)
                         : QStringLiteral("Ошибок: %1 из %2").arg(failures).arg(n),
           failures == 0);
    --runningPackageBatches;
    refreshBusy();

    co_await refreshPackages(false);
    if (!self)
        co_return;
    co_await refreshSnapshot(true);
}

void AppModel::clearPackageActionDeviceState()
{
    pendingAction.set(std::nullopt);
    pendingActionPackages.clear();
}
