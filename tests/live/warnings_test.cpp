#include "live/design_warnings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "design/sample_designs.h"
#include "live/girdle_measure.h"
#include "live_test_support.h"
#include "platform/messages.h"

namespace brevix {
namespace {

using namespace test;

std::vector<DesignWarning> ofKind(const std::vector<DesignWarning>& all, WarningKind kind) {
    std::vector<DesignWarning> out;
    for (const DesignWarning& w : all)
        if (w.kind == kind) out.push_back(w);
    return out;
}

bool names(const DesignWarning& w, const std::string& tier) {
    return std::find(w.tiers.begin(), w.tiers.end(), tier) != w.tiers.end();
}

TEST(DesignWarnings, TheBrilliantThroughItsMeetsHasNone) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    DesignWithIntent b = cutRoundBrilliantByIntent();
    const std::vector<DesignWarning> warnings = designWarnings(b.stone, &b.intent);
    for (const DesignWarning& w : warnings) ADD_FAILURE() << w.text;
}

int girdleFacets(const Stone& stone) {
    int n = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) n += isGirdleFacet(stone.facets[i]) ? 1 : 0;
    return n;
}

TEST(DesignWarnings, GirdleCutThroughExactlyWhenACornerHasNoHeight) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent whole0 = cutRoundBrilliantByIntent();
    const double ced = whole0.intent.tiers[C3].ced;
    int through = 0, whole = 0;
    // The upper halves lowered step by step until they reach the pavilion
    // halves: the girdle thins at its corners until its facets are gone.
    for (int step = 0; step <= 30; ++step) {
        const double lower = 0.002 * step;
        DesignWithIntent d = brilliantWithDepth(C3, ced - lower);
        const bool gone = girdleFacets(d.stone) < 16;
        const double least = gone ? 0 : thinnestGirdleByPlanes(d.stone);
        // Too close to call either way from the planes alone.
        if (std::fabs(least) < 1e-6 && least > GIRDLE_THROUGH) continue;
        const std::vector<DesignWarning> girdle =
            ofKind(designWarnings(d.stone, &d.intent), WarningKind::GirdleCutThrough);
        EXPECT_EQ(!girdle.empty(), least <= GIRDLE_THROUGH) << lower << " " << least;
        if (girdle.empty()) {
            ++whole;
            continue;
        }
        ++through;
        for (const DesignWarning& w : girdle) {
            EXPECT_TRUE(names(w, "C3")) << w.text;
            EXPECT_TRUE(names(w, "P2")) << w.text;
            EXPECT_EQ(w.text.rfind("Girdle cut through: C3 meets ", 0), 0u) << w.text;
            EXPECT_EQ(w.places, 8) << w.text;
        }
        // Without the intent the girdle that is gone is not known.
        EXPECT_TRUE(ofKind(designWarnings(d.stone), WarningKind::GirdleCutThrough).empty());
        // With the stone before the cut it is.
        EXPECT_FALSE(ofKind(designWarnings(d.stone, nullptr, &whole0.stone),
                            WarningKind::GirdleCutThrough)
                         .empty());
    }
    EXPECT_GT(through, 0);
    EXPECT_GT(whole, 0);
}

TEST(DesignWarnings, AMeetMissedByALittleIsANearMiss) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent b = cutRoundBrilliantByIntent();
    const double ced = b.intent.tiers[C3].ced;
    // Raised a hair, the upper halves no longer meet girdle and mains in one point.
    DesignWithIntent d = brilliantWithDepth(C3, ced + 0.0005);
    const std::vector<DesignWarning> near = ofKind(designWarnings(d.stone), WarningKind::NearMiss);
    ASSERT_FALSE(near.empty());
    bool found = false;
    for (const DesignWarning& w : near) {
        if (!names(w, "C3") || !names(w, "C1") || !names(w, "G")) continue;
        found = true;
        EXPECT_GT(w.gap, MEET_GAP);
        EXPECT_LT(w.gap, NEAR_MISS_SHARE * widthOf(d.stone));
        EXPECT_NEAR(w.gapShare, w.gap / widthOf(d.stone), 1e-12);
        EXPECT_EQ(w.places, 8) << w.text;
        EXPECT_NE(w.text.find("Near miss: "), std::string::npos);
    }
    EXPECT_TRUE(found);
    // Raised far, they are simply facets of their own.
    DesignWithIntent apart = brilliantWithDepth(C3, ced + 0.05);
    for (const DesignWarning& w : ofKind(designWarnings(apart.stone), WarningKind::NearMiss))
        EXPECT_FALSE(names(w, "C3")) << w.text;
}

TEST(DesignWarnings, PavilionFacetsBelowTheCriticalAngleAreWindows) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    Stone stone = makeRoundBrilliant();
    stone.refractiveIndex = 1.54;  // critical angle 40.49: mains at 40.75 and halves at 42 hold
    EXPECT_TRUE(ofKind(designWarnings(stone), WarningKind::Window).empty());
    stone.refractiveIndex = 1.50;  // 41.81: the mains leak, the halves hold
    const std::vector<DesignWarning> windows = ofKind(designWarnings(stone), WarningKind::Window);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].tiers, std::vector<std::string>{"P1"});
    EXPECT_EQ(windows[0].places, 8);
    EXPECT_NEAR(windows[0].angle, 40.75, 1e-9);
    EXPECT_NEAR(windows[0].critical, std::asin(1 / 1.5) * 180 / PI, 1e-12);
    EXPECT_EQ(windows[0].text, "Window: P1 at 40.75\xB0 is below the critical angle 41.81\xB0");
    EXPECT_NEAR(criticalAngle(2.417), 24.44, 0.01);
}

TEST(DesignWarnings, ATierCutAwayNamesTheTierThatDidIt) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent b = cutRoundBrilliantByIntent();
    // The upper halves cut deep enough to take the stars away entirely.
    for (double lower = 0.02; lower < 0.3; lower += 0.02) {
        DesignWithIntent d = brilliantWithDepth(C3, b.intent.tiers[C3].ced - lower);
        const std::vector<DesignWarning> away = ofKind(designWarnings(d.stone, &d.intent), WarningKind::TierCutAway);
        if (away.empty()) continue;
        EXPECT_EQ(away[0].tiers.back(), "C3") << away[0].text;
        EXPECT_NE(away[0].text.find(" cut away entirely by C3"), std::string::npos) << away[0].text;
        EXPECT_EQ(away[0].facets.size(), 16u);
        return;
    }
    ADD_FAILURE() << "no depth of the upper halves cut a tier away";
}

}  // namespace
}  // namespace brevix
