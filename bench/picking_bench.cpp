// One hover in the four view: classify the pane under the pointer, pick,
// record the new highlight and draw the marks, for the round brilliant and
// for a 1000-facet design. The pointer visits facet after facet, so every
// hover finds something new to highlight (the slow case).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "views/four_view.h"
#include "views/hover.h"
#include "views/recording_canvas.h"

namespace {

using namespace brevix;

// Planes tangent to a sphere along a Fibonacci spiral: every plane makes a facet.
Stone sphereDesign(int planes) {
    Stone stone;
    const double golden = PI * (3 - std::sqrt(5.0));
    for (int i = 0; i < planes; ++i) {
        const double z = 1 - (2 * i + 1.0) / planes;
        const double r = std::sqrt(1 - z * z);
        const double t = golden * i;
        stone.newFacet(r * std::cos(t), r * std::sin(t), z, 0.95);
    }
    return stone;
}

void hover(benchmark::State& state, Stone& stone) {
    NullCanvas canvas;
    std::vector<View> panes;
    drawFourView(&stone, canvas, {0, 0, 800, 800}, {}, panes);
    // The centres of the facets seen from above, as pointer positions.
    std::vector<std::pair<double, double>> pointer;
    const View& top = panes[PANE_TOP];
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.c < 0.5) continue;
        const Vec3 centre = f.normal() * f.d;
        pointer.push_back({top.projectX(centre), top.projectY(centre)});
    }
    PickState pick;
    size_t k = 0;
    for (auto _ : state) {
        const auto [x, y] = pointer[k++ % pointer.size()];
        benchmark::DoNotOptimize(pick.hover(&stone, panes, x, y, false, false));
        pick.drawOverlay(canvas);
    }
    state.counters["facets"] = stone.nFacet - stone.nRough;
}

void BM_HoverRoundBrilliant(benchmark::State& state) {
    Stone stone = makeRoundBrilliant();
    hover(state, stone);
}
BENCHMARK(BM_HoverRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_Hover1000Facets(benchmark::State& state) {
    Stone stone = sphereDesign(1000);
    hover(state, stone);
}
BENCHMARK(BM_Hover1000Facets)->Unit(benchmark::kMicrosecond);

}  // namespace
