#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "facet_placement/placement.h"
#include "facet_placement/point_solvers.h"
#include "platform/messages.h"

namespace brevix {
namespace {

// A facet plane as the cutter sets it, and points lying on it.
struct TruePlane {
    double angle, index, ced;
    Vec3 normal;
};

TruePlane randomPlane(std::mt19937& rng, const Stone& stone) {
    std::uniform_real_distribution<double> angle(5, 85), index(0, 96), ced(0.3, 0.9), sign(-1, 1);
    TruePlane p;
    p.angle = angle(rng) * (sign(rng) < 0 ? -1 : 1);
    p.index = index(rng);
    p.ced = ced(rng);
    const double az = azimuthOf(p.index, stone.gear, stone.indexOffset);
    const double a = p.angle * PI / 180;
    p.normal = Vec3{std::sin(az) * std::sin(a), std::cos(az) * std::sin(a), std::cos(a)};
    if (a < 0) p.normal = p.normal * -1.0;
    return p;
}

// A point of the plane within the rough block.
Vec3 pointOn(const TruePlane& plane, std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-0.6, 0.6);
    const Vec3 foot = plane.normal * plane.ced;
    Vec3 e1 = cross(plane.normal, {0, 0, 1});
    if (length(e1) < 1e-6) e1 = {1, 0, 0};
    e1 = e1 * (1 / length(e1));
    const Vec3 e2 = cross(plane.normal, e1);
    return foot + e1 * u(rng) + e2 * u(rng);
}

// The plane the cut makes from angle, index and depth, as the kernel cuts it.
Facet cutPlane(double angle, double index, double ced, const Stone& on) {
    Stone stone(ROUGH_HALF);
    stone.gear = on.gear;
    stone.indexOffset = on.indexOffset;
    const int r = stone.cutByAngle(azimuthOf(index, on.gear, on.indexOffset), angle * PI / 180, ced,
                                   true);
    EXPECT_GE(r, 0);
    return stone.facets[stone.nFacet - 1];
}

double distance(const Facet& f, Vec3 p) { return dot(f.normal(), p) - f.d; }

class Solvers : public ::testing::Test {
protected:
    Diagnostics notes;  // why a solver gave up, in order
    std::mt19937 rng{20261207};
    Stone stone;
    void SetUp() override {
        stone.gear = 96;
        stone.indexOffset = 0;
    }
};

TEST_F(Solvers, DepthThroughOnePoint) {
    for (int trial = 0; trial < 100; ++trial) {
        const TruePlane truth = randomPlane(rng, stone);
        NewFacetInfo info;
        info.angle = truth.angle;
        info.index = truth.index;
        info.points[0] = pointOn(truth, rng);
        info.nPoints = 1;
        const double ced = cedThroughPoint(info, stone, notes);
        const Facet f = cutPlane(truth.angle, truth.index, ced, stone);
        EXPECT_NEAR(distance(f, info.points[0]), 0, 1e-9);
    }
    EXPECT_TRUE(notes.empty());
}

TEST_F(Solvers, PavilionPointGivesPositiveDepth) {
    NewFacetInfo info;
    info.angle = -41;
    info.index = 12;
    info.points[0] = {0.3, 0.2, -0.5};
    info.nPoints = 1;
    EXPECT_GT(cedThroughPoint(info, stone, notes), 0);
}

TEST_F(Solvers, AngleThroughOnePoint) {
    int solved = 0;
    for (int trial = 0; trial < 100; ++trial) {
        TruePlane truth = randomPlane(rng, stone);
        truth = {std::fabs(truth.angle), truth.index, truth.ced, {}};
        const double az = azimuthOf(truth.index, 96, 0), a = truth.angle * PI / 180;
        truth.normal = {std::sin(az) * std::sin(a), std::cos(az) * std::sin(a), std::cos(a)};
        NewFacetInfo info;
        info.index = truth.index;
        info.ced = truth.ced;
        info.points[0] = pointOn(truth, rng);
        info.nPoints = 1;
        const double angle = angleThroughPoint(info, stone, notes);
        const Facet f = cutPlane(foldAngle(angle), truth.index, truth.ced, stone);
        // The search stops once the point is within 1e-8 of the plane.
        EXPECT_NEAR(distance(f, info.points[0]), 0, 1e-8);
        solved += std::fabs(angle - truth.angle) < 1e-6;
    }
    EXPECT_GT(solved, 50);  // the rest find the other plane through the point
}

TEST_F(Solvers, AngleThroughPointNearerThanDepthPullsTheDepthIn) {
    NewFacetInfo info;
    info.index = 0;
    info.ced = 0.9;
    info.hasCed = true;
    info.points[0] = {0, 0.3, 0.4};
    info.nPoints = 1;
    angleThroughPoint(info, stone, notes);
    EXPECT_EQ(notes.texts(), std::vector<std::string>{"Point closer to origin than CED.\nCED reduced."});
    EXPECT_DOUBLE_EQ(info.ced, 0.5);
    EXPECT_TRUE(info.hasCed);
}

TEST_F(Solvers, TwoPointsAtIndexAndAtAngle) {
    int atIndex = 0, atAngle = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const TruePlane truth = randomPlane(rng, stone);
        NewFacetInfo info;
        info.angle = truth.angle;
        info.index = truth.index;
        info.points[0] = pointOn(truth, rng);
        info.points[1] = pointOn(truth, rng);
        info.nPoints = 2;
        if (std::fabs(info.points[0].z - info.points[1].z) < 0.01) continue;

        const PlaneSolution byIndex = planeThrough2PointsAtIndex(info, stone, notes);
        if (byIndex.d != 0) {
            ++atIndex;
            EXPECT_NEAR(byIndex.angle, truth.angle, 1e-9);
            EXPECT_NEAR(byIndex.d, truth.ced, 1e-9);
            const Facet f = cutPlane(byIndex.angle, truth.index, byIndex.d, stone);
            EXPECT_NEAR(distance(f, info.points[0]), 0, 1e-9);
            EXPECT_NEAR(distance(f, info.points[1]), 0, 1e-9);
        }
        const PlaneSolution byAngle = planeThrough2PointsAtAngle(info, stone, notes);
        if (byAngle.d != 0) {
            ++atAngle;
            EXPECT_GE(byAngle.index, 0);
            EXPECT_LE(byAngle.index, 96);
            const Facet f = cutPlane(truth.angle, byAngle.index, byAngle.d, stone);
            EXPECT_NEAR(std::acos(std::fabs(f.c)) * DEG_PER_RAD, std::fabs(truth.angle), 1e-6);
            // The angle is matched to 1e-7 degrees; the plane follows to a few 1e-9.
            EXPECT_NEAR(distance(f, info.points[0]), 0, 5e-9);
            EXPECT_NEAR(distance(f, info.points[1]), 0, 5e-9);
        }
    }
    EXPECT_GT(atIndex, 150);
    EXPECT_GT(atAngle, 100);
}

TEST_F(Solvers, ThreePoints) {
    int solved = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const TruePlane truth = randomPlane(rng, stone);
        const Vec3 p1 = pointOn(truth, rng), p2 = pointOn(truth, rng), p3 = pointOn(truth, rng);
        const PlaneSolution plane = planeThrough3Points(p1, p2, p3, stone, notes);
        if (plane.d == 0) continue;
        ++solved;
        EXPECT_NEAR(plane.angle, truth.angle, 1e-7);
        EXPECT_GE(plane.index, 0);
        EXPECT_LE(plane.index, 96);
        const Facet f = cutPlane(plane.angle, plane.index, plane.d, stone);
        for (Vec3 p : {p1, p2, p3}) EXPECT_NEAR(distance(f, p), 0, 1e-9);
    }
    EXPECT_GT(solved, 190);
}

TEST_F(Solvers, ThreePointsOnAnOddGearAndOffset) {
    stone.gear = -80;
    stone.indexOffset = 20;
    const Vec3 n{std::sin(0.7) * 0.5, std::cos(0.7) * 0.5, std::sqrt(0.75)};
    const Vec3 e1 = Vec3{std::cos(0.7), -std::sin(0.7), 0}, e2 = cross(n, e1);
    const Vec3 p1 = n * 0.6, p2 = p1 + e1 * 0.3, p3 = p1 + e2 * 0.4;
    const PlaneSolution plane = planeThrough3Points(p1, p2, p3, stone, notes);
    ASSERT_NE(plane.d, 0);
    EXPECT_NEAR(plane.angle, 30, 1e-9);
    const Facet f = cutPlane(plane.angle, plane.index, plane.d, stone);
    for (Vec3 p : {p1, p2, p3}) EXPECT_NEAR(distance(f, p), 0, 1e-9);
}

NewFacetInfo twoPoints(Vec3 p1, Vec3 p2) {
    NewFacetInfo info;
    info.points[0] = p1;
    info.points[1] = p2;
    info.nPoints = 2;
    return info;
}

TEST_F(Solvers, TwoPointsAtIndexFailures) {
    NewFacetInfo info = twoPoints({0.5, 0.2, 0.3}, {-0.4, 0.1, 0.3});
    info.index = 10;
    EXPECT_EQ(planeThrough2PointsAtIndex(info, stone, notes).d, 0);
    // Index 0 looks along y, so x and y trade places: points on the x-z
    // plane leave no x to work with.
    info = twoPoints({0.5, 0, 0.2}, {0.3, 0, 0.5});
    info.index = 0;
    EXPECT_EQ(planeThrough2PointsAtIndex(info, stone, notes).d, 0);
    // On one line through the centre: every plane holding them holds it.
    info = twoPoints({0.2, 0.2, 0.2}, {0.4, 0.4, 0.4});
    info.index = 12;
    EXPECT_EQ(planeThrough2PointsAtIndex(info, stone, notes).d, 0);
    // Points of a facet at index 30 asked for at the opposite index 78:
    // the plane through them leans away from 78, so no facet there holds them.
    const double az = azimuthOf(30, 96, 0), tilt = 35 * PI / 180;
    const Vec3 n{std::sin(az) * std::sin(tilt), std::cos(az) * std::sin(tilt), std::cos(tilt)};
    const Vec3 side = cross(n, {0, 0, 1}) * (1 / length(cross(n, {0, 0, 1})));
    info = twoPoints(n * 0.7 + side * 0.2, n * 0.7 + cross(n, side) * 0.3);
    info.index = 78;
    EXPECT_EQ(planeThrough2PointsAtIndex(info, stone, notes).d, 0);
    info.index = 30;
    EXPECT_NEAR(planeThrough2PointsAtIndex(info, stone, notes).angle, 35, 1e-9);
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{"Can't make facet: same Z",
                                                      "Can't make facet: X=0",
                                                      "Can't make facet: through center",
                                                      "Can't make facet: through center"}));
}

TEST_F(Solvers, TwoPointsAtAngleFailures) {
    NewFacetInfo info = twoPoints({0.5, 0.2, 0.3}, {-0.4, 0.1, 0.5});
    info.angle = -89.5;
    EXPECT_EQ(planeThrough2PointsAtAngle(info, stone, notes).d, 0);
    // Seen from above both lie on one line through the axis.
    info = twoPoints({0.2, 0.3, 0.1}, {0.4, 0.6, -0.3});
    info.angle = 40;
    EXPECT_EQ(planeThrough2PointsAtAngle(info, stone, notes).d, 0);
    // Far above the stone the plane holding them is too far to be a plane.
    info = twoPoints({1, 0, 1e9}, {0, 1, 1e9});
    EXPECT_EQ(planeThrough2PointsAtAngle(info, stone, notes).d, 0);
    // A steep line between them: no plane through it is as flat as 20 degrees.
    info = twoPoints({0.5, 0.1, 0.53}, {0.5, -0.1, -0.47});
    info.angle = 20;
    EXPECT_EQ(planeThrough2PointsAtAngle(info, stone, notes).d, 0);
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{
                                "Won't work with angle of 90",
                                "Cannot make new facet because points are co-linear",
                                "New facet cuts through center of stone",
                                "Couldn't find index"}));
}

TEST_F(Solvers, ThreePointFailures) {
    // In one plane with the centre, and on one line.
    EXPECT_EQ(planeThrough3Points({1, 0, 0}, {0, 1, 0}, {1, 1, 0}, stone, notes).d, 0);
    EXPECT_EQ(planeThrough3Points({0.1, 0.1, 0.1}, {0.2, 0.2, 0.2}, {0.5, 0.5, 0.5}, stone, notes).d, 0);
    EXPECT_EQ(planeThrough3Points({1, 0, 1e9}, {0, 1, 1e9}, {0, 0, 1e9}, stone, notes).d, 0);
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{
                                "Cannot make new facet because points are co-linear",
                                "Cannot make new facet because points are co-linear",
                                "New cuts through center of stone"}));
}

}  // namespace
}  // namespace brevix
