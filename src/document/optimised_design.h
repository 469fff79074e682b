#pragma once
// Making a design the optimiser found the document's design: one snapshot,
// so that one Undo goes back to the design it started from.
#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

class CGemDoc;

void applyDesignWithIntent(CGemDoc& doc, const Stone& design, const DesignIntent& intent);

}  // namespace brevix
