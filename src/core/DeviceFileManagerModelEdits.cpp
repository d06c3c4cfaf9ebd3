#include "DeviceFileManagerModel.h"

#include "LocalFiles.h"

#include <QCoro/QCoroFuture>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

// --- create, rename, delete ---

QCoro::Task<void> DeviceFileManagerModel::createFolder(QString name, FileManagerSide side)
{
    const auto valid = validatedName(name);
    if (!valid)
        co_return;
    if (side == FileManagerSide::local)
        co_await createLocalFolder(*valid);
    else
        co_await createDeviceFolder(*valid);
}

QCoro::Task<void> DeviceFileManagerModel::renameSelected(QString name, FileManagerSide side)
{
    const auto valid = validatedName(name);
    if (!valid)
        co_return;
    if (side == FileManagerSide::local)
        co_await renameLocal(*valid);
    else
        co_await renameDevice(*valid);
}

QCoro::Task<void> DeviceFileManagerModel::deleteSelected(FileManagerSide side)
{
    if (side == FileManagerSide::local)
        co_await trashLocalSelection();
    else
        co_await deleteDeviceSelection();
}

QCoro::Task<void> DeviceFileManagerModel::createLocalFolder(QString name)
{
    QPointer<DeviceFileManagerModel> self(this);
    const QString folder = localDirectory();
    const QString target = joinPath(folder, name);
    const bool taken = co_await QtConcurrent::run(processThreadPool(),
                                                  [folder, name] { return LocalFiles::isNameTaken(folder, name); });
    if (!self)
        co_return;
    if (taken) {
        fail(QStringLiteral("Объект «") + name + QStringLiteral("» уже существует"));
        co_return;
    }
    if (const QString error = LocalFiles::createFolder(target); !error.isEmpty()) {
        fail(QStringLiteral("Не удалось создать папку: ") + error);
        co_return;
    }
    statusText.set(QStringLiteral("Папка создана: ") + name);
    co_await refreshLocal();
}

QCoro::Task<void> DeviceFileManagerModel::renameLocal(QString name)
{
    const QList<LocalFileItem> selected = selectedLocalItems();
    if (selected.size() != 1)
        co_return;
    const LocalFileItem item = selected.first();
    // The same name, perhaps composed otherwise: nothing to do.
    if (FileNaming::nameKey(name, FileNaming::NameMatch::exact) ==
        FileNaming::nameKey(item.name, FileNaming::NameMatch::exact))
        co_return;
    // The item's own folder: the pane may already be on its way elsewhere.
    const QString folder = QFileInfo(item.url).absolutePath();
    const QString destination = joinPath(folder, name);
    QPointer<DeviceFileManagerModel> self(this);
    const bool taken = co_await QtConcurrent::run(processThreadPool(),
                                                  [folder, name] { return LocalFiles::isNameTaken(folder, name); });
    if (!self)
        co_return;
    if (taken) {
        fail(QStringLiteral("Объект «") + name + QStringLiteral("» уже существует"));
        co_return;
    }
    if (const QString error = LocalFiles::renameWithoutReplacing(item.url, destination); !error.isEmpty()) {
        fail(QStringLiteral("Не удалось переименовать: ") + error);
        co_return;
    }
    statusText.set(QStringLiteral("Переименовано: ") + name);
    localSelection.set({destination});
    co_await refreshLocal();
}

QCoro::Task<void> DeviceFileManagerModel::trashLocalSelection()
{
    const QList<LocalFileItem> items = selectedLocalItems();
    if (items.isEmpty())
        co_return;
    QPointer<DeviceFileManagerModel> self(this);
    QStringList failures;
    for (const LocalFileItem &item : items) {
        QFile file(item.url);
        if (!file.moveToTrash())
            failures << item.name + QStringLiteral(": ") + file.errorString();
    }
    localSelection.set({});
    co_await refreshLocal();
    if (!self)
        co_return;
    if (failures.isEmpty())
        statusText.set(QStringLiteral("Перемещено в Корзину: ") + QString::number(items.size()));
    reportBatch(failures);
}

bool DeviceFileManagerModel::deviceNameListed(const QString &folder, const QString &name,
                                              const QString &exceptPath) const
{
    // Only a listing of that very folder that did not fail can tell; otherwise the device
    // command decides (it refuses an existing target).
    if (!m_deviceListingTrusted || folder != m_shownDeviceDirectory)
        return false;
    const FileNaming::NameMatch match = nameMatch(folder);
    const QString key = FileNaming::nameKey(name, match);
    // A name that is not UTF-8 never equals one typed or copied here.
    for (const DeviceFileItem &item : deviceItems())
        if (item.isUsable() && item.path != exceptPath && FileNaming::nameKey(item.name, match) == key)
            return true;
    return false;
}

void DeviceFileManagerModel::reportDeviceOperation(const CommandResult &result)
{
    if (result.succeeded()) {
        statusText.set(QStringLiteral("Операция завершена"));
        return;
    }
    const QString output = trimmedOutput(result);
    fail(output.isEmpty() ? QStringLiteral("Команда ADB завершилась с ошибкой") : output);
}

QCoro::Task<void> DeviceFileManagerModel::createDeviceFolder(QString name)
{
    const auto binding = pinDevice();
    if (!binding)
        co_return;
    const QString folder = deviceDirectory();
    if (deviceNameListed(folder, name, QString())) {
        fail(QStringLiteral("Объект «") + name + QStringLiteral("» уже существует на Android"));
        co_return;
    }
    QPointer<DeviceFileManagerModel> self(this);
    BusyLedger::Token busy = m_busy.begin();
    statusText.set(QStringLiteral("Создание папки…"));
    const CommandResult result =
        co_await binding->adb.createDeviceDirectory(deviceChildPath(folder, name), binding->serial);
    if (!self)
        co_return;
    busy.release();
    reportDeviceOperation(result);
    co_await refreshDevice(true);
}

QCoro::Task<void> DeviceFileManagerModel::renameDevice(QString name)
{
    const auto binding = pinDevice();
    if (!binding)
        co_return;
    const QList<DeviceFileItem> selected = selectedDeviceItems();
    if (selected.size() != 1)
        co_return;
    const DeviceFileItem item = selected.first();
    // The item's own folder: the pane may already be on its way elsewhere.
    const QString folder = parentDevicePath(item.path);
    const QString target = deviceChildPath(folder, name);
    // The same name, perhaps composed otherwise: nothing to do.
    if (FileNaming::nameKey(name, FileNaming::NameMatch::exact) ==
        FileNaming::nameKey(item.name, FileNaming::NameMatch::exact))
        co_return;
    if (deviceNameListed(folder, name, item.path)) {
        fail(QStringLiteral("Объект «") + name + QStringLiteral("» уже существует на Android"));
        co_return;
    }
    QPointer<DeviceFileManagerModel> self(this);
    BusyLedger::Token busy = m_busy.begin();
    statusText.set(QStringLiteral("Переименование…"));
    const ADBService &adb = binding->adb;
    CommandResult result;
    const FileNaming::NameMatch match = nameMatch(folder);
    if (match == FileNaming::NameMatch::ignoringCase &&
        FileNaming::nameKey(item.name, match) == FileNaming::nameKey(name, match)) {
        // Only the letter case changes: such storage sees the new name as taken by the item
        // itself, so the item moves through a temporary name (and back should the second step fail).
        const QString temporary = deviceChildPath(
            folder, QStringLiteral(".kestrel-rename-") + QUuid::createUuid().toString(QUuid::Id128).left(12));
        result = co_await adb.moveDeviceItem(item.path, temporary, binding->serial);
        if (!self)
            co_return;
        if (result.succeeded()) {
            result = co_await adb.moveDeviceItem(temporary, target, binding->serial);
            if (!self)
                co_return;
            if (!result.succeeded()) {
                co_await adb.moveDeviceItem(temporary, item.path, binding->serial);
                if (!self)
                    co_return;
            }
        }
    } else {
        result = co_await adb.moveDeviceItem(item.path, target, binding->serial);
        if (!self)
            co_return;
    }
    busy.release();
    reportDeviceOperation(result);
    co_await refreshDevice(true);
}

QCoro::Task<void> DeviceFileManagerModel::deleteDeviceSelection()
{
    const auto binding = pinDevice();
    if (!binding)
        co_return;
    const QList<DeviceFileItem> items = selectedDeviceItems();
    if (items.isEmpty())
        co_return;
    QPointer<DeviceFileManagerModel> self(this);
    const QString total = QString::number(items.size());
    QStringList failures;
    BusyLedger::Token busy = m_busy.begin();
    for (qsizetype k = 0; k < items.size(); ++k) {
        const DeviceFileItem &item = items.at(k);
        if (!stillBound(*binding)) {
            failures << item.name + QStringLiteral(": не удалено (") + m_interruption + QLatin1Char(')');
            continue;
        }
        statusText.set(QStringLiteral("Удаление ") + QString::number(k + 1) + QStringLiteral(" из ") + total +
                       QStringLiteral("…"));
        const CommandResult result = co_await binding->adb.removeDeviceItem(item.path, binding->serial);
        if (!self)
            co_return;
        if (!result.succeeded())
            failures << item.name + QStringLiteral(": ") + result.combinedOutput();
    }
    busy.release();
    deviceSelection.set({});
    co_await refreshDevice(true);
    if (!self)
        co_return;
    if (failures.isEmpty())
        statusText.set(QStringLiteral("Удалено с Android: ") + total);
    reportBatch(failures);
}
