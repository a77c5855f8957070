// Time of HighlightRenderer::Highlight for every entry of every region, on
// the region's own map and markers. The drill calls it on each marker the
// pointer enters, so the slowest entry must stay well inside a mouse move.
//
// Two references are measured in the same run:
//   Floor/<region>          a plain copy of the pristine map into the surface,
//                           which every highlight starts with;
//   NaiveFill/<region>/<k>  for an entry that fills: a clear of the map and
//                           the same seeds as Highlight of entry k, filled
//                           with a per-pixel std::queue fill through
//                           QImage::pixel/setPixel. Its result is compared
//                           with Highlight's, pixel for pixel.
// bench/report-highlight.sh runs them all and prints the per-region table.
#include "AtlasProfile.h"
#include "HighlightRenderer.h"
#include "MarkerLayout.h"
#include "RegionCatalogue.h"
#include "RegionHighlightTable.h"
#include "RegionMapView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <numeric>
#include <queue>
#include <vector>

namespace {

// A region's map view with its markers, as the screens set it up.
struct RegionMap {
    explicit RegionMap(int regionId)
    {
        view.setMap(QImage(QString::fromLatin1(AtlasProfiles::forRegion(regionId).mapResource)));
        view.setMarkers(markerLayout(regionId).atlasMarkers);
    }
    RegionMapView view;
};

// The seeds Highlight fills for a country: its stored seeds, or its marker's
// top-left pixel under the MarkerSeed rule. Empty for a ring or NoPaint.
std::vector<QPoint> fillSeeds(const RegionHighlightTable &table, const RegionMapView &view, int country)
{
    std::vector<QPoint> seeds;
    const std::optional<HighlightEntry> entry = table.entryFor(country);
    if (entry && entry->kind == HighlightKind::Fill) {
        for (const FillSeed &seed : table.seedsOf(*entry))
            seeds.emplace_back(seed.x, seed.y);
    } else if (!entry && table.defaultRule == DefaultRule::MarkerSeed) {
        const MapMarker *marker = view.marker(country - 1);
        const double tpp = Twips::PerPixel;
        seeds.push_back(Twips::markerSeed(marker->x() * tpp, marker->y() * tpp, tpp, tpp));
    }
    return seeds;
}

// The fill a straightforward implementation would write: a queue of points,
// one pixel() and setPixel() per pixel, 4 neighbours, a visited flag per
// pixel so that red already in the area does not stop it.
void naiveQueueFill(QImage &image, QPoint seed)
{
    constexpr QRgb Border = 0xff000000;
    constexpr QRgb Fill = 0xffff0000;
    if (!image.rect().contains(seed) || image.pixel(seed) == Border)
        return;
    const int width = image.width();
    std::vector<bool> visited(std::size_t(width) * std::size_t(image.height()), false);
    std::queue<QPoint> queue;
    queue.push(seed);
    visited[std::size_t(seed.y()) * width + seed.x()] = true;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop();
        image.setPixel(p, Fill);
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + step;
            if (!image.rect().contains(q))
                continue;
            const std::size_t at = std::size_t(q.y()) * width + q.x();
            if (visited[at] || image.pixel(q) == Border)
                continue;
            visited[at] = true;
            queue.push(q);
        }
    }
}

void highlightEntry(benchmark::State &state, int regionId, int country)
{
    RegionMap map(regionId);
    const RegionHighlightTable &table = highlightTable(regionId);
    HighlightRenderer renderer(table, map.view);
    for (auto _ : state) {
        renderer.Highlight(country);
        benchmark::DoNotOptimize(map.view.surface().constBits());
    }
    const QImage &pristine = map.view.pristineMap();
    const QImage &painted = map.view.surface();
    qint64 changed = 0;
    for (int y = 0; y < pristine.height(); ++y) {
        const QRgb *before = reinterpret_cast<const QRgb *>(pristine.constScanLine(y));
        const QRgb *after = reinterpret_cast<const QRgb *>(painted.constScanLine(y));
        changed += std::inner_product(before, before + pristine.width(), after, qint64(0), std::plus<>(),
                                      [](QRgb a, QRgb b) { return qint64(a != b); });
    }
    state.counters["changed"] = double(changed);  // pixels the highlight changed
    const std::optional<HighlightEntry> entry = table.entryFor(country);
    state.counters["seeds"] = double(fillSeeds(table, map.view, country).size());
    state.counters["ring"] = entry && entry->kind == HighlightKind::Circle ? 1.0 : 0.0;
}

void copyFloor(benchmark::State &state, int regionId)
{
    RegionMap map(regionId);
    const QImage &pristine = map.view.pristineMap();
    QImage &surface = map.view.editSurface();
    surface.detach();  // a buffer of its own, so the loop copies and nothing else
    for (auto _ : state) {
        std::memcpy(surface.bits(), pristine.constBits(), std::size_t(pristine.sizeInBytes()));
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = double(pristine.width()) * pristine.height();
}

void naiveFill(benchmark::State &state, int regionId, int country)
{
    RegionMap map(regionId);
    const std::vector<QPoint> seeds = fillSeeds(highlightTable(regionId), map.view, country);
    QImage surface;
    for (auto _ : state) {
        surface = map.view.pristineMap();  // cleared simply: shared, copied on the first write
        for (const QPoint seed : seeds)
            naiveQueueFill(surface, seed);
        benchmark::DoNotOptimize(surface.constBits());
    }
    HighlightRenderer renderer(highlightTable(regionId), map.view);
    renderer.Highlight(country);
    if (surface != map.view.surface())
        state.SkipWithError("the naive fill and Highlight paint different pixels");
    state.counters["seeds"] = double(seeds.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const RegionInfo &region : RegionCatalogue::all()) {
        const std::string id = std::to_string(region.id);
        benchmark::RegisterBenchmark(("Floor/" + id).c_str(), copyFloor, int(region.id))
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(0.05);
        for (int k = 1; k <= region.countryCount; ++k) {
            const std::string entry = id + "/" + std::to_string(k);
            benchmark::RegisterBenchmark(("Highlight/" + entry).c_str(), highlightEntry, int(region.id), k)
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(0.05);
        }
        // The naive reference for every entry that fills; rings have none.
        RegionMap map(region.id);
        for (int k = 1; k <= region.countryCount; ++k) {
            if (fillSeeds(highlightTable(region.id), map.view, k).empty())
                continue;
            const std::string entry = id + "/" + std::to_string(k);
            benchmark::RegisterBenchmark(("NaiveFill/" + entry).c_str(), naiveFill, int(region.id), k)
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(0.05);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
