#include "screens/packages/DebloatGroups.h"
#include "screens/packages/DebloatState.h"

#include "bridge/ADBService.h"
#include "core/AppModel.h"

#include <QSettings>
#include <QTemporaryDir>

#include "SyntheticCatalogue.h"

#include <benchmark/benchmark.h>

namespace {

// The Debloat list after a selection toggle: 1,000 candidates grouped into category headings
// and rows, then shown (the list model edits the one row that changed). Compared with
// BM_DebloatCandidates, the classification the screen runs when the search changes.
void BM_DebloatGroups(benchmark::State &state)
{
    QTemporaryDir dir;
    QSettings settings(dir.path() + QStringLiteral("/bench.ini"), QSettings::IniFormat);
    AppModel model(&settings, ADBService(QStringLiteral("/nonexistent/adb")), false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    model.packages.set(syntheticCatalogue());
    model.debloatRiskFilter.set({});
    const QList<DebloatPlanItem> candidates = model.debloatCandidates().mid(0, 1000);
    DebloatState shown;
    QSet<QString> selection;
    shown.show(DebloatGroups::entries(candidates, selection));
    const QString toggled = candidates.at(candidates.size() / 2).package.name;
    for (auto _ : state) {
        if (!selection.remove(toggled))
            selection.insert(toggled);
        shown.show(DebloatGroups::entries(candidates, selection));
        benchmark::DoNotOptimize(shown.entries().size());
    }
    state.counters["candidates"] = double(candidates.size());
    state.counters["lines"] = double(shown.entries().size());
}
BENCHMARK(BM_DebloatGroups)->Unit(benchmark::kMillisecond);

} // namespace
