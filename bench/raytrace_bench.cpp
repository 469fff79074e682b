// Raytrace speed: a square grid of 10 000 rays shot straight down through
// the round brilliant's table, every path traced and stored in the stone's
// ray list, which starts empty each time (so its growth is counted too).
#include <benchmark/benchmark.h>

#include "design/sample_designs.h"
#include "kernel/stone.h"

namespace {

using namespace brevix;

void shootThroughTable(benchmark::State& state, double refractiveIndex) {
    Stone stone = makeRoundBrilliant();
    stone.refractiveIndex = refractiveIndex;
    constexpr int SIDE = 100;    // 100 x 100 rays
    constexpr double HALF = 0.4;  // inside the table
    for (auto _ : state) {
        stone.rays = {};
        stone.nRay = 0;
        for (int i = 0; i < SIDE; ++i)
            for (int j = 0; j < SIDE; ++j) {
                const double x = -HALF + 2 * HALF * (i + 0.5) / SIDE;
                const double y = -HALF + 2 * HALF * (j + 0.5) / SIDE;
                stone.traceRay({x, y, 1.1}, {0, 0, -1});
            }
        benchmark::DoNotOptimize(stone.rays.data());
    }
    state.counters["points"] = stone.nRay / 4;
    state.SetItemsProcessed(state.iterations() * SIDE * SIDE);
}

void BM_TableRaysDiamond(benchmark::State& state) { shootThroughTable(state, 2.42); }
void BM_TableRaysQuartz(benchmark::State& state) { shootThroughTable(state, 1.54); }

BENCHMARK(BM_TableRaysDiamond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableRaysQuartz)->Unit(benchmark::kMillisecond);

}  // namespace
