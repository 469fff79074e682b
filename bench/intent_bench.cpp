// Speed of re-cutting by intent and of inferring intent, on the round
// brilliant (73 facets, 96 gear): a slider dragging a tier's angle re-cuts
// at display rate, and opening a design infers its intent. Reading a .brx
// file followed by a flood of blank lines goes at the speed of the bytes.
#include <benchmark/benchmark.h>

#include <span>
#include <string>

#include "design/sample_designs.h"
#include "intent/brilliant_intent.h"
#include "intent/inference.h"
#include "intent/intent_file.h"
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

// A whole design and then a million blank lines (a damaged or hostile file).
void BM_ReadBrxFollowedByBlankLines(benchmark::State& state) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const std::string text = writeIntentText(built.stone, built.intent) + std::string(1000000, '\n');
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    for (auto _ : state) benchmark::DoNotOptimize(readIntentText(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadBrxFollowedByBlankLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brevix
