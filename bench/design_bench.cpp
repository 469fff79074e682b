// Rebuilding a design from its planes (the command after every transform and
// tier deletion) and producing the two texts every view refresh asks for.
#include <benchmark/benchmark.h>

#include <cmath>

#include "design/design_text.h"
#include "design/measures.h"
#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "platform/messages.h"

namespace {

using namespace brevix;

// A design of 1010 facets: rows of 96 (72 near the poles) facets tangent to
// the unit sphere, each row turned half a notch against the one before, so
// that no more than three facets meet at a corner.
Stone thousandFacets() {
    Stone stone;
    const double tilts[] = {90, 75, -75, 60, -60, 45, -45, 30, -30, 15, -15};
    int row = 0;
    for (double tilt : tilts) {
        const int count = std::fabs(tilt) < 20 ? 72 : 96;
        TierSetting tier{"R" + std::to_string(row), tilt, 1.0, {}, ""};
        for (int k = 0; k < count; ++k) tier.indexes.push_back((k + 0.5 * (row % 2)) * 96.0 / count + 0.25);
        cutTier(stone, tier);
        ++row;
    }
    cutTier(stone, {"T", 0, 1.0, {96}, ""});
    stone.newFacet(0, 0, -1, 1.0, "K");
    return stone;
}

// Warnings of near-coincident corners must not turn into console output.
struct QuietSink : MessageSink {
    void show(std::string_view, Icon) override {}
    Answer ask(std::string_view, Buttons, Icon, Answer fallback) override { return fallback; }
};

void BM_RegenerateRoundBrilliant(benchmark::State& state) {
    QuietSink sink;
    ScopedMessageSink guard(sink);
    Stone stone = makeRoundBrilliant();
    for (auto _ : state) {
        stone.regenerate();
        benchmark::DoNotOptimize(stone.nVertex);
    }
    state.counters["facets"] = stone.nFacet;
}
BENCHMARK(BM_RegenerateRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_RegenerateThousandFacets(benchmark::State& state) {
    QuietSink sink;
    ScopedMessageSink guard(sink);
    Stone stone = thousandFacets();
    if (stone.nFacet < 1000 || stone.eulerSum() != 2) {
        state.SkipWithError("the 1000-facet design did not come out whole");
        return;
    }
    for (auto _ : state) {
        stone.regenerate();
        benchmark::DoNotOptimize(stone.nVertex);
    }
    state.counters["facets"] = stone.nFacet;
}
BENCHMARK(BM_RegenerateThousandFacets)->Unit(benchmark::kMillisecond);

void BM_TextsRoundBrilliant(benchmark::State& state) {
    Stone stone = makeRoundBrilliant();
    computeBounds(stone);
    for (auto _ : state) {
        std::string statistics = statisticsText(stone);
        int lines = 0;
        InstructionText instructions;
        instructionText(stone, CUT_LIST_WIDTH, lines, instructions);
        benchmark::DoNotOptimize(statistics.data());
        benchmark::DoNotOptimize(instructions.instructions.data());
    }
}
BENCHMARK(BM_TextsRoundBrilliant)->Unit(benchmark::kMicrosecond);

}  // namespace
