#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "design/transforms.h"
#include "facet_placement/gear_ranking.h"
#include "facet_placement/round_indexes.h"

namespace brevix {
namespace {

// Crown facets every `step` notches of a 96 gear.
Stone facetsEvery(int step) {
    Stone stone;
    TierSetting tier{"C", 40, 0.9, {}, ""};
    for (int i = step; i <= 96; i += step) tier.indexes.push_back(i);
    cutTier(stone, tier);
    return stone;
}

Stone scaledRoundBrilliant() {
    Stone stone = makeRoundBrilliant();
    computeBounds(stone);
    scaleStone(stone, 4 | 8, 1.1);
    return stone;
}

TEST(GearError, ZeroOnTheGearOfTheDesignOnly) {
    const Stone brilliant = makeRoundBrilliant();
    EXPECT_NEAR(gearError(brilliant, 96), 0, 1e-12);
    EXPECT_NEAR(gearError(brilliant, -96), 0, 1e-12);
    EXPECT_GT(gearError(brilliant, 80), 0.1);
    // One facet half a notch off counts pi/N.
    Stone one;
    one.cutByAngle(TWO_PI * 2.5 / 96, 0.7, 0.9, true);
    EXPECT_NEAR(gearError(one, 96), PI / 96, 1e-12);
    // The table and the faces of the rough block have no azimuth.
    Stone table;
    table.cutByAngle(0, 0, 0.5, true);
    EXPECT_EQ(gearError(table, 7), 0);
}

TEST(GearRanking, TextInUnitsOfTheSmallestMisfit) {
    // Every 4 notches of 96 is every 15 degrees: on notches of 72, 96 and 120.
    const Stone stone = facetsEvery(4);
    const auto ranks = rankGears(stone);
    std::set<int> fitting;
    for (int k = 0; k < 3; ++k) {
        fitting.insert(ranks[k].gear);
        EXPECT_LT(ranks[k].error, 1e-12);
    }
    EXPECT_EQ(fitting, (std::set<int>{72, 96, 120}));
    for (int k = 3; k < 7; ++k) EXPECT_GE(ranks[k].error, ranks[k - 1].error);
    const std::string text = gearRankingText(stone);
    const std::string head = "Common index Gears, from best to worst:\n\n           Gear  Error\n";
    ASSERT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("              72    0.0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("             120   0.0\n"), std::string::npos) << text;
    // The smallest non-zero misfit is the unit.
    EXPECT_NE(text.find("   1.0\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 35), "\n\nRound indexes to nearest notches?");
    // With no misfit anywhere the unit is 1.
    Stone level;
    level.cutByAngle(0, 0, 0.5, true);
    EXPECT_NE(gearRankingText(level).find("              64    0.0\n"), std::string::npos);
}

TEST(RoundIndexes, StretchedBrilliantComesBackOntoTheGear) {
    Stone stone = scaledRoundBrilliant();
    const double lwScaled = lengthToWidth(stone);
    ASSERT_GT(gearError(stone, 96), 0.01);
    ASSERT_EQ(roundIndexes(stone), 0);

    EXPECT_EQ(stone.nFacet - stone.nRough, 73);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() || 1 - std::fabs(f.c) < EPS) continue;
        const double index = stone.facetIndexOf(i);
        EXPECT_NEAR(index, std::round(index), 1e-9) << i;
    }
    for (int32_t e = 0; e < stone.nEdge; ++e) {
        const Edge& edge = stone.edges[e];
        for (int end = 0; end < 2; ++end) {
            const Vec3 p = stone.vertices[edge.v[end]].pos();
            for (int side = 0; side < 2; ++side) {
                const Facet& f = stone.facets[edge.f[side]];
                EXPECT_NEAR(dot(f.normal(), p), f.d, 1e-9);
            }
        }
    }
    EXPECT_NEAR(lengthToWidth(stone) / lwScaled, 1, 0.02);
    EXPECT_NEAR(gearError(stone, 96), 0, 1e-9);
}

TEST(RoundIndexes, DesignAlreadyOnTheGearKeepsItsPlanes) {
    Stone stone = makeRoundBrilliant();
    const Stone before(stone);
    ASSERT_EQ(roundIndexes(stone), 0);
    ASSERT_EQ(stone.nFacet, before.nFacet);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        // Tiers are regrouped, so look the plane up rather than by position.
        const Facet& f = stone.facets[i];
        int32_t match = -1;
        for (int32_t j = 0; j < before.nFacet && match < 0; ++j) {
            const Facet& g = before.facets[j];
            if (length(f.normal() - g.normal()) < 1e-9 && std::fabs(f.d - g.d) < 1e-9) match = j;
        }
        EXPECT_GE(match, 0) << i;
    }
}

TEST(RoundIndexes, ACoarseOrMissingGearFails) {
    Stone stone = scaledRoundBrilliant();
    stone.gear = 4;
    EXPECT_NE(roundIndexes(stone), 0);
    stone = scaledRoundBrilliant();
    stone.gear = 0;
    EXPECT_NE(roundIndexes(stone), 0);
    EXPECT_EQ(stone.nFacet, 73);
}

}  // namespace
}  // namespace brevix
