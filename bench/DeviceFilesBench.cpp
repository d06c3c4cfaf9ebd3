#include "bridge/ADBService.h"
#include "screens/files/FilePane.h"
#include "screens/files/FileTableModel.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// The listing of a folder of 10,000 entries (camera roll sized), one folder in fifty.
const QString &folderListing()
{
    static const QString text = [] {
        QString out;
        for (int i = 0; i < 10000; ++i) {
            const bool folder = i % 50 == 0;
            out += QString(folder ? QStringLiteral("d") : QStringLiteral("f")) + QChar(0)
                   + QString::number(folder ? 4096 : 2000000 + i) + QChar(0) + QString::number(1700000000 + i)
                   + QChar(0) + QStringLiteral("%1_%2.jpg").arg(i % 2 ? QStringLiteral("IMG") : QStringLiteral("img")).arg(i)
                   + QChar(0);
        }
        return out;
    }();
    return text;
}

void BM_ParseDeviceFolder10k(benchmark::State &state)
{
    const QString &text = folderListing();
    for (auto _ : state) {
        const auto items = ADBService::parseDeviceDirectoryListing(text, QStringLiteral("/sdcard/DCIM/Camera"));
        benchmark::DoNotOptimize(items.size());
    }
}
BENCHMARK(BM_ParseDeviceFolder10k)->Unit(benchmark::kMillisecond);

struct PaneRows : Observable {
    PublishedList<DeviceFileItem> items{this};
};

// The device pane taking the same listing: parse and sort, the table model filled, the shown
// table laid out and its viewport painted. Measured against BM_ParseDeviceFolder10k.
void BM_DevicePaneLoad(benchmark::State &state)
{
    const QString &text = folderListing();
    PaneRows rows;
    DeviceFileTableModel model(rows.items);
    FileTableView view;
    view.setModel(&model);
    view.setSortingEnabled(true);
    view.resize(900, 600);
    view.show();
    QCoreApplication::processEvents();
    QImage canvas(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    // Two folders in turn, so each listing replaces the one shown (and the old one is freed).
    const QString folders[] = {QStringLiteral("/sdcard/DCIM/Camera"), QStringLiteral("/sdcard/DCIM/Camera2")};
    int turn = 0;
    for (auto _ : state) {
        rows.items.set(ADBService::parseDeviceDirectoryListing(text, folders[turn++ % 2]));
        QCoreApplication::processEvents();
        QPainter painter(&canvas);
        view.viewport()->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_DevicePaneLoad)->Unit(benchmark::kMillisecond);

void BM_ParseFastbootVariables(benchmark::State &state)
{
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("(bootloader) partition-size:part_%1:0x%2\n").arg(i).arg(i * 4096, 0, 16);
    for (auto _ : state) {
        const auto pairs = ADBService::parseFastbootVariables(text);
        benchmark::DoNotOptimize(pairs.size());
    }
}
BENCHMARK(BM_ParseFastbootVariables)->Unit(benchmark::kMicrosecond);

} // namespace
