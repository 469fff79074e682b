#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "intent/brilliant_intent.h"
#include "intent/inference.h"
#include "intent/intent_words.h"
#include "intent/point_resolution.h"
#include "intent/recut.h"
#include "intent_test_support.h"
#include "kernel/checks.h"
#include "platform/messages.h"
#include "brilliant_tiers.h"

namespace brevix {
namespace {


TierChange angleChange(int32_t tier, double angle) {
    TierChange change;
    change.tier = tier;
    change.setAngle = true;
    change.angle = angle;
    return change;
}

void expectAnglesOfTier(const Stone& stone, const TierIntent& tier, double angle) {
    for (const Plane& p : tier.planes) {
        const int32_t facet = stone.facetByPlane(p.a, p.b, p.c);
        ASSERT_GE(facet, 0);
        EXPECT_NEAR(std::fabs(stone.facetAngleOf(facet)), std::fabs(angle), 1e-9);
    }
}

TEST(RecutByIntent, BrilliantCutThroughItsMeetsKeepsThemWhenP1Turns) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    EXPECT_EQ(brilliant.nFacet - brilliant.nRough, 73);
    EXPECT_TRUE(intentMatches(brilliant, recorded));
    const auto meets = meetsOfFour(brilliant, recorded);
    // The girdle corners alone give 16 meets of four or more facets.
    EXPECT_GE(meets.size(), 16u);

    const RecutResult cut = recutByIntent(brilliant, recorded, angleChange(P1, -39.75));
    EXPECT_TRUE(cut.ok()) << (cut.problems.empty() ? "" : cut.problems[0]);
    EXPECT_EQ(cut.stone.nFacet - cut.stone.nRough, 73);
    EXPECT_LE(worstMeet(meets, cut.intent, 96), MEET_TOLERANCE);
    expectAnglesOfTier(cut.stone, cut.intent.tiers[P1], 39.75);
    // The girdle, cut before the mains, keeps its planes bit for bit.
    EXPECT_EQ(cut.intent.tiers[0].planes, recorded.tiers[0].planes);
    // The mains still end in the centre point.
    EXPECT_NEAR(cut.intent.tiers[P1].ced / cut.intent.tiers[P1].planes[0].c,
                recorded.tiers[P1].ced / recorded.tiers[P1].planes[0].c, 1e-12);
    std::ostringstream report;
    EXPECT_TRUE(checkstone(cut.stone, report)) << report.str();
    EXPECT_TRUE(intentMatches(cut.stone, cut.intent));
    EXPECT_EQ(cut.stone.facetName(cut.stone.facetByPlane(cut.intent.tiers[P1].planes[0].a,
                                                         cut.intent.tiers[P1].planes[0].b,
                                                         cut.intent.tiers[P1].planes[0].c)),
              "P1");
}

TEST(RecutByIntent, EveryTierOfTheBrilliantCanTurnByADegree) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    const auto meets = meetsOfFour(brilliant, recorded);
    for (int32_t t = 0; t < int32_t(recorded.tiers.size()); ++t) {
        const double angle = recorded.tiers[t].angle;
        // The girdle and the table have no angle to turn.
        if (std::fabs(angle) < 1e-9 || std::fabs(std::fabs(angle) - 90) < 1e-9) continue;
        // A degree flatter: steeper mains would fall below the halves,
        // which keep their own angle, and vanish.
        const double turned = angle + (angle < 0 ? 1 : -1);
        const RecutResult cut = recutByIntent(brilliant, recorded, angleChange(t, turned));
        EXPECT_TRUE(cut.ok()) << "tier " << t << ": " << (cut.problems.empty() ? "" : cut.problems[0]);
        EXPECT_LE(worstMeet(meets, cut.intent, 96), MEET_TOLERANCE) << "tier " << t;
        expectAnglesOfTier(cut.stone, cut.intent.tiers[t], turned);
    }
}

TEST(RecutByIntent, UnchangedIntentGivesTheSameDesignAgain) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    const RecutResult cut = recutByIntent(brilliant, recorded, angleChange(P1, -40.75));
    EXPECT_TRUE(cut.ok());
    EXPECT_EQ(designBytes(cut.stone), designBytes(brilliant));
    EXPECT_EQ(cut.intent, recorded);
}

TEST(RecutByIntent, AMissedMeetMarksThatTierAndTheRestFollows) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    // Crown mains this flat stay below the table's depth: the table misses,
    // and with it the table line the stars were cut to meet. The upper
    // halves still meet girdle and mains.
    const RecutResult cut = recutByIntent(brilliant, recorded, angleChange(C1, 10));
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.failedTiers, 2);
    EXPECT_EQ(cut.problems[0], "Tier 5 keeps its last place: a facet of it would miss the stone.");
    EXPECT_EQ(cut.problems[1],
              "Tier 6 keeps its last place: a facet of its edge is no longer on the stone.");
    // A tier that cannot keep its intent keeps its last planes.
    EXPECT_EQ(cut.intent.tiers[5].planes, recorded.tiers[5].planes);
    EXPECT_NE(intentWords(cut.stone, cut.intent, 5).find("not kept"), std::string::npos);
    EXPECT_TRUE(cut.intent.tiers[6].failure.empty());
    // The crown mains took their new angle all the same.
    expectAnglesOfTier(cut.stone, cut.intent.tiers[C1], 10);
    std::ostringstream report;
    EXPECT_TRUE(checkstone(cut.stone, report)) << report.str();
}

TEST(RecutByIntent, AChangeOfTheFirstTiersIndexTurnsTheTier) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    TierChange change;
    change.tier = 0;
    change.setIndex = true;
    change.index = 4;
    const RecutResult cut = recutByIntent(brilliant, recorded, change);
    EXPECT_EQ(cut.intent.tiers[0].indexes.size(), 16u);
    EXPECT_DOUBLE_EQ(cut.intent.tiers[0].index, 4);
    EXPECT_TRUE(intentMatches(cut.stone, cut.intent));
}

TEST(RecutByIntent, SeparateStonesRecutOnSeparateThreadsAlike) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    const RecutResult alone = recutByIntent(brilliant, recorded, angleChange(P1, -40));
    std::vector<std::string> bytes(4);
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; ++k)
        threads.emplace_back([&, k] {
            const Stone mine(brilliant);
            bytes[k] = designBytes(recutByIntent(mine, recorded, angleChange(P1, -40)).stone);
        });
    for (std::thread& t : threads) t.join();
    for (const std::string& b : bytes) EXPECT_EQ(b, designBytes(alone.stone));
}

TEST(RecutByIntent, ATierOutOfRangeIsAProblemNotACrash) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    const RecutResult cut = recutByIntent(brilliant, recorded, angleChange(40, 10));
    EXPECT_FALSE(cut.ok());
}

// A tier of more facets than a design file holds is refused before any
// cutting (100000 of them took seconds to cut, then the file was refused).
TEST(RecutByIntent, ATierBeyondWhatAFileHoldsIsRefusedBeforeCutting) {
    DesignWithIntent built = cutRoundBrilliantByIntent();
    DesignIntent intent = built.intent;
    intent.tiers[C1].symmetry = 100000;
    const RecutResult cut = recutByIntent(built.stone, intent, angleChange(P1, -41));
    ASSERT_EQ(cut.problems.size(), 1u);
    EXPECT_EQ(cut.problems[0],
              "Tier 4 has a symmetry of 100000; a design's symmetry is a whole number from 1 to 1000.");
    EXPECT_EQ(designBytes(cut.stone), designBytes(built.stone));
    EXPECT_EQ(cut.intent, intent);
}

}  // namespace
}  // namespace brevix
