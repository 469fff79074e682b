// Speed of re-cutting by intent and of inferring intent, on the round
// brilliant (73 facets, 96 gear): a slider dragging a tier's angle re-cuts
// at display rate, and opening a design infers its intent.
#include <benchmark/benchmark.h>

#include "design/sample_designs.h"
#include "intent/brilliant_intent.h"
#include "intent/inference.h"
#include "intent/recut.h"
#include "platform/messages.h"

namespace brevix {
namespace {

void BM_RecutBrilliantAfterP1Change(benchmark::State& state) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    TierChange change;
    change.tier = 1;
    change.setAngle = true;
    double angle = -39.75;
    for (auto _ : state) {
        change.angle = angle;
        angle = angle < -39.7 ? -40.25 : -39.75;
        RecutResult cut = recutByIntent(brilliant, recorded, change);
        if (!cut.ok()) state.SkipWithError("the brilliant did not keep its intent");
        benchmark::DoNotOptimize(cut.stone.nFacet);
    }
}
BENCHMARK(BM_RecutBrilliantAfterP1Change)->Unit(benchmark::kMicrosecond);

void BM_InferBrilliantIntent(benchmark::State& state) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const Stone brilliant = makeRoundBrilliant();
    for (auto _ : state) {
        DesignIntent intent = inferIntent(brilliant);
        benchmark::DoNotOptimize(intent.tiers.size());
    }
}
BENCHMARK(BM_InferBrilliantIntent)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brevix
