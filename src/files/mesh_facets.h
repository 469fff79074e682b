#pragma once
// The facets of a stone as polygons of a closed mesh, for the mesh exports:
// each ring runs counter-clockwise seen from outside the stone, so that
// every edge is walked once each way by the two facets that share it, and a
// fan over a ring avoids slivers where it can.
#include <cstdint>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// The corners of `facet` (as facetRing gives them), reversed if need be so
// that they turn counter-clockwise about the facet's outward normal.
void outwardRing(const Stone& stone, int32_t facet, std::vector<int32_t>& ring);

// The corner to fan a ring from: the one whose triangles have the largest
// smallest area. A corner where the ring runs straight on (a neighbour's
// edge ends there) would otherwise give a triangle of no area, which mesh
// checkers count as a fault.
size_t fanApex(const Stone& stone, const std::vector<int32_t>& ring);

// The vertex each vertex stands for once the edges shorter than `fraction`
// of the stone's largest extent have been drawn together to one point (the
// identity for longer edges). Single-precision meshes need it: a triangle
// on an edge a millionth of the stone long gets its direction from rounding
// noise.
std::vector<int32_t> weldShortEdges(const Stone& stone, double fraction);

// `ring` with every corner replaced by the vertex it stands for and
// corners that thereby repeat their predecessor left out.
void weldRing(std::vector<int32_t>& ring, const std::vector<int32_t>& standsFor);

}  // namespace brevix
