// Each command of the document is one transaction: the views and the form
// hear of its change once, however many steps it takes, and a kernel
// failure puts the design and the pending facet back as they were.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "design/sample_designs.h"
#include "design/tiers.h"
#include "document/cut_commands.h"
#include "document/gem_doc.h"
#include "document/preform_commands.h"
#include "document/stone_commands.h"
#include "document/tier_edit.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"

namespace brevix {
namespace {

class OneCommand : public ::testing::Test {
protected:
    void SetUp() override {
        doc.onDesignChanged = [this](DesignChanges kind, const void* sender) {
            ++updates;
            // The form shows the pending facet: it is told when that changed.
            if (kind & PendingChanged) ++formRedraws;
            lastSender = sender;
            // The views read the summary and the form as the change left them.
            facetsSeenByViews = doc.facetCount;
        };
    }
    void useRoundBrilliant() { doc.model().put(std::make_unique<Stone>(makeRoundBrilliant())); }
    void specify(double angle, double index, double ced) {
        doc.pending().setAngle(angle, false);
        doc.pending().setIndex(index, false);
        doc.pending().setCed(ced, false);
    }
    void resetCounts() { updates = formRedraws = 0; }

    RecordingSink sink;
    ScopedMessageSink scope{sink};
    CGemDoc doc{&sink};
    int updates = 0;
    int formRedraws = 0;
    int32_t facetsSeenByViews = -1;
    const void* lastSender = nullptr;
};

TEST_F(OneCommand, ACutIsAnnouncedOnceWithTheNewFacetsCounted) {
    doc.pending().setSymmetry(8, 1);
    const int view = 0;

    // The form's Cut Facet: the cut, then a fresh pending facet.
    resetCounts();
    specify(41, 3, 0.9);
    cutFromForm(doc, &view);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(formRedraws, 1);
    EXPECT_EQ(lastSender, &view);
    EXPECT_EQ(facetsSeenByViews, 16);
    EXPECT_FALSE(doc.pending().info.hasAngle);
    EXPECT_EQ(doc.undoStack().latest()->nFacet - doc.undoStack().latest()->nRough, 0);

    // Edit > Angle completing the facet cuts it: still one announcement.
    resetCounts();
    doc.pending().setIndex(3, false);
    doc.pending().setCed(0.95, false);
    angleCommand(doc, -41);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(formRedraws, 1);
    EXPECT_EQ(facetsSeenByViews, 32);

    // A cut that misses says so, once announced, with the design unchanged.
    resetCounts();
    sink.clear();
    specify(0, 96, 5);
    cutFromForm(doc, nullptr);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"1 new facet missed stone"}));
    EXPECT_EQ(facetsSeenByViews, 32);
}

TEST_F(OneCommand, CommandsOfTheMenusAndTheTierEditorAnnounceOnce) {
    useRoundBrilliant();
    resetCounts();
    transferCommand(doc);
    EXPECT_EQ(updates, 1);
    resetCounts();
    doc.undo();
    EXPECT_EQ(updates, 1);
    resetCounts();
    copyToPreformCommand(doc);
    EXPECT_EQ(updates, 1);
    resetCounts();
    deletePreformCommand(doc);
    EXPECT_EQ(updates, 1);

    // Uncut from the tier editor: the editor's command and the document's
    // uncut are one change.
    resetCounts();
    const int32_t before = doc.stone()->nFacet;
    applyTierEdit(doc, TierRow{doc.stone(), 40, false}, TierEditAction::Uncut, {}, {});
    EXPECT_LT(doc.stone()->nFacet, before);
    EXPECT_TRUE(doc.pending().info.recutPending);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(formRedraws, 1);
    EXPECT_EQ(facetsSeenByViews, doc.facetCount);

    // Nothing is announced from inside an open command.
    resetCounts();
    {
        DesignModel::Batch batch(doc.model());
        doc.model().announce(GeometryChanged);
        doc.pendingChanged();
        EXPECT_EQ(updates, 0);
        EXPECT_TRUE(doc.model().inBatch());
    }
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(doc.model().inBatch());
}

TEST_F(OneCommand, KernelFailurePutsBackTheDesignAndThePendingFacet) {
    // A command that had taken a tier out for re-cutting when the kernel
    // failed: neither the tier's removal nor the re-cut it prepared stays.
    useRoundBrilliant();
    const Stone before(*doc.stone());
    resetCounts();
    sink.clear();
    doc.pending().info.hasIndex = false;
    EXPECT_FALSE(doc.model().apply({.name = "Uncut", .change = [this](DesignModel::Draft& d) -> bool {
        Stone& s = d.stone();
        doc.prepareRecut(40);
        deleteTier(s, s.tierOf(40));
        throw KernelError("Internal error: v0->status illegal.");
    }}));
    ASSERT_FALSE(sink.entries.empty());
    EXPECT_EQ(sink.entries.back().text, "Internal error: v0->status illegal.");
    EXPECT_EQ(sink.entries.back().icon, Icon::Error);
    EXPECT_FALSE(doc.pending().info.recutPending);
    EXPECT_FALSE(doc.pending().info.hasIndex);
    EXPECT_EQ(doc.stone()->nFacet, before.nFacet);
    EXPECT_EQ(doc.stone()->nEdge, before.nEdge);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(facetsSeenByViews, before.nFacet - before.nRough);

    // A command the kernel gives up on half way reports false, leaves
    // nothing of its work and is still announced once.
    useRoundBrilliant();
    const Stone whole(*doc.stone());
    resetCounts();
    sink.clear();
    doc.pending().clearInfo();
    EXPECT_FALSE(doc.model().apply({.name = "Half done", .change = [this](DesignModel::Draft& d) -> bool {
        Stone& s = d.stone();
        doc.pending().setAngle(12, false);
        s.facets[s.nFacet - 1].d = 0.25;
        s.nFacet -= 1;
        throw KernelError("Internal error: half done");
    }}));
    EXPECT_EQ(doc.stone()->nFacet, whole.nFacet);
    EXPECT_EQ(doc.stone()->facets[whole.nFacet - 1].d, whole.facets[whole.nFacet - 1].d);
    EXPECT_FALSE(doc.pending().info.hasAngle);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Internal error: half done"}));
    EXPECT_EQ(updates, 1);
    // Undo gives back the design before the failed command, not a half-done one.
    doc.undo();
    EXPECT_EQ(doc.stone()->nFacet, whole.nFacet);
}

}  // namespace
}  // namespace brevix
