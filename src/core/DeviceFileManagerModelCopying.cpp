#include "DeviceFileManagerModel.h"

#include "LocalFiles.h"
#include "PlatformTexts.h"

#include <QCoro/QCoroFuture>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// A push refused because the target appeared meanwhile takes the next free name, a few times.
constexpr int kPushAttempts = 16;

QString mac(const QString &text) { return PlatformTexts::text(text); }

} // namespace

// --- copying ---

// One copy after another, `copyOne` doing each: an item reached after the binding ended is
// reported as not copied. False when the model went away meanwhile (nothing of it may be touched).
QCoro::Task<bool> DeviceFileManagerModel::copyEach(const DeviceBinding &binding, QStringList names, qsizetype first,
                                                   QString progress, CopyStep copyOne, QStringList &failures,
                                                   int &copied)
{
    QPointer<DeviceFileManagerModel> self(this);
    const QString total = QString::number(names.size());
    for (qsizetype k = first; k < names.size(); ++k) {
        const QString &name = names.at(k);
        if (!stillBound(binding)) {
            failures << name + QStringLiteral(": не скопировано (") + m_interruption + QLatin1Char(')');
            continue;
        }
        statusText.set(progress + QString::number(k + 1) + QStringLiteral(" из ") + total + QStringLiteral(": ") + name);
        const std::optional<QString> failure = co_await copyOne(k);
        if (!self)
            co_return false;
        if (failure)
            failures << name + QStringLiteral(": ") + *failure;
        else
            ++copied;
    }
    co_return true;
}

QCoro::Task<void> DeviceFileManagerModel::uploadSelected()
{
    const auto binding = pinDevice();
    if (!binding)
        co_return;
    const QList<LocalFileItem> items = selectedLocalItems();
    if (items.isEmpty())
        co_return;
    QPointer<DeviceFileManagerModel> self(this);
    // Everything goes to the folder shown now, whatever the pane shows later.
    const QString folder = deviceDirectory();
    const FileNaming::NameMatch match = nameMatch(folder);
    const QString total = QString::number(items.size());
    QStringList failures;
    int copied = 0;
    BusyLedger::Token busy = m_busy.begin();
    statusText.set(QStringLiteral("Чтение ") + folder + QStringLiteral("…"));

    // Free names are chosen against what the folder holds right now.
    const quint64 ticket = ++m_deviceTickets;
    const DeviceDirectoryListing listing = co_await binding->adb.listDeviceDirectory(folder, binding->serial);
    if (!self)
        co_return;
    qsizetype next = 0;
    if (!stillBound(*binding)) {
        // the loop below reports every item
    } else if (!listing.result.succeeded()) {
        const QString output = trimmedOutput(listing.result);
        failures << QStringLiteral("Папка ") + folder + QStringLiteral(" не прочитана: ") +
                        (output.isEmpty() ? QStringLiteral("Android не разрешил открыть ") + folder : output);
        for (const LocalFileItem &item : items)
            failures << item.name + QStringLiteral(": не скопировано");
        next = items.size();
    } else if (deviceDirectory() == folder && ticket > m_appliedDeviceTicket) {
        showDeviceListing(folder, listing.items, ticket);
    }
    QSet<QString> used;
    for (const DeviceFileItem &entry : listing.items)
        if (entry.isUsable())
            used.insert(FileNaming::nameKey(entry.name, match));

    QStringList names;
    for (const LocalFileItem &item : items)
        names << item.name;
    const auto push = [&](qsizetype k) -> QCoro::Task<std::optional<QString>> {
        const LocalFileItem &item = items.at(k);
        CommandResult result;
        for (int attempt = 0; attempt < kPushAttempts; ++attempt) {
            const QString target = FileNaming::uniqueFileName(item.name, used, match);
            result = co_await binding->adb.pushLocalItem(item.url, deviceChildPath(folder, target), binding->serial);
            if (!self)
                co_return std::nullopt;
            // Something the listing did not show has that name: take the next free one.
            if (result.exitCode != ADBService::kTargetExistsExitCode || !stillBound(*binding))
                break;
        }
        co_return result.succeeded() ? std::nullopt : std::optional(result.combinedOutput());
    };
    if (!co_await copyEach(*binding, names, next, QStringLiteral("На Android "), push, failures, copied))
        co_return;
    busy.release();
    co_await refreshDevice(true);
    if (!self)
        co_return;
    statusText.set(QStringLiteral("Скопировано на Android: ") + QString::number(copied) + QStringLiteral(" из ") +
                   total);
    reportBatch(failures);
}

QCoro::Task<void> DeviceFileManagerModel::downloadSelected()
{
    const auto binding = pinDevice();
    if (!binding)
        co_return;
    const QList<DeviceFileItem> items = selectedDeviceItems();
    if (items.isEmpty())
        co_return;
    QPointer<DeviceFileManagerModel> self(this);
    // The pane shows what the folder holds now, files added since the last listing included.
    co_await refreshLocal();
    if (!self)
        co_return;
    // Everything goes to the computer's folder shown now.
    const QString folder = localDirectory();
    const QString total = QString::number(items.size());
    QStringList failures;
    int copied = 0;
    BusyLedger::Token busy = m_busy.begin();
    QStringList names;
    for (const DeviceFileItem &item : items)
        names << item.name;
    const auto pull = [&](qsizetype k) -> QCoro::Task<std::optional<QString>> {
        const DeviceFileItem &item = items.at(k);
        // Anything with the name counts, a link whose target is gone too: pull would write through it.
        const QString itemName = item.name;
        const bool keepExtension = !item.isDirectory;
        const QString name = co_await QtConcurrent::run(processThreadPool(), [folder, itemName, keepExtension] {
            return LocalFiles::freeName(folder, itemName, keepExtension);
        });
        if (!self)
            co_return std::nullopt;
        const QString destination = joinPath(folder, name);
        const CommandResult result = co_await binding->adb.pullDeviceItem(item.path, destination, binding->serial);
        if (result.succeeded() && LocalFiles::isTaken(destination))
            co_return std::nullopt;
        co_return result.combinedOutput();
    };
    if (!co_await copyEach(*binding, names, 0, mac(QStringLiteral("На Mac ")), pull, failures, copied))
        co_return;
    busy.release();
    co_await refreshLocal();
    if (!self)
        co_return;
    statusText.set(mac(QStringLiteral("Скопировано на Mac: ")) + QString::number(copied) + QStringLiteral(" из ") +
                   total);
    reportBatch(failures);
}
