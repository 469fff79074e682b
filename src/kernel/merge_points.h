#pragma once
// Where many planes pass within rounding of one point (facets cut to meet,
// numbers written with six or eight decimals), a cut can leave a cluster of
// vertices a few billionths apart, joined by edges that no cutter could see.
// Vertices closer than EPS are one point to every check and to the next
// cut's classification, so they are merged into one: the edges between them
// go, and a facet whose outline shrinks to nothing goes with them.
#include <cstdint>
#include <span>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

struct PointMerge {
    // Old facet index -> new one, -1 for a facet that vanished; empty when
    // nothing was merged (the stone is then untouched).
    std::vector<int32_t> facetMap;
    // Facets of the design (not of the rough block) that vanished.
    int designFacetsDropped = 0;
    // Points closer than EPS were found but could not be made one without
    // breaking the polyhedron; the stone is untouched.
    bool refused = false;
    bool merged() const { return !facetMap.empty(); }
};

// Merges the vertices among `candidates` that lie closer than EPS to each
// other (every vertex when `candidates` is empty). A merged vertex sits at
// the mean of the points it replaces. The merge is applied only when the
// result is a whole polyhedron again (every outline one ring, every vertex
// on its planes within 3e-8); otherwise the stone is left as it was.
PointMerge mergeCoincidentPoints(Stone& stone, std::span<const int32_t> candidates);

// The vertices within twice EPS of the most recent cutting plane (by their
// `dist`): the only ones a cut can have brought within EPS of another.
std::vector<int32_t> verticesNearLastPlane(const Stone& stone);

}  // namespace brevix
