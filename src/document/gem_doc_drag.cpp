// Dragging a tier's angle or depth, and taking a design re-cut elsewhere.
#include <cmath>
#include <memory>

#include "design/tiers.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {

bool CGemDoc::beginTierDrag(int32_t facet) {
    drag_.reset();
    dragProblems_.clear();
    const Stone* design = stone();
    if (!design || facet < 0 || facet >= design->nFacet) return false;
    const DesignIntent intent = designIntent();
    const int32_t tier = intentTierOfFacet(*design, intent, facet);
    if (tier < 0) return false;
    drag_ = TierDrag{Stone(*design), intent, tier, "Drag " + tierName(*design, facet), false};
    return true;
}

int32_t CGemDoc::dragTier() const { return drag_ ? drag_->tier : -1; }

const TierIntent* CGemDoc::dragStartTier() const {
    return drag_ ? &drag_->intent.tiers[drag_->tier] : nullptr;
}

bool CGemDoc::dragStep(const TierChange& change) {
    if (!drag_ || !stone()) return false;
    RecutResult cut = recutByIntent(drag_->start, drag_->intent, change, model_.meetTolerance());
    dragProblems_ = std::move(cut.problems);
    // A step the tier cannot take is refused: the design stays at the last
    // step it could, and the pane says why it stopped there.
    if (cut.refused) {
        model_.announce(GeometryChanged);
        return false;
    }
    // The first step that changes something keeps the start for Undo under
    // the drag's name; the steps after it only replace the design in hand.
    model_.apply({.name = drag_->name,
                  .kind = GeometryChanged,
                  .change =
                      [&](DesignModel::Draft& d) {
                          d.replace(std::move(cut.stone));
                          d.intent() = std::move(cut.intent);
                          return true;
                      },
                  .keep = drag_->kept ? DesignModel::Keep::None : DesignModel::Keep::Snapshot});
    drag_->kept = true;
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
    // The pending facet is previewed again, and the tiers listed as they are now.
    pendingChanged();
}

bool CGemDoc::takeRecut(RecutResult cut, const std::string& name) {
    showNotes(cut.problemNotes());
    // A refused re-cut is only told: what it would leave is no design.
    if (cut.refused) return false;
    return model_.apply({.name = name, .kind = GeometryChanged, .change = [&](DesignModel::Draft& d) {
                             d.replace(std::move(cut.stone));
                             d.intent() = std::move(cut.intent);
                             return true;
                         }});
}

}  // namespace brevix
