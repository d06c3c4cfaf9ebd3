#include "bridge/ADBService.h"
#include "core/AppModel.h"
#include "core/PresetLibrary.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

#include "SyntheticCatalogue.h"

#include <benchmark/benchmark.h>

namespace {

// A "dumpsys package" of a large application: resolver tables with hundreds of
// components, the package section with its permissions, about 500 KiB in all.
const QString &largePackageDump()
{
    static const QString text = [] {
        const QString pkg = QStringLiteral("com.example.giant");
        QString out;
        // Each intent filter names its component and prints its actions and categories;
        // a component serves several filters, as real applications' do.
        const auto table = [&](const QString &heading, const QString &kind, qsizetype until) {
            out += heading + QStringLiteral("\n  Non-Data Actions:\n");
            int i = 0;
            while (out.size() < until) {
                out += QStringLiteral("      com.example.action.%1_%2:\n"
                                      "        1a2b%2 %3/.feature%4.%1%4 filter 3c4d%2\n"
                                      "          Action: \"com.example.action.%1_%2\"\n"
                                      "          Category: \"android.intent.category.DEFAULT\"\n"
                                      "          mPriority=0, mOrder=0, mHasStaticPartialTypes=false, mHasDynamicPartialTypes=false\n")
                           .arg(kind)
                           .arg(i)
                           .arg(pkg)
                           .arg(i / 3);
                ++i;
            }
            out += QLatin1Char('\n');
        };
        table(QStringLiteral("Activity Resolver Table:"), QStringLiteral("Activity"), 180 * 1024);
        table(QStringLiteral("Receiver Resolver Table:"), QStringLiteral("Receiver"), 300 * 1024);
        table(QStringLiteral("Service Resolver Table:"), QStringLiteral("Service"), 400 * 1024);
        int p = 0;
        out += QStringLiteral("\nPermissions:\n  Permission [com.example.giant.permission.C2D] (abc):\n    sourcePackage=%1\n"
                              "\nPackages:\n  Package [%1] (f00d):\n    userId=10234\n    pkg=Package{f00d %1}\n"
                              "    codePath=/data/app/~~xyz==/%1-abc==\n    resourcePath=/data/app/~~xyz==/%1-abc==\n"
                              "    primaryCpuAbi=arm64-v8a\n    secondaryCpuAbi=null\n    versionCode=123456 minSdk=26 targetSdk=34\n"
                              "    versionName=12.3.4\n    dataDir=/data/user/0/%1\n    firstInstallTime=2024-01-02 03:04:05\n"
                              "    lastUpdateTime=2024-05-06 07:08:09\n    installerPackageName=com.android.vending\n"
                              "    declared permissions:\n      com.example.giant.permission.C2D: prot=signature, INSTALLED\n"
                              "    requested permissions:\n")
                   .arg(pkg);
        while (out.size() < 470 * 1024)
            out += QStringLiteral("      android.permission.PERMISSION_%1\n").arg(p++);
        out += QStringLiteral("    install permissions:\n");
        while (out.size() < 490 * 1024)
            out += QStringLiteral("      android.permission.INSTALL_%1: granted=true\n").arg(p++);
        out += QStringLiteral("    User 0: ceDataInode=4321 installed=true hidden=false suspended=false\n"
                              "      runtime permissions:\n");
        while (out.size() < 512 * 1024)
            out += QStringLiteral("        android.permission.RUNTIME_%1: granted=%2, flags=[ USER_SET|USER_SENSITIVE_WHEN_GRANTED ]\n")
                       .arg(p++)
                       .arg(p % 2 ? QStringLiteral("true") : QStringLiteral("false"));
        return out;
    }();
    return text;
}

void BM_SplitLinesBaseline(benchmark::State &state, const QString &(*text)())
{
    const QString &t = text();
    for (auto _ : state) {
        const QStringList lines = t.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * t.size() * 2);
}
BENCHMARK_CAPTURE(BM_SplitLinesBaseline, package_details, &largePackageDump)->Unit(benchmark::kMicrosecond);

void BM_ParsePackageDetails(benchmark::State &state)
{
    const QString &t = largePackageDump();
    for (auto _ : state) {
        const PackageDetails details = ADBService::parsePackageDetails(t, QStringLiteral("com.example.giant"));
        benchmark::DoNotOptimize(details.activities.size());
    }
    state.SetBytesProcessed(state.iterations() * t.size() * 2);
}
BENCHMARK(BM_ParsePackageDetails)->Unit(benchmark::kMicrosecond);

// The Debloat screen's list on each keystroke: a search text that every package name
// matches, so the whole catalogue is classified, filtered and sorted.
void BM_DebloatCandidates(benchmark::State &state)
{
    QTemporaryDir dir;
    QSettings settings(dir.path() + QStringLiteral("/bench.ini"), QSettings::IniFormat);
    AppModel model(&settings, ADBService(QStringLiteral("/nonexistent/adb")), false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    model.packages.set(syntheticCatalogue());
    model.debloatSearchText.set(QStringLiteral("app"));
    model.debloatRiskFilter.set({});
    for (auto _ : state) {
        const auto list = model.debloatCandidates();
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["shown"] = double(model.debloatCandidates().size());
}
BENCHMARK(BM_DebloatCandidates)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// A library folder of 200 presets of 1,000 package names each, written once per run.
const QString &presetFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        for (int p = 0; p < 200; ++p) {
            QStringList names;
            for (int n = 0; n < 1000; ++n)
                names << QStringLiteral("com.vendor%1.app%2.module").arg(p).arg(n);
            const PackagePreset preset{1, QStringLiteral("Пресет %1").arg(p), QStringLiteral("описание"),
                                       PresetAction::disable, names,
                                       QStringLiteral("2026-01-%1T00:00:00Z").arg(p % 28 + 1, 2, 10, QLatin1Char('0'))};
            QFile file(dir.filePath(QStringLiteral("preset-%1.json").arg(p)));
            file.open(QIODevice::WriteOnly);
            file.write(preset.encode());
        }
        return dir.path();
    }();
    return folder;
}

// What any listing must do: read each file and decode its JSON, nothing else (on the main
// thread, where a blocking listing would run).
void BM_PresetDecodeBaseline(benchmark::State &state)
{
    const QString folder = presetFolder();
    for (auto _ : state) {
        qsizetype decoded = 0;
        const QDir dir(folder);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Unsorted)) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            decoded += PackagePreset::decode(bytes).has_value();
        }
        benchmark::DoNotOptimize(decoded);
    }
}
BENCHMARK(BM_PresetDecodeBaseline)->Unit(benchmark::kMillisecond);

// The library's reload: listed and decoded on the pool, sorted and published on this thread.
void BM_PresetLibraryReload(benchmark::State &state)
{
    const QString folder = presetFolder();
    for (auto _ : state) {
        PresetLibrary library(folder);
        QCoro::waitFor(library.reloadNow());
        benchmark::DoNotOptimize(library.presets().size());
        if (library.presets().size() != 200)
            state.SkipWithError("not every preset was listed");
    }
}
BENCHMARK(BM_PresetLibraryReload)->Unit(benchmark::kMillisecond);

} // namespace
