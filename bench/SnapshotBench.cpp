#include "bridge/DeviceSnapshot.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

// A probe output of 64 KiB: a device whose property list runs long, then the sections.
QString probeOutput()
{
    QString text;
    const QString keys[] = {QStringLiteral("ro.product.model"), QStringLiteral("ro.product.manufacturer"),
                            QStringLiteral("ro.build.version.sdk"), QStringLiteral("ro.vendor.build.fingerprint")};
    for (int i = 0; text.size() < 60 * 1024; ++i)
        text += QStringLiteral("prop %1=value-%2 of a rather long property\n").arg(keys[i % 4]).arg(i);
    text += QStringLiteral("##battery\nCurrent Battery Service state:\n  AC powered: false\n  USB powered: true\n"
                           "  status: 2\n  health: 2\n  level: 85\n  voltage: 4321\n  temperature: 305\n"
                           "##storage\nFilesystem 1K-blocks Used Available Use% Mounted on\n"
                           "/dev/block/dm-48 119237512 60123456 59114056 51% /data\n"
                           "##memory\nMemTotal: 7800000 kB\nMemFree: 301234 kB\nMemAvailable: 3900000 kB\n"
                           "##uptime\n12345.67 54321.00\n##screen\nPhysical size: 1080x2400\nPhysical density: 420\n"
                           "##root\n\n");
    while (text.size() < 64 * 1024)
        text += QStringLiteral("##padding\n");
    return text;
}

// The least any line parser does, as BM_SplitLinesBaseline does it, over this text.
void BM_SnapshotSplitLinesBaseline(benchmark::State &state)
{
    const QString text = probeOutput();
    for (auto _ : state) {
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_SnapshotSplitLinesBaseline)->Unit(benchmark::kMicrosecond);

void BM_ParseSnapshot(benchmark::State &state)
{
    const QString text = probeOutput();
    for (auto _ : state) {
        const DeviceSnapshot s = DeviceSnapshot::parse(text, QStringLiteral("SER"));
        benchmark::DoNotOptimize(s.batteryLevel);
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_ParseSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace
