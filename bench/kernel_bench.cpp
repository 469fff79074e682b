// Cutting speed: the round brilliant's 73 planes, and 1000 planes tangent to
// a sphere (a worst case for the arrays: every cut touches many facets).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include <sstream>

#include "design/sample_designs.h"
#include "kernel/checks.h"
#include "kernel/exact_rebuild.h"
#include "kernel/stone.h"
#include "sphere_rows_design.h"

namespace {

using brevix::Stone;

struct Plane {
    double a, b, c, d;
};

std::vector<Plane> planesOf(const Stone& s) {
    std::vector<Plane> out;
    for (int32_t i = 0; i < s.nFacet; ++i)
        if (!s.facets[i].isRough()) out.push_back({s.facets[i].a, s.facets[i].b, s.facets[i].c, s.facets[i].d});
    return out;
}

std::vector<Plane> sphereTangents(int count, double radius, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    std::vector<Plane> out;
    for (int i = 0; i < count; ++i) {
        double x = normal(rng), y = normal(rng), z = normal(rng);
        const double k = 1 / std::sqrt(x * x + y * y + z * z);
        out.push_back({x * k, y * k, z * k, radius});
    }
    return out;
}

void cutPlanes(benchmark::State& state, const std::vector<Plane>& planes) {
    for (auto _ : state) {
        Stone s;
        for (const Plane& p : planes) s.newFacet(p.a, p.b, p.c, p.d);
        benchmark::DoNotOptimize(s.nFacet);
    }
    state.counters["planes"] = static_cast<double>(planes.size());
}

void BM_CutRoundBrilliant(benchmark::State& state) { cutPlanes(state, planesOf(brevix::makeRoundBrilliant())); }
BENCHMARK(BM_CutRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_Cut1000SphereTangents(benchmark::State& state) {
    const auto planes = sphereTangents(1000, 0.9, 12345);
    cutPlanes(state, planes);
    Stone s;
    for (const Plane& p : planes) s.newFacet(p.a, p.b, p.c, p.d);
    const double bytes = double(s.maxFacet) * sizeof(brevix::Facet) + double(s.maxEdge) * sizeof(brevix::Edge) +
                         double(s.maxVertex) * sizeof(brevix::Vertex);
    state.counters["facets"] = s.nFacet;
    state.counters["array_bytes"] = bytes;
}
BENCHMARK(BM_Cut1000SphereTangents)->Unit(benchmark::kMillisecond);

// The same planes cut one by one, as a file is read: 3000 of them.
void BM_Cut3000SphereTangents(benchmark::State& state) { cutPlanes(state, sphereTangents(3000, 0.9, 12345)); }
BENCHMARK(BM_Cut3000SphereTangents)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The fallback's price: rebuilding the round brilliant from its planes with
// exact decisions, as a cut found broken does.
void BM_RebuildExactlyRoundBrilliant(benchmark::State& state) {
    const Stone brilliant = brevix::makeRoundBrilliant();
    for (auto _ : state) {
        Stone s(brilliant);
        std::vector<brevix::Facet> records(s.facets.begin(), s.facets.begin() + s.nFacet);
        benchmark::DoNotOptimize(brevix::rebuildExactly(s, records, brevix::ROUGH_HALF));
    }
}
BENCHMARK(BM_RebuildExactlyRoundBrilliant)->Unit(benchmark::kMicrosecond);

// A culet where 64 pavilion planes pass within 1e-7 of one point (depths
// rounded to 7 decimals): most cuts near the culet fall back to the exact rebuild.
void BM_CutCuletOf64NearlyMeeting(benchmark::State& state) {
    std::vector<Plane> planes;
    const double pi = 3.141592653589793;
    for (int i = 0; i < 16; ++i) {
        const double az = 2 * pi * (i + 0.5) / 16;
        planes.push_back({std::sin(az), std::cos(az), 0, 0.95});
    }
    planes.push_back({0, 0, 1, 0.4});
    for (int tier = 0; tier < 2; ++tier) {
        const double tilt = (40.5 + 1.5 * tier) * pi / 180;
        for (int i = 0; i < 32; ++i) {
            const double az = 2 * pi * (i + 0.5 * tier) / 32;
            const double depth = std::round(0.8 * std::cos(tilt) * 1e7) / 1e7;
            planes.push_back({std::sin(az) * std::sin(tilt), std::cos(az) * std::sin(tilt), -std::cos(tilt), depth});
        }
    }
    cutPlanes(state, planes);
}
BENCHMARK(BM_CutCuletOf64NearlyMeeting)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// Rebuilding a design from its planes, as loading a file and `check` do:
// the round brilliant, and 1000 and 3000 planes tangent to a sphere.
Stone stoneOfPlanes(const std::vector<Plane>& planes) {
    Stone s;
    for (const Plane& p : planes) s.newFacet(p.a, p.b, p.c, p.d);
    return s;
}

void regenerateDesign(benchmark::State& state, const Stone& design) {
    for (auto _ : state) {
        Stone s(design);
        s.regenerate();
        benchmark::DoNotOptimize(s.nVertex);
    }
    state.counters["facets"] = design.nFacet;
}

void BM_RegenerateRoundBrilliant(benchmark::State& state) { regenerateDesign(state, brevix::makeRoundBrilliant()); }
BENCHMARK(BM_RegenerateRoundBrilliant)->Unit(benchmark::kMicrosecond);

void BM_RegenerateSphereTangents(benchmark::State& state) {
    regenerateDesign(state, stoneOfPlanes(sphereTangents(static_cast<int>(state.range(0)), 0.9, 12345)));
}
BENCHMARK(BM_RegenerateSphereTangents)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

// A design whose facets meet at corners, as real designs do: 1010 facets.
void BM_RegenerateSphereRows(benchmark::State& state) { regenerateDesign(state, brevix::bench::sphereRowsDesign()); }
BENCHMARK(BM_RegenerateSphereRows)->Unit(benchmark::kMillisecond);

// The full check of the rebuilt stone, as `check` prints it.
void BM_CheckSphereTangents(benchmark::State& state) {
    const Stone s = stoneOfPlanes(sphereTangents(static_cast<int>(state.range(0)), 0.9, 12345));
    for (auto _ : state) {
        std::ostringstream report;
        benchmark::DoNotOptimize(brevix::checkstone(s, report));
    }
    state.counters["facets"] = s.nFacet;
}
BENCHMARK(BM_CheckSphereTangents)->Arg(73)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
