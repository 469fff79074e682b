// How long a cutter waits to learn how forgiving a design is: 200 samples
// of the round brilliant (73 facets) cut with machine error, re-cut by
// intent and rendered at the default size, with the two pictures of each
// tier's sensitivity, on every core; and a robust optimisation of the deep
// brilliant (pavilion 43/45, crown 42/47, stars 27), each candidate scored
// over eight copies cut with machine error, two searches of 50 candidates.
#include <benchmark/benchmark.h>

#include "intent/brilliant_intent.h"
#include "optimise/brilliant_at.h"
#include "optimise/optimiser.h"
#include "tolerance/tolerance.h"

namespace brevix::tolerance {
namespace {

void BM_ToleranceOfTheRoundBrilliant(benchmark::State& state) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    ToleranceOptions options;
    options.light.refractiveIndex = 1.54;
    for (auto _ : state) {
        const ToleranceReport r = analyseTolerance(built.stone, built.intent, options);
        if (!r.error.empty() || r.samples != 200) state.SkipWithError("not every sample was measured");
        benchmark::DoNotOptimize(r.iso.mean);
    }
}
BENCHMARK(BM_ToleranceOfTheRoundBrilliant)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RobustOptimisationOfTheDeepBrilliant(benchmark::State& state) {
    const DesignWithIntent deep = optimise::testing::deepBrilliant();
    optimise::OptimiseSettings settings;
    settings.starts = 2;
    settings.evaluationsPerStart = 50;
    settings.scoring.robustSamples = 8;
    for (auto _ : state) {
        const optimise::OptimiseResult r = optimise::optimiseDesign(deep.stone, deep.intent, settings);
        if (!r.best) state.SkipWithError("no result");
        state.counters["evaluations"] = r.evaluations;
    }
}
BENCHMARK(BM_RobustOptimisationOfTheDeepBrilliant)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace brevix::tolerance
