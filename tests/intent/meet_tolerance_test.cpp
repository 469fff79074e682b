// Designs written with few decimals (by hand, or by another program) miss
// their meets by a hair: within the meet tolerance they keep them, a re-cut
// closes the gaps, and a real near miss is still one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <span>
#include <sstream>
#include <string>

#include "files/asc_format.h"
#include "intent/brilliant_intent.h"
#include "intent/design_intent.h"
#include "intent/inference.h"
#include "intent/intent_words.h"
#include "intent/recut.h"
#include "intent_test_support.h"
#include "platform/messages.h"

namespace brevix {
namespace {

Stone readText(const std::string& bytes) {
    Stone read;
    readAsc(read, std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    return read;
}

// The brilliant cut through its meets, as a text file with every depth
// written to `decimals` places, as another program might have.
Stone brilliantWithDecimals(int decimals) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    std::ostringstream text;
    Diagnostics notes;
    writeAsc(built.stone, text, notes);
    std::istringstream lines(text.str());
    std::string line, out;
    while (std::getline(lines, line)) {
        if (line.rfind("a ", 0) == 0) {
            // "a ANGLE DEPTH INDEX ...": the depth rounded.
            const size_t angleEnd = line.find(' ', 2), depthEnd = line.find(' ', angleEnd + 1);
            const double depth = std::stod(line.substr(angleEnd + 1, depthEnd - angleEnd - 1));
            char rounded[64];
            std::snprintf(rounded, sizeof rounded, "%.*f", decimals, depth);
            line = line.substr(0, angleEnd + 1) + rounded + line.substr(depthEnd);
        }
        out += line + "\n";
    }
    return readText(out);
}

// What each tier was cut to: its rule and the facets of its points.
std::vector<std::string> rules(const Stone& stone, const DesignIntent& intent) {
    std::vector<std::string> out;
    for (size_t t = 0; t < intent.tiers.size(); ++t) {
        std::string words = intentWords(stone, intent, int32_t(t));
        if (intent.tiers[t].depth == DepthRule::Typed) words = "depth";
        // The gap belongs to the file, not to what the tier was cut to.
        if (const size_t gap = words.find(", gap "); gap != std::string::npos) words.resize(gap);
        out.push_back(words);
    }
    return out;
}

TEST(MeetTolerance, ABrilliantWrittenToFiveDecimalsInfersTheSameMeetsAsTheExactOne) {
    const Stone exact = brilliantWithDecimals(8);
    const Stone rough = brilliantWithDecimals(5);
    const DesignIntent exactIntent = inferIntent(exact);
    const DesignIntent roughIntent = inferIntent(rough);
    EXPECT_EQ(rules(rough, roughIntent), rules(exact, exactIntent));
    // Held to 1e-7 as before, the rounded file loses its meets.
    const DesignIntent strict = inferIntent(rough, 0);
    EXPECT_NE(rules(rough, strict), rules(exact, exactIntent));
    // Each closed gap is said, and none is beyond the tolerance.
    bool anyGap = false;
    for (size_t t = 0; t < roughIntent.tiers.size(); ++t) {
        const TierIntent& tier = roughIntent.tiers[t];
        EXPECT_LE(tier.gap, DEFAULT_MEET_TOLERANCE_W) << t;
        EXPECT_EQ(exactIntent.tiers[t].gap, 0) << t;
        if (tier.gap == 0) continue;
        anyGap = true;
        const std::string words = intentWords(rough, roughIntent, int32_t(t));
        char expected[64];
        std::snprintf(expected, sizeof expected, ", inferred, gap %.6f W", tier.gap);
        EXPECT_NE(words.find(expected), std::string::npos) << words;
    }
    EXPECT_TRUE(anyGap);
    EXPECT_EQ(intentWords(rough, roughIntent, 2).rfind("meets G 3\xB7G 93\xB7" "P1 96, inferred", 0), 0u);
}

TEST(MeetTolerance, ARecutKeepsEveryMeetAndMakesItExact) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const Stone rough = brilliantWithDecimals(5);
    const DesignIntent intent = inferIntent(rough);
    const std::vector<std::string> before = rules(rough, intent);
    const int32_t mains = findTier(rough, intent, "P1");
    ASSERT_GE(mains, 0);
    const RecutResult cut = recutTierAngle(rough, intent, mains, 39.75);
    EXPECT_TRUE(cut.ok()) << (cut.problems.empty() ? "" : cut.problems[0]);
    EXPECT_EQ(cut.failedTiers, 0);
    for (const TierIntent& tier : cut.intent.tiers) EXPECT_EQ(tier.gap, 0);
    // Every tier still meets what it met, now within 1e-7: inferred anew
    // without any tolerance, the re-cut stone gives the same meets.
    const DesignIntent again = inferIntent(cut.stone, 0);
    EXPECT_EQ(rules(cut.stone, again), before);
    // A re-cut with no change at all closes the gaps too, from the first
    // tier that has one.
    const RecutResult same = recutByIntent(rough, intent, TierChange{intent.tiers.size() > 3 ? 3 : 0});
    EXPECT_TRUE(same.ok());
    EXPECT_EQ(rules(same.stone, inferIntent(same.stone, 0)), before);
}

TEST(MeetTolerance, ARealNearMissOfSevenTenThousandthsOfWStaysANearMiss) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const Stone exact = brilliantWithDecimals(8);
    const DesignIntent intent = inferIntent(exact);
    const int32_t halves = findTier(exact, intent, "P2");
    ASSERT_GE(halves, 0);
    ASSERT_EQ(intent.tiers[halves].depth, DepthRule::Points);
    // The pavilion halves cut 0.0007 W past their meet.
    TierChange change;
    change.tier = halves;
    change.setCed = true;
    change.ced = intent.tiers[halves].ced - 0.0007 * outlineWidth(exact);
    const RecutResult missed = recutByIntent(exact, intent, change);
    ASSERT_TRUE(missed.ok());
    const DesignIntent inferred = inferIntent(missed.stone);
    EXPECT_EQ(inferred.tiers[halves].depth, DepthRule::Typed);
    EXPECT_EQ(intentWords(missed.stone, inferred, halves).rfind("depth ", 0), 0u);
    // A tolerance wide enough takes it as the meet, with its gap.
    const DesignIntent wide = inferIntent(missed.stone, 0.001);
    EXPECT_EQ(wide.tiers[halves].depth, DepthRule::Points);
    EXPECT_NEAR(wide.tiers[halves].gap, 0.0007, 0.0001);
}

}  // namespace
}  // namespace brevix
