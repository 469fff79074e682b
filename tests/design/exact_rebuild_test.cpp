// The exact decisions behind the robust cut: signs of planes at meet points
// that hold exactly however close the rounding comes, and the rebuild from
// planes that uses them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "kernel/checks.h"
#include "kernel/exact_rebuild.h"
#include "kernel/exact_sign.h"
#include "kernel/stone.h"
#include "platform/messages.h"
#include "kernel/stone_invariants.h"

namespace brevix {
namespace {

// Integer planes through an integer point: the meet point of three of them
// lies exactly on the fourth; moving the fourth by one unit in the last
// place of its distance puts the point just inside or outside, far below
// what the double evaluation can see.
TEST(ExactSign, PlanesThroughOnePointAndOneUlpAway) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> coefficient(-1000000, 1000000);
    int decided = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        const double px = coefficient(rng), py = coefficient(rng), pz = coefficient(rng);
        Plane table[4];
        for (Plane& p : table) {
            p.a = coefficient(rng), p.b = coefficient(rng), p.c = coefficient(rng);
            p.d = p.a * px + p.b * py + p.c * pz;  // exact: well inside 2^53
        }
        if (exact::normalsSign(table, 0, 1, 2) == 0) continue;
        const exact::MeetPoint m = exact::meetPoint(table, 0, 1, 2);
        ASSERT_EQ(exact::sideOf(table, m, table[3]), 0) << trial;
        Plane further = table[3], nearer = table[3];
        further.d = std::nextafter(further.d, further.d + 1e300);
        nearer.d = std::nextafter(nearer.d, nearer.d - 1e300);
        if (further.d == table[3].d || nearer.d == table[3].d) continue;
        // A larger distance puts the point inside the plane.
        EXPECT_EQ(exact::sideOf(table, m, further), -1) << trial;
        EXPECT_EQ(exact::sideOf(table, m, nearer), 1) << trial;
        ++decided;
    }
    EXPECT_GT(decided, 1900);
}

TEST(ExactSign, DependentNormalsHaveNoMeetPoint) {
    const Plane table[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {1, 1, 0, 2}};
    EXPECT_EQ(exact::normalsSign(table, 0, 1, 2), 0);
    const Plane tilted[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {1, 1, 1e-300, 2}};
    EXPECT_EQ(exact::normalsSign(tilted, 0, 1, 2), 1);
}

std::vector<Facet> recordsOf(const Stone& s) {
    return std::vector<Facet>(s.facets.begin(), s.facets.begin() + s.nFacet);
}

// Tiers cut from angles meet only up to rounding; the rebuild takes such
// meet points as one, as the ordinary cut does, and then follows the same
// steps: the same records in the same order, positions equal to rounding.
TEST(ExactRebuild, TheRoundBrilliantComesOutAsTheOrdinaryCutMakesIt) {
    Stone brilliant = makeRoundBrilliant();
    Stone rebuilt(brilliant);
    std::vector<Facet> records = recordsOf(rebuilt);
    const std::vector<int32_t> kept = rebuildExactly(rebuilt, records, ROUGH_HALF);
    ASSERT_EQ(rebuilt.nFacet, brilliant.nFacet);
    ASSERT_EQ(rebuilt.nVertex, brilliant.nVertex);
    ASSERT_EQ(rebuilt.nEdge, brilliant.nEdge);
    for (int32_t j = 0; j < rebuilt.nEdge; ++j) {
        EXPECT_EQ(rebuilt.edges[j].v, brilliant.edges[j].v) << j;
        EXPECT_EQ(rebuilt.edges[j].f, brilliant.edges[j].f) << j;
    }
    ASSERT_EQ(static_cast<int32_t>(kept.size()), rebuilt.nFacet);
    for (int32_t i = 0; i < rebuilt.nFacet; ++i) {
        EXPECT_EQ(kept[i] < 0, brilliant.facets[i].isRough());
        EXPECT_EQ(rebuilt.facets[i].d, brilliant.facets[i].d);
        EXPECT_EQ(rebuilt.facets[i].name, brilliant.facets[i].name);
        EXPECT_EQ(rebuilt.facets[i].tier, brilliant.facets[i].tier);
    }
    auto nearest = [](const Stone& s, const Vertex& v) {
        double best = 1e9;
        for (int32_t i = 0; i < s.nVertex; ++i) best = std::min(best, length(s.vertices[i].pos() - v.pos()));
        return best;
    };
    for (int32_t i = 0; i < rebuilt.nVertex; ++i) EXPECT_LT(nearest(brilliant, rebuilt.vertices[i]), 1e-12) << i;
    for (int32_t i = 0; i < brilliant.nVertex; ++i) EXPECT_LT(nearest(rebuilt, brilliant.vertices[i]), 1e-12) << i;
    EXPECT_NEAR(computeVolume(rebuilt), computeVolume(brilliant), 1e-12);
    EXPECT_TRUE(testing::stoneIsValid(rebuilt, 1e-14));
    std::ostringstream report;
    EXPECT_TRUE(checkstone(rebuilt, report)) << report.str();
}

// Sixteen planes through one apex exactly: one vertex where all of them
// meet, whatever the order, never a cluster of tiny edges.
TEST(ExactRebuild, SixteenPlanesThroughOneApexMeetInOneVertex) {
    Stone stone;
    std::vector<Facet> records;
    for (int i = 0; i < 16; ++i) {
        Facet f;
        // Integer normals through the apex (0, 0, 1): a z + ... = d with d = c.
        const int x[16] = {3, 2, 0, -2, -3, -2, 0, 2, 3, 1, -1, -3, -3, -1, 1, 3};
        const int y[16] = {0, 2, 3, 2, 0, -2, -3, -2, 1, 3, 3, 1, -1, -3, -3, -1};
        f.a = x[i] / 8.0, f.b = y[i] / 8.0, f.c = 0.5, f.d = 0.5;
        records.push_back(f);
    }
    rebuildExactly(stone, records, ROUGH_HALF);
    int apexes = 0;
    for (int32_t i = 0; i < stone.nVertex; ++i) apexes += stone.vertices[i].z == 1.0;
    EXPECT_EQ(apexes, 1);
    std::ostringstream report;
    EXPECT_TRUE(checkstone(stone, report)) << report.str();
}

}  // namespace
}  // namespace brevix
