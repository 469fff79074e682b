#pragma once
// The robust way to the polyhedron of a list of planes: the same cutting
// order as the ordinary cut, but every vertex is kept as the three planes
// that meet in it and every decision (outside, on, inside) is the exact sign
// of a determinant of the planes. Decisions about nearly coincident
// vertices and edges can then never contradict each other, so the result is
// whole for any plane set, meet points of many planes included.
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// Replaces the stone's polyhedron by the intersection of a rough cube of
// half-size `roughHalf` with the planes of `records`, cut in their order
// (rough faces in `records` are skipped: the fresh cube supplies them).
// Names, instructions and tiers move from the records to the facets that
// remain; a record whose plane misses, or that a later plane removes
// entirely, disappears with its strings. Design fields are left alone.
// Returns, for each facet of the result, the index of its record (-1 for a
// face of the rough cube).
std::vector<int32_t> rebuildExactly(Stone& stone, std::vector<Facet>& records, double roughHalf);

}  // namespace brevix
