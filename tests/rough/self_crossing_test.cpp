// A rough whose surface passes through itself is refused, naming a point
// where it does; every honest rough (the guide's pebble, the shapes, noisy
// scans, their rounded files) is still taken. Checked against a plain test
// of every pair of triangles, written apart from the search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "rough/pebble.h"
#include "rough/ray_caster.h"
#include "rough_test_support.h"

namespace brevix::rough {
namespace {

const std::string CROSSING_PREFIX = "The rough is not a solid: its surface passes through itself near (";

// Whether segment pq passes through the inside of triangle abc, both ends
// and the triangle's rim left out.
bool segmentPiercesTriangle(Vec3 p, Vec3 q, Vec3 a, Vec3 b, Vec3 c) {
    const double margin = 1e-9;
    const Vec3 d = q - p, e1 = b - a, e2 = c - a, h = cross(d, e2);
    const double det = dot(e1, h);
    if (std::abs(det) < 1e-12 * length(d) * length(e1) * length(e2)) return false;
    const Vec3 s = p - a;
    const double u = dot(s, h) / det;
    const Vec3 k = cross(s, e1);
    const double v = dot(d, k) / det;
    const double t = dot(e2, k) / det;
    return t > margin && t < 1 - margin && u > margin && v > margin && u + v < 1 - margin;
}

// Every pair of triangles: an edge of one through the inside of the other.
// Edges from a shared corner meet the other triangle only there, and a
// shared edge lies in both, so neighbours count only when they cross.
bool crossesByEveryPair(const Mesh& mesh) {
    const auto& m = mesh;
    for (size_t i = 0; i < m.triangles.size(); ++i)
        for (size_t j = 0; j < m.triangles.size(); ++j) {
            if (i == j) continue;
            const auto& a = m.triangles[i];
            const auto& b = m.triangles[j];
            for (int e = 0; e < 3; ++e)
                if (segmentPiercesTriangle(m.points[a[e]], m.points[a[(e + 1) % 3]], m.points[b[0]], m.points[b[1]],
                                           m.points[b[2]]))
                    return true;
        }
    return false;
}

Mesh merged(Mesh a, const Mesh& b, Vec3 shift) {
    const uint32_t base = static_cast<uint32_t>(a.points.size());
    for (const Vec3& p : b.points) a.points.push_back(p + shift);
    for (const auto& t : b.triangles) a.triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
    return a;
}

Mesh namedShape(const std::string& text) { return *shapeMesh(text).mesh; }

// The point a crossing's message names.
std::optional<Vec3> crossingPoint(const RoughCheck& check) {
    if (check.rough || check.error.rfind(CROSSING_PREFIX, 0) != 0) return std::nullopt;
    Vec3 p;
    char tail[8] = {};
    if (std::sscanf(check.error.c_str() + CROSSING_PREFIX.size(), "%lf, %lf, %lf%7s", &p.x, &p.y, &p.z, tail) != 4 ||
        std::string(tail) != ").")
        return std::nullopt;
    return p;
}

// How far p lies from the surface of the axis-aligned box of half-size 1
// about `centre`.
double offBoxSurface(Vec3 p, Vec3 centre) {
    const Vec3 d = p - centre;
    return std::abs(std::max({std::abs(d.x), std::abs(d.y), std::abs(d.z)}) - 1);
}

TEST(RoughSelfCrossing, TwoOverlappingBoxesInOneFileAreRefusedNamingWhereTheyCross) {
    const Mesh box = namedShape("box:2x2x2");
    for (const Vec3 shift : {Vec3{1, 1, 1}, Vec3{0.7, -0.4, 0.9}, Vec3{1, 0, 0}}) {
        const Mesh both = merged(box, box, shift);
        const RoughCheck check = prepareRough(both);
        const auto at = crossingPoint(check);
        ASSERT_TRUE(at) << check.error;
        // Four figures in the message: on both surfaces within that.
        EXPECT_LT(offBoxSurface(*at, {}), 1e-3) << check.error;
        EXPECT_LT(offBoxSurface(*at, shift), 1e-3) << check.error;
    }
    // Shifted along one axis, faces of the two overlap in one plane and no
    // edge pierces a face: only the overlap tells.
    EXPECT_FALSE(crossesByEveryPair(merged(box, box, {1, 0, 0})));
    EXPECT_TRUE(crossesByEveryPair(merged(box, box, {0.7, -0.4, 0.9})));
    // Apart, or one box resting on the other's corner edge, they are two
    // stones in one file, not a surface through itself.
    EXPECT_TRUE(prepareRough(merged(box, box, {3, 0.5, 0})).rough);
    EXPECT_TRUE(prepareRough(merged(box, box, {2, 2, 0.5})).rough);
}

TEST(RoughSelfCrossing, ABoxWithACornerPushedThroughTheOppositeFaceIsRefused) {
    Mesh box = namedShape("box:2x2x2");
    box.points[7] = {0.3, -0.2, -1.6};  // was (1, 1, 1)
    ASSERT_TRUE(crossesByEveryPair(box));
    EXPECT_TRUE(crossingPoint(prepareRough(box)));
    // Pushed in only part way it is a dent, and taken.
    box.points[7] = {0.3, -0.2, -0.6};
    ASSERT_FALSE(crossesByEveryPair(box));
    EXPECT_TRUE(prepareRough(box).rough);
}

TEST(RoughSelfCrossing, ACapFoldedDownThroughTheRestIsRefused) {
    Mesh egg = namedShape("ellipsoid:10x8x6");
    for (Vec3& p : egg.points)
        if (p.z > 1) p.z -= 5;
    ASSERT_TRUE(crossesByEveryPair(egg));
    EXPECT_TRUE(crossingPoint(prepareRough(egg)));
}

// The top of a box made of ten triangles in its plane, one of them a sliver
// A C B whose corner B lies `tip` off the line from A to C: below it, the
// sliver lies folded over its neighbour.
Mesh boxWithASliverOnTop(double tip) {
    Mesh box = namedShape("box:2x2x2");
    // The box's top is its second face, triangles 2 and 3, on corners 4-7.
    box.triangles.erase(box.triangles.begin() + 2, box.triangles.begin() + 4);
    const uint32_t a = 8, b = 9, c = 10;
    box.points.push_back({-0.5, 0, 1});
    box.points.push_back({0, tip, 1});
    box.points.push_back({0.5, 0, 1});
    const std::array<uint32_t, 3> top[] = {{4, 5, c}, {4, c, a}, {4, a, 6}, {5, 7, c}, {c, 7, 6},
                                           {c, 6, b}, {b, 6, a}, {a, c, b}};
    for (const auto& t : top) box.triangles.push_back(t);
    return box;
}

TEST(RoughSelfCrossing, ASliverFoldedFlatOverItsNeighbourIsRefusedButNotWhereOnlyRoundingTippedIt) {
    const RoughCheck folded = prepareRough(boxWithASliverOnTop(-0.3));
    const auto at = crossingPoint(folded);
    ASSERT_TRUE(at) << folded.error;
    EXPECT_NEAR(at->z, 1, 1e-3);
    EXPECT_LT(at->y, 0);
    for (const double tip : {0.3, 1e-9, 0.0, -1e-9, -1e-5}) {
        const RoughCheck check = prepareRough(boxWithASliverOnTop(tip));
        EXPECT_TRUE(check.rough) << tip << ": " << check.error;
    }
}

// Pebbles with a few corners thrown far: some cross, some only dent or
// bulge; the search and the plain test of every pair must agree on each.
TEST(RoughSelfCrossing, AgreesWithATestOfEveryPairOnPebblesWithCornersThrownAbout) {
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> unit(-1, 1);
    int crossing = 0, clean = 0;
    for (int round = 0; round < 60; ++round) {
        Mesh pebble = pebbleMesh(round, 120, 10);
        const int thrown = 1 + round % 3;
        for (int k = 0; k < thrown; ++k) {
            Vec3& p = pebble.points[static_cast<size_t>(random() % pebble.points.size())];
            p = p + Vec3{unit(random), unit(random), unit(random)} * (round % 2 == 0 ? 3.0 : 9.0);
        }
        const bool expected = crossesByEveryPair(pebble);
        const RoughCheck check = prepareRough(pebble);
        if (!check.rough && !crossingPoint(check)) continue;  // refused for another fault first
        EXPECT_EQ(!check.rough, expected) << "round " << round << ": " << check.error;
        ++(expected ? crossing : clean);
    }
    EXPECT_GT(crossing, 10);
    EXPECT_GT(clean, 10);
}

TEST(RoughSelfCrossing, HonestRoughsAreAllTaken) {
    const MeshRead guide = readMeshFile(std::string(BREVIX_SOURCE_DIR) + "/UsersGuide/pebble.obj");
    ASSERT_TRUE(guide.mesh) << guide.error;
    EXPECT_TRUE(prepareRough(*guide.mesh).rough) << prepareRough(*guide.mesh).error;
    for (const char* text : {"box:10x8x6", "box:0.2x0.1x0.1", "box:800x10x10", "cylinder:8x10", "cylinder:0.1x300",
                             "ellipsoid:10x8x6", "ellipsoid:400x3x3"})
        for (const double about : {0.0, 33.0}) {
            const RoughCheck check = prepareRough(testing::turned(namedShape(text), about, about / 2));
            EXPECT_TRUE(check.rough) << text << ": " << check.error;
        }
    for (uint64_t seed = 1; seed <= 4; ++seed)
        for (const int triangles : {60, 3000, 20000}) {
            const double size = seed % 3 == 0 ? 0.4 : seed % 3 == 1 ? 20 : 300;
            Mesh pebble = pebbleMesh(seed, triangles, size);
            EXPECT_TRUE(prepareRough(pebble).rough) << seed << " " << triangles;
            // As an STL of floats gives it, far from its origin as a scanner
            // may place it, and as the example program writes it.
            Mesh rounded = pebble;
            for (Vec3& p : rounded.points)
                p = {static_cast<float>(p.x + 40 * size), static_cast<float>(p.y - 25 * size), static_cast<float>(p.z)};
            EXPECT_TRUE(prepareRough(rounded).rough) << seed << " " << triangles;
            const MeshRead written = readMeshBytes(asciiStl(pebble, "pebble"), "pebble.stl");
            ASSERT_TRUE(written.mesh);
            EXPECT_TRUE(prepareRough(*written.mesh).rough) << seed << " " << triangles;
        }
}

// Threads split the search by shares of the tree's leaf pairs: together
// the shares must hold every pair exactly once, or a large scan's crossing
// could go unseen on some number of cores.
TEST(RoughSelfCrossing, SharesOfTheLeafPairsTogetherHoldEachPairOnce) {
    const Mesh pebble = pebbleMesh(4, 20000, 20);
    const RayCaster tree(pebble);
    auto pairsOf = [&](unsigned shares) {
        std::vector<std::array<uint32_t, 2>> pairs;
        for (unsigned share = 0; share < shares; ++share)
            tree.forEachNearbyLeafPair(
                1e-3, [&](RayCaster::LeafRange a, RayCaster::LeafRange b) { pairs.push_back({a.first, b.first}); },
                share, shares);
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    };
    const auto whole = pairsOf(1);
    EXPECT_GT(whole.size(), pebble.triangles.size());
    EXPECT_EQ(std::adjacent_find(whole.begin(), whole.end()), whole.end());
    for (const unsigned shares : {2u, 3u, 8u}) EXPECT_EQ(pairsOf(shares), whole) << shares;
}

TEST(RoughSelfCrossing, TwoLargeScansOverlappingInOneFileAreRefused) {
    const Mesh both = merged(pebbleMesh(8, 40000, 20), pebbleMesh(9, 40000, 20), {6, 3, 1});
    EXPECT_TRUE(crossingPoint(prepareRough(both)));
}

}  // namespace
}  // namespace brevix::rough
