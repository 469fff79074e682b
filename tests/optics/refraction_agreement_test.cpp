// One account of light at a surface for the rays drawn in the views and for
// the face-up renderer: the shared functions obey Snell's law and turn
// round exactly, and both tracers decide total internal reflection alike a
// hair either side of the critical angle.
#include <gtest/gtest.h>

#include <cmath>

#include "kernel/refraction.h"
#include "kernel/stone.h"
#include "optics/face_up.h"
#include "optics/lighting.h"

namespace brevix::optics {
namespace {

Vec3 unit(Vec3 p) { return p * (1 / length(p)); }

TEST(Refraction, SnellsLawUnitLengthAndTheWayBackFromHeadOnToGrazing) {
    const Vec3 normal = unit({0.3, -0.2, 1});  // faces the incoming light
    const Vec3 across = unit(cross(normal, {1, 0, 0}));
    for (double eta : {1 / 2.42, 1 / 1.54, 1.0, 1.54 / 2.42}) {
        for (double degrees : {0.0, 10.0, 45.0, 80.0, 89.0, 89.999}) {
            const double t = degrees * PI / 180;
            const Vec3 d = unit(std::sin(t) * across - std::cos(t) * normal);
            const double cosI = -dot(normal, d);
            const double cosT = transmittedCos(cosI, eta);
            ASSERT_GE(cosT, 0) << "from the thinner medium light always passes";
            const Vec3 out = refractedDirection(d, normal, eta, cosI, cosT);
            EXPECT_NEAR(length(out), 1, 1e-12) << eta << " " << degrees;
            EXPECT_NEAR(-dot(normal, out), cosT, 1e-12);
            // sin t = eta sin i, on the far side, in the plane of incidence.
            EXPECT_NEAR(length(cross(out, normal)), eta * length(cross(d, normal)), 1e-12);
            EXPECT_NEAR(dot(out, cross(d, normal)), 0, 1e-12);
            // Sent back, it retraces its way.
            const Vec3 back = {-out.x, -out.y, -out.z};
            const Vec3 facingBack = {-normal.x, -normal.y, -normal.z};
            const double cosBack = -dot(facingBack, back);
            const double cosBackT = transmittedCos(cosBack, 1 / eta);
            ASSERT_GE(cosBackT, 0) << eta << " " << degrees;
            const Vec3 again = refractedDirection(back, facingBack, 1 / eta, cosBack, cosBackT);
            EXPECT_NEAR(again.x, -d.x, 1e-9);
            EXPECT_NEAR(again.y, -d.y, 1e-9);
            EXPECT_NEAR(again.z, -d.z, 1e-9);
        }
    }
}

TEST(Refraction, ReflectionKeepsTheAngleWithEitherNormal) {
    const Vec3 n = unit({0.1, 0.7, -0.4});
    const Vec3 d = unit({0.5, -0.3, 0.2});
    for (const Vec3 normal : {n, Vec3{-n.x, -n.y, -n.z}}) {
        const Vec3 r = reflectedDirection(d, normal, dot(normal, d));
        EXPECT_NEAR(length(r), 1, 1e-15);
        EXPECT_NEAR(dot(normal, r), -dot(normal, d), 1e-15);
        EXPECT_NEAR(length(cross(r - d, normal)), 0, 1e-15);
    }
}

TEST(Refraction, TotalReflectionBeginsAtTheCriticalAngle) {
    for (double n : {1.43, 1.54, 2.42}) {
        const double critical = std::asin(1 / n);
        EXPECT_GT(transmittedCos(std::cos(critical - 1e-6), n), 0) << n;
        EXPECT_LT(transmittedCos(std::cos(critical + 1e-6), n), 0) << n;
    }
}

// A bar with a flat top at z = 0.5 and a roof of two 45 degree facets below
// it, meeting along the x axis: light straight down meets the roof at 45
// degrees, so it is mirrored across and back up when sin 45 > 1/n, and leaks
// out through the roof when not.
Stone roofPrism() {
    Stone stone;
    const double s = std::sqrt(0.5);
    stone.newFacet(0, 0, 1, 0.5);
    stone.newFacet(0, s, -s, 0.5);
    stone.newFacet(0, -s, -s, 0.5);
    return stone;
}

TEST(Refraction, RaysAndTheRendererAgreeEitherSideOfTheCriticalIndex) {
    const double critical = std::sqrt(2.0);  // sin 45 = 1 / sqrt 2
    for (const double n : {critical - 2e-4, critical + 2e-4}) {
        const bool mirrored = n > critical;
        Stone stone = roofPrism();
        stone.refractiveIndex = n;
        ASSERT_EQ(stone.traceRay({0.2, 0.1, 3}, {0, 0, -1}), Stone::RayEnd::LeftStone);
        const int32_t last = stone.nRay - 4;
        const Vec3 lastTurn{stone.rays[last - 3], stone.rays[last - 2], stone.rays[last - 1]};
        const Vec3 leaving = unit(Vec3{stone.rays[last + 1], stone.rays[last + 2], stone.rays[last + 3]} - lastTurn);
        if (mirrored) {
            EXPECT_NEAR(leaving.z, 1, 1e-9) << "the ray goes back up through the top";
            EXPECT_NEAR(lastTurn.z, 0.5, 1e-9);
        } else {
            EXPECT_LT(leaving.z, 0) << "the ray leaks out through the roof";
        }

        // Straight up is lit when the viewer casts no shadow; below the
        // girdle nothing is.
        Lighting lighting;
        lighting.headShadowDegrees = 0;
        const PreparedStone prepared(stone, 0);
        const PixelLight light = prepared.trace(0.2, 0.1, n, LightingTest(lighting, 0));
        ASSERT_TRUE(light.inside);
        if (mirrored) {
            EXPECT_EQ(light.unlit, 0) << "nothing leaks where the ray is mirrored";
            EXPECT_GT(light.lit, 0.95);
        } else {
            EXPECT_GT(light.unlit, 0.01) << "the renderer leaks where the ray does";
        }
        EXPECT_NEAR(light.lit + light.unlit + light.belowThreshold + light.bounceLimit, 1, 1e-12);
    }
}

}  // namespace
}  // namespace brevix::optics
