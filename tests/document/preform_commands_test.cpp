#include <gtest/gtest.h>

#include "design/sample_designs.h"
#include "document/gem_doc.h"
#include "document/preform_commands.h"
#include "platform/messages.h"

namespace brevix {
namespace {

class PreformCommands : public ::testing::Test {
protected:
    void SetUp() override {
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc.refreshSummary();
        doc.onDesignChanged = [this](DesignChanges, const void*) { ++updates; };
    }
    RecordingSink sink;
    ScopedMessageSink guard{sink};
    CGemDoc doc{&sink};
    int updates = 0;
};

TEST_F(PreformCommands, DoNothingWithoutAStone) {
    CGemDoc empty{&sink};
    deletePreformCommand(empty);
    copyToPreformCommand(empty);
    camPreformCommand(empty);
    editPreformCommand(empty);
    EXPECT_EQ(empty.stone(), nullptr);
    EXPECT_FALSE(empty.model().isModified());
}

TEST_F(PreformCommands, CopyAndDeleteAreUndoable) {
    copyToPreformCommand(doc);
    ASSERT_NE(doc.stone()->preform, nullptr);
    EXPECT_TRUE(doc.model().isModified());
    EXPECT_GT(updates, 0);

    deletePreformCommand(doc);
    EXPECT_EQ(doc.stone()->preform, nullptr);
    doc.undo();
    EXPECT_NE(doc.stone()->preform, nullptr);
    doc.undo();
    EXPECT_EQ(doc.stone()->preform, nullptr);
}

TEST_F(PreformCommands, CamPreformIsBuiltOnTheDesign) {
    camPreformCommand(doc);
    ASSERT_NE(doc.stone()->preform, nullptr);
    EXPECT_GT(doc.stone()->preform->nFacet, doc.stone()->preform->nRough);
    doc.undo();
    EXPECT_EQ(doc.stone()->preform, nullptr);
}

TEST_F(PreformCommands, EditSetsTheDesignAsideAndBringsItBackWithTheEditedPreform) {
    // Without a preform the mode does not start.
    Stone* design = doc.stone();
    editPreformCommand(doc);
    EXPECT_FALSE(editingPreform(doc));
    EXPECT_EQ(doc.stone(), design);

    copyToPreformCommand(doc);
    design = doc.stone();
    Stone* preform = design->preform.get();
    doc.model().setModifiedFlag(false);
    editPreformCommand(doc);
    ASSERT_TRUE(editingPreform(doc));
    EXPECT_EQ(doc.stone(), preform);
    EXPECT_EQ(doc.facetCount, preform->nFacet - preform->nRough);
    EXPECT_FALSE(doc.model().isModified());  // no snapshot taken

    // An edit of the preform, then an undo: the stone that comes back from
    // the ring is a different object and becomes the design's preform.
    deletePreformCommand(doc);  // takes a snapshot of the preform being edited
    doc.undo();
    Stone* edited = doc.stone();
    editPreformCommand(doc);
    EXPECT_FALSE(editingPreform(doc));
    EXPECT_EQ(doc.stone(), design);
    EXPECT_EQ(doc.stone()->preform.get(), edited);
}

TEST_F(PreformCommands, HiddenLinesToggles) {
    EXPECT_FALSE(doc.hiddenLines);
    hiddenLinesCommand(doc);
    EXPECT_TRUE(doc.hiddenLines);
    hiddenLinesCommand(doc);
    EXPECT_FALSE(doc.hiddenLines);
    EXPECT_EQ(updates, 2);
    EXPECT_FALSE(doc.model().isModified());
}

}  // namespace
}  // namespace brevix

namespace brevix {
namespace {

// The design model only notes what it has to say; the document shows it
// through the sink it was given, before the views hear of the change, and
// nothing goes through any other sink.
TEST(DocumentNotes, ShownThroughTheDocumentsOwnSinkBeforeTheViewsUpdate) {
    RecordingSink elsewhere;
    ScopedMessageSink guard{elsewhere};
    RecordingSink own;
    CGemDoc doc{&own};
    doc.setSink(&own);
    doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
    copyToPreformCommand(doc);
    size_t shownAtUpdate = 99;
    doc.onDesignChanged = [&](DesignChanges, const void*) { shownAtUpdate = own.entries.size(); };
    copyToPreformCommand(doc);
    EXPECT_EQ(own.texts(), std::vector<std::string>{"Existing preform deleted."});
    EXPECT_EQ(own.entries[0].icon, Icon::Information);
    EXPECT_EQ(shownAtUpdate, 1u);
    EXPECT_TRUE(elsewhere.entries.empty());
    EXPECT_TRUE(doc.stone()->diagnostics().empty());
}

}  // namespace
}  // namespace brevix
