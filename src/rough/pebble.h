#pragma once
// A rough that looks scanned: a lumpy, slightly noisy pebble, the same for
// the same seed. For tests, benchmarks and pictures of the fit.
#include <cstdint>

#include "rough/rough_fit.h"

namespace brevix::rough {

// About `triangles` triangles (at least a few dozen), about `sizeMm` long,
// closed and facing outward, centred near the origin.
Mesh pebbleMesh(uint64_t seed, int triangles, double sizeMm);

}  // namespace brevix::rough
