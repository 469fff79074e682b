#include "document/tier_drag.h"

#include <cmath>

#include "design/tiers.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {

bool TierDrag::begin(int32_t facet) {
    drag_.reset();
    problems_.clear();
    const Stone* design = doc_.stone();
    if (!design || facet < 0 || facet >= design->nFacet) return false;
    const DesignIntent intent = doc_.model().intent();
    const int32_t tier = intentTierOfFacet(*design, intent, facet);
    if (tier < 0) return false;
    drag_ = Start{Stone(*design), intent, tier, "Drag " + tierName(*design, facet), false};
    return true;
}

bool TierDrag::step(const TierChange& change) {
    if (!drag_ || !doc_.stone()) return false;
    DesignModel& model = doc_.model();
    RecutResult cut = recutByIntent(drag_->stone, drag_->intent, change, model.meetTolerance());
    problems_ = std::move(cut.problems);
    // A step the tier cannot take is refused: the design stays at the last
    // step it could, and the pane says why it stopped there.
    if (cut.refused) {
        model.announce(GeometryChanged);
        return false;
    }
    // The first step that changes something keeps the start for Undo under
    // the drag's name; the steps after it only replace the design in hand.
    model.apply({.name = drag_->name,
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

bool TierDrag::toAngle(double shownAngle) {
    if (!drag_) return false;
    TierChange change;
    change.tier = drag_->tier;
    change.setAngle = true;
    // The side of the girdle stays the tier's, as in Edit Tier.
    change.angle = drag_->intent.tiers[drag_->tier].angle < 0 ? -std::fabs(shownAngle) : shownAngle;
    return step(change);
}

bool TierDrag::toDepth(double ced) {
    if (!drag_ || !(ced > 0)) return false;
    TierChange change;
    change.tier = drag_->tier;
    change.setCed = true;
    change.ced = ced;
    return step(change);
}

void TierDrag::end() {
    if (!drag_) return;
    drag_.reset();
    const std::vector<std::string> problems = std::move(problems_);
    problems_.clear();
    Diagnostics notes;
    for (const std::string& problem : problems) notes.warning(DiagCode::IntentNotKept, problem);
    doc_.showNotes(notes);
    // The pending facet is previewed again, and the tiers listed as they are now.
    doc_.pendingChanged();
}

}  // namespace brevix
