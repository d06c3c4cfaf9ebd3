#include "core/AppModel.h"

#include <benchmark/benchmark.h>

namespace {

// The text of a 5,000-line "pm list packages -f" run, user and system paths mixed.
const QString &packageListing()
{
    static const QString text = [] {
        QString out;
        for (int i = 0; i < 5000; ++i) {
            if (i % 3 == 0)
                out += QStringLiteral("package:/system/priv-app/Service%1/Service%1.apk=com.android.service%1\n").arg(i);
            else
                out += QStringLiteral("package:/data/app/~~Qm9vYmFy%1Zz==/com.example.app%1-aGVsbG8gd29ybGQ==/base.apk"
                                      "=com.example.app%1\n")
                           .arg(i);
        }
        return out;
    }();
    return text;
}

void BM_SplitLinesBaseline(benchmark::State &state)
{
    const QString &text = packageListing();
    for (auto _ : state) {
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_SplitLinesBaseline)->Unit(benchmark::kMicrosecond);

void BM_ParsePackages(benchmark::State &state)
{
    const QString &text = packageListing();
    for (auto _ : state) {
        const QList<AndroidPackage> packages = AppModel::parsePackages(text, PackageKind::user);
        benchmark::DoNotOptimize(packages.size());
    }
}
BENCHMARK(BM_ParsePackages)->Unit(benchmark::kMicrosecond);

} // namespace
