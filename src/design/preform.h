#pragma once
// The preform: a simpler stone, usually the girdle outline and one side,
// that is cut first. The design owns it; the instruction text lists it first.
#include <memory>

#include "kernel/stone.h"

namespace brevix {

void deletePreform(Stone& design);

// The preform becomes the source's girdle outline: a copy of the source
// without the facets cut after its last girdle facet, topped at the design's
// height when the design is lower than the rough block. `source` may be the
// design itself.
void copyToPreform(Stone& design, const Stone& source);

// Builds a preform for machine cutting: the design's girdle outline with a
// pyramid-like pavilion, fitted from outside to the design's pavilion.
// Returns 1 when the design has no crown or pavilion facets, else 0.
int makeCamPreform(Stone& design);

// The "Edit preform" mode of the document. Entering moves the design aside
// into `hidden` and makes its preform the current stone (returns false and
// changes nothing when there is no preform). Leaving gives the current stone
// back to the design as its preform and makes the design current again.
// While the mode is on, the design in `hidden` holds no preform: the current
// stone is it.
bool enterPreformEdit(std::unique_ptr<Stone>& current, std::unique_ptr<Stone>& hidden);
void leavePreformEdit(std::unique_ptr<Stone>& current, std::unique_ptr<Stone>& hidden);

}  // namespace brevix
