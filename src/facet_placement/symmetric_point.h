#pragma once
// A point picked on a symmetric design for the pending facet: the cutter
// sets the facet at its base index and the symmetry places the others, so
// a point picked where another facet of the tier will lie (a mirror or
// rotated image of the point the base facet meets) stands for that image.
#include "facet_placement/new_facet_info.h"
#include "kernel/stone.h"

namespace brevix {

// The image of `p` at the info's base facet: where the facet of the tier
// that reaches p the farthest is the base one, p itself; otherwise p turned
// (or mirrored) by the symmetry that takes that facet onto the base one,
// at the stone's corner there when one is that close. The depth through the
// image at the base index is the depth at which the tier just reaches p.
Vec3 pointAtBaseFacet(const Stone& stone, const NewFacetInfo& info, Vec3 p);

}  // namespace brevix
