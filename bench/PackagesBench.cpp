#include "bridge/ADBService.h"
#include "bridge/NameCollation.h"
#include "core/AppModel.h"
#include "core/PackageListFilter.h"

#include <QSettings>
#include <QTemporaryDir>

#include <QJsonDocument>
#include <QRandomGenerator>
#include "SyntheticCatalogue.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void BM_CollatorSortBaseline(benchmark::State &state)
{
    const auto catalogue = syntheticCatalogue();
    QStringList names;
    for (const auto &p : catalogue)
        names << p.displayName;
    const QCollator &collator = NameCollation::collator();
    for (auto _ : state) {
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(),
                  [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        benchmark::DoNotOptimize(sorted.data());
    }
}
BENCHMARK(BM_CollatorSortBaseline)->Unit(benchmark::kMillisecond);

// The model's own list, as the Applications screen reads it on each keystroke.
template <PackageSort Sort, bool WithRiskFilter>
void displayed(benchmark::State &state)
{
    QTemporaryDir dir;
    QSettings settings(dir.path() + QStringLiteral("/bench.ini"), QSettings::IniFormat);
    AppModel model(&settings, ADBService(QStringLiteral("/nonexistent/adb")), false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    model.packages.set(syntheticCatalogue());
    model.searchText.set(QStringLiteral("app")); // matches every package: the whole list is sorted
    model.stateFilters.set({PackageState::enabled, PackageState::disabled});
    model.sortOrder.set(Sort);
    if (WithRiskFilter)
        model.riskFilters.set({RemovalRisk::safe, RemovalRisk::review, RemovalRisk::advanced});
    for (auto _ : state) {
        const auto list = model.displayedPackages();
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["shown"] = double(model.displayedPackages().size());
}

void BM_DisplayedPackages(benchmark::State &state) { displayed<PackageSort::name, false>(state); }
BENCHMARK(BM_DisplayedPackages)->Unit(benchmark::kMillisecond);

void BM_DisplayedPackagesRiskSortAndFilter(benchmark::State &state) { displayed<PackageSort::risk, true>(state); }
BENCHMARK(BM_DisplayedPackagesRiskSortAndFilter)->Unit(benchmark::kMillisecond);

QString metadataOutput()
{
    QByteArray icon(6144, '\0');
    for (int i = 0; i < icon.size(); ++i)
        icon[i] = char(i * 31 + 7);
    const QString base64 = QString::fromLatin1(icon.toBase64()); // 8 KiB of text
    QString out;
    for (int i = 0; i < 1000; ++i)
        out += QStringLiteral("{\"package\":\"com.example.app%1\",\"label\":\"Приложение %1\",\"size\":%2,\"icon\":\"%3\"}\n")
                   .arg(i).arg(1000000 + i).arg(base64);
    return out;
}

void BM_ParseMetadataLines(benchmark::State &state)
{
    const QString out = metadataOutput();
    for (auto _ : state) {
        const auto records = ADBService::parsePackageMetadata(out);
        benchmark::DoNotOptimize(records.size());
    }
}
BENCHMARK(BM_ParseMetadataLines)->Unit(benchmark::kMillisecond);

void BM_ParseMetadataBaseline(benchmark::State &state)
{
    const QString out = metadataOutput();
    for (auto _ : state) {
        int objects = 0;
        for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            objects += QJsonDocument::fromJson(line.toUtf8()).isObject();
        benchmark::DoNotOptimize(objects);
    }
}
BENCHMARK(BM_ParseMetadataBaseline)->Unit(benchmark::kMillisecond);

} // namespace
