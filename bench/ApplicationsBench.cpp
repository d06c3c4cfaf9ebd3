#include "bridge/ADBService.h"
#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/Ink.h"
#include "design/Typo.h"
#include "screens/packages/AppIconCache.h"
#include "screens/packages/ApplicationsState.h"
#include "screens/packages/PackageListView.h"

#include "SyntheticCatalogue.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr QSize kViewport(900, 700);

struct ListFixture {
    QTemporaryDir dir;
    QSettings store{dir.path() + QStringLiteral("/bench.ini"), QSettings::IniFormat};
    AppModel model{&store, ADBService(QStringLiteral("/nonexistent/adb")), false, false,
                   AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{}};
    ApplicationsState state{&model};
    PackageListView view{&model, &state};

    explicit ListFixture(const QList<AndroidPackage> &packages)
    {
        model.packages.set(packages);
        state.refreshNow();
        view.resize(kViewport);
        view.show();
        settleLayout();
    }
    // The list lays rows out in batches between events: let it finish.
    void settleLayout()
    {
        const int full = int(state.rows.size()) * rowHeight(ListDensity::regular) - view.viewport()->height();
        while (view.verticalScrollBar()->maximum() < full)
            QApplication::processEvents();
    }
    // Paints the viewport page after page from the top of the list to its bottom.
    int scrollThrough(QImage &target)
    {
        QScrollBar *bar = view.verticalScrollBar();
        const int page = view.viewport()->height();
        int pages = 0;
        for (int y = 0;; y += page) {
            bar->setValue(y);
            view.viewport()->render(&target);
            ++pages;
            if (y >= bar->maximum())
                break;
        }
        return pages;
    }
};

// The list with 5,000 packages with icons, painted page by page from top to bottom. Icons are
// decoded in a first pass (once per package name, as they are on screen); the pass measured is
// the scrolling the user does afterwards.
void BM_PackageListScroll(benchmark::State &state)
{
    AppIconCache::shared().reset();
    ListFixture f(syntheticCatalogueWithIcons());
    QImage target(f.view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    f.scrollThrough(target);
    int pages = 0;
    for (auto _ : state)
        pages = f.scrollThrough(target);
    state.counters["pages"] = pages;
    state.counters["rows"] = double(f.state.rows.size());
    AppIconCache::shared().reset();
}
BENCHMARK(BM_PackageListScroll)->Unit(benchmark::kMillisecond);

// The same number of rows, each painted as one line of text, page by page.
void BM_PackageListScrollBaseline(benchmark::State &state)
{
    const QList<AndroidPackage> packages = syntheticCatalogueWithIcons();
    QImage target(kViewport, QImage::Format_ARGB32_Premultiplied);
    const int rowHeight = ::rowHeight(ListDensity::regular);
    const int rowsPerPage = kViewport.height() / rowHeight;
    for (auto _ : state) {
        for (qsizetype first = 0; first < packages.size(); first += rowsPerPage) {
            target.fill(Ink::canvas());
            QPainter p(&target);
            p.setFont(Typo::bodyMedium());
            p.setPen(Ink::text());
            for (int i = 0; i <= rowsPerPage && first + i < packages.size(); ++i)
                p.drawText(QRect(20, i * rowHeight, kViewport.width() - 40, rowHeight), Qt::AlignVCenter,
                           packages[first + i].displayName);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PackageListScrollBaseline)->Unit(benchmark::kMillisecond);

// One keystroke in the search field: the model's filter and sort, the list model's update and
// a repaint of the viewport. Compared with BM_DisplayedPackages (the filter and sort alone, the
// same filters); the two texts alternate between 5,001 and 5,000 matches so each keystroke
// changes the list.
void BM_SearchKeystroke(benchmark::State &state)
{
    QList<AndroidPackage> packages = syntheticCatalogueWithIcons();
    packages << AndroidPackage(QStringLiteral("org.ap.tool"), QStringLiteral("/data/app/t.apk"), PackageKind::user);
    AppIconCache::shared().reset();
    ListFixture f(packages);
    f.model.stateFilters.set({PackageState::enabled, PackageState::disabled});
    f.model.searchText.set(QStringLiteral("app"));
    f.state.refreshNow();
    QImage target(f.view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    f.view.viewport()->render(&target);
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        f.model.searchText.set(longer ? QStringLiteral("ap") : QStringLiteral("app"));
        f.state.refreshNow();
        f.view.viewport()->render(&target);
    }
    state.counters["shown"] = double(f.state.rows.size());
    AppIconCache::shared().reset();
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
