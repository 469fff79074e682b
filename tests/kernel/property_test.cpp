// Random sequences of planes: whatever is cut, the stone stays a valid
// polyhedron, every vertex stays on its planes, and the same planes in the
// same order always give the same stone.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "kernel/stone.h"
#include "platform/messages.h"
#include "stone_invariants.h"

namespace brevix {
namespace {

using testing::sameStone;
using testing::stoneIsValid;

// Planes tangent to spheres of radius 0.4 to 1.1 in random directions, so
// many cut something and some miss the stone.
std::vector<Plane> randomPlanes(unsigned seed, int count) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> radius(0.4, 1.1);
    std::vector<Plane> planes;
    for (int i = 0; i < count; ++i) {
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        n = n * (1 / length(n));
        planes.push_back({n.x, n.y, n.z, radius(rng)});
    }
    return planes;
}

void cutAll(Stone& s, const std::vector<Plane>& planes, bool checkEach) {
    for (const Plane& p : planes) {
        s.newFacet(p.a, p.b, p.c, p.d);
        if (checkEach) {
            ASSERT_TRUE(stoneIsValid(s));
        }
    }
}

TEST(RandomCuts, KeepEveryInvariant) {
    // Near-degenerate cuts may warn; they must not break anything.
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const auto planes = randomPlanes(seed, 60);
        Stone first;
        cutAll(first, planes, true);
        Stone second;
        cutAll(second, planes, false);
        EXPECT_TRUE(sameStone(first, second));
        for (const Stone* stone : {&first, &second})
            for (const Diagnostic& note : stone->diagnostics())
                EXPECT_EQ(note.text.rfind("Internal error", 0), std::string::npos) << note.text;
    }
}

TEST(RandomCuts, ManyTangentPlanesMakeASphere) {
    std::mt19937_64 rng(7);
    std::normal_distribution<double> normal;
    Stone s;
    for (int i = 0; i < 1000; ++i) {
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        n = n * (1 / length(n));
        s.newFacet(n.x, n.y, n.z, 0.9);
    }
    EXPECT_TRUE(stoneIsValid(s));
    EXPECT_EQ(s.nRough, 0);
    for (int32_t i = 0; i < s.nVertex; ++i) {
        const double r = length(s.vertices[i].pos());
        EXPECT_GE(r, 0.9 - 1e-9);
        EXPECT_LT(r, 1.0);
    }
}

TEST(Regenerate, GivesBackTheSameDesign) {
    const auto planes = randomPlanes(99, 80);
    Stone s;
    cutAll(s, planes, false);
    s.setFacetName(s.nFacet - 1, "Last");
    s.setInstruction(s.nFacet - 1, "Cut last");
    Stone before(s);
    s.regenerate();
    EXPECT_TRUE(stoneIsValid(s));
    EXPECT_TRUE(testing::samePlanes(s, before));

    Stone cube;
    cube.regenerate();
    EXPECT_EQ(cube.nFacet, 6);
    EXPECT_EQ(cube.nVertex, 8);
    EXPECT_EQ(cube.nEdge, 12);
}

TEST(Regenerate, FacetsCutAwayLaterStayAway) {
    Stone s;
    s.newFacet(0.6, 0, 0.8, 0.9, "early", "gone");
    s.newFacet(0.6, 0, 0.8, 0.5, "late", "kept");  // removes "early" entirely
    ASSERT_EQ(s.nFacet, 7);
    s.regenerate();
    EXPECT_EQ(s.nFacet, 7);
    EXPECT_EQ(s.facets[6].name, "late");
    EXPECT_EQ(s.facets[6].d, 0.5);
}

TEST(RebuildWithout, DropsTheMarkedFacetAsIfNeverCut) {
    Stone s;
    s.newFacet(0.6, 0, 0.8, 0.9, "A", "first");
    s.newFacet(0, 0.6, 0.8, 0.85, "B", "doomed");
    s.newFacet(0, 0, -1, 0.8, "C", "");
    ASSERT_EQ(s.facets[6].name, "B");  // C replaced the bottom face, so B moved down
    s.facets[6].status = ST_DELETE;
    s.rebuildWithout();
    Stone expected;
    expected.newFacet(0.6, 0, 0.8, 0.9, "A", "first");
    expected.newFacet(0, 0, -1, 0.8, "C", "");
    EXPECT_TRUE(stoneIsValid(s));
    EXPECT_TRUE(sameStone(s, expected));
    for (int32_t i = 0; i < s.maxFacet; ++i) EXPECT_NE(s.facets[i].name, "B");
}

}  // namespace
}  // namespace brevix
