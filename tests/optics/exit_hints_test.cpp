// Settling a ray's exit from the plane its neighbour pixel left by must
// never change a picture: every picture and figure with the hints is
// bit for bit the one the full search gives, on the samples, on brilliants
// of many proportions, on irregular stones of random planes, tilted and
// under a room. And the hints must actually settle most exits, or they only
// cost time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "optics/face_up.h"
#include "support/generated_designs.h"

namespace brevix::optics {
namespace {

bool sameBits(const std::vector<float>& p, const std::vector<float>& q) {
    if (p.size() != q.size()) return false;
    // An empty picture (no room, no ASET) has no data to compare.
    return p.empty() || std::memcmp(p.data(), q.data(), p.size() * sizeof(float)) == 0;
}

void expectSamePictures(const Stone& stone, double tilt, double ri, Environment room, const std::string& what,
                        int size = MIN_HINTED_SIZE) {
    FaceUpOptions options;
    options.size = size;
    options.refractiveIndex = ri;
    options.tiltDegrees = tilt;
    options.lighting.environment = room;
    const PreparedStone hinted(stone, tilt);
    PreparedStone searched(stone, tilt);
    searched.hints = {};
    const FaceUpImage p = renderFaceUp(hinted, options), q = renderFaceUp(searched, options);
    const std::string where =
        what + " tilt " + std::to_string(tilt) + " index " + std::to_string(ri) + " size " + std::to_string(size);
    EXPECT_TRUE(sameBits(p.iso, q.iso)) << where;
    EXPECT_TRUE(sameBits(p.cos, q.cos)) << where;
    EXPECT_TRUE(sameBits(p.window, q.window)) << where;
    EXPECT_TRUE(sameBits(p.observed, q.observed)) << where;
    EXPECT_TRUE(sameBits(p.scene, q.scene)) << where;
    EXPECT_TRUE(sameBits(p.red, q.red)) << where;
    EXPECT_TRUE(sameBits(p.blue, q.blue)) << where;
    EXPECT_EQ(p.inside, q.inside) << where;
    EXPECT_EQ(p.isoBrightness, q.isoBrightness) << where;
    EXPECT_EQ(p.sceneBrightness, q.sceneBrightness) << where;
}

// A closed stone of `count` random planes touching spheres of radius 0.8
// to 1, some of them in nearly the same direction as another.
Stone randomStone(std::mt19937_64& random, int count) {
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> unit(0, 1);
    Stone stone;
    std::vector<Vec3> directions;
    for (int i = 0; i < count; ++i) {
        Vec3 n{normal(random), normal(random), normal(random)};
        if (!directions.empty() && unit(random) < 0.2) {
            const Vec3 near = directions[size_t(unit(random) * directions.size())];
            n = near + 0.01 * n;
        }
        n = n * (1 / length(n));
        directions.push_back(n);
        stone.newFacet(n.x, n.y, n.z, 0.8 + 0.2 * unit(random));
    }
    return stone;
}

TEST(ExitHints, PicturesAreThoseOfTheFullSearch) {
    const Stone samples[] = {makeRoundBrilliant(), makeOvalBrilliant(), makeEmeraldCut(), makeSquareStepCut(),
                             makeRoundBrilliantThroughMeets()};
    for (const Stone& stone : samples)
        for (double tilt : {0.0, 7.5, -21.0})
            for (double ri : {1.54, 2.42})
                expectSamePictures(stone, tilt, ri, tilt == 0 ? Environment::Aset : Environment::Spot,
                                   stone.heading[0]);
    for (int i = 0; i < 12; ++i)
        expectSamePictures(brevix::testing::generatedBrilliant(i), i * 2.5, 1.76, Environment::Iso,
                           "brilliant " + std::to_string(i));
    std::mt19937_64 random(37);
    for (int i = 0; i < 12; ++i)
        expectSamePictures(randomStone(random, 20 + 15 * i), 3.0 * i, 2.0, Environment::Iso,
                           "random stone " + std::to_string(i));
    // Below the hinted size only the entries are guessed; an odd size ends
    // its rows on a lone pixel and its bands of rows short.
    for (int size : {61, 301}) {
        expectSamePictures(makeRoundBrilliant(), 4.0, 2.42, Environment::Office, "round brilliant", size);
        expectSamePictures(makeEmeraldCut(), -12.0, 1.54, Environment::Iso, "emerald cut", size);
        expectSamePictures(randomStone(random, 60), 9.0, 1.8, Environment::Aset, "random stone", size);
    }
}

// A facet without a hint leaves every exit through it to the full search:
// on a brilliant, crowded points like the culet must not take away most.
TEST(ExitHints, MostFacetsOfABrilliantHaveOne) {
    const PreparedStone prepared(makeRoundBrilliant(), 0.0);
    int planes = 0, hinted = 0;
    for (size_t q = 0; q < prepared.facetOf.size(); ++q) {
        if (prepared.facetOf[q] < 0) continue;
        ++planes;
        hinted += prepared.hints.halves[q] > 0;
    }
    EXPECT_EQ(planes, 73);
    EXPECT_GE(hinted, 60) << "of " << planes;
}

}  // namespace
}  // namespace brevix::optics
