#include "core/ConsoleTranscript.h"
#include "core/ConsoleTranscriptModel.h"
#include "core/ConsoleTranscriptWriter.h"
#include "screens/console/ConsoleTranscriptView.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QScrollBar>
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

// A transcript at its cap, filled with the stream's first chunks.
struct FullTranscript {
    Observable owner;
    PublishedList<ConsoleEntry> entries{&owner};
    FullTranscript()
    {
        const QList<QString> &chunks = streamChunks();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (qsizetype i = 0; i < kConsoleTranscriptLimit; ++i)
            appendConsoleEntry(entries, ConsoleEntryKind::standardOutput, chunks.at(chunks.size() - 1 - i), now);
    }
};

constexpr int kViewChunks = 10000;
// Chunks a stream delivers between two turns of the event loop.
constexpr int kChunksPerTurn = 50;

// What the console does with a fast stream: every chunk goes to the transcript's writer, which
// appends the waiting chunks as one batch at the transcript's cap when its interval is up; the
// shown list view takes the row signals, lays out and follows the newest row. The event loop
// turns every 50 chunks; at the end whatever still waits is appended and laid out too.
void BM_ConsoleViewAppend(benchmark::State &state)
{
    const QList<QString> &chunks = streamChunks();
    FullTranscript transcript;
    ConsoleTranscriptWriter writer(transcript.entries);
    ConsoleTranscriptModel model(transcript.entries);
    ConsoleTranscriptView view(&model);
    view.resize(900, 600);
    view.show();
    QCoreApplication::processEvents();
    view.scrollToBottom();
    for (auto _ : state) {
        for (int i = 0; i < kViewChunks; ++i) {
            writer.queue(ConsoleEntryKind::standardOutput, chunks.at(i), QDateTime::currentDateTimeUtc());
            if (i % kChunksPerTurn == kChunksPerTurn - 1) {
                QCoreApplication::processEvents();
                view.scrollToBottom();
            }
        }
        writer.flush();
        QCoreApplication::processEvents();
        view.scrollToBottom();
        benchmark::DoNotOptimize(view.verticalScrollBar()->value());
    }
    state.SetItemsProcessed(state.iterations() * kViewChunks);
}
BENCHMARK(BM_ConsoleViewAppend)->Unit(benchmark::kMillisecond);

// A change of width (a window resized, the scroll bar coming or going) with a full transcript:
// every row is measured again at the new width and the list is laid out once.
void BM_ConsoleViewWidthChange(benchmark::State &state)
{
    FullTranscript transcript;
    ConsoleTranscriptModel model(transcript.entries);
    ConsoleTranscriptView view(&model);
    view.resize(900, 600);
    view.show();
    QCoreApplication::processEvents();
    int turn = 0;
    for (auto _ : state) {
        view.resize(turn++ % 2 == 0 ? 880 : 900, 600);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(view.visualRect(model.index(kConsoleTranscriptLimit - 1, 0)));
    }
    state.SetItemsProcessed(state.iterations() * kConsoleTranscriptLimit);
}
BENCHMARK(BM_ConsoleViewWidthChange)->Unit(benchmark::kMicrosecond);

// Typing into the search field: the transcript model filters 3,000 entries and counts the
// matches. Two texts in turn, so that every step searches.
void BM_ConsoleSearch(benchmark::State &state)
{
    FullTranscript transcript;
    ConsoleTranscriptModel model(transcript.entries);
    const QString texts[] = {QStringLiteral("ActivityManager: entry-9"), QStringLiteral("SHELL 4096")};
    int turn = 0;
    for (auto _ : state) {
        model.setSearchText(texts[turn++ % 2]);
        benchmark::DoNotOptimize(model.matchCount());
    }
    state.SetItemsProcessed(state.iterations() * kConsoleTranscriptLimit);
}
BENCHMARK(BM_ConsoleSearch)->Unit(benchmark::kMicrosecond);

// The floor to compare with: only splitting the same entries' texts into lines.
void BM_ConsoleSearchBaseline(benchmark::State &state)
{
    FullTranscript transcript;
    for (auto _ : state) {
        qsizetype lines = 0;
        for (const ConsoleEntry &entry : transcript.entries.get())
            lines += entry.text.split(QLatin1Char('\n')).size();
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * kConsoleTranscriptLimit);
}
BENCHMARK(BM_ConsoleSearchBaseline)->Unit(benchmark::kMicrosecond);

} // namespace
