// Reading and rebuilding designs from the two design formats, and writing
// them. Inputs: the round brilliant sample (73 facets) and a 1010-facet
// design of planes tangent to a sphere, each of which stays a facet.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <sstream>
#include <string>

#include "design/sample_designs.h"
#include "files/asc_format.h"
#include "files/gem_format.h"
#include "files/thumbnail.h"
#include "platform/messages.h"
#include "sphere_rows_design.h"

using namespace brevix;

namespace {

class QuietSink : public MessageSink {
public:
    void show(std::string_view, Icon) override {}
    Answer ask(std::string_view, Buttons, Icon, Answer fallback) override { return fallback; }
};

std::string sample(const char* name) {
    std::ifstream in(std::filesystem::path(BREVIX_SOURCE_DIR) / "samples" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::span<const unsigned char> bytesOf(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

void readAscBench(benchmark::State& state, const std::string& text) {
    QuietSink quiet;
    ScopedMessageSink guard(quiet);
    for (auto _ : state) {
        Stone stone(ROUGH_HALF);
        readAsc(stone, bytesOf(text));
        benchmark::DoNotOptimize(stone.nFacet);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void readGemBench(benchmark::State& state, const std::string& bytes) {
    QuietSink quiet;
    ScopedMessageSink guard(quiet);
    int32_t facets = 0;
    for (auto _ : state) {
        Stone stone(ROUGH_HALF);
        readGem(stone, bytesOf(bytes));
        facets = stone.nFacet;
        benchmark::DoNotOptimize(facets);
    }
    state.counters["facets"] = facets;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_ReadAscRoundBrilliant(benchmark::State& state) {
    readAscBench(state, sample("round_brilliant.asc"));
}
BENCHMARK(BM_ReadAscRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_ReadGemRoundBrilliant(benchmark::State& state) {
    readGemBench(state, sample("round_brilliant.gem"));
}
BENCHMARK(BM_ReadGemRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_ReadGem1010Facets(benchmark::State& state) {
    std::ostringstream out;
    brevix::Diagnostics notes;
    writeGem(bench::sphereRowsDesign(), out, notes);
    readGemBench(state, out.str());
}
BENCHMARK(BM_ReadGem1010Facets)->Unit(benchmark::kMillisecond);

void BM_ReadAsc1010Facets(benchmark::State& state) {
    std::ostringstream out;
    brevix::Diagnostics notes;
    writeAsc(bench::sphereRowsDesign(), out, notes);
    readAscBench(state, out.str());
}
BENCHMARK(BM_ReadAsc1010Facets)->Unit(benchmark::kMillisecond);

// 3000 planes tangent to a sphere at random points, each a facet: reading
// costs what cutting them costs, so this shows whether that grows like the
// square of the size.
Stone randomTangentDesign(int count) {
    std::mt19937_64 rng(12345);
    std::normal_distribution<double> normal;
    Stone s;
    for (int i = 0; i < count; ++i) {
        double x = normal(rng), y = normal(rng), z = normal(rng);
        const double k = 1 / std::sqrt(x * x + y * y + z * z);
        s.newFacet(x * k, y * k, z * k, 0.9);
    }
    return s;
}

void BM_ReadGem3000RandomTangents(benchmark::State& state) {
    std::ostringstream out;
    brevix::Diagnostics notes;
    writeGem(randomTangentDesign(3000), out, notes);
    readGemBench(state, out.str());
}
BENCHMARK(BM_ReadGem3000RandomTangents)->Unit(benchmark::kMillisecond);

void BM_WriteGem1010Facets(benchmark::State& state) {
    const Stone design = bench::sphereRowsDesign();
    for (auto _ : state) {
        std::ostringstream out;
        brevix::Diagnostics notes;
        writeGem(design, out, notes);
        benchmark::DoNotOptimize(out.tellp());
    }
}
BENCHMARK(BM_WriteGem1010Facets)->Unit(benchmark::kMillisecond);

void BM_WriteAsc1010Facets(benchmark::State& state) {
    const Stone design = bench::sphereRowsDesign();
    for (auto _ : state) {
        std::ostringstream out;
        brevix::Diagnostics notes;
        writeAsc(design, out, notes);
        benchmark::DoNotOptimize(out.tellp());
    }
}
BENCHMARK(BM_WriteAsc1010Facets)->Unit(benchmark::kMillisecond);

void BM_WriteThumbnail1010Facets(benchmark::State& state) {
    const Stone design = bench::sphereRowsDesign();
    for (auto _ : state) benchmark::DoNotOptimize(thumbnailBytes(design).size());
}
BENCHMARK(BM_WriteThumbnail1010Facets)->Unit(benchmark::kMillisecond);

}  // namespace
