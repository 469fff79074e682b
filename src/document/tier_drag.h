#pragma once
// Dragging a tier's angle or depth in the Design Figures pane. Every step
// re-cuts by intent from the design as it was when the drag began, so steps
// leave no drift and a tier cut away at one step is back at the next; the
// views follow each step, and the whole drag is one Undo.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "intent/recut.h"
#include "kernel/stone.h"

namespace brevix {

class CGemDoc;

// A drag of one tier of the document's design, from its first step to its end.
class TierDrag {
public:
    explicit TierDrag(CGemDoc& doc) : doc_(doc) {}

    // False when the facet's tier has no intent to re-cut by.
    bool begin(int32_t facet);
    bool active() const { return drag_.has_value(); }
    // The tier being dragged (its place in the intent) and its values at the start.
    int32_t tier() const { return drag_ ? drag_->tier : -1; }
    const TierIntent* startTier() const { return drag_ ? &drag_->intent.tiers[drag_->tier] : nullptr; }
    // One step: the angle as the cut list shows it, or the centre-to-facet
    // distance. False when nothing could be re-cut, or the tier cannot take
    // the step (the design then stays at the last step it could).
    bool toAngle(double shownAngle);
    bool toDepth(double ced);
    // Why the last step could not keep every tier's intent (none: it could).
    const std::vector<std::string>& problems() const { return problems_; }
    // The end of the drag; the last step's problems are told once.
    void end();

private:
    bool step(const TierChange& change);

    struct Start {
        Stone stone;
        DesignIntent intent;
        int32_t tier = -1;
        std::string name;   // the one undo entry of the whole drag
        bool kept = false;  // a step has kept the start for Undo
    };
    CGemDoc& doc_;
    std::optional<Start> drag_;
    std::vector<std::string> problems_;
};

}  // namespace brevix
