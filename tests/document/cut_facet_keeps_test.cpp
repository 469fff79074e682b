// What the Cut Facet form keeps when a cut does not go in as asked (facets
// missed the stone, the preform question was cancelled), what it forgets
// when the points a value was solved from go, and the saved state of the
// design as Undo and Redo step back to it and away from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/sample_designs.h"
#include "document/cut_commands.h"
#include "document/gem_doc.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {
namespace {

class CutFacetKeeps : public ::testing::Test {
protected:
    RecordingSink sink;
    ScopedMessageSink scope{sink};
    CGemDoc doc{&sink};

    // Typed into the form as the cutter would.
    void type(const char* angle, const char* index, const char* ced) {
        doc.pending().angleFieldEdited(angle);
        doc.pending().indexFieldEdited(index);
        doc.pending().cedFieldEdited(ced);
    }
    void useRoundBrilliant() {
        doc.model().openDesign(std::make_unique<Stone>(makeRoundBrilliant()), std::nullopt);  // as an open leaves it
        doc.model().setModifiedFlag(false);
    }
    // Saved as File > Save does it.
    void save() {
        const std::string path = ::testing::TempDir() + "cut_facet_keeps.asc";
        doc.files().saveType = FileType::Asc;
        ASSERT_TRUE(doc.files().OnSaveDocument(path));
        EXPECT_FALSE(doc.model().isModified());
    }
};

TEST_F(CutFacetKeeps, FacetsThatMissTheStoneLeaveWhatWasTyped) {
    useRoundBrilliant();
    type("45", "3", "5.0");
    cutFromForm(doc, nullptr);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"16 new facets missed stone"});
    const CutFacetFormTexts texts = doc.pending().formTexts();
    EXPECT_EQ(texts.angle, "45.000000");
    EXPECT_EQ(texts.index, "3.000000");
    EXPECT_EQ(texts.ced, "5.00000000");
    EXPECT_EQ(texts.caption, "Cut Facet");

    // One value corrected, and the tier goes in; then the form is fresh.
    sink.clear();
    sink.script = {Answer::No};  // facets it cuts off need not be kept
    doc.pending().cedFieldEdited("0.6");
    const int before = doc.facetCount;
    cutFromForm(doc, nullptr);
    for (const std::string& text : sink.texts()) EXPECT_EQ(text.find("missed"), std::string::npos);
    EXPECT_NE(doc.facetCount, before);
    EXPECT_FALSE(doc.pending().info.hasAngle || doc.pending().info.hasIndex || doc.pending().info.hasCed);

    // Edit > Angle... keeps the values the same way.
    sink.clear();
    doc.pending().setIndex(3, false);
    doc.pending().setCed(5.0, false);
    angleCommand(doc, 45);
    EXPECT_EQ(sink.texts().size(), 1u);
    EXPECT_TRUE(doc.pending().info.complete());
}

TEST_F(CutFacetKeeps, CancelOnThePreformQuestionWithdrawsTheCutButNotTheValues) {
    doc.pending().setSymmetry(8, 0);
    type("20", "0", "0.9");
    cutFromForm(doc, nullptr);
    ASSERT_EQ(doc.facetCount, 8);
    sink.script = {Answer::Cancel};
    doc.pending().angleFieldEdited("0");
    doc.pending().cedFieldEdited("0.3");
    doc.pending().info.nPoints = 0;
    const std::string pointsBefore = doc.pending().formTexts().points;
    cutFromForm(doc, nullptr);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.entries[0].question);
    EXPECT_EQ(doc.facetCount, 8);  // the cut is withdrawn
    const CutFacetFormTexts texts = doc.pending().formTexts();
    EXPECT_EQ(texts.angle, "0.000000");
    EXPECT_EQ(texts.ced, "0.30000000");
    EXPECT_EQ(texts.points, pointsBefore);
    EXPECT_EQ(texts.caption, "Cut Facet");
    EXPECT_EQ(doc.pending().info.symmetry, 8);

    // Pressing again and keeping the facets as a preform cuts it.
    sink.clear();
    sink.script = {Answer::Yes};
    cutFromForm(doc, nullptr);
    EXPECT_EQ(doc.facetCount, 1);
    EXPECT_FALSE(doc.pending().info.hasAngle || doc.pending().info.hasCed);
}

TEST_F(CutFacetKeeps, BetweenForgetsTheValuesSolvedFromTwoPoints) {
    useRoundBrilliant();
    // Two points on the plane of a crown facet, and the facet's index.
    const Stone& stone = *doc.stone();
    int32_t crown = stone.nRough;
    while (stone.facetAngleOf(crown) < 10 || stone.facetAngleOf(crown) > 80) ++crown;
    const Facet& f = stone.facets[crown];
    const Vec3 n = f.normal();
    const Vec3 across = cross(n, Vec3{0, 0, 1}) * (1 / length(cross(n, Vec3{0, 0, 1})));
    const Vec3 down = cross(n, across);
    const Vec3 foot = n * f.d;
    const Vec3 p1 = foot + across * 0.05 + down * 0.05, p2 = foot - down * 0.05;
    doc.pending().indexFieldEdited(strprintf("%.6f", stone.facetIndexOf(crown)));
    doc.pending().pointsFieldEdited(strprintf("%.8f %.8f %.8f\n%.8f %.8f %.8f", p1.x, p1.y, p1.z, p2.x, p2.y, p2.z));
    CutFacetFormTexts texts = doc.pending().formTexts();
    ASSERT_EQ(texts.caption, "Cut Facet");  // angle and depth solved
    ASSERT_FALSE(texts.angle.empty());
    ASSERT_TRUE(texts.betweenEnabled);

    doc.pending().useBetweenPoint((p1 + p2) * 0.5);
    texts = doc.pending().formTexts();
    EXPECT_EQ(texts.caption, "Apply");  // one point and an index fix no plane
    EXPECT_EQ(texts.angle, "");
    EXPECT_EQ(texts.ced, "");
    EXPECT_EQ(texts.index, indexFieldText(stone.facetIndexOf(crown)));  // typed, so kept
    EXPECT_EQ(doc.pending().info.nPoints, 1);
    const int before = doc.facetCount;
    cutFromForm(doc, nullptr);  // Enter now cuts nothing
    EXPECT_EQ(doc.facetCount, before);

    // A typed angle is the cutter's own, and stays when a point goes.
    doc.pending().clearInfo();
    doc.pending().angleFieldEdited(strprintf("%.6f", stone.facetAngleOf(crown)));
    doc.pending().pointsFieldEdited(strprintf("%.8f %.8f %.8f\n%.8f %.8f %.8f", p1.x, p1.y, p1.z, p2.x, p2.y, p2.z));
    ASSERT_EQ(doc.pending().formTexts().caption, "Cut Facet");  // index and depth solved
    doc.pending().pointsFieldEdited(strprintf("%.8f %.8f %.8f", p1.x, p1.y, p1.z));
    texts = doc.pending().formTexts();
    EXPECT_EQ(texts.angle, angleFieldText(stone.facetAngleOf(crown)));
    EXPECT_EQ(texts.index, "");
    EXPECT_EQ(texts.caption, "Apply");
}

TEST_F(CutFacetKeeps, UndoBackToTheSavedDesignIsUnchanged) {
    useRoundBrilliant();
    EXPECT_FALSE(doc.model().isModified());
    type("45", "3", "0.6");
    cutFromForm(doc, nullptr);
    EXPECT_TRUE(doc.model().isModified());
    doc.undo();
    EXPECT_FALSE(doc.model().isModified());  // Exit need not ask
    doc.redo();
    EXPECT_TRUE(doc.model().isModified());
    doc.undo();
    type("45", "3", "0.61");
    cutFromForm(doc, nullptr);  // a new branch: the old redo state is gone
    EXPECT_TRUE(doc.model().isModified());
    doc.undo();
    EXPECT_FALSE(doc.model().isModified());

    // Saved after a cut: undoing that cut is a change, redoing it is not.
    type("45", "3", "0.62");
    cutFromForm(doc, nullptr);
    save();
    doc.undo();
    EXPECT_TRUE(doc.model().isModified());
    doc.redo();
    EXPECT_FALSE(doc.model().isModified());

    // A change no snapshot records stays a change whatever Undo does.
    doc.model().setModifiedFlag();
    doc.undo();
    doc.redo();
    EXPECT_TRUE(doc.model().isModified());

    // Undo past the ring's oldest snapshot gives a fresh block, never the saved design.
    save();
    for (int k = 0; k < UndoStack::SIZE + 2; ++k) doc.undo();
    EXPECT_TRUE(doc.model().isModified());
}

}  // namespace
}  // namespace brevix
