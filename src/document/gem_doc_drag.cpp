// Dragging a tier's angle or depth, and taking a design re-cut elsewhere.
#include <cmath>
#include <memory>

#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {

bool CGemDoc::beginTierDrag(int32_t facet) {
    drag_.reset();
    dragProblems_.clear();
    if (!stone_ || facet < 0 || facet >= stone_->nFacet) return false;
    const DesignIntent intent = designIntent();
    const int32_t tier = intentTierOfFacet(*stone_, intent, facet);
    if (tier < 0) return false;
    drag_ = TierDrag{Stone(*stone_), intent, tier, false};
    return true;
}

int32_t CGemDoc::dragTier() const { return drag_ ? drag_->tier : -1; }

const TierIntent* CGemDoc::dragStartTier() const {
    return drag_ ? &drag_->intent.tiers[drag_->tier] : nullptr;
}

bool CGemDoc::dragStep(const TierChange& change) {
    if (!drag_ || !stone_) return false;
    RecutResult cut = recutByIntent(drag_->start, drag_->intent, change, meetTolerance_);
    dragProblems_ = std::move(cut.problems);
    // A step the tier cannot take is refused: the design stays at the last
    // step it could, and the pane says why it stopped there.
    if (cut.refused) {
        updateAllViews();
        return false;
    }
    // The first step that changes something keeps the start for Undo; the
    // steps after it only replace the design in hand.
    if (!drag_->snapshotTaken) {
        saveUndo();
        drag_->snapshotTaken = true;
    }
    setStone(std::make_unique<Stone>(std::move(cut.stone)));
    recordedIntent = std::move(cut.intent);
    refreshSummaryValues();
    updateAllViews();
    return true;
}

bool CGemDoc::dragTierAngle(double shownAngle) {
    if (!drag_) return false;
    TierChange change;
    change.tier = drag_->tier;
    change.setAngle = true;
    // The side of the girdle stays the tier's, as in Edit Tier.
    change.angle = drag_->intent.tiers[drag_->tier].angle < 0 ? -std::fabs(shownAngle) : shownAngle;
    return dragStep(change);
}

bool CGemDoc::dragTierDepth(double ced) {
    if (!drag_ || !(ced > 0)) return false;
    TierChange change;
    change.tier = drag_->tier;
    change.setCed = true;
    change.ced = ced;
    return dragStep(change);
}

void CGemDoc::endTierDrag() {
    if (!drag_) return;
    drag_.reset();
    const std::vector<std::string> problems = std::move(dragProblems_);
    dragProblems_.clear();
    Diagnostics notes;
    for (const std::string& problem : problems) notes.warning(DiagCode::IntentNotKept, problem);
    showNotes(notes);
}

bool CGemDoc::takeRecut(RecutResult cut) {
    showNotes(cut.problemNotes());
    // A refused re-cut is only told: what it would leave is no design.
    if (cut.refused) return false;
    saveUndo();
    setStone(std::make_unique<Stone>(std::move(cut.stone)));
    recordedIntent = std::move(cut.intent);
    refreshSummaryValues();
    updateAllViews();
    return true;
}

}  // namespace brevix
