// Link state, device data (adb version and the device snapshot) and advice.
#include "AppModel.h"

#include "bridge/DebloatCatalog.h"
#include "core/Advice.h"

#include <QPointer>

LinkState AppModel::linkState() const
{
    using C = LinkState::Case;
    if (!service)
        return C::adbMissing;
    if (runningOperation())
        return LinkState::working(runningOperation()->title);
    const auto device = selectedDevice();
    if (!fastbootDevices().isEmpty() && !device)
        return C::fastboot;
    if (device) {
        const QString &state = device->state;
        if (state == QLatin1String("device"))
            return C::connected;
        if (state == QLatin1String("unauthorized"))
            return C::unauthorized;
        if (state == QLatin1String("recovery"))
            return C::recovery;
        if (state == QLatin1String("sideload"))
            return C::sideload;
        if (state == QLatin1String("bootloader") || state == QLatin1String("fastboot"))
            return C::fastboot;
        return C::offline; // "offline" and every state we do not know
    }
    if (devices().isEmpty())
        return isBusy() ? C::searching : C::noDevice;
    return C::offline;
}

bool AppModel::isDeviceUsable() const
{
    const auto device = selectedDevice();
    return device && device->isReady();
}

std::optional<QString> AppModel::adbShortVersion() const
{
    if (!adbVersionText())
        return std::nullopt;
    const QString &text = *adbVersionText();
    const qsizetype at = text.indexOf(QLatin1String("version "));
    if (at < 0)
        return text;
    QStringView rest = QStringView(text).sliced(at + 8);
    auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (!rest.isEmpty() && isBlank(rest.front()))
        rest = rest.sliced(1);
    while (!rest.isEmpty() && isBlank(rest.back()))
        rest.chop(1);
    return QStringLiteral("ADB ") + rest.toString();
}

QCoro::Task<void> AppModel::ensureDeviceData()
{
    QPointer<AppModel> self(this);
    if (!adbVersionText() && service) {
        const ADBService adb = *service;
        const std::optional<QString> version = co_await adb.version();
        if (!self)
            co_return;
        // Another tool may have been adopted meanwhile; its version is read next time.
        if (service == adb)
            adbVersionText.set(version);
    }
    const auto device = selectedDevice();
    if (device && device->isReady() && !snapshot())
        co_await refreshSnapshot(false);
}

QCoro::Task<void> AppModel::refreshSnapshot(bool force)
{
    if (!service || !selectedDeviceID())
        co_return;
    const auto device = selectedDevice();
    if (!device || !device->isReady())
        co_return;
    if (!force && isSnapshotLoading())
        co_return;

    QPointer<AppModel> self(this);
    const QString serial = *selectedDeviceID();
    BusyLedger::Token loading = snapshotLoads.begin();
    const ADBService adb = *service; // the model's copy may be replaced while this runs
    const DeviceSnapshotLoad load = co_await adb.deviceSnapshot(serial);
    if (!self)
        co_return;

    const auto now = selectedDevice();
    if (selectedDeviceID() == serial && now && now->isReady()) {
        if (load.result.succeeded())
            snapshot.set(load.snapshot);
        else
            appendResult(QStringLiteral("device probe"), load.result);
    }
}

QCoro::Task<void> AppModel::refreshDeviceData()
{
    QPointer<AppModel> self(this);
    co_await refreshSnapshot(true);
    if (!self)
        co_return;
    co_await refreshPackages(false);
}

std::optional<QDateTime> AppModel::securityPatchDate(const QString &patch)
{
    return ::securityPatchDate(patch);
}

QList<DeckAdvice> AppModel::advice() const
{
    AdviceInputs in;
    in.snapshot = snapshot();
    in.devices = devices();
    in.now = adviceClock ? adviceClock() : QDateTime::currentDateTime();
    // Counts over the whole catalogue, as the package list reports them.
    const PackageCounts counts = countPackages(packages());
    in.removedPackageCount = counts.removedPackageCount;
    in.reclaimableCount = counts.reclaimableCount;
    in.reclaimableBytes = counts.reclaimableBytes;
    return buildAdvice(in);
}

void AppModel::clearSnapshotDeviceState()
{
    snapshot.set(std::nullopt);
    snapshotLoads.endContext();
}
