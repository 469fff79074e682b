#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <sstream>

#include "design/sample_designs.h"
#include "files/asc_format.h"
#include "intent/brilliant_intent.h"
#include "intent/inference.h"
#include "intent/intent_words.h"
#include "intent/recut.h"
#include "intent_test_support.h"
#include "kernel/checks.h"
#include "platform/messages.h"

namespace brevix {
namespace {

// The brilliant cut through its meets, as a text file keeps it: planes only.
Stone brilliantThroughText() {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    std::ostringstream text;
    Diagnostics notes;
    writeAsc(built.stone, text, notes);
    const std::string bytes = text.str();
    Stone read;
    readAsc(read, std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    return read;
}

TEST(InferIntent, ALegacyBrilliantMeetsWhereItWasCutToMeet) {
    const Stone legacy = brilliantThroughText();
    const DesignIntent intent = inferIntent(legacy);
    ASSERT_EQ(intent.tiers.size(), 7u);
    EXPECT_TRUE(intentMatches(legacy, intent));
    // Girdle and mains have nothing to meet; the halves meet girdle and
    // mains at the mains' corner (shown on the pavilion's count), and so do
    // the upper halves on the crown.
    EXPECT_EQ(intent.tiers[0].depth, DepthRule::Typed);
    EXPECT_EQ(intent.tiers[1].depth, DepthRule::Typed);
    EXPECT_EQ(intentWords(legacy, intent, 2), "meets G 3\xB7G 93\xB7" "P1 96, inferred");
    EXPECT_EQ(intentWords(legacy, intent, 6), "meets G 3\xB7G 93\xB7" "C1 96, inferred");
    for (const TierIntent& tier : intent.tiers) {
        EXPECT_TRUE(tier.inferred);
        EXPECT_EQ(tier.symmetry, 8);
    }
    // Angles are the planes' own.
    EXPECT_NEAR(intent.tiers[1].angle, -40.75, 1e-6);
    EXPECT_NEAR(intent.tiers[4].angle, 0, 1e-12);
}

TEST(InferIntent, TheBrilliantSampleOpensWithTheMeetsItsInstructionsName) {
    // Its halves were cut to the corners where girdle and mains meet.
    const Stone sample = readSample("round_brilliant.asc");
    const DesignIntent intent = inferIntent(sample);
    ASSERT_EQ(intent.tiers.size(), 7u);
    EXPECT_EQ(intentWords(sample, intent, 1), "depth 0.68827502, inferred");
    EXPECT_EQ(intentWords(sample, intent, 2), "meets G 3\xB7G 93\xB7" "P1 96, inferred");
    EXPECT_EQ(intentWords(sample, intent, 5), "meets G 3\xB7G 93\xB7" "C1 96, inferred");
    // Written with eight decimals, it meets them without a gap to close.
    EXPECT_EQ(inferIntent(sample, 0), intent);
}

TEST(InferIntent, ATierThroughNoVertexKeepsItsDepthAndTheFirstTierToo) {
    Stone stone;
    stone.gear = 96;
    cutTier(stone, {"A", 45, 0.7, {0, 24, 48, 72}, ""});
    cutTier(stone, {"B", -45, 0.6, {0, 24, 48, 72}, ""});
    const DesignIntent intent = inferIntent(stone);
    ASSERT_EQ(intent.tiers.size(), 2u);
    EXPECT_EQ(intent.tiers[0].depth, DepthRule::Typed);
    EXPECT_EQ(intent.tiers[1].depth, DepthRule::Typed);
    EXPECT_DOUBLE_EQ(intent.tiers[1].ced, 0.6);
}

TEST(InferIntent, ALegacyBrilliantKeepsItsMeetsWhenEachPavilionTierTurns) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const Stone sample = brilliantThroughText();
    const DesignIntent intent = inferIntent(sample);
    const auto meets = meetsOfFour(sample, intent);
    EXPECT_FALSE(meets.empty());
    for (int32_t t = 0; t < int32_t(intent.tiers.size()); ++t) {
        const double angle = intent.tiers[t].angle;
        if (angle >= 0 || std::fabs(std::fabs(angle) - 90) < 1e-9) continue;
        TierChange change;
        change.tier = t;
        change.setAngle = true;
        change.angle = angle + (angle < 0 ? 1 : -1);
        const RecutResult cut = recutByIntent(sample, intent, change);
        EXPECT_LE(worstMeet(meets, cut.intent, sample.gear), 1e-7) << "tier " << t;
        std::ostringstream report;
        EXPECT_TRUE(checkstone(cut.stone, report)) << report.str();
    }
}

TEST(InferIntent, ReconcilingKeepsRecordedTiersThatStillStand) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    const Stone& brilliant = built.stone;
    const DesignIntent& recorded = built.intent;
    // Unchanged planes: the recorded intent as it is.
    EXPECT_EQ(reconcileIntent(brilliant, recorded), recorded);
    // Without the stars, the tiers before them keep their recorded rules
    // (the crown mains' edge point) and the upper halves theirs, renumbered.
    Stone withoutStars(brilliant);
    for (int32_t i = 0; i < withoutStars.nFacet; ++i)
        if (withoutStars.facets[i].name == "C2") withoutStars.facets[i].status = ST_DELETE;
    withoutStars.rebuildWithout();
    const DesignIntent reconciled = reconcileIntent(withoutStars, recorded);
    ASSERT_EQ(reconciled.tiers.size(), 6u);
    EXPECT_FALSE(reconciled.tiers[3].inferred);
    EXPECT_EQ(reconciled.tiers[3].points[0].kind, PointKind::OnEdge);
    EXPECT_FALSE(reconciled.tiers[5].inferred);
    EXPECT_EQ(reconciled.tiers[5].points[0].facets[2].tier, 3);
}

TEST(InferIntent, EverySampleGetsAnIntentThatDescribesItsPlanes) {
    for (const char* name : {"round_brilliant.asc", "oval_brilliant.asc", "emerald_cut.asc",
                             "square_step_cut.asc"}) {
        const Stone sample = readSample(name);
        const DesignIntent intent = inferIntent(sample);
        EXPECT_TRUE(intentMatches(sample, intent)) << name;
        // Re-cut without a change from the first tier on gives the design back.
        const RecutResult cut = recutByIntent(sample, intent, TierChange{});
        EXPECT_TRUE(cut.ok()) << name;
        EXPECT_EQ(cut.stone.nFacet, sample.nFacet) << name;
    }
}

}  // namespace
}  // namespace brevix
