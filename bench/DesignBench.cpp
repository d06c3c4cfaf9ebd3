#include "design/DeviceObject.h"
#include "design/Panel.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include <QImage>
#include <QRegion>

#include <cmath>
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

// The same fill at the device illustration's default size (the budget of its frames).
void BM_PaintRectBaselineDevice(benchmark::State &state)
{
    const DeviceObject probe(LinkState::Case::connected);
    const QSize size = probe.size();
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Ink::canvas());
    const QColor fill = Ink::surface();
    for (auto _ : state) {
        QPainter p(&img);
        p.fillRect(QRectF(QPointF(0, 0), size), fill);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PaintRectBaselineDevice)->Unit(benchmark::kMicrosecond);

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

// One animation frame of the device illustration at its default size while the band sweeps
// and the busy arc turns, caches warm (the arc's steps drawn once): what the widget repaints
// per tick, the glass the band's edges cross and the arc's old and new places.
void BM_PaintDeviceObject(benchmark::State &state)
{
    DeviceSnapshot snapshot;
    snapshot.serial = QStringLiteral("R58M123ABC");
    snapshot.model = QStringLiteral("Pixel 8");
    snapshot.androidRelease = QStringLiteral("14");
    snapshot.batteryLevel = 76;
    snapshot.storageTotalBytes = 128'000'000'000;
    snapshot.storageUsedBytes = 96'000'000'000;
    snapshot.storageFreeBytes = 32'000'000'000;
    DeviceObject object(LinkState::working(QStringLiteral("Отключение пакетов")), snapshot);
    QImage img(object.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Ink::canvas());
    for (int step = 0; step < DeviceObject::kOrbitSteps; ++step) {
        QPainter warm(&img);
        object.setAnimationPhase(0.5, step * 360.0 / DeviceObject::kOrbitSteps);
        object.paintFrame(warm);
    }
    qreal sweep = 0.3;
    qreal orbit = 0;
    const qreal orbitStep = 360.0 / DeviceObject::kOrbitSteps;
    for (auto _ : state) {
        const qreal next = std::fmod(orbit + orbitStep, 360);
        const qreal before = sweep;
        sweep = sweep >= 0.7 ? 0.3 : sweep + 0.01;
        object.setAnimationPhase(sweep, next);
        const QRegion dirty = object.sweepRegion(before) + object.orbitRegion(orbit);
        orbit = next;
        QPainter p(&img);
        object.paintFrame(p, dirty);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PaintDeviceObject)->Unit(benchmark::kMicrosecond);

// A whole frame of the illustration (what a first paint or a theme change costs).
void BM_PaintDeviceObjectFull(benchmark::State &state)
{
    DeviceObject object(LinkState::working(QStringLiteral("Отключение пакетов")));
    QImage img(object.size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Ink::canvas());
    object.setAnimationPhase(0.5, 90);
    {
        QPainter warm(&img);
        object.paintFrame(warm);
    }
    for (auto _ : state) {
        QPainter p(&img);
        object.paintFrame(p);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PaintDeviceObjectFull)->Unit(benchmark::kMicrosecond);

} // namespace
