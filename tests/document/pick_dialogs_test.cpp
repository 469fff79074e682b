// The pick dialogs without their widgets: the field texts of the Facet
// dialog, its buttons and its loop until the pending facet is complete,
// choosing a point on an edge or between two points, and reading back the
// coordinates of the Pierce dialog.
#include <gtest/gtest.h>

#include <cmath>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "document/gem_doc.h"
#include "document/pick_dialogs.h"
#include "intent/point_naming.h"
#include "platform/messages.h"

namespace brevix {
namespace {

int32_t facetNamed(const Stone& stone, const std::string& name, double index) {
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facetName(i) == name && std::fabs(stone.facetIndexOf(i) - index) < 1e-6) return i;
    return -1;
}

class PickDialogs : public ::testing::Test {
protected:
    RecordingSink sink;
    ScopedMessageSink scope{sink};
    CGemDoc doc{&sink};
    Stone* stone = nullptr;

    void SetUp() override {
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        stone = doc.stone();
    }
};

TEST_F(PickDialogs, FacetFieldsOfAMainATableAndAGirdleFacet) {
    const int32_t main = facetNamed(*stone, "C1", 96);
    FacetDialogFields f = facetDialogFields(*stone, main, {0.1, -0.25, 0.3});
    EXPECT_EQ(f.point[0], " 0.10000000");
    EXPECT_EQ(f.point[1], "-0.25000000");
    EXPECT_EQ(f.angle, " 34.500000\xB0");
    EXPECT_EQ(f.index, " 96.00");
    EXPECT_EQ(f.zIntercept, " 0.73074559");
    EXPECT_EQ(f.ced, " 0.60222658");
    EXPECT_EQ(f.area, "0.0220 W\xB2");
    EXPECT_EQ(f.edit.name, "C1");
    EXPECT_EQ(f.edit.instruction, "Level girdle");
    EXPECT_EQ(f.edit.angle, " 34.50\xB0");

    const int32_t girdle = facetNamed(*stone, "G", 3);
    f = facetDialogFields(*stone, girdle, {});
    EXPECT_EQ(f.zIntercept, "infinity");
    EXPECT_EQ(f.angle, " 90.000000\xB0");
    EXPECT_EQ(f.edit.angle, " N/A");
    EXPECT_EQ(f.ced, " 1.00000000");
}

TEST_F(PickDialogs, CopiesLoopUntilThePendingFacetIsComplete) {
    const int32_t main = facetNamed(*stone, "C1", 96);
    const FacetDialogFields shown = facetDialogFields(*stone, main, {});
    EXPECT_TRUE(applyFacetDialogResult(doc, main, {}, FacetDialogResult::CopyAngle, shown,
                                       shown.edit));
    EXPECT_DOUBLE_EQ(doc.pending().info.angle, 34.5);
    EXPECT_TRUE(applyFacetDialogResult(doc, main, {}, FacetDialogResult::CopyIndex, shown,
                                       shown.edit));
    EXPECT_DOUBLE_EQ(doc.pending().info.index, 96);
    EXPECT_FALSE(applyFacetDialogResult(doc, main, {}, FacetDialogResult::CopyCed, shown,
                                        shown.edit));
    EXPECT_TRUE(doc.pending().info.complete());
    EXPECT_DOUBLE_EQ(doc.pending().info.ced, stone->facets[main].d);

    // The z-axis intercept is a point the plane passes through: with the
    // angle and index known it completes the facet too.
    doc.pending().clearInfo();
    doc.pending().setAngle(34.5, false);
    doc.pending().setIndex(96, false);
    EXPECT_FALSE(applyFacetDialogResult(doc, main, {}, FacetDialogResult::CopyZIntercept, shown,
                                        shown.edit));
    ASSERT_EQ(doc.pending().info.nPoints, 1);
    EXPECT_NEAR(doc.pending().info.ced, stone->facets[main].d, 1e-12);

    // A girdle facet never meets the axis: a message, no point, no loop.
    doc.pending().clearInfo();
    const int32_t girdle = facetNamed(*stone, "G", 3);
    EXPECT_FALSE(applyFacetDialogResult(doc, girdle, {}, FacetDialogResult::CopyZIntercept,
                                        shown, shown.edit));
    EXPECT_EQ(doc.pending().info.nPoints, 0);
    EXPECT_EQ(sink.texts().back(), "Girdle facets don't hit Z axis");
}

TEST_F(PickDialogs, UseToCutApplyAndDeleteFacet) {
    const int32_t main = facetNamed(*stone, "C1", 96);
    const FacetDialogFields shown = facetDialogFields(*stone, main, {0, 0.7, 0.2});
    EXPECT_FALSE(applyFacetDialogResult(doc, main, {0, 0.7, 0.2}, FacetDialogResult::UseToCut,
                                        shown, shown.edit));
    ASSERT_EQ(doc.pending().info.nPoints, 1);
    EXPECT_EQ(doc.pending().info.points[0].y, 0.7);

    // Apply names this facet alone, by the first word of the field.
    TierEditFields typed = shown.edit;
    typed.name = "K 1";
    applyFacetDialogResult(doc, main, {}, FacetDialogResult::Apply, shown, typed);
    EXPECT_EQ(stone->facetName(main), "K");
    EXPECT_EQ(stone->facetName(facetNamed(*stone, "C1", 12)), "C1");
    EXPECT_TRUE(doc.model().isModified());

    const int32_t before = stone->nFacet;
    applyFacetDialogResult(doc, main, {}, FacetDialogResult::DeleteFacet, shown, shown.edit);
    stone = doc.stone();
    EXPECT_EQ(stone->nFacet, before - 1);
    ASSERT_TRUE(doc.undoStack().latest());
    EXPECT_EQ(doc.undoStack().latest()->nFacet, before);  // the snapshot before the deletion
    EXPECT_EQ(doc.facetCount, before - 1 - stone->nRough);
}

TEST_F(PickDialogs, PointOnAnEdgeByFractions) {
    // An edge of the table, picked a quarter of the way from its end 1.
    const int32_t edge = 0;
    const Vec3 a = stone->edgeEnd(edge, 0), b = stone->edgeEnd(edge, 1);
    PointOnEdge p = PointOnEdge::onEdge(*stone, edge, a * 0.25 + b * 0.75);
    EXPECT_EQ(p.nearEnd.x, b.x);
    EXPECT_EQ(p.farEnd.x, a.x);
    EXPECT_NEAR(length(p.selected() - (a * 0.25 + b * 0.75)), 0, 1e-12);
    EXPECT_EQ(p.texts().fractionOfLength, " 0.25000000");

    EXPECT_TRUE(p.fractionOfLengthEdited("0.5"));
    EXPECT_NEAR(length(p.selected() - (a + b) * 0.5), 0, 1e-12);
    // One W from the near end, along the edge (beyond its far end).
    EXPECT_TRUE(p.fractionOfWidthEdited("1.0"));
    const double w = boundsOf(*doc.stone()).W;  // the pick reads the width without writing the stone
    EXPECT_NEAR(length(p.selected() - p.nearEnd), w, 1e-12);
    EXPECT_NEAR(length(p.selected() - p.farEnd), w - length(a - b), 1e-12);
    EXPECT_EQ(p.texts().fractionOfWidth, " 1.00000000");
    // Unreadable entries change nothing.
    const Vec3 kept = p.selected();
    EXPECT_FALSE(p.fractionOfLengthEdited("half"));
    EXPECT_FALSE(p.fractionOfWidthEdited(""));
    EXPECT_EQ(p.selected().x, kept.x);

    const PointOnEdge::Texts t = p.texts();
    // The edge is one of the girdle's uprights, 0.04 high on a stone 2 wide.
    EXPECT_EQ(t.length, " 0.040 =  0.020W");
    EXPECT_EQ(t.difference[2], "-0.040 = -0.020W");
    EXPECT_EQ(t.normalsAngle, "22.50\xB0");
}

TEST_F(PickDialogs, BetweenTwoPointsStartsAtPointOne) {
    PointOnEdge p = PointOnEdge::betweenPoints(*stone, {0, 0, 0.5}, {0, 1, 0.5});
    EXPECT_TRUE(p.between);
    EXPECT_EQ(p.s, 0);
    EXPECT_EQ(p.t, 1);
    EXPECT_EQ(p.selected().y, 0);
    EXPECT_EQ(p.texts().normalsAngle, "");
    p.fractionOfLengthEdited("0.25");
    EXPECT_DOUBLE_EQ(p.selected().y, 0.25);
    // The chosen point replaces the two it was chosen between.
    doc.pending().addPoint({0, 0, 0.5});
    doc.pending().addPoint({0, 1, 0.5});
    doc.pending().useBetweenPoint(p.selected());
    ASSERT_EQ(doc.pending().info.nPoints, 1);
    EXPECT_DOUBLE_EQ(doc.pending().info.points[0].y, 0.25);
}

TEST(PierceDialog, ReadsTheCoordinatesBack) {
    const Vec3 picked{0.5, -0.25, 0.125};
    const std::array<std::string, 3> shown = coordinateTexts(picked);
    EXPECT_EQ(shown[1], "-0.25000000");
    // A change within 1e-9 keeps the picked value, a larger one replaces it.
    std::optional<Vec3> read = readPierceCoordinates({shown[0], shown[1], "0.1250000009"}, picked);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->z, 0.125);
    read = readPierceCoordinates(coordinateTexts({0.5, -0.25, 1.0 / 3}), {0.5, -0.25, 1.0 / 3});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->z, 0.33333333);
    read = readPierceCoordinates({shown[0], shown[1], "0.4"}, picked);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->z, 0.4);
    EXPECT_EQ(read->x, 0.5);
    EXPECT_FALSE(readPierceCoordinates({shown[0], "", shown[2]}, picked));
    EXPECT_FALSE(readPierceCoordinates({"x", shown[1], shown[2]}, picked));
    EXPECT_STREQ(zoomButtonCaption(false), "&Zoom In");
    EXPECT_STREQ(zoomButtonCaption(true), "&Zoom Out");
}

}  // namespace
}  // namespace brevix

namespace brevix {
namespace {

// A 4-fold mirror design: eight girdle facets and four pavilion mains, the
// mains' corners on the girdle at indexes 12, 36, 60 and 84.
class MirrorPicks : public ::testing::Test {
protected:
    RecordingSink sink;
    ScopedMessageSink scope{sink};
    CGemDoc doc{&sink};

    void SetUp() override {
        auto stone = std::make_unique<Stone>();
        stone->gear = 96;
        cutTier(*stone, {"G", 90, 1.0, {6, 18, 30, 42, 54, 66, 78, 90}, ""});
        cutTier(*stone, {"P1", -41, 0.8, {96, 24, 48, 72}, ""});
        stone->symmetry = 4;
        stone->mirror = 1;
        doc.model().put(std::move(stone));
    }

    // The girdle's lower corner in the direction of the index.
    Vec3 corner(double index) const {
        const Stone& s = *doc.stone();
        const double az = index * TWO_PI / 96;
        for (int32_t v = 0; v < s.nVertex; ++v) {
            const Vec3 p = s.vertices[v].pos();
            if (p.z < 0 && std::hypot(p.x, p.y) > 0.5 &&
                std::fabs(std::remainder(std::atan2(p.x, p.y) - az, TWO_PI)) < 1e-6)
                return p;
        }
        ADD_FAILURE() << "no corner at " << index;
        return {};
    }

    // The depth the pending pavilion facet (-48°, index 9, 4-fold mirror:
    // 9, 15, 33, 39, 57, 63, 81, 87) gets through p.
    double depthThrough(Vec3 p) {
        doc.pending().clearInfo();
        doc.pending().setSymmetry(4, 1);
        doc.pending().setAngle(-48, true);
        doc.pending().setIndex(9, true);
        usePickedPoint(doc, p);
        EXPECT_TRUE(doc.pending().completeInfo());
        return doc.pending().info.ced;
    }
};

TEST_F(MirrorPicks, AMeetPickedAtAnImageOfThePointGivesTheBasePicksDepthAndMeet) {
    const double base = depthThrough(corner(12));
    EXPECT_GT(base, 0.5);
    // Picked where the facets at 33 and 39, 57 and 63, 81 and 87 will lie
    // (the corner at 84 between a turned facet and a mirrored one), the depth
    // is the base pick's, and so is the point the cut is aimed at.
    for (double index : {84.0, 36.0, 60.0}) {
        EXPECT_NEAR(depthThrough(corner(index)), base, 1e-12) << index;
        EXPECT_NEAR(length(doc.pending().info.points[0] - corner(12)), 0, 1e-12) << index;
    }
    // The cut records the point by the facets meeting there: the base
    // facet's meet, so a re-cut keeps it there.
    depthThrough(corner(84));
    const PointDef recorded = namePoint(*doc.stone(), doc.model().intent(), doc.pending().info.points[0]);
    ASSERT_EQ(recorded.kind, PointKind::Meet);
    EXPECT_EQ(recorded.facets, (std::vector<FacetRef>{{0, 6}, {0, 18}, {1, 96}, {1, 24}}));
    EXPECT_EQ(facetsMeetingText(doc, corner(12)), "G 6\xB7G 18\xB7P1 96\xB7P1 72");
    EXPECT_TRUE(sink.entries.empty()) << sink.entries[0].text;
}

TEST_F(MirrorPicks, PickDialogsNameTheFacetsThatMeetThere) {
    const Stone& s = *doc.stone();
    // Named as the cut list names them: the pavilion's indexes counted the other way.
    EXPECT_EQ(facetsMeetingText(doc, corner(84)), "G 78\xB7G 90\xB7P1 96\xB7P1 24");
    int32_t edge = -1;
    for (int32_t j = 0; j < s.nEdge && edge < 0; ++j) {
        const Edge& e = s.edges[j];
        if (s.facetName(e.f[0]) == "P1" && s.facetName(e.f[1]) == "G") edge = j;
        if (s.facetName(e.f[0]) == "G" && s.facetName(e.f[1]) == "P1") edge = j;
    }
    ASSERT_GE(edge, 0);
    const std::string words = edgeFacetsText(doc, edge);
    EXPECT_NE(words.find("P1 "), std::string::npos) << words;
    EXPECT_NE(words.find("G "), std::string::npos) << words;
    EXPECT_NE(words.find('\xB7'), std::string::npos) << words;
    for (int32_t f = s.nRough; f < s.nFacet; ++f)
        if (s.facetName(f) == "G" && std::fabs(s.facetIndexOf(f) - 30) < 1e-6) {
            EXPECT_EQ(facetText(doc, f), "G 30");
        }
    // Outside the stone nothing meets.
    EXPECT_EQ(facetsMeetingText(doc, {5, 5, 5}), "");
}

}  // namespace
}  // namespace brevix
