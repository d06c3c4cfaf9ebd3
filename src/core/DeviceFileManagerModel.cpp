#include "DeviceFileManagerModel.h"

#include "LocalFiles.h"
#include "PlatformTexts.h"

#include <QCoro/QCoroFuture>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

const QString kFailed = QStringLiteral("Ошибка");
const QString kUnavailable = QStringLiteral("Android-устройство недоступно");
const QString kBadName = QStringLiteral("Укажите корректное имя без символа /.");

QString mac(const QString &text) { return PlatformTexts::text(text); }

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

QString DeviceFileManagerModel::trimmedOutput(const CommandResult &result) { return result.combinedOutput().trimmed(); }

QString DeviceFileManagerModel::joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

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
    BusyLedger::Token busy;
    if (!silent) {
        busy = m_busy.begin();
        statusText.set(QStringLiteral("Чтение ") + path + QStringLiteral("…"));
    }
    const DeviceDirectoryListing listing = co_await binding->adb.listDeviceDirectory(path, binding->serial);
    if (!self)
        co_return ListingOutcome::dropped;
    busy.release();
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
