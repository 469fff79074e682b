// The designing commands of the document: the pending facet, cutting it
// with its symmetry, the reports and the preform question, the undo ring,
// re-cutting a tier and recovery from a kernel failure.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "design/transforms.h"
#include "facet_placement/gear_ranking.h"
#include "design/tiers.h"
#include "document/cut_commands.h"
#include "document/gem_doc.h"
#include "document/index_gear_commands.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {
namespace {

class DesigningDoc : public ::testing::Test {
protected:
    RecordingSink sink;
    ScopedMessageSink scope{sink};
    CGemDoc doc{&sink};

    void specify(double angle, double index, double ced) {
        doc.pending().setAngle(angle, false);
        doc.pending().setIndex(index, false);
        doc.pending().setCed(ced, false);
    }
    void cut(double angle, double index, double ced) {
        specify(angle, index, ced);
        doc.cutNewFacets();
        doc.pending().clearInfo();
    }
    void useRoundBrilliant() {
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
    }
    // The table's distance, the quickest way to tell states of the tests apart.
    double tableDepth() const {
        const Stone& s = *doc.stone();
        for (int32_t i = 0; i < s.nFacet; ++i)
            if (!s.facets[i].isRough() && s.facets[i].c > NEAR_ONE) return s.facets[i].d;
        return 0;
    }
};

TEST_F(DesigningDoc, AngleZeroFromTheFormCutsOneFacetWhateverTheSymmetry) {
    EXPECT_EQ(doc.pending().symmetryFieldEdited("8", true), "8");
    EXPECT_EQ(doc.pending().angleFieldEdited("0"), "0.000000");
    EXPECT_TRUE(doc.pending().info.hasIndex);
    EXPECT_EQ(doc.pending().info.index, 96);
    EXPECT_EQ(doc.pending().formTexts().caption, "Cut Facet");  // the first facet gets a depth
    EXPECT_EQ(doc.pending().cedFieldEdited("0.5"), "0.50000000");
    cutFromForm(doc, nullptr);
    EXPECT_EQ(doc.facetCount, 1);
    EXPECT_DOUBLE_EQ(tableDepth(), 0.5);
    EXPECT_FALSE(doc.pending().info.hasAngle || doc.pending().info.hasIndex || doc.pending().info.hasCed);
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(DesigningDoc, FirstFacetOfARoughBlockGetsADefaultDepth) {
    struct Case {
        double angle;
        int symmetry;
        double ced;
    };
    for (const Case& c : {Case{90, 8, std::cos(PI / 8)}, Case{90, 4, 1.0}, Case{-90, 3, 0.5},
                          Case{41, 8, 0.7}}) {
        CGemDoc fresh{&sink};
        fresh.pending().setSymmetry(c.symmetry, 1);
        fresh.pending().setAngle(c.angle, true);
        fresh.pending().setIndex(3, true);
        EXPECT_TRUE(fresh.pending().completeInfo());
        EXPECT_NEAR(fresh.pending().info.ced, c.ced, 1e-15) << c.angle << " " << c.symmetry;
        EXPECT_EQ(fresh.stone()->symmetry, c.symmetry);  // the new stone takes the document's
    }
    EXPECT_NEAR(std::cos(PI / 8), 0.9238795, 1e-7);
}

TEST_F(DesigningDoc, TypedValuesAndTheirMessages) {
    EXPECT_EQ(doc.pending().angleFieldEdited("90"), "90.000000");
    EXPECT_EQ(doc.pending().angleFieldEdited("-90"), "-90.000000");
    EXPECT_EQ(doc.pending().angleFieldEdited("90.000001"), "");
    EXPECT_FALSE(doc.pending().info.hasAngle);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Angle should be between -90 and 90"});
    EXPECT_EQ(doc.pending().indexFieldEdited("x"), "");
    EXPECT_FALSE(doc.pending().info.hasIndex);

    for (Vec3 p : {Vec3{0.1, 0.2, 0.3}, Vec3{0.4, 0.2, 0.3}, Vec3{0.1, 0.5, 0.3}}) doc.pending().addPoint(p);
    doc.pending().setIndex(4, true);
    EXPECT_EQ(doc.pending().info.nPoints, 2);  // without an angle two points may stay
    doc.pending().angleFieldEdited("30");
    EXPECT_EQ(doc.pending().info.nPoints, 1);  // index and angle: only point 1 stays
    EXPECT_EQ(doc.pending().info.points[0].x, 0.1);
    doc.pending().cedFieldEdited("0.8");
    EXPECT_EQ(doc.pending().info.nPoints, 0);

    doc.pending().pointsFieldEdited("0.1 0.2 0.3\r\n0.1 0.2 0.3004\r\n0.5 0.5");
    EXPECT_EQ(doc.pending().info.nPoints, 1);
    EXPECT_EQ(sink.texts().back(), "New point is too close to point 1.");

    sink.clear();
    doc.pending().setSymmetry(5, 0);
    EXPECT_EQ(doc.pending().symmetryFieldEdited("0", false), "");
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Symmetry should a positive number"});
    EXPECT_EQ(doc.pending().info.symmetry, 8);
    EXPECT_EQ(doc.pending().info.mirror, 1);
    doc.pending().mirrorToggled(false);
    EXPECT_EQ(doc.pending().info.mirror, 0);
}

TEST_F(DesigningDoc, IncompletePendingFacetIsASilentNoOp) {
    doc.ensureStone();
    doc.pending().setAngle(40, false);
    doc.cutNewFacets();
    EXPECT_EQ(doc.undoStack().latest(), nullptr);
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(doc.stone()->nFacet, 6);
    EXPECT_EQ(doc.pending().formTexts().caption, "Apply");
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(DesigningDoc, FoldNotDividingTheGearCutsOnWholeNotches) {
    doc.pending().setSymmetry(7, 0);
    cut(45, 2.2, 0.8);
    ASSERT_EQ(doc.facetCount, 7);
    const Stone& s = *doc.stone();
    for (int32_t i = 0; i < s.nFacet; ++i) {
        if (s.facets[i].isRough()) continue;
        const double index = s.facetIndexOf(i);
        EXPECT_NEAR(index, std::round(index), 1e-9);
    }
}

TEST_F(DesigningDoc, MissedPlanesAreReportedOnceAndTheOthersStayCut) {
    useRoundBrilliant();
    cut(45, 3, 5.0);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"16 new facets missed stone"});
    doc.pending().setSymmetry(1, 0);
    sink.clear();
    cut(45, 3, 5.0);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"1 new facet missed stone"});
    EXPECT_EQ(doc.facetCount, 73);
}

TEST_F(DesigningDoc, CutOffFacetsAskAboutThePreform) {
    doc.pending().setSymmetry(8, 0);
    cut(20, 0, 0.9);
    ASSERT_EQ(doc.facetCount, 8);
    sink.script = {Answer::No};
    cut(0, 0, 0.3);  // the table takes all eight
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.entries[0].question);
    EXPECT_EQ(sink.entries[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(sink.entries[0].text,
              "New facet(s) will cut off 8 facets.\nKeep cut off facets as preform?");
    EXPECT_EQ(doc.facetCount, 1);
    EXPECT_EQ(doc.stone()->preform, nullptr);

    // Cancel withdraws the cut; the withdrawn state stays in the ring for redo.
    sink.clear();
    sink.script = {Answer::Cancel};
    cut(0, 0, 0.2);
    EXPECT_EQ(sink.entries[0].text,
              "New facet(s) will cut off 1 facet.\nKeep cut off facet as preform?");
    EXPECT_DOUBLE_EQ(tableDepth(), 0.3);
    EXPECT_EQ(doc.facetCount, 1);
    doc.redo();
    EXPECT_DOUBLE_EQ(tableDepth(), 0.2);
    doc.undo();
    EXPECT_DOUBLE_EQ(tableDepth(), 0.3);

    // Yes keeps the stone from just before the cut as the preform.
    sink.clear();
    sink.script = {Answer::Yes};
    cut(0, 0, 0.2);
    const Stone* preform = doc.stone()->preform.get();
    ASSERT_NE(preform, nullptr);
    EXPECT_DOUBLE_EQ(preform->facets[preform->nFacet - 1].d, 0.3);
    EXPECT_DOUBLE_EQ(tableDepth(), 0.2);

    // With a preform already there it is only told.
    sink.clear();
    cut(0, 0, 0.1);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_FALSE(sink.entries[0].question);
    EXPECT_EQ(sink.entries[0].text, "New facet(s) will cut off 1 facet.");
}

TEST_F(DesigningDoc, ElevenCutsAndTenUndosNeverReachTheStateBeforeTheFirst) {
    doc.pending().setSymmetry(1, 0);
    doc.ensureStone();
    for (int k = 0; k < 11; ++k) {
        cut(45, 8 * k, 0.95);
        ASSERT_EQ(doc.facetCount, k + 1);
    }
    EXPECT_TRUE(sink.entries.empty());
    for (int k = 10; k >= 1; --k) {
        doc.undo();
        EXPECT_EQ(doc.facetCount, k);
    }
    // The eleventh undo comes round to the newest state, not the rough block.
    doc.undo();
    EXPECT_EQ(doc.facetCount, 11);
    doc.redo();
    EXPECT_EQ(doc.facetCount, 1);
    doc.redo();
    EXPECT_EQ(doc.facetCount, 2);
}

TEST_F(DesigningDoc, UndoWithAnEmptyRingGivesARoughStoneAndClearsThePendingFacet) {
    doc.undo();  // no stone: nothing
    EXPECT_EQ(doc.stone(), nullptr);
    useRoundBrilliant();
    doc.pending().setSymmetry(5, 0);
    specify(40, 3, 0.7);
    doc.pending().info.recutPending = true;
    doc.pending().info.recutName = "C1";
    doc.undo();
    EXPECT_EQ(doc.facetCount, 0);
    EXPECT_EQ(doc.stone()->nFacet, 6);
    EXPECT_EQ(doc.pending().info.symmetry, 8);
    EXPECT_EQ(doc.pending().info.mirror, 1);
    EXPECT_FALSE(doc.pending().info.hasAngle);
    EXPECT_FALSE(doc.pending().info.recutPending);
    EXPECT_EQ(doc.pending().info.recutName, "");
    // The design undone is still in the ring.
    doc.redo();
    EXPECT_EQ(doc.facetCount, 73);
    EXPECT_EQ(doc.pending().info.symmetry, 5);
}

void breakBeyondRepair(Stone& stone) {
    for (int32_t e = 0; e < stone.nEdge; ++e) stone.edges[e].f[0] = stone.edges[e].f[1];
    for (int32_t f = 0; f < stone.nFacet; ++f)
        if (!stone.facets[f].isRough()) stone.facets[f].a = std::nan("");
}

TEST_F(DesigningDoc, KernelFailurePutsBackTheStoneAndTellsTheUser) {
    doc.pending().setSymmetry(1, 0);
    cut(30, 10, 0.9);
    // Break the polyhedron beyond any rebuild: every edge claims one facet
    // on both sides, and the planes it would be rebuilt from are not numbers.
    Stone& broken = *doc.stone();
    breakBeyondRepair(broken);
    const Stone before(broken);
    sink.clear();
    cut(0, 0, 0.01);
    ASSERT_FALSE(sink.entries.empty());
    EXPECT_EQ(sink.entries.back().text.rfind("Internal error: ", 0), 0u) << sink.entries.back().text;
    EXPECT_EQ(sink.entries.back().icon, Icon::Error);
    const Stone& after = *doc.stone();
    ASSERT_EQ(after.nFacet, before.nFacet);
    ASSERT_EQ(after.nVertex, before.nVertex);
    ASSERT_EQ(after.nEdge, before.nEdge);
    for (int32_t i = 0; i < after.nFacet; ++i) EXPECT_EQ(after.facets[i].d, before.facets[i].d);
    for (int32_t i = 0; i < after.nVertex; ++i) EXPECT_EQ(after.vertices[i].z, before.vertices[i].z);
    EXPECT_EQ(doc.facetCount, before.nFacet - before.nRough);
}

TEST_F(DesigningDoc, KernelFailureDuringARecutKeepsTheTierOutAndTheRecutPending) {
    useRoundBrilliant();
    doc.uncutTier(40);
    Stone& broken = *doc.stone();
    breakBeyondRepair(broken);
    const Stone before(broken);
    sink.clear();
    specify(0, 96, 0.01);
    doc.cutNewFacets();
    ASSERT_FALSE(sink.entries.empty());
    EXPECT_EQ(sink.entries.back().text.rfind("Internal error: ", 0), 0u);
    EXPECT_TRUE(doc.pending().info.recutPending);
    EXPECT_EQ(doc.stone()->nFacet, before.nFacet);
    EXPECT_EQ(doc.stone()->nVertex, before.nVertex);
    // The snapshot of the uncut is still the one undo goes back to.
    doc.undo();
    EXPECT_EQ(doc.facetCount, 73);
}

int32_t firstFacetNamed(const Stone& s, const std::string& name) {
    for (int32_t i = 0; i < s.nFacet; ++i)
        if (s.facets[i].name == name) return i;
    return -1;
}

TEST_F(DesigningDoc, RecutTierGoesBackInItsPlace) {
    useRoundBrilliant();
    const Stone original(*doc.stone());
    const int32_t c1 = firstFacetNamed(original, "C1");
    ASSERT_GT(c1, 0);
    TierSetting setting;
    for (const TierSetting& t : roundBrilliantTiers())
        if (t.name == "C1") setting = t;

    doc.uncutTier(c1 + 2);
    EXPECT_TRUE(doc.pending().info.recutPending);
    EXPECT_EQ(doc.pending().info.recutPlace, c1);
    EXPECT_EQ(doc.pending().info.recutName, "C1");
    EXPECT_EQ(doc.pending().info.recutInstruction, setting.instruction);
    EXPECT_EQ(doc.pending().info.recutFirstFacet, doc.stone()->nFacet);
    EXPECT_EQ(doc.pending().info.index, std::round(original.facetIndexOf(c1 + 2)));
    EXPECT_LT(doc.facetCount, 73);

    // A miss leaves the recut pending.
    doc.pending().setIndex(12, false);
    doc.pending().setAngle(setting.angle, false);
    doc.pending().setCed(5, false);
    doc.cutNewFacets();
    EXPECT_TRUE(doc.pending().info.recutPending);
    EXPECT_EQ(doc.pending().formTexts().index, "12.000000*");

    doc.pending().setCed(setting.depth, false);
    doc.cutNewFacets();
    EXPECT_FALSE(doc.pending().info.recutPending);
    const Stone& s = *doc.stone();
    ASSERT_EQ(s.nFacet, original.nFacet);
    for (int32_t i = 0; i < s.nFacet; ++i) {
        EXPECT_NEAR(s.facets[i].a, original.facets[i].a, 1e-12) << i;
        EXPECT_NEAR(s.facets[i].d, original.facets[i].d, 1e-12) << i;
    }
    EXPECT_EQ(firstFacetNamed(s, "C1"), c1);  // index 12 is the tier's first
    EXPECT_EQ(tierInstruction(s, c1), setting.instruction);
    EXPECT_EQ(s.facets[c1 + 1].name, "");
}

TEST_F(DesigningDoc, UncutOfAPreformRowOnlyTakesTheSnapshot) {
    useRoundBrilliant();
    doc.uncutTier(3, true);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Cannot change preform"});
    EXPECT_NE(doc.undoStack().latest(), nullptr);
    EXPECT_FALSE(doc.pending().info.recutPending);
    EXPECT_EQ(doc.facetCount, 73);
}

TEST_F(DesigningDoc, AngleAndIndexCommandsCutWhenComplete) {
    doc.pending().setIndex(3, false);
    angleCommand(doc, 45);  // first facet: depth 0.7
    EXPECT_EQ(doc.facetCount, 16);
    EXPECT_FALSE(doc.pending().info.hasAngle);
    doc.pending().setAngle(-40, false);
    indexCommand(doc, 6);  // incomplete: no depth, no points
    EXPECT_EQ(doc.facetCount, 16);
    EXPECT_TRUE(doc.pending().info.hasIndex);
}

TEST_F(DesigningDoc, TwoPointsNearVerticalMakeAWholeNotchGirdleFacetThroughTheirMiddle) {
    doc.pending().setSymmetry(1, 0);
    doc.pending().setAngle(89.5, true);
    const Vec3 p1{0.8, 0.3, 0.1}, p2{0.7, 0.5, -0.1};
    doc.pending().addPoint(p1);
    doc.pending().addPoint(p2);
    EXPECT_TRUE(doc.pending().completeInfo());
    EXPECT_TRUE(sink.entries.empty());
    ASSERT_EQ(doc.pending().info.nPoints, 1);
    const Vec3 mid = (p1 + p2) * 0.5;
    EXPECT_NEAR(doc.pending().info.points[0].x, mid.x, 1e-15);
    EXPECT_EQ(doc.pending().info.index, std::round(doc.pending().info.index));
    EXPECT_NEAR(std::fabs(doc.pending().info.angle), 90, 1e-9);
    // The refresh that follows sets the depth through the midpoint.
    EXPECT_TRUE(doc.pending().completeInfo());
    doc.cutNewFacets();
    const Stone& s = *doc.stone();
    const Facet& f = s.facets[s.nFacet - 1];
    EXPECT_NEAR(dot(f.normal(), mid) - f.d, 0, 1e-9);
    EXPECT_NEAR(f.c, 0, 1e-9);
}

TEST_F(DesigningDoc, TwoPointsAtOneHeightWithAnIndexKeepBothPoints) {
    doc.pending().setIndex(10, true);
    doc.pending().addPoint({0.5, 0.2, 0.3});
    doc.pending().addPoint({-0.4, 0.1, 0.3});
    EXPECT_EQ(doc.pending().formTexts().caption, "Apply");
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Can't make facet: same Z"});
    EXPECT_EQ(doc.pending().info.nPoints, 2);
    EXPECT_FALSE(doc.pending().info.hasAngle);
    EXPECT_TRUE(doc.pending().formTexts().betweenEnabled);
    doc.pending().useBetweenPoint({0.05, 0.15, 0.3});
    EXPECT_EQ(doc.pending().info.nPoints, 1);
    EXPECT_EQ(doc.pending().info.points[0].x, 0.05);
}

TEST_F(DesigningDoc, ZeroGearOrDepthCutsNothing) {
    doc.ensureStone().gear = 0;
    cut(40, 3, 0.7);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Zero index gear"});
    doc.stone()->gear = 96;
    sink.clear();
    cut(40, 3, 0);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"New facet cuts through center of stone"});
    EXPECT_EQ(doc.stone()->nFacet, 6);
    EXPECT_EQ(doc.undoStack().latest(), nullptr);
}

// A typed point on the far side of the centre gives a depth below zero:
// the facet would take most of the stone. The cutter is asked first.
TEST_F(DesigningDoc, APointBeyondTheCentreAsksBeforeTheCut) {
    useRoundBrilliant();
    const int facets = doc.facetCount;
    const auto cursor = doc.undoStack().cursor();
    doc.pending().setAngle(30, false);
    doc.pending().setIndex(3, false);
    doc.pending().addPoint({0.3, 0, -0.5});
    ASSERT_TRUE(doc.pending().completeInfo());
    ASSERT_LT(doc.pending().info.ced, 0);
    sink.clear();
    sink.script = {Answer::No};
    cutFromForm(doc, nullptr);
    const std::string question =
        strprintf("The point gives the new facet a negative depth (%.4f): it would lie beyond the centre of "
                  "the stone and cut most of it away.\nCut it anyway?",
                  doc.pending().info.ced);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text, question);
    EXPECT_TRUE(sink.entries[0].question);
    EXPECT_EQ(doc.facetCount, facets);
    EXPECT_TRUE(doc.pending().info.complete());  // kept, for the point to be corrected
    EXPECT_EQ(doc.undoStack().cursor(), cursor);

    // Answered Yes, it is the cutter's choice.
    sink.clear();
    sink.script = {Answer::Yes};
    cutFromForm(doc, nullptr);
    ASSERT_FALSE(sink.entries.empty());
    EXPECT_EQ(sink.entries[0].text, question);
    EXPECT_NE(doc.facetCount, facets);

    // A positive depth from a point is cut without a word.
    useRoundBrilliant();
    sink.clear();
    doc.pending().setAngle(30, false);
    doc.pending().setIndex(3, false);
    doc.pending().addPoint({0.3, 0, 0.5});
    ASSERT_TRUE(doc.pending().completeInfo());
    ASSERT_GT(doc.pending().info.ced, 0);
    cutFromForm(doc, nullptr);
    for (const std::string& text : sink.texts()) EXPECT_EQ(text.find("negative depth"), std::string::npos);
}

TEST_F(DesigningDoc, SummaryFollowsCutsAndUndo) {
    doc.pending().setSymmetry(8, 0);
    cut(90, 0, 1.0);
    EXPECT_EQ(doc.facetCount, 8);
    EXPECT_EQ(doc.girdleCount, 8);
    EXPECT_NEAR(doc.lengthWidth, 1.0, 1e-9);
    EXPECT_TRUE(doc.model().isModified());
    doc.undo();
    EXPECT_EQ(doc.facetCount, 0);
    EXPECT_EQ(doc.girdleCount, 0);
}

TEST_F(DesigningDoc, IndexGearCommandRenumbersWithoutMovingPlanes) {
    useRoundBrilliant();
    const Stone before(*doc.stone());
    indexGearCommand(doc, [](const IndexGearDialog&) { return std::nullopt; });
    EXPECT_EQ(doc.stone()->gear, 96);
    indexGearCommand(doc, [](const IndexGearDialog& start) {
        IndexGearDialog dialog = start;
        dialog.selectLocation(GearLocation::Right);
        dialog.toggleClockwise();
        return std::optional<IndexGearDialog>(dialog);
    });
    const Stone& s = *doc.stone();
    EXPECT_EQ(s.gear, -96);
    EXPECT_EQ(s.indexOffset, 24);
    for (int32_t i = 0; i < s.nFacet; ++i) EXPECT_EQ(s.facets[i].a, before.facets[i].a);
    // Counted the other way from 24: old index i is now 24 - i, modulo 96.
    for (int32_t i = 0; i < s.nFacet; ++i) {
        if (s.facets[i].c > NEAR_ONE) continue;
        const double turned = std::fmod(s.facetIndexOf(i) + before.facetIndexOf(i) - 24 + 960, 96.0);
        EXPECT_TRUE(std::fabs(turned) < 1e-9 || std::fabs(turned - 96) < 1e-9) << i;
    }
}

TEST_F(DesigningDoc, RoundingOfferedAfterAScale) {
    Stone stretched = makeRoundBrilliant();
    computeBounds(stretched);
    scaleStone(stretched, 4 | 8, 1.1);
    const double misfit = gearError(stretched, 96);
    const auto keep96 = [](const IndexGearDialog& start) { return std::optional<IndexGearDialog>(start); };

    doc.model().put(std::make_unique<Stone>(stretched));
    sink.script = {Answer::No};
    offerIndexRounding(doc, keep96);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text, gearRankingText(stretched));
    EXPECT_EQ(gearError(*doc.stone(), 96), misfit);

    sink.clear();
    sink.script = {Answer::Yes};
    offerIndexRounding(doc, keep96);
    EXPECT_EQ(sink.entries.size(), 1u);
    EXPECT_NEAR(gearError(*doc.stone(), 96), 0, 1e-9);
    EXPECT_EQ(doc.facetCount, 73);
    EXPECT_NEAR(doc.lengthWidth, 1.1, 0.02);

    // A gear too coarse for the design fails and leaves the stone as it was
    // before the rounding, gear change included.
    doc.model().put(std::make_unique<Stone>(stretched));
    sink.clear();
    sink.script = {Answer::Yes};
    offerIndexRounding(doc, [](const IndexGearDialog& start) {
        IndexGearDialog dialog = start;
        dialog.teethEdited("4");
        return std::optional<IndexGearDialog>(dialog);
    });
    EXPECT_EQ(sink.texts().back(), "Cannot round indexes.");
    EXPECT_EQ(doc.stone()->gear, 4);
    EXPECT_EQ(doc.stone()->nFacet, stretched.nFacet);
    EXPECT_EQ(gearError(*doc.stone(), 96), misfit);
}

}  // namespace
}  // namespace brevix

namespace brevix {
namespace {

// A distance whose plane normalisation over- or underflows is a plane far
// from the stone: the facets miss, with the message for that, and nothing
// is cut off, asked or broken.
TEST(DesigningDocHugeDistances, APlaneBeyondDoublesMissesTheStone) {
    for (double ced : {1e308, 1e200, 1e160}) {
        RecordingSink sink;
        ScopedMessageSink scope{sink};
        CGemDoc doc{&sink};
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        const Stone before(*doc.stone());
        doc.pending().setSymmetry(8, 1);
        doc.pending().setAngle(41, false);
        doc.pending().setIndex(3, false);
        doc.pending().setCed(ced, false);
        doc.cutNewFacets();
        ASSERT_FALSE(sink.entries.empty()) << ced;
        EXPECT_EQ(sink.entries.back().text, "16 new facets missed stone") << ced;
        for (const auto& e : sink.entries) EXPECT_FALSE(e.question) << e.text;
        EXPECT_EQ(doc.stone()->nFacet, before.nFacet);
        for (int32_t i = 0; i < doc.stone()->nVertex; ++i)
            EXPECT_TRUE(std::isfinite(doc.stone()->vertices[i].x));
    }
}

}  // namespace
}  // namespace brevix
