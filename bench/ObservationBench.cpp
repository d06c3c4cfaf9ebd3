#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "core/ListModelAdapter.h"
#include "core/PublishedList.h"
#include "design/Accessibility.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QListView>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>

namespace {

constexpr int kUnrelatedChanges = 2000;

// A model with no adb and nothing running by itself, and preferences in a private file.
struct QuietModel {
    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    AppSettings settings{&store};
    AppModel model{&store, std::nullopt, false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                   ToolSearchEnvironment{}};
};

// Each change is followed by the event loop's turn, as a log line streaming in would be.
void unrelatedChanges(AppModel &model)
{
    for (int i = 0; i < kUnrelatedChanges; ++i) {
        model.appendLog(QStringLiteral("строка журнала ") + QString::number(i));
        QCoreApplication::processEvents();
    }
}

void BM_UnrelatedChanges(benchmark::State &state)
{
    QuietModel q;
    // Settings: a screen that needs no device, so no gate (whose diagram animates) is shown;
    // no motion, so the window's own first animations do not run into the measurement.
    q.settings.lastRoute.set(AppRoute::settings);
    A11y::setReduceMotion(true);
    MainWindow window(&q.model, &q.settings, {});
    window.resize(MainWindow::kDefaultSize);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        unrelatedChanges(q.model);
    A11y::setReduceMotion(false);
    state.SetItemsProcessed(state.iterations() * kUnrelatedChanges);
}
BENCHMARK(BM_UnrelatedChanges)->Unit(benchmark::kMillisecond);

void BM_UnrelatedChangesBaseline(benchmark::State &state)
{
    QuietModel q;
    for (auto _ : state)
        unrelatedChanges(q.model);
    state.SetItemsProcessed(state.iterations() * kUnrelatedChanges);
}
BENCHMARK(BM_UnrelatedChangesBaseline)->Unit(benchmark::kMillisecond);

constexpr int kCap = 20000;
constexpr int kBatches = 100;
constexpr int kBatchRows = 750;

const QList<QString> &logRows()
{
    static const QList<QString> rows = [] {
        QList<QString> list;
        list.reserve(kCap + kBatches * kBatchRows);
        for (int i = 0; i < kCap + kBatches * kBatchRows; ++i)
            list << QStringLiteral("12-09 10:15:01.%1  1234  5678 I ActivityManager: строка %2").arg(i % 1000).arg(i);
        return list;
    }();
    return rows;
}

struct Lines : Observable {
    PublishedList<QString> rows{this};
};

// The window stays at its cap; every iteration appends 100 batches (and trims as many rows) as
// fast as they come, then lets the shown view lay out and paint once, as the next frame would.
QList<QList<QString>> appendBatches()
{
    const QList<QString> &rows = logRows();
    QList<QList<QString>> batches;
    for (int b = 0; b < kBatches; ++b)
        batches << rows.mid(kCap + b * kBatchRows, kBatchRows);
    return batches;
}

void BM_ListAppendAtCap(benchmark::State &state)
{
    const QList<QList<QString>> batches = appendBatches();
    Lines lines;
    lines.rows.set(logRows().mid(0, kCap));
    ListModelAdapter<QString> adapter(lines.rows, [](const QString &row, int, int role) {
        return role == Qt::DisplayRole ? QVariant(row) : QVariant();
    });
    QListView view;
    view.setUniformItemSizes(true);
    view.setLayoutMode(QListView::Batched);
    view.setModel(&adapter);
    view.resize(600, 400);
    view.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        for (const QList<QString> &batch : batches)
            lines.rows.append(batch, kCap);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(adapter.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * kBatches * kBatchRows);
}
BENCHMARK(BM_ListAppendAtCap)->Unit(benchmark::kMillisecond);

void BM_ListAppendBaseline(benchmark::State &state)
{
    const QList<QList<QString>> batches = appendBatches();
    const QList<QString> &rows = logRows();
    std::deque<QString> lines(rows.begin(), rows.begin() + kCap);
    for (auto _ : state) {
        for (const QList<QString> &batch : batches) {
            for (const QString &row : batch)
                lines.push_back(row);
            while (lines.size() > size_t(kCap))
                lines.pop_front();
        }
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetItemsProcessed(state.iterations() * kBatches * kBatchRows);
}
BENCHMARK(BM_ListAppendBaseline)->Unit(benchmark::kMillisecond);

} // namespace
