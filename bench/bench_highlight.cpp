// Time of HighlightRenderer::Highlight for every entry of every region, on
// the region's own map and markers. The drill calls it on each marker the
// pointer enters, so the slowest entry must stay well inside a mouse move.
#include "AtlasProfile.h"
#include "HighlightRenderer.h"
#include "MarkerLayout.h"
#include "RegionCatalogue.h"
#include "RegionHighlightTable.h"
#include "RegionMapView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void highlightEntry(benchmark::State &state, int regionId, int country)
{
    RegionMapView view;
    view.setMap(QImage(QString::fromLatin1(AtlasProfiles::forRegion(regionId).mapResource)));
    view.setMarkers(markerLayout(regionId).atlasMarkers);
    const RegionHighlightTable &table = highlightTable(regionId);
    HighlightRenderer renderer(table, view);
    for (auto _ : state) {
        renderer.Highlight(country);
        benchmark::DoNotOptimize(view.surface().constBits());
    }
    const std::optional<HighlightEntry> entry = table.entryFor(country);
    state.counters["seeds"] = !entry ? 1.0 : entry->kind == HighlightKind::Fill ? entry->seedCount : 0.0;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const RegionInfo &region : RegionCatalogue::all()) {
        for (int k = 1; k <= region.countryCount; ++k) {
            const std::string name = "Highlight/" + std::to_string(region.id) + "/" + std::to_string(k);
            benchmark::RegisterBenchmark(name.c_str(), highlightEntry, int(region.id), k)
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(0.05);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
