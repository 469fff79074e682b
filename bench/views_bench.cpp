// Painting speed of the four view: classification and drawing of all four
// panes (three passes, as a paint does) for the round brilliant and for a
// 1000-facet design, onto a canvas that draws nothing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "platform/strformat.h"
#include "views/four_view.h"
#include "views/recording_canvas.h"
#include "views/stone_drawing.h"

namespace {

using namespace brevix;

// Planes tangent to a sphere along a Fibonacci spiral: every plane makes a
// facet, and every facet is named so that labels are placed too.
Stone sphereDesign(int planes) {
    Stone stone;
    const double golden = PI * (3 - std::sqrt(5.0));
    for (int i = 0; i < planes; ++i) {
        const double z = 1 - (2 * i + 1.0) / planes;
        const double r = std::sqrt(1 - z * z);
        const double t = golden * i;
        if (stone.newFacet(r * std::cos(t), r * std::sin(t), z, 0.95) >= 0)
            stone.setFacetName(stone.nFacet - 1, strprintf("F%d", i));
    }
    return stone;
}

void paintFourView(benchmark::State& state, Stone& stone) {
    NullCanvas canvas;
    std::vector<View> panes;
    FourViewOptions options;
    options.hiddenLines = true;
    for (auto _ : state) {
        drawFourView(&stone, canvas, {0, 0, 800, 800}, options, panes);
        benchmark::DoNotOptimize(canvas.calls);
    }
    state.counters["facets"] = stone.nFacet - stone.nRough;
    state.counters["edges"] = stone.nEdge;
}

void BM_FourViewRoundBrilliant(benchmark::State& state) {
    Stone stone = makeRoundBrilliant();
    paintFourView(state, stone);
}
BENCHMARK(BM_FourViewRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_FourView1000Facets(benchmark::State& state) {
    Stone stone = sphereDesign(1000);
    paintFourView(state, stone);
}
BENCHMARK(BM_FourView1000Facets)->Unit(benchmark::kMillisecond);

// One pass over the four panes without the label centres and statistics.
void BM_ClassifyAndDraw1000Facets(benchmark::State& state) {
    Stone stone = sphereDesign(1000);
    NullCanvas canvas;
    std::vector<View> panes;
    drawFourView(&stone, canvas, {0, 0, 800, 800}, {}, panes);
    for (auto _ : state) {
        for (View& view : panes)
            drawStone(stone, view, DRAW_SILHOUETTE | DRAW_VISIBLE | DRAW_HIDDEN | DRAW_LABELS);
        benchmark::DoNotOptimize(canvas.calls);
    }
}
BENCHMARK(BM_ClassifyAndDraw1000Facets)->Unit(benchmark::kMillisecond);

}  // namespace
