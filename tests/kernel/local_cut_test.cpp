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
#include "identical_records.h"
#include "stone_invariants.h"

namespace brevix {
namespace {

// The stone's records, and the stone itself back to the rough block with
// no text left in its slots, as regenerate starts.
Stone takePlanesAndStartAgain(Stone& stone) {
    Stone planes(stone);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.makeRough(ROUGH_HALF);
    return planes;
}

// The way regenerate always went: one newFacet after the other.
void regenerateOneByOne(Stone& stone) {
    Stone planes = takePlanesAndStartAgain(stone);
    for (int32_t i = 0; i < planes.nFacet; ++i) {
        Facet& f = planes.facets[i];
        if (f.isRough()) continue;
        stone.newFacet(f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction));
    }
}

// Regenerate with local cuts from the first plane on, however small the stone.
LocalCutCounts regenerateLocallyFromTheStart(Stone& stone) {
    Stone planes = takePlanesAndStartAgain(stone);
    std::vector<PlaneToCut> cuts;
    for (int32_t i = 0; i < planes.nFacet; ++i) {
        Facet& f = planes.facets[i];
        if (!f.isRough()) cuts.push_back({f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction)});
    }
    return cutPlanesInTurn(stone, cuts, 0);
}

void expectSameRegeneration(const Stone& design) {
    Stone truth(design), local(design), early(design);
    (void)truth.takeDiagnostics();
    (void)local.takeDiagnostics();
    (void)early.takeDiagnostics();
    regenerateOneByOne(truth);
    local.regenerate();
    EXPECT_TRUE(testing::identicalRecordByRecord(truth, local));
    regenerateLocallyFromTheStart(early);
    EXPECT_TRUE(testing::identicalRecordByRecord(truth, early));
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

// Planes aimed at the stone's own corners: through one corner (a meet),
// through two (along or across an edge), through three (on a facet's plane
// or across it), and a hair off a corner on either side of every tolerance.
// Each plane is made from the stone the planes before it cut, one by one.
std::vector<Plane> planesAimedAtCorners(unsigned seed, int count, bool hairsOff) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> unit(0, 1);
    const double offsets[] = {0, 0, 0, 4e-9, -4e-9, 9.9e-9, 1.2e-8, -1.2e-8, 1.9e-8, 2.1e-8, 3e-8, 1e-7};
    Stone stone;
    for (int i = 0; i < 30; ++i) {  // a rough ball to aim at
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        n = n * (1 / length(n));
        stone.newFacet(n.x, n.y, n.z, 0.9 + 0.1 * unit(rng));
    }
    std::vector<Plane> planes;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (!stone.facets[i].isRough()) planes.push_back(stone.facets[i].plane());
    auto corner = [&] { return stone.vertices[static_cast<int32_t>(unit(rng) * stone.nVertex) % stone.nVertex].pos(); };
    while (static_cast<int>(planes.size()) < count) {
        const Vec3 p = corner();
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        const int through = static_cast<int>(unit(rng) * 3);
        if (through >= 1) {  // turn the normal so that the plane also holds q (and r)
            const Vec3 q = corner();
            Vec3 along = q - p;
            if (length(along) > 1e-6) {
                along = along * (1 / length(along));
                if (through == 2) {
                    const Vec3 r = corner();
                    const Vec3 across = cross(along, r - p);
                    if (length(across) > 1e-6) n = across;
                } else {
                    n = n - along * dot(n, along);
                }
            }
        }
        n = n * (1 / length(n));
        if (dot(n, p) < 0) n = n * -1.0;  // cut toward the outside
        const double offset =
            hairsOff ? offsets[static_cast<size_t>(unit(rng) * std::size(offsets)) % std::size(offsets)] : 0.0;
        const Plane plane{n.x, n.y, n.z, dot(n, p) + offset};
        planes.push_back(plane);
        stone.newFacet(plane.a, plane.b, plane.c, plane.d);
        if (planes.size() % 9 == 4) {  // now and then a facet's own plane again
            const Facet& f = stone.facets[static_cast<int32_t>(unit(rng) * stone.nFacet) % stone.nFacet];
            if (!f.isRough()) planes.push_back(f.plane());
        }
    }
    return planes;
}

TEST(LocalCut, PlanesThroughCornersEdgesAndFacetsCutAsOneByOne) {
    LocalCutCounts total, exact;
    for (unsigned seed = 21; seed < 33; ++seed) {
        SCOPED_TRACE(seed);
        const bool hairsOff = seed % 2 == 0;
        const std::vector<Plane> planes = planesAimedAtCorners(seed, 260, hairsOff);
        Stone truth, local;
        std::vector<PlaneToCut> cuts;
        for (const Plane& p : planes) {
            truth.newFacet(p.a, p.b, p.c, p.d);
            cuts.push_back({p.a, p.b, p.c, p.d, {}, {}});
        }
        const LocalCutCounts counts = cutPlanesInTurn(local, cuts, 0);
        EXPECT_TRUE(testing::identicalRecordByRecord(truth, local));
        LocalCutCounts& sum = hairsOff ? total : exact;
        sum.local += counts.local;
        sum.refused += counts.refused;
    }
    // Planes through corners must be cut locally, not handed to newFacet,
    // or the comparison above tests nothing.
    EXPECT_GT(exact.local, 10 * exact.refused);
    EXPECT_GT(total.local, 200);
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
        EXPECT_TRUE(testing::identicalRecordByRecord(truth, local));
    }
}

// One plane at a time, as a reader cuts: newFacet's result for every plane,
// and names and instructions given to the newest facet between cuts.
TEST(LocalCut, CutsOneAtATimeWithNewFacetsResults) {
    std::vector<Plane> planes = randomPlaneSetPlanes({12, 400, 0.5, 1.3, 0.02});
    planes.push_back({0, 0, 1, 5});  // misses, and comes last
    Stone truth, local;
    std::vector<int> truthResults, localResults;
    {
        PlaneCutSession session(local, 0);
        for (size_t i = 0; i < planes.size(); ++i) {
            const Plane& p = planes[i];
            truthResults.push_back(truth.newFacet(p.a, p.b, p.c, p.d));
            if (i + 1 == planes.size()) session.finish();
            PlaneToCut cut{p.a, p.b, p.c, p.d, {}, {}};
            localResults.push_back(session.cut(cut));
            for (Stone* s : {&truth, &local}) {
                if (i % 7 == 0) s->setFacetName(s->nFacet - 1, "F" + std::to_string(i));
                if (i % 11 == 0) s->setInstruction(s->nFacet - 1, "Step " + std::to_string(i));
            }
        }
    }
    EXPECT_EQ(truthResults, localResults);
    EXPECT_TRUE(std::count(truthResults.begin(), truthResults.end(), -1) > 0);
    EXPECT_TRUE(std::count_if(truthResults.begin(), truthResults.end(), [](int r) { return r > 0; }) > 0);
    EXPECT_TRUE(testing::identicalRecordByRecord(truth, local));
}

}  // namespace
}  // namespace brevix
