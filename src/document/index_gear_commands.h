#pragma once
// Edit > Index Gear: the facets keep their planes, only their indexes
// change. And the end of a Scale: the ranking of common gears, and on Yes
// the gear choice and the rounding of every facet to a whole notch.
#include <functional>
#include <optional>

#include "facet_placement/index_gear.h"

namespace brevix {

class CGemDoc;

// Shows the Index Gear dialog starting from the given state; the state on
// OK, nothing on Cancel.
using GearDialogRunner = std::function<std::optional<IndexGearDialog>(const IndexGearDialog&)>;

void indexGearCommand(CGemDoc& doc, const GearDialogRunner& runDialog);
// The gear is the design's own, saved with it, but no undo entry keeps it.
void setIndexGear(CGemDoc& doc, int gear, double offset);
void offerIndexRounding(CGemDoc& doc, const GearDialogRunner& runDialog);
// The same with the gear chosen by `chooseGear` (the window's Index Gear
// dialog, which sets the gear itself on OK).
void offerIndexRounding(CGemDoc& doc, const std::function<void()>& chooseGear);

}  // namespace brevix
