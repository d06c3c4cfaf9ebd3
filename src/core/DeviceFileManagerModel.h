#pragma once

#include "core/BusyLedger.h"
#include "core/FileNaming.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

#include "bridge/ADBService.h"
#include "bridge/DeviceFileItem.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>
#include <tuple>

// The two-pane file manager: a folder of this computer and a folder of the device, with the
// operations between them. One model per place that shows it (the files route, the file-manager
// window); it reaches the device only through the adb service handed to `configure` and runs
// wholly on the main thread. Nothing of the user's is replaced: names the model chooses are free
// names, the device commands refuse an existing target, and a local rename never overwrites.
//
// Every device batch pins the service, serial and folders it works on when it starts; another
// device (or `stop()`) ends it before its next item, and the items left are reported as not
// copied. Failures become `errorMessage` (shown by the screen's alert, which clears it) with the
// status "Ошибка"; progress and results go to `statusText`.
class DeviceFileManagerModel : public Observable {
    Q_OBJECT
public:
    explicit DeviceFileManagerModel(QString homeFolder = QDir::homePath(), QObject *parent = nullptr);
    ~DeviceFileManagerModel() override;

    static inline const QString kStartDeviceDirectory = QStringLiteral("/sdcard");

    Published<QString> localDirectory{this};                        // absolute, clean
    Published<QString> deviceDirectory{this, kStartDeviceDirectory};
    Published<QString> localPathInput{this};
    Published<QString> devicePathInput{this, kStartDeviceDirectory};
    PublishedList<LocalFileItem> localItems{this};                 // folders first, then NameCollation
    PublishedList<DeviceFileItem> deviceItems{this};
    Published<QSet<QString>> localSelection{this};                 // local paths
    Published<QSet<QString>> deviceSelection{this};                // device paths
    Published<bool> showHiddenFiles{this, false};
    Published<bool> isBusy{this, false};                           // a device operation or listing runs
    Published<bool> isDeviceReady{this, false};                    // a service and a serial are bound
    Published<QString> statusText{this, QStringLiteral("Готово")};
    Published<std::optional<QString>> errorMessage{this};

    // The enable rule of every device-side action and of device navigation.
    bool canUseDevice() const { return isDeviceReady() && !isBusy(); }
    auto deviceActionInputs() const { return std::tie(isDeviceReady, isBusy); }

    // Opens a local file or folder with the desktop (the screen installs it; unset: nothing opens).
    std::function<void(const QString &path)> pathOpener;

    QList<LocalFileItem> selectedLocalItems() const;
    QList<DeviceFileItem> selectedDeviceItems() const;

    // Binds another service and device: a change of either puts the device pane back at
    // "/sdcard", empty, and ends batches of the old binding. Lists both panes.
    QCoro::Task<void> configure(std::optional<ADBService> service, std::optional<QString> serial);

    enum class ListingOutcome { shown, failed, dropped, unavailable };
    QCoro::Task<ListingOutcome> refreshLocal();
    // Lists `deviceDirectory`; `silent` writes neither progress nor count and leaves isBusy alone.
    QCoro::Task<ListingOutcome> refreshDevice(bool silent);

    QCoro::Task<void> openLocal(LocalFileItem item);
    QCoro::Task<void> openDevice(DeviceFileItem item);
    QCoro::Task<void> goToLocalParent();
    QCoro::Task<void> goToDeviceParent();
    QCoro::Task<void> goToLocalPath();
    QCoro::Task<void> goToDevicePath();
    QCoro::Task<void> chooseLocalDirectory(QString path);

    QCoro::Task<void> createFolder(QString name, FileManagerSide side);
    QCoro::Task<void> renameSelected(QString name, FileManagerSide side);
    QCoro::Task<void> deleteSelected(FileManagerSide side);
    QCoro::Task<void> uploadSelected();
    QCoro::Task<void> downloadSelected();

    // Ends running batches before their next item and drops listings still running (a closing
    // window). A command already running is let finish.
    void stop();

    static QString deviceChildPath(const QString &parent, const QString &name);
    static QString normalizedDevicePath(const QString &path, const QString &base);
    static QString parentDevicePath(const QString &path);
    // Shared storage (/sdcard, /storage, ...) does not tell names apart by letter case.
    static FileNaming::NameMatch nameMatch(const QString &deviceFolder);
    // The trimmed name, or nothing when it is empty, "." or "..", or holds "/" or NUL.
    static std::optional<QString> acceptableName(const QString &raw);

private:
    struct DeviceBinding {
        ADBService adb;
        QString serial;
        quint64 generation;
    };
    std::optional<DeviceBinding> pinDevice() const;
    bool stillBound(const DeviceBinding &binding) const { return binding.generation == m_generation; }

    void fail(const QString &message);
    void reportBatch(const QStringList &failures);
    std::optional<QString> validatedName(const QString &raw);
    void showDeviceListing(const QString &path, QList<DeviceFileItem> items, quint64 ticket);
    bool deviceNameListed(const QString &folder, const QString &name, const QString &exceptPath) const;
    void reportDeviceOperation(const CommandResult &result);
    static QString trimmedOutput(const CommandResult &result);
    static QString joinPath(const QString &folder, const QString &name);

    // Copies item k of a batch: nothing when it arrived, else why not.
    using CopyStep = std::function<QCoro::Task<std::optional<QString>>(qsizetype k)>;
    QCoro::Task<bool> copyEach(const DeviceBinding &binding, QStringList names, qsizetype first, QString progress,
                               CopyStep copyOne, QStringList &failures, int &copied);

    QCoro::Task<void> createLocalFolder(QString name);
    QCoro::Task<void> renameLocal(QString name);
    QCoro::Task<void> trashLocalSelection();
    QCoro::Task<void> createDeviceFolder(QString name);
    QCoro::Task<void> renameDevice(QString name);
    QCoro::Task<void> deleteDeviceSelection();
    QCoro::Task<void> moveLocalTo(QString folder);

    QString m_home;
    std::optional<ADBService> m_service;
    std::optional<QString> m_serial;
    quint64 m_generation = 0;        // grows with every new binding and every stop()
    QString m_interruption;          // why the last generation ended batches
    // isBusy while any device operation or shown listing runs.
    BusyLedger m_busy{[this](bool busy) { isBusy.set(busy); }};

    // The folder whose entries the device pane holds, and whether they may be trusted for
    // clash checks (not after a failed listing of that folder).
    QString m_shownDeviceDirectory = kStartDeviceDirectory;
    bool m_deviceListingTrusted = false;
    quint64 m_deviceTickets = 0;
    quint64 m_appliedDeviceTicket = 0;

    QString m_shownLocalDirectory;
    quint64 m_localTickets = 0;
    quint64 m_appliedLocalTicket = 0;
};
