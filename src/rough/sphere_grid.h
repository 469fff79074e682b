#pragma once
// A closed mesh over a grid of latitudes and longitudes: the ellipsoid shape
// and the pebble are both a sphere pushed out or in, direction by direction.
#include <functional>

#include "rough/rough_fit.h"

namespace brevix::rough {

// `place` maps each unit direction to its point, called from the south pole
// ring by ring to the north pole (a seeded caller relies on that order);
// `stacks` bands between the poles, `slices` points around each ring.
Mesh sphereGridMesh(int stacks, int slices, const std::function<Vec3(Vec3)>& place);

}  // namespace brevix::rough
