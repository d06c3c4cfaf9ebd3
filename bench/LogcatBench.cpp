#include "core/ListModelAdapter.h"
#include "core/LogcatModel.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWindow = 20000;
constexpr int kTick = 750; // one 150 ms tick at 5,000 lines a second

// Threadtime lines as a busy phone writes them: a dozen tags, every level, Latin and Cyrillic.
QString corpusLine(int n)
{
    static const char *const tags[] = {"ActivityManager", "WindowManager", "chatty", "SurfaceFlinger", "NetworkMonitor",
                                       "PackageManager", "Сеть", "BluetoothAdapter", "InputDispatcher", "libc",
                                       "Zygote", "ConnectivityService"};
    static const char *const messages[] = {
        "Start proc %1:com.example.app%2/u0a%3 for activity {com.example/.MainActivity}",
        "Displayed com.example.app%2/.MainActivity: +%3ms (pid %1)",
        "uid=1000(system) Binder:%1_%2 expire %3 lines",
        "Соединение потеряно, повтор через %3 мс (попытка %2, процесс %1)",
        "Input event injection from pid %1 failed, window %2 not focused for %3 ms",
        "Background concurrent copying GC freed %1(%2KB) AllocSpace objects, %3ms total",
        "Ошибка чтения конфигурации %2: нет доступа к /data/system/%1 (код %3)",
        "setRequestedFrameRate: layer %1 rate %2 compatibility %3"};
    const int tag = n * 7 % 12;
    const int level = n * 5 % 6;
    const QString message = QString::fromUtf8(messages[n * 3 % 8]).arg(1000 + n % 9000).arg(n % 97).arg(n % 500);
    return QStringLiteral("12-09 10:%1:%2.%3  %4  %5 %6 %7: %8\n")
        .arg(n / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(n / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(n % 1000, 3, 10, QLatin1Char('0'))
        .arg(1000 + n % 3000, 5)
        .arg(1000 + n % 7000, 5)
        .arg(QLatin1Char("VDIWEF"[level]))
        .arg(QString::fromUtf8(tags[tag]))
        .arg(message);
}

QString corpus(int from, int count)
{
    QString text;
    for (int n = from; n < from + count; ++n)
        text += corpusLine(n);
    return text;
}

// The comparison: the same text cut into one string per line, nothing else.
void BM_LogcatSplitBaseline(benchmark::State &state)
{
    const QString text = corpus(kWindow, int(state.range(0)));
    for (auto _ : state) {
        QList<QString> lines;
        qsizetype start = 0;
        for (qsizetype feed = text.indexOf(u'\n'); feed >= 0; feed = text.indexOf(u'\n', start)) {
            lines.append(text.mid(start, feed - start));
            start = feed + 1;
        }
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LogcatSplitBaseline)->Arg(kTick)->Arg(kWindow)->Unit(benchmark::kMicrosecond);

// A full window with an item model on each list, as the screen shows them.
struct FullWindow {
    LogcatModel model;
    ListModelAdapter<LogLine> allRows{model.lines, [](const LogLine &, int, int) { return QVariant(); }};
    ListModelAdapter<LogLine> shownRows{model.visibleLines, [](const LogLine &, int, int) { return QVariant(); }};

    FullWindow()
    {
        model.setBufferLimit(kWindow);
        model.injectOutput(corpus(0, kWindow));
        model.flush();
    }
};

// One tick: 750 new lines into a full window with a level, a tag and a text filter set: cut into
// lines, taken in, parsed, counted, filtered, appended and trimmed with the row signals.
void BM_LogcatFlush(benchmark::State &state)
{
    FullWindow window;
    window.model.setMinimumLevel(LogLevel::info);
    window.model.setTagQuery(QStringLiteral("manager"));
    window.model.setSearchText(QStringLiteral("com.example"));
    const int ticks = 40;
    QList<QString> chunks;
    for (int t = 0; t < ticks; ++t)
        chunks << corpus(kWindow + t * kTick, kTick);
    int t = 0;
    for (auto _ : state) {
        window.model.injectOutput(chunks[t++ % ticks]);
        window.model.flush();
    }
    benchmark::DoNotOptimize(window.model.visibleLines.size());
    state.SetItemsProcessed(state.iterations() * kTick);
}
BENCHMARK(BM_LogcatFlush)->Unit(benchmark::kMicrosecond);

// One keystroke in the text filter over a full window: every line is tested again.
void BM_LogFilterKeystroke(benchmark::State &state)
{
    FullWindow window;
    const QStringList texts = {QStringLiteral("frame"), QStringLiteral("соединение"), QStringLiteral("GC freed"),
                               QStringLiteral("ошибка")};
    int k = 0;
    for (auto _ : state)
        window.model.setSearchText(texts[k++ % texts.size()]);
    benchmark::DoNotOptimize(window.model.visibleLines.size());
    state.SetItemsProcessed(state.iterations() * kWindow);
}
BENCHMARK(BM_LogFilterKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace
