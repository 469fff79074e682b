#pragma once
// The corners of one facet in order around it, as the binary format, the
// exports and the thumbnails write them.
#include <cstdint>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// Vertex indices of the corners of `facet`, chained from its edges taken in
// edge-array order (each edge as (v[0], v[1]) when the facet is f[0], else reversed).
std::vector<int32_t> facetRing(const Stone& stone, int32_t facet);
// The same into a buffer that callers reuse facet after facet.
void facetRing(const Stone& stone, int32_t facet, std::vector<int32_t>& ring);

}  // namespace brevix
