// The fit against answers worked out by hand: the round brilliant in a
// block, in the same block turned, in a cylinder and in an L-shaped rough,
// with a margin and a sphere to avoid. Every placed corner is checked
// inside by counting ray crossings, not by the fit's own geometry.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "rough/pebble.h"
#include "rough_test_support.h"

namespace brevix::rough {
namespace {

using testing::expectCornersInside;
using testing::outsideBy;
using testing::planesOf;

struct Fitted {
    std::shared_ptr<const Rough> rough;
    FitResult fit;
    Mesh stone;
};

Fitted fitInto(const Mesh& roughMesh, const FitOptions& options = {}) {
    static const std::unique_ptr<Stone> brilliant = testing::sampleDesign("round_brilliant.asc");
    Fitted f;
    RoughCheck check = prepareRough(roughMesh);
    EXPECT_TRUE(check.rough) << check.error;
    if (!check.rough) return f;
    f.rough = check.rough;
    f.fit = fitStone(*brilliant, *f.rough, options);
    if (f.fit.fits) f.stone = placedStoneMesh(*brilliant, f.fit.placement);
    return f;
}

double determinant(const std::array<std::array<double, 3>, 3>& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Table up, the girdle fills the block's 8 mm side (8 to 8.157 mm across
// its corners). Tilted across the 8 x 6 end the brilliant fits larger still,
// so that answer is only the least the fit must reach; turning the block
// must not change what it finds.
TEST(RoughFit, TheBrilliantInABlockIsAtLeastItsTableUpSizeHoweverTheBlockIsTurned) {
    double first = 0;
    for (const auto& [aboutZ, aboutX] : {std::pair{0.0, 0.0}, {30.0, 20.0}}) {
        const Mesh block = testing::turned(*shapeMesh("box:10x8x6").mesh, aboutZ, aboutX);
        const Fitted f = fitInto(block);
        ASSERT_TRUE(f.fit.fits) << f.fit.message;
        EXPECT_GE(f.fit.widthMm, 8 * 0.995) << aboutZ;
        if (first == 0) first = f.fit.widthMm;
        EXPECT_NEAR(f.fit.widthMm / first, 1, 0.005) << aboutZ;
        EXPECT_NEAR(determinant(f.fit.placement.rotation), 1, 1e-9);
        EXPECT_NEAR(f.fit.yieldPercent, 100 * f.fit.volumeMm3 / 480, 1e-9);
        expectCornersInside(f.stone, block);
    }
}

TEST(RoughFit, InACylinderTheGirdleCornersReachTheRound) {
    const Mesh cylinder = *shapeMesh("cylinder:8x10").mesh;
    const Fitted f = fitInto(cylinder);
    ASSERT_TRUE(f.fit.fits);
    EXPECT_GE(f.fit.widthMm, 8 * 0.995);
    EXPECT_LE(f.fit.widthMm, 8 + 1e-6);
    expectCornersInside(f.stone, cylinder);
}

// An L: two 20 x 6 arms, 6 high, meeting at a square corner. The edge up
// the inside of the corner folds inward; a fit that tested only corners
// would put the stone across it.
Mesh lShape() {
    Mesh m;
    const double outline[6][2] = {{0, 0}, {20, 0}, {20, 6}, {6, 6}, {6, 20}, {0, 20}};
    for (int z = 0; z < 2; ++z)
        for (const auto& p : outline) m.points.push_back({p[0], p[1], 6.0 * z});
    // The two ends as fans of the convex parts, counter-clockwise from outside.
    const uint32_t parts[2][4] = {{0, 1, 2, 3}, {0, 3, 4, 5}};
    for (const auto& q : parts) {
        m.triangles.push_back({q[0], q[2], q[1]});
        m.triangles.push_back({q[0], q[3], q[2]});
        m.triangles.push_back({q[0] + 6, q[1] + 6, q[2] + 6});
        m.triangles.push_back({q[0] + 6, q[2] + 6, q[3] + 6});
    }
    for (uint32_t i = 0; i < 6; ++i) {
        const uint32_t j = (i + 1) % 6;
        m.triangles.push_back({i, j, j + 6});
        m.triangles.push_back({i, j + 6, i + 6});
    }
    return m;
}

TEST(RoughFit, InAnLTheStoneStaysClearOfTheInnerCorner) {
    const Mesh l = lShape();
    const Fitted f = fitInto(l);
    ASSERT_TRUE(f.fit.fits);
    // More than an arm's width: the girdle uses the corner's room.
    EXPECT_GT(f.fit.widthMm, 6.2);
    expectCornersInside(f.stone, l);
    const auto planes = planesOf(f.stone);
    for (int i = 0; i <= 100; ++i) EXPECT_GE(outsideBy(planes, {6, 6, 0.06 * i}), -1e-7) << i;
}

// A scan's noise folds the surface inward all over: no point of it, nor the
// middle of any of its edges, may lie inside the stone.
TEST(RoughFit, InANoisyPebbleNoPartOfTheSurfaceReachesIntoTheStone) {
    const Mesh pebble = pebbleMesh(11, 3000, 15);
    const Fitted f = fitInto(pebble);
    ASSERT_TRUE(f.fit.fits);
    expectCornersInside(f.stone, pebble);
    const auto planes = planesOf(f.stone);
    for (const auto& t : pebble.triangles)
        for (int c = 0; c < 3; ++c) {
            const Vec3 a = pebble.points[t[c]], b = pebble.points[t[(c + 1) % 3]];
            EXPECT_GE(outsideBy(planes, a), -1e-7);
            EXPECT_GE(outsideBy(planes, (a + b) * 0.5), -1e-7);
        }
    EXPECT_GT(f.fit.yieldPercent, 10);
}

TEST(RoughFit, AMarginAndASphereToAvoidAreKept) {
    const Mesh block = *shapeMesh("box:10x8x6").mesh;
    FitOptions margin;
    margin.marginMm = 0.5;
    const Fitted m = fitInto(block, margin);
    ASSERT_TRUE(m.fit.fits);
    EXPECT_GE(m.fit.widthMm, 7 * 0.995);
    for (const Vec3& p : m.stone.points) {
        const double clearance = std::min({5 - std::abs(p.x), 4 - std::abs(p.y), 3 - std::abs(p.z)});
        EXPECT_GE(clearance, 0.5 - 1e-7);
    }

    FitOptions avoid;
    avoid.avoid.push_back({{0, 0, 0}, 1.0});
    const Fitted a = fitInto(block, avoid);
    ASSERT_TRUE(a.fit.fits);
    EXPECT_GE(outsideBy(planesOf(a.stone), {0, 0, 0}), 1 - 1e-7);
    expectCornersInside(a.stone, block);
    EXPECT_LT(a.fit.widthMm, 8);
}

TEST(RoughFit, ARoughTooSmallForAnyStoneSaysSo) {
    FitOptions margin;
    margin.marginMm = 3;
    const Fitted f = fitInto(*shapeMesh("box:10x8x6").mesh, margin);
    EXPECT_FALSE(f.fit.fits);
    EXPECT_EQ(f.fit.message, "No stone fits in the rough less its margin and the spheres to avoid.");
    const Fitted g = fitInto(*shapeMesh("box:0.005x0.005x0.005").mesh);
    EXPECT_FALSE(g.fit.fits);
    EXPECT_EQ(g.fit.message, "No stone fits in the rough.");
}

// The window stops a fit it no longer needs: what was found so far is a
// stone that fits.
TEST(RoughFit, AFitStoppedEarlyStillGivesAStoneInside) {
    const Mesh block = *shapeMesh("box:10x8x6").mesh;
    std::atomic<bool> cancel{true};
    FitOptions options;
    options.cancel = &cancel;
    const Fitted f = fitInto(block, options);
    ASSERT_TRUE(f.fit.fits);
    expectCornersInside(f.stone, block);
}

TEST(RoughFit, TheSameSeedGivesTheSamePlacementOnAnyNumberOfThreads) {
    const Mesh block = testing::turned(*shapeMesh("ellipsoid:10x8x6").mesh, 10, 5);
    FitOptions one, two;
    one.threads = 1;
    two.threads = 2;
    one.seed = two.seed = 5;
    const Fitted a = fitInto(block, one), b = fitInto(block, two);
    ASSERT_TRUE(a.fit.fits);
    EXPECT_EQ(a.fit.widthMm, b.fit.widthMm);
    EXPECT_EQ(a.fit.placement.rotation, b.fit.placement.rotation);
    EXPECT_EQ(a.fit.placement.translation.x, b.fit.placement.translation.x);
}

}  // namespace
}  // namespace brevix::rough
