// The face-up renderer against what optics says by hand: reflection at a
// flat table, the cube's closed form, energy conservation, leaking
// pavilions, the symmetries of the picture and tilts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "light_designs.h"
#include "optics/face_up.h"
#include "optics/fresnel.h"
#include "optics/tilt_sweep.h"

namespace brevix::optics {
namespace {

using testing::simpleBrilliant;

constexpr double QUARTZ = 1.54, DIAMOND = 2.42;

FaceUpOptions options(double ri, int size = 96) {
    FaceUpOptions o;
    o.refractiveIndex = ri;
    o.size = size;
    return o;
}

TEST(Fresnel, HeadOnBrewsterAndGrazing) {
    for (double n : {1.43, QUARTZ, DIAMOND, 2.65}) {
        const double r0 = (n - 1) / (n + 1) * ((n - 1) / (n + 1));
        EXPECT_DOUBLE_EQ(normalReflectance(1.0, n), r0);
        EXPECT_NEAR(fresnelReflectance(1.0, 1.0, 1.0, n), r0, 1e-15);
        EXPECT_NEAR(fresnelReflectance(1.0, 1.0, n, 1.0), r0, 1e-15) << "the same leaving head on";
        // At Brewster's angle the p wave is not reflected at all.
        const double brewster = std::atan(n);
        const double cosI = std::cos(brewster), cosT = transmittedCos(cosI, 1.0 / n);
        const double rs = (cosI - n * cosT) / (cosI + n * cosT);
        EXPECT_NEAR(fresnelReflectance(cosI, cosT, 1.0, n), rs * rs / 2, 1e-12);
        // Reflectance grows toward grazing incidence and reaches 1 there.
        double previous = r0;
        for (double deg = 60; deg < 89.5; deg += 5) {
            const double ci = std::cos(deg / DEG_PER_RAD);
            const double r = fresnelReflectance(ci, transmittedCos(ci, 1.0 / n), 1.0, n);
            EXPECT_GT(r, previous);
            previous = r;
        }
        EXPECT_NEAR(fresnelReflectance(0.0, transmittedCos(0.0, 1.0 / n), 1.0, n), 1.0, 1e-12);
        // Inside, past the critical angle, nothing is transmitted.
        const double critical = std::asin(1.0 / n);
        EXPECT_GT(transmittedCos(std::cos(critical * 0.99), n), 0.0);
        EXPECT_LT(transmittedCos(std::cos(critical * 1.01), n), 0.0);
    }
}

TEST(FaceUp, FlatTableReflectsHeadOnAsFresnelSays) {
    const Stone brilliant = makeRoundBrilliant();
    for (double tilt : {0.0, 8.0}) {
        const PreparedStone prepared(brilliant, tilt);
        const LightingTest light(Lighting{}, tilt / DEG_PER_RAD);
        for (double n : {QUARTZ, DIAMOND}) {
            const PixelLight p = prepared.trace(0.01, 0.02, n, light);
            ASSERT_TRUE(p.inside);
            const double cosI = std::cos(tilt / DEG_PER_RAD);
            const double r = fresnelReflectance(cosI, transmittedCos(cosI, 1 / n), 1.0, n);
            EXPECT_NEAR(p.surface, r, 1e-12);
            if (tilt == 0) {
                EXPECT_NEAR(p.surface, (n - 1) / (n + 1) * ((n - 1) / (n + 1)), 1e-12);
            }
        }
    }
}

TEST(FaceUp, RoughBlockGivesTheCubesClosedForm) {
    // Straight down through the top of a cube: R comes straight back, and
    // of what goes in, a share bounces between top and bottom, leaving up
    // R (1-R)^2 (1 + R^2 + R^4 ...): in all 2R / (1 + R). The renderer gives
    // up on less than 1 % of a pixel's light, so it may fall short of the
    // series by at most that much, and never exceed it.
    const Stone cube;
    for (double n : {1.43, QUARTZ, DIAMOND, 2.65}) {
        const FaceUpImage image = renderFaceUp(cube, options(n, 40));
        const int side = static_cast<int>(std::lround(std::sqrt(image.insideCount)));
        EXPECT_EQ(image.insideCount, side * side) << "the outline is a square";
        EXPECT_GT(side, 35);
        const double r = normalReflectance(1.0, n);
        const double closed = 100 * 2 * r / (1 + r);
        EXPECT_LE(image.isoBrightness, closed + 1e-9) << n;
        EXPECT_GE(image.isoBrightness, closed - 100 * MIN_PATH_ENERGY) << n;
        EXPECT_NEAR(image.cosBrightness, image.isoBrightness, 1e-9) << "all of it leaves vertically";
    }
    // A lighting cone that misses the vertical sees nothing of it.
    FaceUpOptions o = options(DIAMOND, 40);
    o.lighting.headShadowDegrees = 10;
    EXPECT_EQ(renderFaceUp(cube, o).isoBrightness, 0.0);
}

TEST(FaceUp, EnergyOfEveryPixelIsAccountedFor) {
    const Stone brilliant = makeRoundBrilliant();
    const Stone leaky = simpleBrilliant(35);
    for (const Stone* stone : {&brilliant, &leaky}) {
        for (double n : {QUARTZ, DIAMOND}) {
            for (double tilt : {0.0, 17.0}) {
                const PreparedStone prepared(*stone, tilt);
                const LightingTest light(Lighting{}, tilt / DEG_PER_RAD);
                int inside = 0;
                for (int i = 0; i < 41; ++i) {
                    for (int j = 0; j < 41; ++j) {
                        const double x = prepared.centreX() + prepared.halfWidth() * (i - 20) / 20.5;
                        const double y = prepared.centreY() + prepared.halfWidth() * (j - 20) / 20.5;
                        const PixelLight p = prepared.trace(x, y, n, light);
                        if (!p.inside) continue;
                        ++inside;
                        EXPECT_NEAR(p.lit + p.unlit + p.belowThreshold + p.bounceLimit, 1.0, 1e-12);
                        EXPECT_LT(p.belowThreshold, MIN_PATH_ENERGY);
                        EXPECT_GE(p.unlit, 0.0);
                        EXPECT_DOUBLE_EQ(p.iso, p.lit);
                        EXPECT_LE(p.cos, p.iso + 1e-15);
                        EXPECT_GE(p.cos, 0.5 * p.iso - 1e-15) << "the cone reaches 60 degrees only";
                    }
                }
                EXPECT_GT(inside, 900);
            }
        }
    }
}

TEST(FaceUp, PavilionBelowTheCriticalAngleLeaks) {
    // Quartz's critical angle is 40.5 degrees: at 43 degrees the light
    // through the table is reflected by the pavilion, at 35 most of it
    // leaves through the pavilion into the dark below.
    const double steep = renderFaceUp(simpleBrilliant(43), options(QUARTZ)).isoBrightness;
    const double shallow = renderFaceUp(simpleBrilliant(35), options(QUARTZ)).isoBrightness;
    EXPECT_LT(shallow, 0.6 * steep) << steep << " vs " << shallow;
    // Diamond's critical angle is 24.4 degrees: the same shallow pavilion
    // still holds the light.
    EXPECT_GT(renderFaceUp(simpleBrilliant(35), options(DIAMOND)).isoBrightness, shallow + 25);
}

// Share of the inside pixels where two pictures differ by more than `by`.
double differing(const FaceUpImage& p, const FaceUpImage& q, int (*map)(int n, int row, int col), double by = 1e-3) {
    const int n = p.size;
    int count = 0, inside = 0;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int at = row * n + col, other = map(n, row, col);
            if (!p.inside[at] && !q.inside[other]) continue;
            ++inside;
            if (p.inside[at] != q.inside[other] || std::fabs(p.iso[at] - q.iso[other]) > by ||
                std::fabs(p.cos[at] - q.cos[other]) > by)
                ++count;
        }
    }
    return inside ? double(count) / inside : 1.0;
}

// Turns a stone about the z axis; the result is the same polyhedron.
Stone turned(const Stone& stone, double degrees) {
    Stone out(stone);
    const double cs = std::cos(degrees / DEG_PER_RAD), sn = std::sin(degrees / DEG_PER_RAD);
    for (int i = 0; i < out.nFacet; ++i) {
        Facet& f = out.facets[i];
        const double a = f.a * cs - f.b * sn, b = f.a * sn + f.b * cs;
        f.a = a;
        f.b = b;
    }
    for (int v = 0; v < out.nVertex; ++v) {
        Vertex& p = out.vertices[v];
        const double x = p.x * cs - p.y * sn, y = p.x * sn + p.y * cs;
        p.x = x;
        p.y = y;
    }
    return out;
}

TEST(FaceUp, EightFoldMirrorDesignGivesAnEightFoldMirrorPicture) {
    const Stone brilliant = makeRoundBrilliant();
    const FaceUpImage image = renderFaceUp(brilliant, options(DIAMOND, 128));
    // Pixels mirrored across the picture's middle lines and its diagonal,
    // and turned a quarter: the picture's own grid carries these exactly.
    auto mirrorX = +[](int n, int row, int col) { return row * n + (n - 1 - col); };
    auto mirrorY = +[](int n, int row, int col) { return (n - 1 - row) * n + col; };
    auto diagonal = +[](int n, int row, int col) { return col * n + row; };
    auto quarter = +[](int n, int row, int col) { return col * n + (n - 1 - row); };
    for (auto map : {mirrorX, mirrorY, diagonal, quarter}) EXPECT_LT(differing(image, image, map), 0.01);
    // An eighth of a turn and the mirror through 22.5 degrees need the
    // design turned: the pictures must match pixel for pixel.
    auto same = +[](int n, int row, int col) { return row * n + col; };
    const FaceUpImage eighth = renderFaceUp(turned(brilliant, 45), options(DIAMOND, 128));
    EXPECT_LT(differing(image, eighth, same), 0.01);
    EXPECT_NEAR(eighth.isoBrightness, image.isoBrightness, 0.05);
    const FaceUpImage halfEighth = renderFaceUp(turned(brilliant, 22.5), options(DIAMOND, 128));
    EXPECT_LT(differing(halfEighth, halfEighth, mirrorX), 0.01) << "the mirror line now lies along y";
    // ... and the test sees a fault: the sixteenth turn is no symmetry.
    const FaceUpImage sixteenth = renderFaceUp(turned(brilliant, 11.25), options(DIAMOND, 128));
    EXPECT_GT(differing(image, sixteenth, same), 0.05);
}

TEST(FaceUp, TiltsBothWaysAgreeForADesignSymmetricAboutTheTiltAxis) {
    // The brilliant is its own mirror image across the x axis, so tilting
    // it forward shows the mirror image of tilting it back.
    const Stone brilliant = makeRoundBrilliant();
    const TiltSweep sweep = sweepTilts(brilliant, options(DIAMOND, 96), {-20, 20, 10});
    ASSERT_EQ(sweep.points.size(), 5u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(sweep.points[i].tiltDegrees, -sweep.points[4 - i].tiltDegrees);
        EXPECT_NEAR(sweep.points[i].iso, sweep.points[4 - i].iso, 0.1);
        EXPECT_NEAR(sweep.points[i].cos, sweep.points[4 - i].cos, 0.1);
    }
    EXPECT_GT(std::fabs(sweep.points[0].iso - sweep.points[2].iso), 1.0) << "a tilt changes the picture";
    double mean = 0;
    for (const TiltBrightness& p : sweep.points) mean += p.iso;
    EXPECT_NEAR(sweep.meanIso, mean / 5, 1e-9);

    FaceUpOptions forward = options(DIAMOND, 96), back = forward;
    forward.tiltDegrees = 12;
    back.tiltDegrees = -12;
    auto mirrorY = +[](int n, int row, int col) { return (n - 1 - row) * n + col; };
    EXPECT_LT(differing(renderFaceUp(brilliant, forward), renderFaceUp(brilliant, back), mirrorY), 0.01);
}

TEST(FaceUp, SameFiguresOnAnyNumberOfThreadsAndCancelStops) {
    const Stone brilliant = makeRoundBrilliant();
    FaceUpOptions one = options(DIAMOND, 64), many = one;
    one.threads = 1;
    many.threads = 3;
    const FaceUpImage a = renderFaceUp(brilliant, one), b = renderFaceUp(brilliant, many);
    EXPECT_EQ(a.isoBrightness, b.isoBrightness);
    EXPECT_EQ(a.cosBrightness, b.cosBrightness);
    EXPECT_EQ(a.iso, b.iso);
    EXPECT_TRUE(a.complete);

    std::atomic<bool> cancel{true};
    many.cancel = &cancel;
    EXPECT_FALSE(renderFaceUp(brilliant, many).complete);
}

TEST(FaceUp, HeadShadowAndNarrowerConeOnlyTakeLightAway) {
    const Stone brilliant = makeRoundBrilliant();
    const FaceUpImage plain = renderFaceUp(brilliant, options(DIAMOND));
    FaceUpOptions o = options(DIAMOND);
    o.lighting.headShadowDegrees = 15;
    const FaceUpImage shadowed = renderFaceUp(brilliant, o);
    EXPECT_LT(shadowed.isoBrightness, plain.isoBrightness - 1);
    o = options(DIAMOND);
    o.lighting.coneDegrees = 30;
    EXPECT_LT(renderFaceUp(brilliant, o).isoBrightness, plain.isoBrightness - 1);
    for (size_t i = 0; i < plain.iso.size(); ++i) ASSERT_LE(shadowed.iso[i], plain.iso[i] + 1e-6f);
}

}  // namespace
}  // namespace brevix::optics
