#pragma once
// What a picked point is, in terms that survive re-cutting: the facets that
// meet there when it is a vertex, an edge and a fraction when it lies on an
// edge, the axis, or else the point itself.
#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// `stone` is the design the point was picked on; `intent` describes its planes.
PointDef namePoint(const Stone& stone, const DesignIntent& intent, Vec3 p);

// The facets whose planes pass through p (within the meet tolerance), named
// by tier and index; empty when one of them is not a tier of the intent.
std::vector<FacetRef> facetsMeetingAt(const Stone& stone, const DesignIntent& intent, Vec3 p);

}  // namespace brevix
