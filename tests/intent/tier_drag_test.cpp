#include <gtest/gtest.h>

#include <cmath>

#include "document/gem_doc.h"
#include "intent/brilliant_intent.h"
#include "intent/design_intent.h"
#include "intent/point_resolution.h"
#include "intent_test_support.h"
#include "live/cut_preview.h"
#include "live/design_warnings.h"
#include "platform/messages.h"
#include "brilliant_tiers.h"

namespace brevix {
namespace {


void openBrilliant(CGemDoc& doc) {
    DesignWithIntent b = cutRoundBrilliantByIntent();
    doc.model().put(std::make_unique<Stone>(std::move(b.stone)), std::move(b.intent));
}

int32_t facetOfTier(CGemDoc& doc, int32_t tier) {
    const Plane p = doc.model().intent().tiers[tier].planes[0];
    return doc.stone()->facetByPlane(p.a, p.b, p.c);
}

TEST(TierDrag, TenStepsEndWhereTheLastValueSetDirectlyDoesAndOneUndoGoesBack) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc dragged{&sink}, direct{&sink};
    openBrilliant(dragged);
    openBrilliant(direct);
    const std::string start = designBytes(*dragged.stone());
    const DesignIntent startIntent = dragged.model().intent();
    const auto meets = meetsOfFour(*dragged.stone(), startIntent);
    const int cursor = dragged.undoStack().cursor();

    ASSERT_TRUE(dragged.drag().begin(facetOfTier(dragged, C1)));
    EXPECT_EQ(dragged.drag().tier(), C1);
    EXPECT_NEAR(dragged.drag().startTier()->angle, 34.5, 1e-12);
    for (int k = 1; k <= 10; ++k) ASSERT_TRUE(dragged.drag().toAngle(34.5 + 0.1 * k));
    EXPECT_TRUE(dragged.drag().problems().empty());
    dragged.drag().end();
    EXPECT_FALSE(dragged.drag().active());
    EXPECT_EQ(dragged.undoStack().cursor(), (cursor + 1) % UndoStack::SIZE);

    ASSERT_TRUE(direct.recutTierAngle(facetOfTier(direct, C1), 34.5 + 0.1 * 10));
    EXPECT_EQ(designBytes(*dragged.stone()), designBytes(*direct.stone()));
    EXPECT_LE(worstMeet(meets, dragged.model().intent(), 96), MEET_TOLERANCE);
    EXPECT_TRUE(dragged.model().isModified());

    dragged.undo();
    EXPECT_EQ(designBytes(*dragged.stone()), start);
    EXPECT_EQ(dragged.model().intent(), startIntent);
    EXPECT_TRUE(sink.entries.empty()) << sink.entries[0].text;
}

TEST(TierDrag, DepthStepsStartFromTheDragsStartAndAPressWithoutMoveChangesNothing) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc doc{&sink};
    openBrilliant(doc);
    const std::string start = designBytes(*doc.stone());
    const int cursor = doc.undoStack().cursor();
    ASSERT_TRUE(doc.drag().begin(facetOfTier(doc, T)));
    doc.drag().end();
    EXPECT_EQ(doc.undoStack().cursor(), cursor);
    EXPECT_FALSE(doc.model().isModified());

    ASSERT_TRUE(doc.drag().begin(facetOfTier(doc, T)));
    const double ced = doc.drag().startTier()->ced;
    // Every step starts from the start: far down and back is the start again.
    ASSERT_TRUE(doc.drag().toDepth(ced - 0.1));
    EXPECT_NE(designBytes(*doc.stone()), start);
    ASSERT_TRUE(doc.drag().toDepth(ced));
    EXPECT_TRUE(doc.drag().problems().empty());
    EXPECT_EQ(designBytes(*doc.stone()), start);
    doc.drag().end();
    EXPECT_EQ(doc.facetCount, 73);
    doc.undo();
    EXPECT_EQ(designBytes(*doc.stone()), start);
    EXPECT_FALSE(doc.drag().begin(-1));
}

TEST(CutPreview, NeverChangesTheDocumentsDesignOrItsUndoRing) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc doc{&sink};
    openBrilliant(doc);
    const std::string before = designBytes(*doc.stone());
    const int cursor = doc.undoStack().cursor();
    doc.pending().setSymmetry(8, 1);
    doc.pending().setAngle(30, true);
    doc.pending().setIndex(3, true);
    for (double ced : {0.9, 0.8, 0.5, 0.1, 3.0}) {
        doc.pending().setCed(ced, true);
        ASSERT_TRUE(doc.pending().info.complete());
        (void)previewCut(*doc.stone(), doc.pending().info);
    }
    EXPECT_EQ(designBytes(*doc.stone()), before);
    EXPECT_EQ(doc.undoStack().cursor(), cursor);
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_TRUE(sink.entries.empty());
}

TEST(TierDrag, MainsDraggedPastTheHalvesAreReportedCutAway) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc doc{&sink};
    openBrilliant(doc);
    ASSERT_TRUE(doc.drag().begin(facetOfTier(doc, P1)));
    // At 41.75 the pavilion mains are steeper than allows the halves at 42
    // through their meets to leave anything of them.
    for (int k = 1; k <= 10; ++k) ASSERT_TRUE(doc.drag().toAngle(40.75 + 0.1 * k));
    doc.drag().end();
    int mains = 0;
    for (int32_t i = 0; i < doc.stone()->nFacet; ++i) mains += doc.stone()->facets[i].name == "P1" ? 1 : 0;
    EXPECT_EQ(mains, 0);
    ASSERT_TRUE(doc.model().recordedIntent());
    const std::vector<DesignWarning> warnings = designWarnings(*doc.stone(), &*doc.model().recordedIntent());
    bool said = false;
    std::string texts;
    for (const DesignWarning& w : warnings) {
        texts += w.text + "\n";
        // The cut-away tier keeps its name in the intent.
        said = said || (w.kind == WarningKind::TierCutAway && w.text == "P1 cut away entirely by P2");
    }
    EXPECT_TRUE(said) << texts;
    doc.undo();
    EXPECT_EQ(doc.facetCount, 73);
}

}  // namespace
}  // namespace brevix
