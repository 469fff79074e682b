#pragma once
// Making a design the optimiser found the document's design: one undo
// entry named `name` ("Optimise", "Retarget"), so that one Undo goes back
// to the design it started from.
#include <string>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

class CGemDoc;

void applyDesignWithIntent(CGemDoc& doc, const Stone& design, const DesignIntent& intent, const std::string& name);

}  // namespace brevix
