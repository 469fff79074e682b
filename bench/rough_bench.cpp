// Speed of fitting a design into a rough: the round brilliant sample in a
// noisy 5000-triangle pebble as a phone scan gives one (the whole fit on
// one thread and on every core, and one pose's largest size), fifty
// designs in that pebble, and reading and preparing a pebble of a million
// triangles (and preparing it alone, where the checks of the surface show,
// and the search for a surface through itself alone).
#include <benchmark/benchmark.h>

#include "document/design_io.h"
#include "rough/fit_model.h"
#include "rough/pebble.h"
#include "rough/self_crossing.h"
#include "support/generated_designs.h"

namespace brevix::rough {
namespace {

std::unique_ptr<Stone> roundBrilliant() {
    return std::move(readDesignFile(std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc", FileType::Asc, 8, 1)
                         .stone);
}

void BM_FitTheBrilliantInAPebble(benchmark::State& state) {
    const auto stone = roundBrilliant();
    const RoughCheck check = prepareRough(pebbleMesh(3, 5000, 20));
    FitOptions options;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const FitResult fit = fitStone(*stone, *check.rough, options);
        if (!fit.fits) state.SkipWithError("no fit");
        state.counters["width_mm"] = fit.widthMm;
    }
}
BENCHMARK(BM_FitTheBrilliantInAPebble)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A folder's worth of designs, one after another, each fit on every core.
void BM_FitFiftyDesignsInAPebble(benchmark::State& state) {
    const RoughCheck check = prepareRough(pebbleMesh(3, 5000, 20));
    std::vector<Stone> designs;
    for (int i = 0; i < 50; ++i) designs.push_back(testing::generatedBrilliant(i));
    for (auto _ : state)
        for (const Stone& design : designs)
            if (!fitStone(design, *check.rough, FitOptions{}).fits) state.SkipWithError("no fit");
}
BENCHMARK(BM_FitFiftyDesignsInAPebble)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LargestSizeOfOnePose(benchmark::State& state) {
    const auto stone = roundBrilliant();
    const RoughCheck check = prepareRough(pebbleMesh(3, 5000, 20));
    const StoneShape shape = stoneShape(*stone);
    Pose pose;
    pose.rotation = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    pose.centre = check.rough->centroid;
    for (auto _ : state) benchmark::DoNotOptimize(largestScale(shape, *check.rough, pose, FitOptions{}, false));
}
BENCHMARK(BM_LargestSizeOfOnePose)->Unit(benchmark::kMicrosecond);

// Read as OBJ text, then every corner repeated per triangle as an STL
// gives them, which preparing welds.
void BM_PrepareAMillionTriangles(benchmark::State& state) {
    const std::string obj = objText(pebbleMesh(5, 1000000, 20));
    for (auto _ : state) {
        MeshRead read = readMeshBytes(obj, "pebble.obj");
        Mesh soup;
        soup.points.reserve(read.mesh->triangles.size() * 3);
        for (const auto& t : read.mesh->triangles) {
            std::array<uint32_t, 3> corners{};
            for (int c = 0; c < 3; ++c) {
                corners[c] = static_cast<uint32_t>(soup.points.size());
                soup.points.push_back(read.mesh->points[t[c]]);
            }
            soup.triangles.push_back(corners);
        }
        read.mesh.reset();
        const RoughCheck check = prepareRough(std::move(soup));
        if (!check.rough) state.SkipWithError(check.error.c_str());
        state.counters["triangles"] = static_cast<double>(roughMesh(*check.rough).triangles.size());
    }
}
BENCHMARK(BM_PrepareAMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(1);

// Preparing alone, from points already shared: the checks that the surface
// is a proper solid, without the reading and welding around them.
void BM_PrepareAMillionTrianglePebble(benchmark::State& state) {
    const Mesh pebble = pebbleMesh(5, 1000000, 20);
    for (auto _ : state) {
        state.PauseTiming();
        Mesh copy = pebble;
        state.ResumeTiming();
        const RoughCheck check = prepareRough(std::move(copy));
        if (!check.rough) state.SkipWithError(check.error.c_str());
    }
}
BENCHMARK(BM_PrepareAMillionTrianglePebble)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// Of that, the search for a surface passing through itself.
void BM_SelfCrossingOfAMillionTrianglePebble(benchmark::State& state) {
    const Mesh pebble = pebbleMesh(5, 1000000, 20);
    const RayCaster tree(pebble);
    for (auto _ : state)
        if (findSelfCrossing(pebble, tree)) state.SkipWithError("a pebble crosses itself");
}
BENCHMARK(BM_SelfCrossingOfAMillionTrianglePebble)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace
}  // namespace brevix::rough
