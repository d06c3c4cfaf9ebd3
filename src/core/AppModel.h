#pragma once

#include "bridge/ADBService.h"
#include "bridge/AndroidDevice.h"
#include "bridge/AndroidPackage.h"
#include "bridge/ConsoleCommandError.h"
#include "bridge/ConsoleCommandRecord.h"
#include "bridge/ConsoleEntry.h"
#include "bridge/ConsoleFavorite.h"
#include "bridge/ConsoleMode.h"
#include "bridge/ConsoleProcessRunner.h"
#include "bridge/ConsoleTheme.h"
#include "bridge/PackageAction.h"
#include "bridge/AppPermission.h"
#include "bridge/DomainError.h"
#include "bridge/PresetPreview.h"
#include "bridge/FastbootService.h"
#include "bridge/Tone.h"
#include "core/Observable.h"
#include "core/PublishedList.h"
#include "core/ConsoleTranscriptWriter.h"
#include "bridge/DeviceSnapshot.h"
#include "bridge/LinkState.h"
#include "bridge/PackageDetails.h"
#include "bridge/PresetAction.h"
#include "bridge/RemovalRisk.h"
#include "bridge/SavedFilter.h"
#include "core/AppRoute.h"
#include "core/BusyLedger.h"
#include "core/DebloatPlan.h"
#include "core/DeckAdvice.h"
#include "core/OperationRecord.h"
#include "core/PackageListFilter.h"
#include "core/PublishedList.h"
#include "core/RunningOperation.h"
#include "bridge/ToastMessage.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QDateTime>
#include <QSet>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <variant>
#include <vector>

class QSettings;

// The one application model: all shared state and every workflow. It lives on the
// main thread; asynchronous operations suspend there while adb or fastboot runs.
//
// The class is laid out in sections, one per workflow. Each workflow adds its members
// inside its own section here and defines them in src/core/AppModel<Workflow>.cpp.
// A workflow that holds state bound to the selected device declares a DeviceContextStep
// in its private section, naming its own clearing function: the device-context reset
// runs every step, so no workflow edits a shared function.
class AppModel final : public Observable {
    Q_OBJECT
public:
    static constexpr quint64 defaultDeviceMonitorIntervalNanoseconds = 2'000'000'000;

    // `userDefaults` is the preference store (never null; tests pass a private one).
    // A given `service` is used as it is and no search for adb is made. Monitoring
    // follows `autoRefresh` unless `autoMonitor` says otherwise. `searchEnvironment`
    // is where adb and fastboot are looked for.
    explicit AppModel(QSettings *userDefaults, std::optional<ADBService> service = std::nullopt,
                      bool autoRefresh = true, std::optional<bool> autoMonitor = std::nullopt,
                      quint64 deviceMonitorIntervalNanoseconds = defaultDeviceMonitorIntervalNanoseconds,
                      ToolSearchEnvironment searchEnvironment = ToolSearchEnvironment::current(),
                      QObject *parent = nullptr);
    ~AppModel() override;

    // --- core / activity log ---
    PublishedList<QString> logs{this};                      // oldest first, at most 500 (trimmed at the front)
    Published<QString> statusText{this, QStringLiteral("Готово")};
    Published<bool> isBusy{this, false};
    Published<bool> showADBSetup{this, false};              // adb was not found

    std::optional<ADBService> service;                      // once set, only replaced, never cleared
    Published<std::optional<QString>> adbPath{this};        // the service's tool, for views to follow
    std::optional<FastbootService> fastbootService;
    QSettings *const userDefaults;
    const ToolSearchEnvironment toolSearchEnvironment;

    static constexpr int maxLogEntries = 500;
    void appendLog(const QString &text);
    void appendResult(const QString &command, const CommandResult &result);
    // An operation that keeps the model busy for as long as the token lives (or until it is
    // released), with the status it starts with. Operations overlap: the model stays busy while
    // any of them, a package refresh or a batch still runs; a device change ends them all but
    // the batches.
    BusyLedger::Token beginBusy(const std::optional<QString> &status = std::nullopt);
    void clearLog();

    // --- devices & monitor ---
    Published<QList<AndroidDevice>> devices{this};
    Published<std::optional<QString>> selectedDeviceID{this};

    std::optional<AndroidDevice> selectedDevice() const;
    bool canRunDeviceAction() const;
    // The published properties that selectedDevice(), isDeviceUsable() and canRunDeviceAction() read.
    auto deviceReadinessInputs() const { return std::tie(devices, selectedDeviceID, isBusy); }

    static QList<AndroidDevice> parseDevices(const QString &output);

    QCoro::Task<void> refreshDevices();
    QCoro::Task<void> refreshAll();
    QCoro::Task<void> selectDevice(std::optional<QString> serial);
    void relinkADB();
    void useCustomADB(const QString &path);
    void startDeviceMonitoring();
    void stopDeviceMonitoring();
    bool isDeviceMonitorRunning() const { return deviceMonitorTask != nullptr; }
    // The monitor loop holds this until the loop has ended (a stop ends it at its next
    // wake-up or after the poll in flight); tests watch it expire.
    std::weak_ptr<const void> deviceMonitorLifetime() const { return deviceMonitorTask; }
    // One monitor poll; skipped while another poll runs.
    QCoro::Task<void> pollDeviceChanges();

    // A hung "devices -l" in the monitor counts as a failed poll after this long; tests shorten it.
    std::chrono::milliseconds devicePollTimeout{10'000};
    const quint64 deviceMonitorIntervalNanoseconds;

    // --- package catalogue (+ filtering/sorting) ---
    Published<QList<AndroidPackage>> packages{this};
    // Grows with every refresh and device change; a refresh keeps its results only
    // while the generation it started with is current.
    quint64 packageRefreshGeneration = 0;

    static QList<AndroidPackage> parsePackages(const QString &output, PackageKind kind);
    QCoro::Task<void> refreshPackages(bool forceMetadata);

    Published<QSet<QString>> selectedPackageIDs{this};
    Published<QString> searchText{this};
    Published<PackageFilter> packageFilter{this, PackageFilter::all};
    Published<PackageSort> sortOrder{this, PackageSort::name};
    Published<bool> sortAscending{this, true};
    Published<QSet<PackageState>> stateFilters{this};
    Published<QSet<RemovalRisk>> riskFilters{this};
    // The metadata program's last non-empty answer per device serial; kept across
    // device changes so a device selected again reuses it.
    QHash<QString, QHash<QString, PackageMetadata>> metadataCache;

    // The Applications list: computed afresh on every read.
    QList<AndroidPackage> displayedPackages() const;
    // The published properties that displayedPackages() reads.
    auto displayedPackagesInputs() const
    {
        return std::tie(packages, searchText, packageFilter, stateFilters, riskFilters, sortOrder, sortAscending);
    }
    // Grows each time a forced refresh stores labels and icons read afresh from the device:
    // whatever was drawn from older icon data is stale from then on.
    Published<quint64> metadataGeneration{this, 0};
    // The current search and filters under `name` (a new id), and applying a stored filter:
    // a kind, states and risks that name no known value are skipped.
    SavedFilter savedFilter(const QString &name) const;
    void applySavedFilter(const SavedFilter &filter);
    PackageListQuery packageListQuery() const;
    bool hasActiveFilters() const;
    void clearFilters();
    void toggleStateFilter(PackageState state);
    void toggleRiskFilter(RemovalRisk risk);
    // Counts over the whole catalogue (no filters).
    int userPackageCount() const { return countPackages(packages()).userPackageCount; }
    int systemPackageCount() const { return countPackages(packages()).systemPackageCount; }
    int disabledPackageCount() const { return countPackages(packages()).disabledPackageCount; }
    int removedPackageCount() const { return countPackages(packages()).removedPackageCount; }
    int reclaimableCount() const { return countPackages(packages()).reclaimableCount; }
    qint64 reclaimableBytes() const { return countPackages(packages()).reclaimableBytes; }

    // --- package actions ---
    // A destructive action on the selection that awaits the user's confirmation.
    Published<std::optional<PackageAction>> pendingAction{this};

    // Runs a non-destructive action on the selection at once; a destructive one waits
    // in `pendingAction`. Either way the packages are the ones selected now.
    void request(PackageAction action);
    void confirmPendingAction();
    void cancelPendingAction();
    // The packages a pending action will act on, captured when it was requested.
    const QStringList &pendingActionPackageNames() const { return pendingActionPackages; }
    // One command per package, in list order (the selection sorted when none is given). A
    // command counts as done only with the device's own confirmation; when some ended without
    // it (the link dropped mid-command), the batch waits for the device to come back and judges
    // them by the packages' states before it writes its summary.
    QCoro::Task<void> execute(PackageAction action, std::optional<QStringList> packageNames = std::nullopt);
    // How long such a batch waits for the device; tests shorten it.
    std::chrono::milliseconds deviceReturnTimeout{60'000};

    // --- presets ---
    Published<std::optional<PresetPreview>> presetPreview{this};          // the last preset loaded
    Published<std::optional<PresetPreview>> pendingPresetExecution{this}; // awaits the user's confirmation
    Published<std::optional<QString>> presetErrorMessage{this};           // the alert of a failed load or save

    static constexpr qsizetype maxPresetPackages = 5000;
    // Where the preset library keeps its files: a preset saved there never replaces one.
    QString presetLibraryFolder = defaultPresetLibraryFolder();
    static QString defaultPresetLibraryFolder();

    void loadPreset(const QString &path);
    void savePreset(const QString &path, const QString &name, const QString &description, PresetAction action);
    void selectPackages(PresetPreview preview); // by value: callers pass presetPreview itself
    void requestPresetExecution(PresetPreview preview);
    void confirmPresetExecution();

    // File naming of the files the application creates, and the preset error value.
    static QString safeFileName(const QString &name, const QString &fallback);
    static QString uniqueFileName(const QString &name, QSet<QString> &usedNames);
    static DomainError presetError(const QString &message);

    // --- permissions ---
    // The runtime permissions of one package for Android user 0.
    Published<std::optional<AndroidPackage>> permissionPackage{this};   // none while the manager is closed
    Published<QList<AppPermission>> permissions{this};                  // by label, as the parser sorts them
    Published<QSet<QString>> selectedPermissionIDs{this};
    Published<QString> permissionSearchText{this};
    Published<PermissionFilter> permissionFilter{this, PermissionFilter::all};
    Published<QString> permissionStatusText{this, QStringLiteral("Готово")};
    Published<bool> isPermissionBusy{this, false};
    Published<std::optional<PermissionOperation>> pendingPermissionOperation{this};
    Published<std::optional<QString>> permissionErrorMessage{this};

    QList<AppPermission> filteredPermissions() const;
    void openPermissionManager();
    QCoro::Task<void> loadPermissions();
    void closePermissionManager();
    QList<AppPermission> permissionTargets(PermissionOperation operation) const;
    void requestPermissionOperation(PermissionOperation operation);
    void confirmPermissionOperation();

    // --- console ---
    Published<ConsoleMode> consoleMode{this, ConsoleMode::deviceShell};
    Published<ConsoleTheme> consoleTheme{this, ConsoleTheme::system};
    Published<QString> consoleInput{this};
    PublishedList<ConsoleEntry> consoleEntries{this};            // oldest first, at most 3000
    Published<QList<ConsoleCommandRecord>> consoleHistory{this}; // oldest first, at most 200
    Published<QList<ConsoleFavorite>> consoleFavorites{this};
    Published<QString> consoleSearchText{this};
    Published<bool> consoleIsRunning{this, false};
    Published<QString> consoleStatusText{this, QStringLiteral("Готово")};
    Published<bool> showConsoleFavorites{this, true};

    // Created with the model, never replaced; its callbacks reach the model only weakly.
    ConsoleProcessRunner consoleRunner;
    // Appends to consoleEntries: streamed output in batches, the console's own lines at once.
    ConsoleTranscriptWriter consoleWriter{consoleEntries};
    // Position in consoleHistory while stepping through it.
    std::optional<qsizetype> consoleHistoryIndex;
    // Puts text on the system clipboard; the shell installs it (the core links no Gui).
    std::function<void(const QString &)> pasteboardWriter;

    static constexpr qsizetype maxConsoleHistory = 200;

    static std::variant<QStringList, ConsoleCommandError> parseADBCommandLine(const QString &line);
    static QList<ConsoleFavorite> loadConsoleFavorites(QSettings &userDefaults);

    void runConsoleCommand();
    void stopConsoleCommand();
    void clearConsole();
    void clearConsoleInput();
    void copyConsoleLog();
    void consoleHistoryPrevious();
    void consoleHistoryNext();
    void toggleConsoleFavoriteForInput();
    void useConsoleFavorite(const ConsoleFavorite &favorite);
    void removeConsoleFavorite(const ConsoleFavorite &favorite);
    QList<ConsoleEntry> visibleConsoleEntries() const;
    qsizetype consoleSearchMatchCount() const;
    bool canRunConsoleCommand() const;
    auto consoleRunInputs() const { return std::tie(devices, selectedDeviceID, adbPath, consoleIsRunning, consoleInput); }
    // Writes the whole transcript (as copyConsoleLog puts it on the clipboard) to `path`
    // atomically, off the main thread: a failure leaves an existing file as it was and says so
    // in the status line.
    QCoro::Task<void> saveConsoleLog(QString path);

    // --- installs / export / wireless / reboot / screenshots ---
    Published<std::optional<QString>> packageExportErrorMessage{this};
    Published<QString> wirelessAddress{this};

    QCoro::Task<void> install(QStringList urls);
    QCoro::Task<void> exportSelectedPackages(QString folder);
    // The export of `packageNames` (in that order) into a new dated folder in `folder`.
    QCoro::Task<void> exportPackages(QStringList packageNames, QString folder);
    QCoro::Task<void> connectWireless();
    // What ran: none when nothing did (no adb or no device selected), else the tool's result.
    QCoro::Task<std::optional<CommandResult>> reboot(std::optional<QString> mode);
    // Succeeds only when the device returned a PNG and it was written; a failure leaves
    // whatever was at `destination` as it was.
    QCoro::Task<std::optional<CommandResult>> saveScreenshot(QString destination);
    // saveScreenshot, then the record "Снимок экрана" with the file's name and, on failure,
    // the tool's message (the Overview and the Tools screen both save through this).
    QCoro::Task<void> takeScreenshot(QString destination);
    // A path in `parent` that does not exist yet: the name, then name-2, name-3, ...
    static QString uniqueDirectory(const QString &parent, const QString &preferredName);

    // --- device data / snapshot / link state / advice ---
    Published<std::optional<DeviceSnapshot>> snapshot{this}; // last good probe of the selected ready device
    Published<bool> isSnapshotLoading{this, false};

    LinkState linkState() const;
    // The published properties that linkState() reads.
    auto linkStateInputs() const
    {
        return std::tie(adbPath, runningOperation, fastbootDevices, devices, selectedDeviceID, isBusy);
    }
    bool isDeviceUsable() const;                       // a ready device is selected
    std::optional<QString> adbShortVersion() const;    // "ADB 1.0.41" for display
    // refreshSnapshot (below): unless forced, does nothing while a probe runs; a late
    // result for a device that is no longer selected and ready is dropped.

    // Advice cards from the current state; `adviceClock` gives "now" (tests fix it).
    QList<DeckAdvice> advice() const;
    // The published properties that advice() reads.
    auto adviceInputs() const { return std::tie(snapshot, devices, packages); }
    static std::optional<QDateTime> securityPatchDate(const QString &patch);
    std::function<QDateTime()> adviceClock = [] { return QDateTime::currentDateTime(); };

    Published<std::optional<QString>> adbVersionText{this};

    QCoro::Task<void> ensureDeviceData();
    QCoro::Task<void> refreshSnapshot(bool force);
    // The Overview's refresh: a forced snapshot, then the catalogue with cached metadata.
    QCoro::Task<void> refreshDeviceData();

    // --- inspector ---
    Published<std::optional<QString>> inspectorPackageID{this};
    Published<std::optional<PackageDetails>> packageDetails{this};
    Published<bool> isDetailsLoading{this, false};
    // Why the details of the inspected package could not be read; none otherwise.
    Published<std::optional<QString>> packageDetailsError{this};

    std::optional<AndroidPackage> inspectorPackage() const;
    void showInspector(const std::optional<QString> &packageName);
    QCoro::Task<void> loadPackageDetails();
    void launchInspectedPackage();
    void forceStopInspectedPackage();

    // --- debloat ---
    Published<QSet<QString>> debloatSelection{this};
    Published<QSet<RemovalRisk>> debloatRiskFilter{this, {RemovalRisk::safe, RemovalRisk::review}};
    Published<QString> debloatSearchText{this};
    Published<PresetAction> debloatAction{this, PresetAction::disable};
    Published<bool> isDebloatReviewPresented{this, false};

    // Computed afresh on every read from the catalogue, the filter, the search and the selection.
    QList<DebloatPlanItem> debloatCandidates() const;
    QHash<RemovalRisk, int> debloatRiskCounts() const;
    DebloatPlan debloatPlan() const;
    // The plan over candidates already computed (debloatCandidates()), for views that hold them.
    DebloatPlan debloatPlan(QList<DebloatPlanItem> candidates) const;
    // The published properties that debloatCandidates() and debloatPlan() read.
    auto debloatCandidatesInputs() const { return std::tie(packages, debloatRiskFilter, debloatSearchText); }
    auto debloatPlanInputs() const
    {
        return std::tie(packages, debloatRiskFilter, debloatSearchText, debloatSelection, debloatAction);
    }
    void toggleDebloatSelection(QString packageName);
    void selectAllSafeForDebloat();
    void clearDebloatSelection();
    void excludeFromPlan(QString packageName);
    void runDebloatPlan();

    // --- tools ---
    Published<std::optional<qint64>> screenTimeoutMilliseconds{this};
    Published<QString> toolsStatusText{this, QStringLiteral("Готово")};
    Published<QString> wirelessPairAddress{this};
    Published<QString> wirelessPairCode{this};
    // The pause between "tcpip" and "connect" while adb on the device restarts; tests shorten it.
    std::chrono::milliseconds wirelessSwitchDelay{1200};

    QCoro::Task<void> restartADBServer();
    QCoro::Task<void> pairWireless();
    QCoro::Task<void> switchToWireless();
    QCoro::Task<void> disconnectWireless(QString address);
    QCoro::Task<void> loadScreenTimeout();
    QCoro::Task<void> applyScreenTimeout(qint64 milliseconds);
    QCoro::Task<void> applyScreenSize(QString size);
    QCoro::Task<void> resetScreenSize();
    QCoro::Task<void> applyScreenDensity(int dpi);
    QCoro::Task<void> resetScreenDensity();
    QCoro::Task<void> sendKey(QString keyCode, QString title);
    // True while a screen size, density or time-out command runs (the display panel waits).
    Published<bool> isDisplayBusy{this, false};
    // A reboot the user confirmed on the Tools screen: recorded under `title` with its outcome;
    // nothing is recorded when nothing ran.
    QCoro::Task<void> rebootAndRecord(std::optional<QString> mode, QString title);
    // What the Tools screen loads when shown: the time-out, then the fastboot devices.
    QCoro::Task<void> loadToolsState();
    // Its refresh button: a forced snapshot, the time-out, the fastboot devices.
    QCoro::Task<void> refreshToolsState();

    // --- fastboot ---
    Published<QList<FastbootDevice>> fastbootDevices{this};
    Published<QMap<QString, QString>> fastbootVariables{this};
    Published<bool> isFastbootBusy{this, false};
    Published<QString> fastbootStatusText{this, QStringLiteral("Fastboot-устройства не найдены")};

    bool isFastbootAvailable() const { return fastbootService.has_value(); }
    QCoro::Task<void> refreshFastboot();
    QCoro::Task<void> loadFastbootVariables();
    QCoro::Task<void> fastbootReboot(std::optional<QString> target, QString title);

    // --- toasts / operation history ---
    Published<QList<ToastMessage>> toasts{this};             // oldest first
    Published<std::optional<RunningOperation>> runningOperation{this};
    Published<QList<OperationRecord>> recentOperations{this}; // newest first, at most 40

    static constexpr int maxRecentOperations = 40;
    // How long a toast stays; tests shorten it.
    std::chrono::milliseconds toastLifetime{4000};

    void toast(const QString &title, const std::optional<QString> &detail = std::nullopt,
               const QString &icon = QStringLiteral("checkmark.circle.fill"), Tone tone = Tone::success);
    void dismissToast(const QUuid &id);
    void record(const QString &title, const QString &detail, bool succeeded);

    // --- routes ---
    Published<AppRoute> route{this, AppRoute::overview};

private:
    // --- core / activity log (private) ---
    // isBusy follows it; declared after isBusy, so a token released while the model goes
    // touches nothing.
    BusyLedger busyLedger{[this](bool busy) { isBusy.set(busy); }};

    // --- devices & monitor (private) ---
    struct DeviceMonitorHandle {
        bool cancelled = false;
    };

    void adoptADB(const QString &path);
    void applyDeviceSnapshot(const QList<AndroidDevice> &newDevices);
    // After a new device list: the selected ready device's catalogue when none is loaded yet,
    // then its data.
    QCoro::Task<void> loadSelectedDeviceData();
    // Clears everything bound to the selected device: ends the context of every running
    // package refresh and operation, then runs each workflow's step in declaration order.
    void resetDeviceContext();
    // One workflow's share of that reset. The workflow declares one in its own private
    // section, naming its clearing function (defined in its own file).
    struct DeviceContextStep {
        DeviceContextStep(AppModel *model, void (AppModel::*clear)()) { model->deviceContextSteps.push_back(clear); }
    };
    std::vector<void (AppModel::*)()> deviceContextSteps; // declared before every step
    QCoro::Task<void> runDeviceMonitor(std::shared_ptr<DeviceMonitorHandle> handle);
    QCoro::Task<void> refreshAfterAdoption();

    // Device listings may overlap (a poll and a refresh); each takes a ticket when it
    // starts, and one that finishes after a later-started one has been applied is dropped.
    quint64 beginDeviceListing() { return ++deviceListingsStarted; }
    bool claimDeviceListing(quint64 ticket);

    std::shared_ptr<DeviceMonitorHandle> deviceMonitorTask;
    bool devicePollInFlight = false;
    int consecutiveMonitorFailures = 0;
    quint64 deviceListingsStarted = 0;
    quint64 deviceListingApplied = 0;

    // --- package catalogue (private) ---
    // Device-bound: the packages and their selection.
    void clearCatalogueDeviceState();
    DeviceContextStep catalogueDeviceStep{this, &AppModel::clearCatalogueDeviceState};
    bool isCurrentPackageRefresh(quint64 generation, const QString &serial) const;

    // --- package actions (private) ---
    // Device-bound: the pending action and its packages.
    void clearPackageActionDeviceState();
    DeviceContextStep packageActionDeviceStep{this, &AppModel::clearPackageActionDeviceState};
    QStringList pendingActionPackages;
    // Of `names`, whose commands ended without a confirmation, those the device shows done once
    // it is back; none when it did not come back or its states could not be read or cannot tell.
    QCoro::Task<std::optional<QStringList>> doneOnDevice(PackageAction action, QStringList names, QString serial,
                                                         ADBService adb);

    // --- presets (private) ---
    // Device-bound: the loaded preset, its pending run, its alert.
    void clearPresetDeviceState();
    DeviceContextStep presetDeviceStep{this, &AppModel::clearPresetDeviceState};
    // The checked, cleaned preset compared with the catalogue, or why it was refused.
    std::variant<PresetPreview, DomainError> readPreset(const QString &path) const;

    // --- permissions (private) ---
    // Device-bound: the manager and its alert.
    void clearPermissionDeviceState();
    DeviceContextStep permissionDeviceStep{this, &AppModel::clearPermissionDeviceState};
    // Where the list on screen was read: changes go only to that device and package.
    struct PermissionListSource {
        QString serial;
        QString packageName;
    };
    std::optional<PermissionListSource> permissionListSource;
    // isPermissionBusy while a read or a change runs; closing the manager ends their share.
    BusyLedger permissionRuns{[this](bool busy) { isPermissionBusy.set(busy); }};
    // Reads the list; true when a successful read was applied.
    QCoro::Task<bool> readPermissions();
    QCoro::Task<void> executePermissionOperation(PermissionOperation operation, QString packageName,
                                                 QStringList permissionNames);

    // --- console (private) ---
    // Favourites and the ready line, at start-up.
    void startConsole();
    // Device-bound: a running command is stopped.
    void clearConsoleDeviceState();
    DeviceContextStep consoleDeviceStep{this, &AppModel::clearConsoleDeviceState};
    void appendConsole(ConsoleEntryKind kind, const QString &text);
    void saveConsoleFavorites();
    void finishConsoleCommand(ConsoleMode mode, int status);

    // --- installs / export / wireless / reboot / screenshots (private) ---
    // Device-bound: the export alert.
    void clearExportDeviceState();
    DeviceContextStep exportDeviceStep{this, &AppModel::clearExportDeviceState};

    // --- device data / snapshot / link state / advice (private) ---
    // Device-bound: the snapshot.
    void clearSnapshotDeviceState();
    DeviceContextStep snapshotDeviceStep{this, &AppModel::clearSnapshotDeviceState};
    // isSnapshotLoading while a probe runs; a device change ends their share.
    BusyLedger snapshotLoads{[this](bool loading) { isSnapshotLoading.set(loading); }};

    // --- inspector (private) ---
    // Device-bound: the inspected package and its details.
    void clearInspectorDeviceState();
    DeviceContextStep inspectorDeviceStep{this, &AppModel::clearInspectorDeviceState};
    quint64 detailsLoadsStarted = 0;
    enum class InspectorAction { launch, forceStop };
    QCoro::Task<void> runInspectorAction(InspectorAction action, ADBService adb, QString packageName, QString serial);

    // --- debloat (private) ---
    // Device-bound: the plan's selection and review.
    void clearDebloatDeviceState();
    DeviceContextStep debloatDeviceStep{this, &AppModel::clearDebloatDeviceState};
    QCoro::Task<void> runDebloatNames(PackageAction action, QStringList names);

    // --- tools (private) ---
    // Device-bound: the screen timeout read from the device.
    void clearToolsDeviceState();
    DeviceContextStep toolsDeviceStep{this, &AppModel::clearToolsDeviceState};
    // isDisplayBusy until the last of overlapping runs ends.
    BusyLedger displayRuns{[this](bool busy) { isDisplayBusy.set(busy); }};
    // The selected serial when adb is known and the selected device is ready.
    std::optional<QString> readyDeviceSerial() const;
    QCoro::Task<void> runScreenCommand(QCoro::Task<CommandResult> command, QString logText,
                                       std::optional<QString> progress, QString success, QString failure,
                                       QString title, QString detail);

    // --- fastboot (private) ---
    // Runs may overlap; the busy flag stays on until the last one ends.
    BusyLedger fastbootRuns{[this](bool busy) { isFastbootBusy.set(busy); }};

    // --- toasts / operation history (private) ---
    // Device-bound: the running operation.
    void clearOperationDeviceState();
    DeviceContextStep operationDeviceStep{this, &AppModel::clearOperationDeviceState};
    void removeToast(const QUuid &id);

    // --- routes (private) ---

};
