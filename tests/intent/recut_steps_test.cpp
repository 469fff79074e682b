// A run of close variants re-cut through RecutSteps, as the optimiser's
// candidates are: each takes the tiers it shares with the last from it and
// comes out exactly as a re-cut from the start, problems and all.
#include <gtest/gtest.h>

#include "brilliant_tiers.h"
#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "intent_test_support.h"

namespace brevix {
namespace {

struct Variant {
    double p1, p2, c1, c2, c3;
};

DesignIntent turnedTo(const DesignIntent& intent, const Variant& v) {
    DesignIntent turned = intent;
    turned.tiers[P1].angle = -v.p1;
    turned.tiers[P2].angle = -v.p2;
    turned.tiers[C1].angle = v.c1;
    turned.tiers[C2].angle = v.c2;
    turned.tiers[C3].angle = v.c3;
    return turned;
}

void expectSameRecut(const RecutResult& fresh, const RecutResult& stepped) {
    EXPECT_EQ(designBytes(stepped.stone), designBytes(fresh.stone));
    EXPECT_EQ(stepped.stone.nVertex, fresh.stone.nVertex);
    for (int32_t v = 0; v < fresh.stone.nVertex && v < stepped.stone.nVertex; ++v) {
        EXPECT_EQ(stepped.stone.vertices[v].x, fresh.stone.vertices[v].x);
        EXPECT_EQ(stepped.stone.vertices[v].y, fresh.stone.vertices[v].y);
        EXPECT_EQ(stepped.stone.vertices[v].z, fresh.stone.vertices[v].z);
    }
    EXPECT_TRUE(stepped.intent == fresh.intent);
    EXPECT_EQ(stepped.problems, fresh.problems);
    EXPECT_EQ(stepped.problemCodes, fresh.problemCodes);
    EXPECT_EQ(stepped.failedTiers, fresh.failedTiers);
    EXPECT_EQ(stepped.refused, fresh.refused);
}

TEST(RecutSteps, CloseVariantsTakeTheTiersTheyShareAndComeOutAsFromTheStart) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    TierChange change;
    change.tier = P1;
    change.setAngle = true;
    const Variant start{40.75, 42, 34.5, 21.5, 40};
    // Each with what it shares with the one before: nothing at first, then
    // the tiers up to the first that differs, everything when none does.
    const struct {
        Variant v;
        int32_t reused;
    } runs[] = {
        {start, 0},
        {{40.75, 42, 34.5, 21.5, 41}, C3},
        {{40.75, 42, 34.5, 21.5, 41}, C3 + 1},
        {{40.75, 43, 34.5, 21.5, 41}, P2},
        {{40.75, 43, 36, 22, 41}, C1},
        // The mains differ, and with them the change itself: afresh.
        {{41.5, 43, 36, 22, 41}, 0},
        // Crown mains too flat for the table to reach the stone: it keeps
        // its last place, and the variant after it carries that over.
        {{41.5, 43, 10, 22, 41}, C1},
        {{41.5, 43, 10, 22, 42}, C3},
        {{41.5, 43, 10, 22, 42}, C3 + 1},
        {{41.5, 43, 36, 22, 42}, C1},
        {start, 0},
    };
    RecutSteps steps;
    bool sawProblem = false;
    for (const auto& run : runs) {
        const DesignIntent turned = turnedTo(built.intent, run.v);
        change.angle = turned.tiers[P1].angle;
        const RecutResult fresh = recutByIntent(built.stone, turned, change);
        const RecutResult stepped = recutByIntent(built.stone, turned, change, DEFAULT_MEET_TOLERANCE_W, &steps);
        SCOPED_TRACE(::testing::Message() << "P2 " << run.v.p2 << " C2 " << run.v.c2 << " C3 " << run.v.c3);
        EXPECT_EQ(steps.reusedTiers(), run.reused);
        expectSameRecut(fresh, stepped);
        sawProblem = sawProblem || !fresh.problems.empty();
    }
    EXPECT_TRUE(sawProblem) << "no variant kept a tier at its last place";

    // Another design, another change or another tolerance starts afresh.
    const DesignWithIntent other = cutRoundBrilliantByIntent();
    const DesignIntent turned = turnedTo(other.intent, start);
    change.angle = turned.tiers[P1].angle;
    expectSameRecut(recutByIntent(other.stone, turned, change),
                    recutByIntent(other.stone, turned, change, DEFAULT_MEET_TOLERANCE_W, &steps));
    EXPECT_EQ(steps.reusedTiers(), 0);
    TierChange level = change;
    level.tier = C1;
    level.angle = turned.tiers[C1].angle;
    expectSameRecut(recutByIntent(other.stone, turned, level),
                    recutByIntent(other.stone, turned, level, DEFAULT_MEET_TOLERANCE_W, &steps));
    EXPECT_EQ(steps.reusedTiers(), 0);
    recutByIntent(other.stone, turned, level, 2e-4, &steps);
    EXPECT_EQ(steps.reusedTiers(), 0);
}

}  // namespace
}  // namespace brevix
