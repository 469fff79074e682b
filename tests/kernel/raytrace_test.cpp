// Light rays against what optics says they must do: Snell's law and total
// internal reflection in closed form, and the paths recorded in the stone.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kernel/stone.h"

namespace brevix {
namespace {

constexpr double TOL = 1e-12;

void expectNear(Vec3 p, Vec3 q, double tol = TOL) {
    EXPECT_NEAR(p.x, q.x, tol);
    EXPECT_NEAR(p.y, q.y, tol);
    EXPECT_NEAR(p.z, q.z, tol);
}

Vec3 unit(Vec3 p) { return p * (1 / length(p)); }

int32_t facetWithNormal(const Stone& s, Vec3 n) {
    for (int32_t i = 0; i < s.nFacet; ++i)
        if (length(s.facets[i].normal() - n) < 1e-12) return i;
    return -1;
}

struct RayPoint {
    double start;
    Vec3 p;
};

std::vector<RayPoint> recorded(const Stone& s) {
    std::vector<RayPoint> points;
    for (int32_t k = 0; k + 4 <= s.nRay; k += 4)
        points.push_back({s.rays[k], {s.rays[k + 1], s.rays[k + 2], s.rays[k + 3]}});
    return points;
}

TEST(Refract, HeadOnEntryAndExitKeepTheDirection) {
    Stone cube;  // the rough block: a cube of half-size 1.02
    cube.refractiveIndex = 2.42;
    const int32_t top = facetWithNormal(cube, {0, 0, 1});
    const int32_t bottom = facetWithNormal(cube, {0, 0, -1});
    Vec3 d{0, 0, -1};
    EXPECT_EQ(cube.refract(d, top, -1), 0);  // entered: still inside
    expectNear(d, {0, 0, -1});
    EXPECT_EQ(cube.refract(d, bottom, 1), 1);  // left
    expectNear(d, {0, 0, -1});
}

TEST(Refract, SnellsLawOnEntryAndOnExit) {
    Stone cube;
    cube.refractiveIndex = 1.54;
    const int32_t top = facetWithNormal(cube, {0, 0, 1});
    const double incidence = 50 / 57.29577951308232;
    Vec3 d{std::sin(incidence), 0, -std::cos(incidence)};
    EXPECT_EQ(cube.refract(d, top, dot(d, cube.facets[top].normal())), 0);
    EXPECT_NEAR(length(d), 1, TOL);
    EXPECT_NEAR(d.x, std::sin(incidence) / 1.54, TOL);  // sin t = sin i / r
    EXPECT_LT(d.z, 0);
    EXPECT_EQ(d.y, 0);

    // Out through the top again from inside: sin t = r sin i.
    const double inside = 0.3;
    Vec3 up{std::sin(inside), 0, std::cos(inside)};
    EXPECT_EQ(cube.refract(up, top, std::cos(inside)), 1);
    EXPECT_NEAR(up.x, 1.54 * std::sin(inside), TOL);
    EXPECT_NEAR(length(up), 1, TOL);
}

TEST(Refract, AtExactlyTheCriticalAngleTheRayIsReflected) {
    Stone cube;
    const int32_t top = facetWithNormal(cube, {0, 0, 1});
    // With this index 1 - r^2 (1 - 0.5^2) is exactly 0: a ray meeting the
    // facet at 60 degrees from its normal is at the critical angle.
    cube.refractiveIndex = 1.1547005383792515;
    Vec3 d{std::sqrt(0.75), 0, 0.5};
    EXPECT_EQ(cube.refract(d, top, 0.5), 0);
    expectNear(d, {std::sqrt(0.75), 0, -0.5});  // mirrored in the facet

    // A hair less dense, and the same ray gets out, grazing the facet.
    cube.refractiveIndex = 1.154;
    Vec3 out{std::sqrt(0.75), 0, 0.5};
    EXPECT_EQ(cube.refract(out, top, 0.5), 1);
    EXPECT_GT(out.z, 0);
    EXPECT_NEAR(length(out), 1, 1e-9);
}

TEST(TraceRay, StraightThroughACubeRecordsFourPoints) {
    Stone cube;
    cube.refractiveIndex = 2.42;
    EXPECT_EQ(cube.traceRay({0.3, 0.2, 2.12}, {0, 0, -1}), Stone::RayEnd::LeftStone);
    const std::vector<RayPoint> path = recorded(cube);
    ASSERT_EQ(path.size(), 4u);
    EXPECT_EQ(path[0].start, 1);
    expectNear(path[0].p, {0.3, 0.2, 2.12});
    for (size_t k = 1; k < 4; ++k) EXPECT_EQ(path[k].start, 0);
    expectNear(path[1].p, {0.3, 0.2, 1.02});
    expectNear(path[2].p, {0.3, 0.2, -1.02});
    expectNear(path[3].p, {0.3, 0.2, -1.72});  // the stub, 0.7 beyond the exit
}

TEST(TraceRay, ThroughACubeOfGlassAt30DegreesLeavesParallelToItsEntry) {
    Stone cube;
    cube.refractiveIndex = 1.54;
    const Vec3 d = unit({std::sin(30 / 57.29577951308232), 0, -std::cos(30 / 57.29577951308232)});
    EXPECT_EQ(cube.traceRay(Vec3{-0.5, 0, 1.02} - 1.5 * d, d), Stone::RayEnd::LeftStone);
    const std::vector<RayPoint> path = recorded(cube);
    ASSERT_EQ(path.size(), 4u);
    expectNear(path[1].p, {-0.5, 0, 1.02});
    EXPECT_NEAR(path[2].p.z, -1.02, TOL);
    // Inside it runs at asin(sin 30 / 1.54) from the vertical.
    const Vec3 inside = unit(path[2].p - path[1].p);
    EXPECT_NEAR(inside.x, 0.5 / 1.54, TOL);
    // And comes out parallel to where it came from, shifted sideways.
    expectNear((path[3].p - path[2].p) * (1 / Stone::RAY_STUB), d);
}

TEST(TraceRay, AMissRecordsNothing) {
    Stone cube;
    EXPECT_EQ(cube.traceRay({1.5, 0, 2}, {0, 0, -1}), Stone::RayEnd::Missed);
    EXPECT_EQ(cube.traceRay({0, 0, 2}, {0, 0, 1}), Stone::RayEnd::Missed);  // pointing away
    EXPECT_EQ(cube.nRay, 0);
    EXPECT_TRUE(cube.rays.empty());
}

// Two cut facets meeting in an edge at (0.8, y, 0.8), cut in either order.
Stone wedge(bool topFirst) {
    Stone s;
    if (topFirst) {
        s.newFacet(0, 0, 1, 0.8);
        s.newFacet(1, 0, 0, 0.8);
    } else {
        s.newFacet(1, 0, 0, 0.8);
        s.newFacet(0, 0, 1, 0.8);
    }
    return s;
}

TEST(Intersect, AHitExactlyOnAnEdgeGoesToTheFirstFacetInOrder) {
    const Vec3 d = unit({-1, 0, -1});
    const Vec3 edgePoint{0.8, 0.1, 0.8};
    for (bool topFirst : {true, false}) {
        Stone s = wedge(topFirst);
        const int32_t top = facetWithNormal(s, {0, 0, 1});
        const int32_t side = facetWithNormal(s, {1, 0, 0});
        ASSERT_GE(top, 0);
        ASSERT_GE(side, 0);
        ASSERT_EQ(top < side, topFirst);
        const Stone::RayHit hit = s.intersect(+1, edgePoint - 2.0 * d, d);
        EXPECT_EQ(hit.facet, std::min(top, side)) << "top cut first: " << topFirst;
        expectNear(hit.point, edgePoint, 1e-12);
        EXPECT_NEAR(hit.c, -std::sqrt(0.5), TOL);
    }
}

TEST(Intersect, FromInsideFindsTheNearestFacetAhead) {
    Stone s = wedge(true);
    const Stone::RayHit hit = s.intersect(-1, {0, 0, 0}, unit({1, 0, 0.5}));
    EXPECT_EQ(hit.facet, facetWithNormal(s, {1, 0, 0}));
    expectNear(hit.point, {0.8, 0, 0.4});
    EXPECT_GT(hit.c, 0);
}

TEST(TraceRay, ALightTrapStopsAfterAHundredReflections) {
    // A tetrahedron: no two faces are parallel, and with an index this high
    // every ray inside is totally reflected wherever it goes.
    Stone s;
    const double k = 1 / std::sqrt(3.0);
    s.newFacet(k, k, k, 0.5);
    s.newFacet(k, -k, -k, 0.5);
    s.newFacet(-k, k, -k, 0.5);
    s.newFacet(-k, -k, k, 0.5);
    s.refractiveIndex = 1e6;
    const Stone::RayEnd end = s.traceRay({2, 2.1, 1.9}, unit({-1, -1, -1}));
    EXPECT_EQ(end, Stone::RayEnd::TooManyReflections);
    // Start, entry, a hundred reflection points and the stub.
    EXPECT_EQ(s.nRay, 4 * (2 + Stone::MAX_REFLECTIONS + 1));
}

TEST(Rays, EraseKeepsTheArrayAndStartsAgain) {
    Stone cube;
    cube.traceRay({0, 0, 2}, {0, 0, -1});
    ASSERT_EQ(cube.nRay, 16);
    cube.eraseRays();
    EXPECT_EQ(cube.nRay, 0);
    EXPECT_EQ(cube.rays.size(), 400u);
    cube.traceRay({0.5, 0, 2}, {0, 0, -1});
    EXPECT_EQ(cube.rays[1], 0.5);
    EXPECT_EQ(cube.rays[0], 1);
}

}  // namespace
}  // namespace brevix
