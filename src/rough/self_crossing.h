#pragma once
// Whether a rough's surface passes through itself: two shells of a scan
// merged into one file, a fold left by a bad repair. Such a surface bounds
// no single solid, and the inside tests the fit relies on would answer at
// random where it crosses.
#include <optional>

#include "rough/ray_caster.h"
#include "rough/rough_fit.h"

namespace brevix::rough {

// A point where two triangles of `mesh` meet other than at the corners and
// edges they share, or nothing when none do. Crossings and flat overlaps no
// deeper than the rounding of a mesh file are let pass. `mesh` must be
// welded (a shared corner is one point); `tree` is its ray caster, whose
// boxes find the triangles near each other. Of several crossings, the one
// of the first two triangles in the mesh's order is named.
std::optional<Vec3> findSelfCrossing(const Mesh& mesh, const RayCaster& tree);

}  // namespace brevix::rough
