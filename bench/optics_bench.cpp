// Light performance speed: the face-up picture of the round brilliant in
// diamond at 512 x 512 on every core and on one, at 256 x 256 (the size of a
// sweep's pictures) on one, under each lighting, and a tilt sweep of 25
// tilts at 256 x 256.
#include <benchmark/benchmark.h>

#include "design/sample_designs.h"
#include "optics/face_up.h"
#include "optics/tilt_sweep.h"

namespace {

using namespace brevix;
using namespace brevix::optics;

const Stone& brilliant() {
    static const Stone stone = makeRoundBrilliant();
    return stone;
}

void faceUpDiamond(benchmark::State& state) {
    FaceUpOptions options;
    options.size = static_cast<int>(state.range(0));
    options.threads = static_cast<int>(state.range(1));
    options.refractiveIndex = 2.42;
    // Without the exit hints, every exit is searched in full (the same picture).
    PreparedStone prepared(brilliant(), 0.0);
    if (state.range(2) == 0) prepared.hints = {};
    for (auto _ : state) benchmark::DoNotOptimize(renderFaceUp(prepared, options).isoBrightness);
    state.counters["pixels/s"] =
        benchmark::Counter(double(options.size) * options.size, benchmark::Counter::kIsIterationInvariantRate);
}
// Threads 0 = every core; then with the exit hints or without.
BENCHMARK(faceUpDiamond)
    ->Args({512, 0, 1})
    ->Args({512, 1, 1})
    ->Args({512, 1, 0})
    ->Args({256, 1, 1})
    ->Args({256, 1, 0})
    ->Args({64, 1, 1})
    ->Args({64, 1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void tiltSweepDiamond(benchmark::State& state) {
    FaceUpOptions options;
    options.size = 256;
    options.threads = static_cast<int>(state.range(0));
    options.refractiveIndex = 2.42;
    const TiltRange range{-30, 30, 2.5};  // 25 tilts
    for (auto _ : state) benchmark::DoNotOptimize(sweepTilts(brilliant(), options, range).meanIso);
}
// Each lighting at 512 x 512 on every core: a room costs a lookup per ray
// that leaves, ASET a few comparisons.
void faceUpUnder(benchmark::State& state) {
    FaceUpOptions options;
    options.size = 512;
    options.refractiveIndex = 2.42;
    options.lighting.environment = static_cast<Environment>(state.range(0));
    state.SetLabel(environmentKey(options.lighting.environment));
    for (auto _ : state) benchmark::DoNotOptimize(renderFaceUp(brilliant(), options).sceneBrightness);
}
BENCHMARK(faceUpUnder)
    ->DenseRange(int(Environment::Iso), int(Environment::Dome))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(tiltSweepDiamond)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
