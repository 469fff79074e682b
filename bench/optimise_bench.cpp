// Speed of one optimiser candidate on the round brilliant (73 facets): the
// re-cut by intent after every varied tier turned, the checks of its meets
// and of every limit (critical angle, facet areas, tier order, girdle, the
// design warnings), and the small pictures over the tilt sweeps the
// balanced goal scores with, on one thread as the optimiser runs it; and of
// a whole run with every limit on. The same for the big stepped round of 21
// tiers and 321 facets (bench/stepped_round.brx), and the re-cut of a
// candidate alone, the part of it that is not light; and a candidate as
// the optimiser's search meets it, some of its work carried over from the
// candidates before it.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "intent/brilliant_intent.h"
#include "intent/stepped_round_intent.h"
#include "optimise/evaluator.h"
#include "optimise/optimiser.h"
#include "optimise/brilliant_at.h"

namespace brevix::optimise {
namespace {

void BM_OneCandidateOfTheRoundBrilliant(benchmark::State& state) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(built.intent, defaultTiers(built.intent), {}, Limits{}, 1.54, error);
    const Evaluator evaluator(built.stone, built.intent, vars, Limits{}, Scoring{}, GoalWeights{});
    std::vector<double> a, b;
    // Two candidates a little off the start, each inside its tier's range
    // (the mains start below the critical angle's limit and are lifted to
    // it; every tier turns steeper, so that no facet shrinks past its limit).
    for (const TierVariable& v : vars) {
        a.push_back(std::clamp(v.start + 0.1, v.low, v.high));
        b.push_back(std::clamp(v.start + 0.2, v.low, v.high));
    }
    bool flip = false;
    for (auto _ : state) {
        const Evaluation e = evaluator.evaluate(flip ? a : b);
        flip = !flip;
        if (!e.accepted) state.SkipWithError(("a candidate was not accepted: " + e.why).c_str());
        benchmark::DoNotOptimize(e.score);
    }
}
BENCHMARK(BM_OneCandidateOfTheRoundBrilliant)->Unit(benchmark::kMillisecond);

// One candidate of the big stepped round: 21 tiers (a girdle, 10 pavilion
// and 9 crown rings of 16 facets, a table), 321 facets, every ring turned.
void BM_OneCandidateOfTheSteppedRound(benchmark::State& state) {
    const DesignWithIntent built = cutSteppedRound(SteppedRound{});
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(built.intent, defaultTiers(built.intent), {}, Limits{}, 1.54, error);
    const Evaluator evaluator(built.stone, built.intent, vars, Limits{}, Scoring{}, GoalWeights{});
    // Every ring a little steeper, or a little flatter, inside its range.
    std::vector<double> a, b;
    for (const TierVariable& v : vars) {
        a.push_back(std::clamp(v.start + 0.1, v.low, v.high));
        b.push_back(std::clamp(v.start - 0.1, v.low, v.high));
    }
    bool flip = false;
    for (auto _ : state) {
        const Evaluation e = evaluator.evaluate(flip ? a : b);
        flip = !flip;
        if (!e.accepted) state.SkipWithError(("a candidate was not accepted: " + e.why).c_str());
        benchmark::DoNotOptimize(e.score);
    }
    state.counters["facets"] = built.stone.nFacet;
    state.counters["tiers"] = double(built.intent.tiers.size());
}
BENCHMARK(BM_OneCandidateOfTheSteppedRound)->Unit(benchmark::kMillisecond);

// The re-cut alone of such a candidate, every ring turned from the first
// varied tier on, as the evaluator asks for it: the part of a candidate
// that is not its light or its checks.
void recutEveryVariedTier(benchmark::State& state, const DesignWithIntent& built) {
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(built.intent, defaultTiers(built.intent), {}, Limits{}, 1.54, error);
    DesignIntent turned[2] = {built.intent, built.intent};
    for (int k = 0; k < 2; ++k)
        for (const TierVariable& v : vars) {
            const double angle = std::clamp(v.start + (k ? 0.1 : -0.1), v.low, v.high);
            turned[k].tiers[v.tier].angle = v.pavilion ? -angle : angle;
        }
    TierChange change;
    change.tier = vars.front().tier;
    change.setAngle = true;
    bool flip = false;
    for (auto _ : state) {
        change.angle = turned[flip].tiers[change.tier].angle;
        const RecutResult cut = recutByIntent(built.stone, turned[flip], change);
        flip = !flip;
        if (!cut.ok()) state.SkipWithError("the re-cut failed");
        benchmark::DoNotOptimize(cut.stone.nFacet);
    }
}

void BM_RecutOneCandidateOfTheRoundBrilliant(benchmark::State& state) {
    recutEveryVariedTier(state, cutRoundBrilliantByIntent());
}
BENCHMARK(BM_RecutOneCandidateOfTheRoundBrilliant)->Unit(benchmark::kMillisecond);

void BM_RecutOneCandidateOfTheSteppedRound(benchmark::State& state) {
    recutEveryVariedTier(state, cutSteppedRound(SteppedRound{}));
}
BENCHMARK(BM_RecutOneCandidateOfTheSteppedRound)->Unit(benchmark::kMillisecond);

// The re-cut of a candidate whose last varied ring alone turned, carried
// over from the candidate before it (RecutSteps), as a search's candidates
// that vary a few tiers at a time are: only the tiers from that ring on are
// cut again.
void BM_RecutStepsOfTheSteppedRoundLastRingTurned(benchmark::State& state) {
    const DesignWithIntent built = cutSteppedRound(SteppedRound{});
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(built.intent, defaultTiers(built.intent), {}, Limits{}, 1.54, error);
    const TierVariable& last = vars.back();
    DesignIntent turned[2] = {built.intent, built.intent};
    for (int k = 0; k < 2; ++k) {
        const double angle = std::clamp(last.start + (k ? 0.1 : -0.1), last.low, last.high);
        turned[k].tiers[last.tier].angle = last.pavilion ? -angle : angle;
    }
    TierChange change;
    change.tier = vars.front().tier;
    change.setAngle = true;
    change.angle = built.intent.tiers[change.tier].angle;
    RecutSteps steps;
    bool flip = false;
    for (auto _ : state) {
        const RecutResult cut = recutByIntent(built.stone, turned[flip], change, DEFAULT_MEET_TOLERANCE_W, &steps);
        flip = !flip;
        if (!cut.ok()) state.SkipWithError("the re-cut failed");
        benchmark::DoNotOptimize(cut.stone.nFacet);
    }
    state.counters["reused tiers"] = steps.reusedTiers();
}
BENCHMARK(BM_RecutStepsOfTheSteppedRoundLastRingTurned)->Unit(benchmark::kMillisecond);

// A candidate as a search meets it, on one thread: the time of one local
// search on the deep brilliant over the candidates it evaluated, with the
// candidates it came back to and the tiers it kept between candidates
// taken from before.
void BM_CandidateOfADeepBrilliantSearch(benchmark::State& state) {
    const DesignWithIntent deep = testing::deepBrilliant();
    OptimiseSettings settings;
    settings.starts = 1;
    settings.evaluationsPerStart = 150;
    settings.threads = 1;
    int evaluations = 0;
    for (auto _ : state) {
        const OptimiseResult r = optimiseDesign(deep.stone, deep.intent, settings);
        if (!r.best) state.SkipWithError("no result");
        evaluations += r.evaluations + 1;  // and the start
    }
    state.counters["candidates"] = benchmark::Counter(double(evaluations), benchmark::Counter::kAvgIterations);
    state.counters["per candidate"] =
        benchmark::Counter(double(evaluations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CandidateOfADeepBrilliantSearch)->Unit(benchmark::kMillisecond);

// A whole run with the default settings, every limit on, on the deep
// brilliant (pavilion 43/45, crown 42/47, stars 27), every core.
void BM_OptimiseTheDeepBrilliant(benchmark::State& state) {
    const DesignWithIntent deep = testing::deepBrilliant();
    for (auto _ : state) {
        const OptimiseResult r = optimiseDesign(deep.stone, deep.intent, OptimiseSettings{});
        if (!r.best) state.SkipWithError("no result");
        benchmark::DoNotOptimize(r.evaluations);
        state.counters["evaluations"] = r.evaluations;
    }
}
BENCHMARK(BM_OptimiseTheDeepBrilliant)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// A whole run of the big stepped round with the default settings, every core.
void BM_OptimiseTheSteppedRound(benchmark::State& state) {
    const DesignWithIntent built = cutSteppedRound(SteppedRound{});
    for (auto _ : state) {
        const OptimiseResult r = optimiseDesign(built.stone, built.intent, OptimiseSettings{});
        if (!r.best) state.SkipWithError("no result");
        benchmark::DoNotOptimize(r.evaluations);
        state.counters["evaluations"] = r.evaluations;
        state.counters["accepted"] = r.accepted;
    }
}
BENCHMARK(BM_OptimiseTheSteppedRound)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace brevix::optimise
