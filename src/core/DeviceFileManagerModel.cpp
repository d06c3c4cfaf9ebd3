#include "DeviceFileManagerModel.h"

#include "LocalFiles.h"
#include "PlatformTexts.h"

#include <QCoro/QCoroFuture>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

const QString kFailed = QStringLiteral("Ошибка");
const QString kUnavailable = QStringLiteral("Android-устройство недоступно");
const QString kBadName = QStringLiteral("Укажите корректное имя без символа /.");
// A push refused because the target appeared meanwhile takes the next free name, a few times.
constexpr int kPushAttempts = 16;

QString mac(const QString &text) { return PlatformTexts::text(text); }

QString trimmedOutput(const CommandResult &result) { return result.combinedOutput().trimmed(); }

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString cleanLocal(const QString &path) { return QDir::cleanPath(QDir(path).absolutePath()); }

bool underFolder(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

} // namespace

DeviceFileManagerModel::DeviceFileManagerModel(QString homeFolder, QObject *parent)
    : Observable(parent), m_home(cleanLocal(homeFolder))
{
    const QString downloads = joinPath(m_home, QStringLiteral("Downloads"));
    const QString start = LocalFiles::isTaken(downloads) ? downloads : m_home;
    localDirectory.set(start);
    localPathInput.set(start);
    m_shownLocalDirectory = start;
}

DeviceFileManagerModel::~DeviceFileManagerModel() { stop(); }

// --- state ---

QList<LocalFileItem> DeviceFileManagerModel::selectedLocalItems() const
{
    QList<LocalFileItem> out;
    if (localSelection().isEmpty())
        return out;
    for (const LocalFileItem &item : localItems())
        if (localSelection().contains(item.url))
            out.append(item);
    return out;
}

QList<DeviceFileItem> DeviceFileManagerModel::selectedDeviceItems() const
{
    QList<DeviceFileItem> out;
    if (deviceSelection().isEmpty())
        return out;
    for (const DeviceFileItem &item : deviceItems())
        if (item.isUsable() && deviceSelection().contains(item.path))
            out.append(item);
    return out;
}

std::optional<DeviceFileManagerModel::DeviceBinding> DeviceFileManagerModel::pinDevice() const
{
    if (!m_service || !m_serial)
        return std::nullopt;
    return DeviceBinding{*m_service, *m_serial, m_generation};
}

void DeviceFileManagerModel::stop()
{
    ++m_generation;
    m_interruption = QStringLiteral("работа остановлена");
}

void DeviceFileManagerModel::beginBusy()
{
    ++m_busyDepth;
    isBusy.set(true);
}

void DeviceFileManagerModel::endBusy()
{
    m_busyDepth = std::max(0, m_busyDepth - 1);
    isBusy.set(m_busyDepth > 0);
}

void DeviceFileManagerModel::fail(const QString &message)
{
    errorMessage.set(message);
    statusText.set(kFailed);
}

void DeviceFileManagerModel::reportBatch(const QStringList &failures)
{
    if (!failures.isEmpty())
        fail(failures.join(QLatin1Char('\n')));
}

std::optional<QString> DeviceFileManagerModel::acceptableName(const QString &raw)
{
    const QString name = raw.trimmed();
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return std::nullopt;
    return name;
}

std::optional<QString> DeviceFileManagerModel::validatedName(const QString &raw)
{
    const auto name = acceptableName(raw);
    if (!name)
        fail(kBadName);
    return name;
}

// --- device paths ---

QString DeviceFileManagerModel::deviceChildPath(const QString &parent, const QString &name)
{
    return parent == QStringLiteral("/") ? QLatin1Char('/') + name : parent + QLatin1Char('/') + name;
}

QString DeviceFileManagerModel::normalizedDevicePath(const QString &path, const QString &base)
{
    QString text = path.trimmed();
    if (!text.startsWith(QLatin1Char('/')))
        text = deviceChildPath(base, text);
    QStringList kept;
    for (const QString &part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QStringLiteral("."))
            continue;
        if (part == QStringLiteral("..")) {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(part);
    }
    return QLatin1Char('/') + kept.join(QLatin1Char('/'));
}

QString DeviceFileManagerModel::parentDevicePath(const QString &path)
{
    const QString normal = normalizedDevicePath(path, QStringLiteral("/"));
    if (normal == QStringLiteral("/"))
        return normal;
    const QString parent = normal.left(normal.lastIndexOf(QLatin1Char('/')));
    return parent.isEmpty() ? QStringLiteral("/") : parent;
}

FileNaming::NameMatch DeviceFileManagerModel::nameMatch(const QString &deviceFolder)
{
    // Emulated and removable storage (FUSE, sdcardfs, FAT, exFAT) fold letter case; when in doubt
    // a name counts as taken, which only ever picks a further free name.
    const QString folder = normalizedDevicePath(deviceFolder, QStringLiteral("/"));
    for (const QString &root : {QStringLiteral("/sdcard"), QStringLiteral("/mnt/sdcard"), QStringLiteral("/data/media"),
                               QStringLiteral("/mnt/media_rw"), QStringLiteral("/mnt/user")}) {
        if (underFolder(folder, root))
            return FileNaming::NameMatch::ignoringCase;
    }
    if (folder.startsWith(QStringLiteral("/storage/")))
        return FileNaming::NameMatch::ignoringCase;
    return FileNaming::NameMatch::exact;
}

// --- binding and listings ---

QCoro::Task<void> DeviceFileManagerModel::configure(std::optional<ADBService> service, std::optional<QString> serial)
{
    QPointer<DeviceFileManagerModel> self(this);
    const bool changed = serial != m_serial || (service ? std::optional(service->executableURL) : std::nullopt) !=
                                                   (m_service ? std::optional(m_service->executableURL) : std::nullopt);
    m_service = std::move(service);
    m_serial = std::move(serial);
    if (changed) {
        ++m_generation;
        m_interruption = QStringLiteral("устройство сменилось");
        m_shownDeviceDirectory = kStartDeviceDirectory;
        m_deviceListingTrusted = false;
        m_appliedDeviceTicket = m_deviceTickets;
        deviceDirectory.set(kStartDeviceDirectory);
        devicePathInput.set(deviceDirectory());
        deviceItems.set({});
        deviceSelection.set({});
    }
    isDeviceReady.set(m_service.has_value() && m_serial.has_value());
    co_await refreshLocal();
    if (!self)
        co_return;
    if (!m_serial) {
        statusText.set(kUnavailable);
        co_return;
    }
    co_await refreshDevice(false);
}

QCoro::Task<DeviceFileManagerModel::ListingOutcome> DeviceFileManagerModel::refreshLocal()
{
    QPointer<DeviceFileManagerModel> self(this);
    const QString folder = localDirectory();
    const bool hidden = showHiddenFiles();
    const quint64 ticket = ++m_localTickets;
    // Off the main thread: a folder may hold many thousands of entries.
    LocalFiles::Listing listing =
        co_await QtConcurrent::run(processThreadPool(), [folder, hidden] { return LocalFiles::list(folder, hidden); });
    if (!self || localDirectory() != folder || ticket < m_appliedLocalTicket)
        co_return ListingOutcome::dropped;
    if (listing.error) {
        fail(mac(QStringLiteral("Не удалось открыть папку Mac: ")) + *listing.error);
        // The pane keeps the entries it shows, so the model goes back to their folder.
        if (folder != m_shownLocalDirectory) {
            localDirectory.set(m_shownLocalDirectory);
            localPathInput.set(m_shownLocalDirectory);
        }
        co_return ListingOutcome::failed;
    }
    m_appliedLocalTicket = ticket;
    m_shownLocalDirectory = folder;
    localItems.set(std::move(listing.items));
    if (!localSelection().isEmpty()) {
        QSet<QString> listed;
        for (const LocalFileItem &item : localItems())
            listed.insert(item.url);
        localSelection.set(localSelection() & listed);
    }
    localPathInput.set(folder);
    co_return ListingOutcome::shown;
}

void DeviceFileManagerModel::showDeviceListing(const QString &path, QList<DeviceFileItem> items, quint64 ticket)
{
    m_appliedDeviceTicket = ticket;
    m_shownDeviceDirectory = path;
    m_deviceListingTrusted = true;
    deviceItems.set(std::move(items));
    if (!deviceSelection().isEmpty()) {
        QSet<QString> listed;
        for (const DeviceFileItem &item : deviceItems())
            listed.insert(item.path);
        deviceSelection.set(deviceSelection() & listed);
    }
    devicePathInput.set(path);
}

QCoro::Task<DeviceFileManagerModel::ListingOutcome> DeviceFileManagerModel::refreshDevice(bool silent)
{
    const auto binding = pinDevice();
    if (!binding) {
        deviceItems.set({});
        deviceSelection.set({});
        m_shownDeviceDirectory = deviceDirectory();
        m_deviceListingTrusted = false;
        if (!silent)
            statusText.set(kUnavailable);
        co_return ListingOutcome::unavailable;
    }
    QPointer<DeviceFileManagerModel> self(this);
    const QString path = deviceDirectory();
    const quint64 ticket = ++m_deviceTickets;
    if (!silent) {
        beginBusy();
        statusText.set(QStringLiteral("Чтение ") + path + QStringLiteral("…"));
    }
    const DeviceDirectoryListing listing = co_await binding->adb.listDeviceDirectory(path, binding->serial);
    if (!self)
        co_return ListingOutcome::dropped;
    if (!silent)
        endBusy();
    // Another device, another folder, or an answer older than the one shown.
    if (!stillBound(*binding) || deviceDirectory() != path || ticket < m_appliedDeviceTicket)
        co_return ListingOutcome::dropped;
    if (listing.result.succeeded()) {
        const qsizetype count = listing.items.size();
        const qsizetype unusable = std::count_if(listing.items.cbegin(), listing.items.cend(),
                                                 [](const DeviceFileItem &item) { return !item.isUsable(); });
        showDeviceListing(path, listing.items, ticket);
        if (!silent)
            statusText.set(QStringLiteral("Объектов на Android: ") + QString::number(count) +
                           (unusable > 0 ? QStringLiteral(" · недоступны (имя не в UTF-8): ") + QString::number(unusable)
                                         : QString()));
        co_return ListingOutcome::shown;
    }
    const QString output = trimmedOutput(listing.result);
    fail(output.isEmpty() ? QStringLiteral("Android не разрешил открыть ") + path : output);
    if (path != m_shownDeviceDirectory) {
        // The pane still shows the entries of the folder before: the model goes back there, so
        // the next folder, upload or rename lands where the user is looking.
        deviceDirectory.set(m_shownDeviceDirectory);
        devicePathInput.set(m_shownDeviceDirectory);
    } else {
        m_deviceListingTrusted = false;
    }
    co_return ListingOutcome::failed;
}

// --- navigation ---

QCoro::Task<void> DeviceFileManagerModel::moveLocalTo(QString folder)
{
    localDirectory.set(folder);
    localSelection.set({});
    co_await refreshLocal();
}

QCoro::Task<void> DeviceFileManagerModel::openLocal(LocalFileItem item)
{
    if (item.isDirectory) {
        co_await moveLocalTo(cleanLocal(item.url));
        co_return;
    }
    if (!pathOpener)
        co_return;
    // The desktop would run a program or a launcher: show it in its folder instead.
    pathOpener(LocalFiles::couldLaunchProgram(item.url) ? QFileInfo(item.url).absolutePath() : item.url);
}

QCoro::Task<void> DeviceFileManagerModel::openDevice(DeviceFileItem item)
{
    if (!item.isDirectory || !item.isUsable())
        co_return;
    deviceDirectory.set(item.path);
    devicePathInput.set(item.path);
    deviceSelection.set({});
    co_await refreshDevice(false);
}

QCoro::Task<void> DeviceFileManagerModel::goToLocalParent()
{
    const QString current = localDirectory();
    const QString parent = current == QStringLiteral("/") ? current : QFileInfo(current).absolutePath();
    if (parent == current)
        co_return;
    co_await moveLocalTo(parent);
}

QCoro::Task<void> DeviceFileManagerModel::goToDeviceParent()
{
    if (deviceDirectory() == QStringLiteral("/"))
        co_return;
    deviceDirectory.set(parentDevicePath(deviceDirectory()));
    devicePathInput.set(deviceDirectory());
    deviceSelection.set({});
    co_await refreshDevice(false);
}

QCoro::Task<void> DeviceFileManagerModel::goToLocalPath()
{
    QString typed = localPathInput();
    if (typed == QStringLiteral("~") || typed.startsWith(QStringLiteral("~/")))
        typed = m_home + typed.mid(1);
    const QString resolved = QDir::cleanPath(QDir(localDirectory()).absoluteFilePath(typed));
    if (!typed.isEmpty() && QFileInfo(resolved).isDir()) {
        co_await moveLocalTo(resolved);
        co_return;
    }
    fail(mac(QStringLiteral("Папка Mac не найдена: ")) + typed);
    localPathInput.set(localDirectory());
}

QCoro::Task<void> DeviceFileManagerModel::goToDevicePath()
{
    deviceDirectory.set(normalizedDevicePath(devicePathInput(), deviceDirectory()));
    devicePathInput.set(deviceDirectory());
    deviceSelection.set({});
    // A failed listing itself brings back the folder whose entries are shown.
    co_await refreshDevice(false);
}

QCoro::Task<void> DeviceFileManagerModel::chooseLocalDirectory(QString path)
{
    co_await moveLocalTo(cleanLocal(path));
}

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
    beginBusy();
    statusText.set(QStringLiteral("Создание папки…"));
    const CommandResult result =
        co_await binding->adb.createDeviceDirectory(deviceChildPath(folder, name), binding->serial);
    if (!self)
        co_return;
    endBusy();
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
    beginBusy();
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
    endBusy();
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
    beginBusy();
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
    endBusy();
    deviceSelection.set({});
    co_await refreshDevice(true);
    if (!self)
        co_return;
    if (failures.isEmpty())
        statusText.set(QStringLiteral("Удалено с Android: ") + total);
    reportBatch(failures);
}

// --- copying ---

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
    beginBusy();
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

    for (qsizetype k = next; k < items.size(); ++k) {
        const LocalFileItem &item = items.at(k);
        if (!stillBound(*binding)) {
            failures << item.name + QStringLiteral(": не скопировано (") + m_interruption + QLatin1Char(')');
            continue;
        }
        statusText.set(QStringLiteral("На Android ") + QString::number(k + 1) + QStringLiteral(" из ") + total +
                       QStringLiteral(": ") + item.name);
        CommandResult result;
        for (int attempt = 0; attempt < kPushAttempts; ++attempt) {
            const QString target = FileNaming::uniqueFileName(item.name, used, match);
            result = co_await binding->adb.pushLocalItem(item.url, deviceChildPath(folder, target), binding->serial);
            if (!self)
                co_return;
            // Something the listing did not show has that name: take the next free one.
            if (result.exitCode != ADBService::kTargetExistsExitCode || !stillBound(*binding))
                break;
        }
        if (result.succeeded())
            ++copied;
        else
            failures << item.name + QStringLiteral(": ") + result.combinedOutput();
    }
    endBusy();
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
    beginBusy();
    for (qsizetype k = 0; k < items.size(); ++k) {
        const DeviceFileItem &item = items.at(k);
        if (!stillBound(*binding)) {
            failures << item.name + QStringLiteral(": не скопировано (") + m_interruption + QLatin1Char(')');
            continue;
        }
        statusText.set(mac(QStringLiteral("На Mac ")) + QString::number(k + 1) + QStringLiteral(" из ") + total +
                       QStringLiteral(": ") + item.name);
        // Anything with the name counts, a link whose target is gone too: pull would write through it.
        const QString itemName = item.name;
        const bool keepExtension = !item.isDirectory;
        const QString name = co_await QtConcurrent::run(processThreadPool(), [folder, itemName, keepExtension] {
            return LocalFiles::freeName(folder, itemName, keepExtension);
        });
        if (!self)
            co_return;
        const QString destination = joinPath(folder, name);
        const CommandResult result = co_await binding->adb.pullDeviceItem(item.path, destination, binding->serial);
        if (!self)
            co_return;
        if (result.succeeded() && LocalFiles::isTaken(destination))
            ++copied;
        else
            failures << item.name + QStringLiteral(": ") + result.combinedOutput();
    }
    endBusy();
    co_await refreshLocal();
    if (!self)
        co_return;
    statusText.set(mac(QStringLiteral("Скопировано на Mac: ")) + QString::number(copied) + QStringLiteral(" из ") +
                   total);
    reportBatch(failures);
}
