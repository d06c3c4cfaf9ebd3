#include "design/Panel.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The target holds the panel with room for its shadow, as a window's backing store would.
QImage target()
{
    QImage img(kWidth + 64, kHeight + 64, QImage::Format_ARGB32_Premultiplied);
    img.fill(Ink::canvas());
    return img;
}

void BM_PaintRectBaseline(benchmark::State &state)
{
    QImage img = target();
    const QColor fill = Ink::surface();
    for (auto _ : state) {
        QPainter p(&img);
        p.fillRect(QRectF(32, 32, kWidth, kHeight), fill);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PaintRectBaseline)->Unit(benchmark::kMicrosecond);

void BM_PaintPanelCached(benchmark::State &state)
{
    QImage img = target();
    const PanelStyle glass{PanelKind::glass, Radius::l, Elevation::low(), true, true};
    {
        QPainter warm(&img);
        Panel::paint(warm, QRectF(32, 32, kWidth, kHeight), glass);
    }
    for (auto _ : state) {
        QPainter p(&img);
        Panel::paint(p, QRectF(32, 32, kWidth, kHeight), glass);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PaintPanelCached)->Unit(benchmark::kMicrosecond);

} // namespace
