#include "AppModel.h"

#include <QPointer>

#include <algorithm>

namespace {

QStringList listingArguments(const char *kindFlag)
{
    return {QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list"), QStringLiteral("packages"),
            QStringLiteral("-f"), QString::fromLatin1(kindFlag)};
}

} // namespace

bool AppModel::isCurrentPackageRefresh(quint64 generation, const QString &serial) const
{
    if (packageRefreshGeneration != generation || selectedDeviceID() != serial)
        return false;
    const auto device = selectedDevice();
    return device && device->isReady();
}

QCoro::Task<void> AppModel::refreshPackages(bool forceMetadata)
{
    const auto device = selectedDevice();
    if (!service || !device || !device->isReady())
        co_return;

    QPointer<AppModel> self(this);
    const QString serial = device->id;
    const quint64 generation = ++packageRefreshGeneration;
    const ADBService adb = *service;
    // Busy until this refresh ends, however it ends; a device change ends its share at once.
    BusyLedger::Token busy = busyLedger.begin();
    // A running batch keeps its status line until it ends.
    const auto setStatus = [this](const QString &text) {
        if (busyLedger.running(BusyLedger::Lifetime::untilDone) == 0)
            statusText.set(text);
    };
    setStatus(QStringLiteral("Загрузка приложений…"));

    auto userRun = adb.run(listingArguments("-3"), serial);
    auto systemRun = adb.run(listingArguments("-s"), serial);
    auto statesRun = adb.packageStates(serial);
    const CommandResult userListing = co_await std::move(userRun);
    const CommandResult systemListing = co_await std::move(systemRun);
    const PackageStates states = co_await std::move(statesRun);
    if (!self)
        co_return;
    if (!isCurrentPackageRefresh(generation, serial))
        co_return; // a newer refresh or the reset owns the state now

    appendLog(QStringLiteral("$ pm list packages -f -3"));
    appendLog(QStringLiteral("$ pm list packages -f -s"));
    for (const CommandResult *listing : {&userListing, &systemListing})
        if (!listing->succeeded())
            appendLog(listing->combinedOutput());
    if (!userListing.succeeded() || !systemListing.succeeded()) {
        setStatus(QStringLiteral("Не удалось получить список приложений"));
        co_return;
    }

    const QList<AndroidPackage> user = parsePackages(userListing.stdOut, PackageKind::user);
    const QList<AndroidPackage> system = parsePackages(systemListing.stdOut, PackageKind::system);
    QSet<QString> listedNames;
    for (const auto *part : {&user, &system})
        for (const AndroidPackage &p : *part)
            listedNames.insert(p.name);
    QStringList removedNames;
    for (const QString &name : states.known)
        if (!listedNames.contains(name))
            removedNames << name;
    std::sort(removedNames.begin(), removedNames.end());

    QList<AndroidPackage> listed = user + system;
    const qsizetype removedStart = listed.size();
    for (const QString &name : removedNames)
        listed.append(AndroidPackage(name, std::nullopt, PackageKind::system, std::nullopt, PackageState::removedForUser));

    appendLog(QStringLiteral("Пакеты: пользовательских %1, системных %2").arg(user.size()).arg(system.size()));
    if (!states.disabled.isEmpty() || !removedNames.isEmpty())
        appendLog(QStringLiteral("Отключено: %1, удалено для пользователя: %2")
                      .arg(states.disabled.size())
                      .arg(removedNames.size()));

    QList<AndroidPackage> plain = listed;
    std::stable_sort(plain.begin(), plain.end(),
                     [](const AndroidPackage &a, const AndroidPackage &b) { return a.name < b.name; });
    packages.set(plain);
    QSet<QString> keptSelection = selectedPackageIDs();
    keptSelection.intersect(QSet<QString>(listedNames).unite(QSet<QString>(removedNames.begin(), removedNames.end())));
    selectedPackageIDs.set(keptSelection);

    QHash<QString, PackageMetadata> metadata;
    bool freshMetadata = false;
    if (!forceMetadata && metadataCache.contains(serial)) {
        metadata = metadataCache.value(serial);
    } else {
        setStatus(QStringLiteral("Получение названий, иконок и размеров…"));
        appendLog(QStringLiteral("$ metadata-helper"));
        const PackageMetadataAnswer answer = co_await adb.loadPackageMetadata(serial);
        if (!self)
            co_return;
        if (!isCurrentPackageRefresh(generation, serial))
            co_return;
        if (!answer.metadata.isEmpty()) {
            metadataCache.insert(serial, answer.metadata);
            freshMetadata = forceMetadata;
            appendLog(QStringLiteral("Метаданные получены: %1").arg(answer.metadata.size()));
        } else {
            const QString error = answer.result.stdErr.trimmed();
            appendLog(error.isEmpty() ? QStringLiteral("Метаданные недоступны")
                                      : QStringLiteral("Метаданные недоступны: ") + error);
        }
        metadata = metadataCache.value(serial);
    }

    QList<AndroidPackage> final;
    final.reserve(listed.size());
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const AndroidPackage &p = listed[i];
        const auto record = metadata.constFind(p.name);
        const PackageState state = i >= removedStart           ? PackageState::removedForUser
            : states.disabled.contains(p.name)                   ? PackageState::disabled
                                                                 : PackageState::enabled;
        final.append(AndroidPackage(p.name, p.apkPath, p.kind,
                                    record == metadata.constEnd() ? std::nullopt : std::optional(*record), state));
    }
    sortByDisplayName(final);
    if (freshMetadata)
        metadataGeneration.set(metadataGeneration() + 1);
    packages.set(final);
    setStatus(QStringLiteral("Приложений: %1, с метаданными: %2").arg(final.size()).arg(metadata.size()));
}

PackageListQuery AppModel::packageListQuery() const
{
    return PackageListQuery{searchText(), packageFilter(), stateFilters(), riskFilters(), sortOrder(), sortAscending()};
}

QList<AndroidPackage> AppModel::displayedPackages() const
{
    return ::displayedPackages(packages(), packageListQuery());
}

bool AppModel::hasActiveFilters() const
{
    return packageListQuery().hasActiveFilters();
}

void AppModel::clearFilters()
{
    packageFilter.set(PackageFilter::all);
    stateFilters.set({});
    riskFilters.set({});
    searchText.set(QString());
}

void AppModel::toggleStateFilter(PackageState state)
{
    stateFilters.mutate([state](QSet<PackageState> &set) {
        if (!set.remove(state))
            set.insert(state);
    });
}

void AppModel::toggleRiskFilter(RemovalRisk risk)
{
    riskFilters.mutate([risk](QSet<RemovalRisk> &set) {
        if (!set.remove(risk))
            set.insert(risk);
    });
}

void AppModel::clearCatalogueDeviceState()
{
    packages.set({});
    selectedPackageIDs.set({});
}

SavedFilter AppModel::savedFilter(const QString &name) const
{
    SavedFilter filter;
    filter.name = name;
    filter.query = searchText();
    filter.kind = rawValue(packageFilter());
    for (PackageState state : stateFilters())
        filter.states << rawValue(state);
    for (RemovalRisk risk : riskFilters())
        filter.risks << rawValue(risk);
    return filter;
}

void AppModel::applySavedFilter(const SavedFilter &filter)
{
    searchText.set(filter.query);
    packageFilter.set(fromRawValue<PackageFilter>(filter.kind).value_or(PackageFilter::all));
    QSet<PackageState> states;
    for (const QString &raw : filter.states)
        if (const auto state = fromRawValue<PackageState>(raw))
            states.insert(*state);
    stateFilters.set(states);
    QSet<RemovalRisk> risks;
    for (int raw : filter.risks)
        if (const auto risk = removalRiskFromRawValue(raw))
            risks.insert(*risk);
    riskFilters.set(risks);
}
