// Scoring a collection: brevix-cli batch light's work on 200 generated
// designs at 128 x 128, on one job and on every core, without the cache.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "collection/batch_run.h"
#include "collection/design_files.h"
#include "support/generated_designs.h"

namespace {

namespace fs = std::filesystem;
using namespace brevix;

const std::vector<collection::DesignEntry>& twoHundredDesigns() {
    static const auto entries = [] {
        const fs::path folder = fs::temp_directory_path() / ("brevix-bench-batch-" + std::to_string(::getpid()));
        testing::writeGeneratedDesigns(folder, 200);
        auto found = collection::findDesigns({folder.string()}).entries;
        return found;
    }();
    return entries;
}

// Arg: jobs (0 = one per core).
void BM_BatchLight200At128(benchmark::State& state) {
    const auto& entries = twoHundredDesigns();
    collection::BatchOptions options;
    options.light.options.size = 128;
    options.jobs = static_cast<int>(state.range(0));
    const collection::ScoreCache none("");
    size_t scored = 0;
    for (auto _ : state) {
        const auto tally = collection::runBatch(entries, options, none, [](const collection::DesignFigures&) {});
        scored = tally.scored;
    }
    state.counters["designs"] = static_cast<double>(scored);
    state.counters["designs_per_s"] =
        benchmark::Counter(static_cast<double>(scored) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchLight200At128)->Arg(1)->Arg(0)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
