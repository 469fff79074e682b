// Cutting a whole list of planes locally must give exactly the stone that
// cutting them one by one with newFacet gives: every record, every working
// mark, every note, on the sample designs, the fuzz seeds, the hard cases
// and random plane sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "design/sample_designs.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "kernel/local_cut.h"
#include "kernel/stone.h"
#include "stone_invariants.h"

namespace brevix {
namespace {

// The way regenerate always went: one newFacet after the other.
void regenerateOneByOne(Stone& stone) {
    Stone planes(stone);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.makeRough(ROUGH_HALF);
    for (int32_t i = 0; i < planes.nFacet; ++i) {
        Facet& f = planes.facets[i];
        if (f.isRough()) continue;
        stone.newFacet(f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction));
    }
}

// Regenerate with local cuts from the first plane on, however small the stone.
void regenerateLocallyFromTheStart(Stone& stone) {
    Stone planes(stone);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.makeRough(ROUGH_HALF);
    std::vector<PlaneToCut> cuts;
    for (int32_t i = 0; i < planes.nFacet; ++i) {
        Facet& f = planes.facets[i];
        if (!f.isRough()) cuts.push_back({f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction)});
    }
    cutPlanesInTurn(stone, cuts, 0);
}

bool sameBits(double p, double q) { return std::memcmp(&p, &q, sizeof p) == 0; }

::testing::AssertionResult identicalRecordByRecord(const Stone& p, const Stone& q) {
    auto fail = [] { return ::testing::AssertionFailure(); };
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge)
        return fail() << "counts " << p.nFacet << "/" << p.nVertex << "/" << p.nEdge << " against " << q.nFacet
                      << "/" << q.nVertex << "/" << q.nEdge;
    if (p.nRough != q.nRough || p.nGirdle != q.nGirdle) return fail() << "rough or girdle count";
    for (int32_t i = 0; i < p.nVertex; ++i) {
        const Vertex &v = p.vertices[i], &w = q.vertices[i];
        if (!sameBits(v.x, w.x) || !sameBits(v.y, w.y) || !sameBits(v.z, w.z) || !sameBits(v.dist, w.dist) ||
            v.status != w.status)
            return fail() << "vertex " << i << ": " << v.x << " " << v.y << " " << v.z << " " << v.dist << " "
                          << v.status << " against " << w.x << " " << w.y << " " << w.z << " " << w.dist << " "
                          << w.status;
    }
    for (int32_t j = 0; j < p.nEdge; ++j) {
        const Edge &e = p.edges[j], &g = q.edges[j];
        if (e.v != g.v || e.f != g.f || e.status != g.status) return fail() << "edge " << j;
    }
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (!sameBits(f.a, g.a) || !sameBits(f.b, g.b) || !sameBits(f.c, g.c) || !sameBits(f.d, g.d) ||
            f.name != g.name || f.instruction != g.instruction || f.tier != g.tier || f.axis != g.axis ||
            f.status != g.status || f.flags != g.flags)
            return fail() << "facet " << i;
    }
    for (const Stone* s : {&p, &q})
        for (int32_t i = s->nFacet; i < s->maxFacet; ++i)
            if (!s->facets[i].name.empty() || !s->facets[i].instruction.empty())
                return fail() << "unused facet slot " << i << " holds text";
    const Diagnostics &m = p.diagnostics(), &n = q.diagnostics();
    if (m.size() != n.size()) return fail() << m.size() << " notes against " << n.size();
    for (size_t k = 0; k < m.size(); ++k)
        if (m[k].text != n[k].text) return fail() << "note " << k << ": " << m[k].text << " against " << n[k].text;
    return ::testing::AssertionSuccess();
}

void expectSameRegeneration(const Stone& design) {
    Stone truth(design), local(design), early(design);
    (void)truth.takeDiagnostics();
    (void)local.takeDiagnostics();
    (void)early.takeDiagnostics();
    regenerateOneByOne(truth);
    local.regenerate();
    EXPECT_TRUE(identicalRecordByRecord(truth, local));
    regenerateLocallyFromTheStart(early);
    EXPECT_TRUE(identicalRecordByRecord(truth, early));
}

std::vector<std::string> designFiles() {
    namespace fs = std::filesystem;
    const fs::path root = BREVIX_SOURCE_DIR;
    std::vector<std::string> files;
    for (const fs::path& folder : {root / "samples", root / "fuzz/corpus/asc", root / "fuzz/corpus/gem",
                                   root / "fuzz/corpus/brx", root.parent_path() / "shared/kernel-cases"}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(LocalCut, RegeneratesEveryDesignFileAsOneByOne) {
    int compared = 0;
    for (const std::string& path : designFiles()) {
        const FileType type = fileTypeOf(path);
        if (type != FileType::Gem && type != FileType::Asc && type != FileType::Brx) continue;
        DesignRead read = readDesignFile(path, type, 8, 1);
        if (!read.stone) continue;
        SCOPED_TRACE(path);
        expectSameRegeneration(*read.stone);
        ++compared;
    }
    EXPECT_GE(compared, 9);
}

TEST(LocalCut, RegeneratesTheBuiltInDesignsAsOneByOne) {
    expectSameRegeneration(makeRoundBrilliant());
}

struct RandomPlaneSet {
    unsigned seed;
    int count;
    double minRadius, maxRadius;
    double rounding;  // depths rounded to this step (0: not), so that planes nearly meet
};

std::vector<Plane> randomPlaneSetPlanes(const RandomPlaneSet& set) {
    std::mt19937_64 rng(set.seed);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> radius(set.minRadius, set.maxRadius);
    std::vector<Plane> planes;
    for (int i = 0; i < set.count; ++i) {
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        n = n * (1 / length(n));
        double d = radius(rng);
        if (set.rounding > 0) d = std::round(d / set.rounding) * set.rounding;
        planes.push_back({n.x, n.y, n.z, d});
        // Now and then the same plane again, or one a hair away.
        if (i % 17 == 5) planes.push_back(planes.back());
        if (i % 23 == 7) planes.push_back({n.x, n.y, n.z, d + 3e-9});
    }
    return planes;
}

TEST(LocalCut, RegeneratesRandomPlaneSetsAsOneByOne) {
    const RandomPlaneSet sets[] = {
        {1, 60, 0.4, 1.1, 0},     {2, 300, 0.9, 0.9, 0},   {3, 1000, 0.9, 0.9, 0}, {4, 400, 0.5, 1.0, 0.05},
        {5, 200, 0.3, 1.2, 0.1},  {6, 500, 0.85, 0.95, 0}, {7, 120, 0.6, 0.6, 0},
    };
    for (const RandomPlaneSet& set : sets) {
        SCOPED_TRACE(set.seed);
        Stone design;
        for (const Plane& p : randomPlaneSetPlanes(set)) design.newFacet(p.a, p.b, p.c, p.d);
        ASSERT_TRUE(testing::stoneIsValid(design));
        expectSameRegeneration(design);
    }
}

// Planes whose list would be cut into a fresh cube directly, including
// planes cutting nothing, planes a newFacet ignores, and a last plane that
// misses: the working marks are those of the last plane newFacet took.
TEST(LocalCut, CutsAListAsNewFacetDoes) {
    std::vector<Plane> planes = randomPlaneSetPlanes({11, 150, 0.5, 1.3, 0});
    planes.push_back({0, 0, 1, 5});                     // misses
    planes.push_back({std::nan(""), 0, 1, 0.5});        // ignored
    planes.push_back({0.1, 0.1, 0.1, 0.5});             // normal too short: ignored
    for (size_t tail = 0; tail < 4; ++tail) {
        SCOPED_TRACE(tail);
        std::vector<Plane> list(planes.begin(), planes.end() - static_cast<std::ptrdiff_t>(3 - std::min<size_t>(tail, 3)));
        Stone truth, local;
        std::vector<PlaneToCut> cuts;
        for (size_t i = 0; i < list.size(); ++i) {
            const Plane& p = list[i];
            truth.newFacet(p.a, p.b, p.c, p.d, "F" + std::to_string(i), i % 5 == 0 ? "note " + std::to_string(i) : "");
            cuts.push_back({p.a, p.b, p.c, p.d, "F" + std::to_string(i), i % 5 == 0 ? "note " + std::to_string(i) : ""});
        }
        cutPlanesInTurn(local, cuts, 0);
        EXPECT_TRUE(identicalRecordByRecord(truth, local));
    }
}

}  // namespace
}  // namespace brevix
