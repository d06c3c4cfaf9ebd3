#include "core/ConsoleTranscript.h"

#include <QDateTime>
#include <benchmark/benchmark.h>

namespace {

constexpr int kChunks = 100000;

// Chunks as a fast-streaming command delivers them: a few lines each, every other
// one coloured the way "ls --color" or a coloured log prints.
const QList<QString> &streamChunks()
{
    static const QList<QString> chunks = [] {
        QList<QString> list;
        list.reserve(kChunks);
        const QString esc(QChar(0x1B));
        for (int i = 0; i < kChunks; ++i) {
            QString chunk;
            for (int line = 0; line < 3; ++line) {
                const QString name = QStringLiteral("entry-%1-%2.log").arg(i).arg(line);
                if (i % 2 == 0)
                    chunk += QStringLiteral("-rw-r--r-- 1 shell shell 4096 2026-01-01 12:00 ") + esc
                             + QStringLiteral("[01;34m") + name + esc + QStringLiteral("[0m\n");
                else
                    chunk += QStringLiteral("12-09 10:15:01.123  1234  5678 I ActivityManager: ") + name + QLatin1Char('\n');
            }
            list.append(chunk);
        }
        return list;
    }();
    return chunks;
}

void BM_ConsoleAppend(benchmark::State &state)
{
    const QList<QString> &chunks = streamChunks();
    for (auto _ : state) {
        QList<ConsoleEntry> entries;
        for (const QString &chunk : chunks)
            appendConsoleEntry(entries, ConsoleEntryKind::standardOutput, chunk, QDateTime::currentDateTimeUtc());
        benchmark::DoNotOptimize(entries.size());
    }
    state.SetItemsProcessed(state.iterations() * kChunks);
}
BENCHMARK(BM_ConsoleAppend)->Unit(benchmark::kMillisecond);

void BM_ConsoleAppendBaseline(benchmark::State &state)
{
    const QList<QString> &chunks = streamChunks();
    for (auto _ : state) {
        QList<ConsoleEntry> entries;
        for (const QString &chunk : chunks) {
            entries.append(ConsoleEntry(QDateTime::currentDateTimeUtc(), ConsoleEntryKind::standardOutput, chunk));
            if (entries.size() > kConsoleTranscriptLimit)
                entries.remove(0, entries.size() - kConsoleTranscriptLimit);
        }
        benchmark::DoNotOptimize(entries.size());
    }
    state.SetItemsProcessed(state.iterations() * kChunks);
}
BENCHMARK(BM_ConsoleAppendBaseline)->Unit(benchmark::kMillisecond);

} // namespace
