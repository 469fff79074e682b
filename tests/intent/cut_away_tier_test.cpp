// A re-cut can leave a tier that later tiers cut away entirely: pavilion
// mains turned steeper than the halves that meet them, crown mains steeper
// than the upper halves. The intent still holds that tier (later tiers are
// placed by it), and a file written then must bring it back.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "intent/brilliant_intent.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"
#include "intent/recut.h"
#include "intent_test_support.h"
#include "platform/messages.h"
#include "support/test_files.h"
#include "brilliant_tiers.h"

namespace brevix {
namespace {
using testing::bytesOf;


RecutResult turned(const Stone& stone, const DesignIntent& intent, int32_t tier, double shownAngle) {
    return recutTierAngle(stone, intent, tier, shownAngle);
}

int32_t facetsOnStone(const Stone& stone, const TierIntent& tier) {
    int32_t n = 0;
    for (const Plane& p : tier.planes)
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            const Facet& f = stone.facets[i];
            if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) ++n;
        }
    return n;
}

std::string tierLine(const std::string& text, int32_t tier) {
    size_t at = 0;
    for (int32_t t = 0; t <= tier; ++t) at = text.find("\ntier ", at) + 1;
    return text.substr(at, text.find('\n', at) - at);
}

struct Case {
    int32_t tier;
    const char* name;
    double first, last;  // a steeper angle that cuts the tier away, then another
};

TEST(CutAwayTier, ARecutTierCutAwayEntirelyKeepsItsNamesAndIntentThroughAFile) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    for (const Case& c : {Case{P1, "P1", 43, 44}, Case{C1, "C1", 42, 41.5}}) {
        SCOPED_TRACE(c.name);
        const RecutResult once = turned(built.stone, built.intent, c.tier, c.first);
        ASSERT_TRUE(once.ok()) << once.problems[0];
        // The case itself: the later tiers that meet this one take it away.
        ASSERT_EQ(facetsOnStone(once.stone, once.intent.tiers[c.tier]), 0);
        EXPECT_TRUE(intentMatches(once.stone, once.intent));
        EXPECT_EQ(intentOf(once.stone, &once.intent), once.intent);

        const std::string text = writeIntentText(once.stone, once.intent);
        const std::string line = tierLine(text, c.tier);
        EXPECT_NE(line.find(std::string("| ") + c.name + " " + c.name + " "), std::string::npos) << line;
        const IntentFileRead read = readIntentText(bytesOf(text));
        ASSERT_TRUE(read.problem.empty()) << read.problem;
        ASSERT_EQ(read.intent.tiers.size(), built.intent.tiers.size());
        EXPECT_EQ(read.intent.tiers[c.tier].depth, built.intent.tiers[c.tier].depth);
        EXPECT_EQ(read.intent.tiers[c.tier].points, built.intent.tiers[c.tier].points);
        EXPECT_FALSE(read.intent.tiers[c.tier].inferred);
        EXPECT_EQ(writeIntentText(read.stone, read.intent), text);

        // Re-cut again from the file: as one re-cut to the final angle.
        const RecutResult twice = turned(read.stone, read.intent, c.tier, c.last);
        const RecutResult direct = turned(built.stone, built.intent, c.tier, c.last);
        EXPECT_EQ(twice.ok(), direct.ok());
        EXPECT_EQ(writeIntentText(twice.stone, twice.intent), writeIntentText(direct.stone, direct.intent));

        // Back to the angle it was cut at: the tier returns with its names.
        const double original = built.intent.tiers[c.tier].angle;
        const RecutResult back = turned(read.stone, read.intent, c.tier, original);
        ASSERT_TRUE(back.ok()) << back.problems[0];
        EXPECT_EQ(designBytes(back.stone), designBytes(turned(built.stone, built.intent, c.tier, original).stone));
        EXPECT_EQ(facetsOnStone(back.stone, back.intent.tiers[c.tier]),
                  int32_t(built.intent.tiers[c.tier].planes.size()));
        for (const Plane& p : back.intent.tiers[c.tier].planes)
            EXPECT_EQ(back.stone.facetName(back.stone.facetByPlane(p.a, p.b, p.c)), c.name);
        EXPECT_TRUE(back.intent.tiers[c.tier].names.empty());
    }
}

TEST(CutAwayTier, ATierTakenOutOfTheStoneStillLeavesAnIntentThatNoLongerFits) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    // The stone without its upper halves: their planes would still cut it.
    DesignIntent upToStars = built.intent;
    upToStars.tiers.pop_back();
    const RecutResult partial = recutByIntent(built.stone, upToStars, std::nullopt);
    ASSERT_TRUE(partial.ok());
    EXPECT_FALSE(intentMatches(partial.stone, built.intent));
    EXPECT_EQ(intentOf(partial.stone, &built.intent).tiers.size(), upToStars.tiers.size());
}

}  // namespace
}  // namespace brevix
