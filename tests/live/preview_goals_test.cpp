#include <gtest/gtest.h>

#include <sstream>

#include "design/measures.h"
#include "facet_placement/placement.h"
#include "kernel/checks.h"
#include "live/cut_preview.h"
#include "live/design_figures.h"
#include "live/girdle_measure.h"
#include "live/tier_goals.h"
#include "live_test_support.h"
#include "platform/messages.h"

namespace brevix {
namespace {

using namespace test;

std::string planesOf(const Stone& stone) {
    std::ostringstream out;
    out << std::hexfloat;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        out << f.a << ' ' << f.b << ' ' << f.c << ' ' << f.d << ' ' << f.name << '\n';
    }
    return out.str();
}

// The brilliant without its upper halves, and the form holding them.
struct BeforeUppers {
    Stone stone;
    NewFacetInfo info;
    Stone full;
};

BeforeUppers beforeUppers() {
    DesignWithIntent b = cutRoundBrilliantByIntent();
    DesignIntent first = b.intent;
    first.tiers.pop_back();
    BeforeUppers out{recutByIntent(b.stone, first, std::nullopt).stone, {}, std::move(b.stone)};
    const TierIntent& uppers = b.intent.tiers[C3];
    out.info.angle = uppers.angle;
    out.info.hasAngle = true;
    out.info.index = uppers.index;
    out.info.hasIndex = true;
    out.info.ced = uppers.ced;
    out.info.hasCed = true;
    out.info.symmetry = 8;
    out.info.mirror = 1;
    return out;
}

TEST(CutPreview, ShowsTheStoneAfterTheCutAndLeavesTheDesignAlone) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    BeforeUppers b = beforeUppers();
    const std::string design = planesOf(b.stone);
    CutPreview preview;
    for (int k = 0; k < 3; ++k) preview = previewCut(b.stone, b.info);
    EXPECT_EQ(planesOf(b.stone), design);
    ASSERT_TRUE(preview.ready);
    EXPECT_EQ(preview.made, 16);
    EXPECT_EQ(preview.added.size(), 16u);
    EXPECT_EQ(preview.missed, 0);
    EXPECT_TRUE(preview.notes.empty());
    for (int32_t i : preview.added) EXPECT_NEAR(preview.stone.facetAngleOf(i), 40, 1e-9);
    std::ostringstream report;
    EXPECT_TRUE(checkstone(preview.stone, report)) << report.str();

    // Its figures are those of the design cut for real.
    const DesignFigures after = figuresOf(preview.stone);
    const DesignFigures real = figuresOf(b.full);
    EXPECT_EQ(after.facets, real.facets);
    EXPECT_NEAR(*after.tw, *real.tw, 1e-12);
    EXPECT_NEAR(*after.cw, *real.cw, 1e-12);
    EXPECT_NEAR(*after.volumeRatio, *real.volumeRatio, 1e-12);
    EXPECT_NEAR(*after.girdleAtMains, *real.girdleAtMains, 1e-12);
    EXPECT_TRUE(sink.entries.empty());
}

TEST(CutPreview, SaysWhatWouldMissOrBeCutAway) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    BeforeUppers b = beforeUppers();
    NewFacetInfo far = b.info;
    far.ced = 5;
    const CutPreview missing = previewCut(b.stone, far);
    EXPECT_FALSE(missing.ready);
    EXPECT_EQ(missing.missed, 16);
    ASSERT_EQ(missing.notes.size(), 1u);
    EXPECT_EQ(missing.notes[0], "16 new facets would miss the stone");

    NewFacetInfo deep = b.info;
    deep.ced = b.info.ced - 0.2;
    const CutPreview away = previewCut(b.stone, deep);
    EXPECT_TRUE(away.ready);
    EXPECT_GT(away.cutOff, 0);
    ASSERT_FALSE(away.cutAway.empty());
    EXPECT_EQ(away.notes[0], "Would cut away " + away.cutAway[0] + " entirely");

    // A point on the far side of the centre solved into a depth below zero.
    NewFacetInfo beyond = b.info;
    beyond.ced = -0.25;
    beyond.solvedCed = true;
    const CutPreview wrongSide = previewCut(b.stone, beyond);
    ASSERT_FALSE(wrongSide.notes.empty());
    EXPECT_EQ(wrongSide.notes[0], "The point gives depth -0.2500: the facet would lie beyond the centre");
    // The same depth typed is the cutter's own and goes unremarked.
    beyond.solvedCed = false;
    for (const std::string& note : previewCut(b.stone, beyond).notes) EXPECT_EQ(note.find("beyond"), std::string::npos);

    NewFacetInfo partial = b.info;
    partial.hasCed = false;
    EXPECT_FALSE(previewCut(b.stone, partial).ready);
    EXPECT_TRUE(previewCut(b.stone, partial).notes.empty());
    EXPECT_TRUE(sink.entries.empty());
}

TEST(TierGoals, TableWidthAndGirdleAtTheMainTips) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent b = cutRoundBrilliantByIntent();
    GoalResult table = solveTierGoal(b.stone, b.intent, T, TierGoal::TableWidth, 0.56);
    ASSERT_TRUE(table.cut) << table.problem;
    EXPECT_TRUE(table.cut->ok());
    computeBounds(table.cut->stone);
    const Proportions p = proportionsOf(table.cut->stone.stats);
    EXPECT_NEAR(p.T / p.W, 0.56, 1e-6);
    // The stars still meet the mains halfway along the table line: placed by intent.
    EXPECT_EQ(table.cut->intent.tiers[C2].failure, "");

    GoalResult girdle = solveTierGoal(b.stone, b.intent, C1, TierGoal::GirdleAtMains, 0.02);
    ASSERT_TRUE(girdle.cut) << girdle.problem;
    Stone& s = girdle.cut->stone;
    const double W = widthOf(s);
    // The crown mains' tip lies along index 96, on the corner of two girdle facets.
    EXPECT_NEAR(heightAlongVertical(s, 0, 1 / std::cos(PI / 16)) / W, 0.02, 1e-6);

    const GoalResult impossible = solveTierGoal(b.stone, b.intent, T, TierGoal::TableWidth, 1.5);
    EXPECT_FALSE(impossible.cut);
    EXPECT_FALSE(impossible.problem.empty());
}

}  // namespace
}  // namespace brevix
