#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "document/gem_doc.h"
#include "document/pick_dialogs.h"
#include "document/tier_edit.h"
#include "intent/brilliant_intent.h"
#include "intent/intent_file.h"
#include "intent/intent_words.h"
#include "intent/point_resolution.h"
#include "intent/recut.h"
#include "intent_test_support.h"
#include "kernel/checks.h"
#include "platform/messages.h"
#include "brilliant_tiers.h"

namespace brevix {
namespace {


// The stone's vertex nearest to where the named facets meet: what the Meet
// Point dialog hands over.
Vec3 vertexWhere(CGemDoc& doc, std::vector<FacetRef> refs) {
    std::vector<Plane> planes;
    for (const FacetRef& ref : refs) planes.push_back(*planeOfRef(ref, doc.model().intent(), 96));
    const Vec3 meet = *meetOfPlanes(planes);
    const Stone& stone = *doc.stone();
    int32_t best = 0;
    for (int32_t v = 1; v < stone.nVertex; ++v)
        if (length(stone.vertices[v].pos() - meet) < length(stone.vertices[best].pos() - meet)) best = v;
    return stone.vertices[best].pos();
}

int32_t facetOf(CGemDoc& doc, FacetRef ref) {
    const Plane p = *planeOfRef(ref, doc.model().intent(), 96);
    return doc.stone()->facetByPlane(p.a, p.b, p.c);
}

// The edge of two facets, picked near the end where `nearFacets` meet, with
// the point moved `fraction` along it (of W or of its length).
Vec3 edgePoint(CGemDoc& doc, FacetRef a, FacetRef b, std::vector<FacetRef> nearFacets,
               const char* fraction, bool ofWidth) {
    Stone& stone = *doc.stone();
    const int32_t fa = facetOf(doc, a), fb = facetOf(doc, b);
    int32_t edge = -1;
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if ((e.f[0] == fa && e.f[1] == fb) || (e.f[0] == fb && e.f[1] == fa)) edge = j;
    }
    EXPECT_GE(edge, 0);
    PointOnEdge pick = PointOnEdge::onEdge(stone, edge, vertexWhere(doc, nearFacets));
    if (ofWidth)
        pick.fractionOfWidthEdited(fraction);
    else
        pick.fractionOfLengthEdited(fraction);
    return pick.selected();
}

void cut(CGemDoc& doc, double angle, double index, std::vector<Vec3> points, double ced = 0) {
    doc.pending().clearInfo();
    doc.pending().setAngle(angle, true);
    doc.pending().setIndex(index, true);
    if (ced > 0) doc.pending().setCed(ced, true);
    for (const Vec3& p : points) doc.pending().addPoint(p);
    ASSERT_TRUE(doc.pending().completeInfo());
    doc.cutNewFacets();
    doc.pending().clearInfo();
}

// The brilliant as a cutter builds it in the window: through its meets.
void cutBrilliant(CGemDoc& doc) {
    doc.pending().setSymmetry(8, 1);
    cut(doc, 90, 3, {}, 1.0);
    cut(doc, -40.75, 12, {{0, 0, -0.9085}});
    cut(doc, -42, 3, {vertexWhere(doc, {{G, 93}, {G, 3}, {P1, 96}})});
    cut(doc, 34.5, 12, {edgePoint(doc, {G, 9}, {G, 15}, {{G, 9}, {G, 15}, {P1, 12}}, "0.03", true)});
    cut(doc, 0, 96, {}, 0.32);
    cut(doc, 21.5, 6, {edgePoint(doc, {T, 96}, {C1, 96}, {{T, 96}, {C1, 96}, {C1, 12}}, "0.5", false)});
    cut(doc, 40, 3, {vertexWhere(doc, {{G, 93}, {G, 3}, {C1, 96}})});
}

TEST(DocumentIntent, TheWindowRecordsWhatEachCutWasAimedAt) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc doc{&sink};
    cutBrilliant(doc);
    EXPECT_EQ(doc.facetCount, 73);
    const DesignIntent& intent = doc.model().intent();
    ASSERT_EQ(intent.tiers.size(), 7u);
    for (const TierIntent& tier : intent.tiers) EXPECT_FALSE(tier.inferred);
    EXPECT_EQ(intent.tiers[G].depth, DepthRule::Typed);
    EXPECT_EQ(intent.tiers[P1].points[0].kind, PointKind::Centre);
    EXPECT_EQ(intent.tiers[P2].points[0].kind, PointKind::Meet);
    EXPECT_EQ(intent.tiers[C1].points[0].kind, PointKind::OnEdge);
    EXPECT_EQ(intent.tiers[C2].points[0].kind, PointKind::OnEdge);
    EXPECT_NEAR(intent.tiers[C2].points[0].fraction, 0.5, 1e-9);
    EXPECT_EQ(intent.tiers[C3].points[0].kind, PointKind::Meet);
    EXPECT_EQ(intent.tiers[C3].points[0].facets.size(), 3u);
    EXPECT_TRUE(sink.entries.empty()) << sink.entries[0].text;
}

TEST(DocumentIntent, EditTierRecutsByIntentAndOneUndoPutsItBack) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc doc{&sink};
    cutBrilliant(doc);
    const std::string before = designBytes(*doc.stone());
    const DesignIntent intentBefore = doc.model().intent();
    const auto meets = meetsOfFour(*doc.stone(), intentBefore);
    EXPECT_GE(meets.size(), 16u);

    const int32_t p1 = facetOf(doc, {P1, 12});
    const TierRow row{doc.stone(), p1, false};
    const TierEditFields shown = tierEditFields(*doc.stone(), p1);
    TierEditFields typed = shown;
    typed.angle = "39.75";
    const int cursor = doc.undoStack().cursor();
    applyTierEdit(doc, row, TierEditAction::Apply, shown, typed);
    EXPECT_EQ(doc.undoStack().cursor(), (cursor + 1) % UndoStack::SIZE);
    EXPECT_TRUE(sink.entries.empty()) << sink.entries[0].text;
    EXPECT_EQ(doc.facetCount, 73);
    const DesignIntent& after = doc.model().intent();
    EXPECT_LE(worstMeet(meets, after, 96), MEET_TOLERANCE);
    EXPECT_NEAR(std::fabs(doc.stone()->facetAngleOf(facetOf(doc, {P1, 12}))), 39.75, 1e-9);
    std::ostringstream report;
    EXPECT_TRUE(checkstone(*doc.stone(), report)) << report.str();

    doc.undo();
    EXPECT_EQ(designBytes(*doc.stone()), before);
    EXPECT_EQ(doc.model().intent(), intentBefore);
}

TEST(DocumentIntent, MainsTurnedUntilTheHalvesTakeThemAwayStayInTheIntentAndTheFile) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    CGemDoc doc{&sink};
    cutBrilliant(doc);
    const DesignIntent intentBefore = doc.model().intent();
    nameTier(*doc.stone(), intentBefore.tiers[P1], "P1");
    const int32_t p1 = facetOf(doc, {P1, 12});
    const TierRow row{doc.stone(), p1, false};
    const TierEditFields shown = tierEditFields(*doc.stone(), p1);
    TierEditFields typed = shown;
    typed.angle = "43";
    applyTierEdit(doc, row, TierEditAction::Apply, shown, typed);
    EXPECT_TRUE(sink.entries.empty()) << sink.entries[0].text;

    // The halves, still through the girdle meets of the steeper mains, now
    // take the mains away; the mains still end in the centre point.
    const DesignIntent& after = doc.model().intent();
    ASSERT_EQ(after.tiers.size(), intentBefore.tiers.size());
    EXPECT_EQ(after.tiers[P1].points, intentBefore.tiers[P1].points);
    EXPECT_LT(facetOf(doc, {P1, 12}), 0);
    // Saved with its intent and opened again, the design keeps the mains'
    // names and intent.
    const std::string text = writeIntentText(*doc.stone(), after);
    const std::vector<unsigned char> bytes(text.begin(), text.end());
    const IntentFileRead read = readIntentText(bytes);
    ASSERT_TRUE(read.problem.empty()) << read.problem;
    ASSERT_EQ(read.intent.tiers.size(), intentBefore.tiers.size());
    EXPECT_EQ(read.intent.tiers[P1].points, intentBefore.tiers[P1].points);
    EXPECT_EQ(read.intent.tiers[P1].names, std::vector<std::string>(8, "P1"));
    EXPECT_EQ(writeIntentText(read.stone, read.intent), text);

    doc.undo();
    EXPECT_EQ(doc.model().intent().tiers[P1].angle, -40.75);
}

}  // namespace
}  // namespace brevix
