// Speed of the designing commands on the round brilliant (73 facets, 96 gear).
#include <benchmark/benchmark.h>

#include <memory>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "design/transforms.h"
#include "facet_placement/placement.h"
#include "facet_placement/round_indexes.h"
#include "document/gem_doc.h"
#include "platform/messages.h"

namespace brevix {
namespace {

// An 8-fold mirrored crown tier (16 facets) that trims the brilliant's upper
// halves without cutting any facet off, so no question is asked.
void specifyTier(NewFacetInfo& info) {
    info.angle = 45;
    info.index = 3;
    info.ced = 0.7;
    info.hasAngle = info.hasIndex = info.hasCed = true;
    info.symmetry = 8;
    info.mirror = 1;
}

void BM_CutNewFacetsMirroredTier(benchmark::State& state) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const Stone brilliant = makeRoundBrilliant();
    CGemDoc doc;
    for (auto _ : state) {
        state.PauseTiming();
        doc.model().put(std::make_unique<Stone>(brilliant));
        specifyTier(doc.pending().info);
        state.ResumeTiming();
        doc.cutNewFacets();
    }
    if (doc.facetCount != 73 + 16 || !sink.entries.empty()) state.SkipWithError("unexpected cut");
}
BENCHMARK(BM_CutNewFacetsMirroredTier)->Unit(benchmark::kMicrosecond);

// The planes alone, without the undo snapshot and the summary.
void BM_CutFacetSetMirroredTier(benchmark::State& state) {
    const Stone brilliant = makeRoundBrilliant();
    NewFacetInfo info;
    specifyTier(info);
    Stone stone(brilliant);
    for (auto _ : state) {
        state.PauseTiming();
        stone.copy(brilliant);
        state.ResumeTiming();
        benchmark::DoNotOptimize(cutFacetSet(stone, info));
    }
}
BENCHMARK(BM_CutFacetSetMirroredTier)->Unit(benchmark::kMicrosecond);

void BM_RoundIndexesStretchedBrilliant(benchmark::State& state) {
    Stone stretched = makeRoundBrilliant();
    computeBounds(stretched);
    scaleStone(stretched, 4 | 8, 1.1);
    for (auto _ : state) {
        state.PauseTiming();
        Stone stone(stretched);
        state.ResumeTiming();
        if (roundIndexes(stone) != 0) state.SkipWithError("rounding failed");
    }
}
BENCHMARK(BM_RoundIndexesStretchedBrilliant)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brevix
