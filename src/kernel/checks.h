#pragma once
// Diagnostic checks of a stone's topology. They write a report to a stream
// (standard output by default) and tell whether the stone passed; nothing of
// the program calls them in normal use.
#include <cstdint>
#include <iostream>

#include "kernel/stone.h"

namespace brevix {

// Full check: Euler sum, edge references, orphans, vertices on their planes,
// coinciding vertices, facets and edges, and closure of every facet.
// Returns false where the report ends with a fatal fault, and also when
// the Euler sum is wrong (which the report only states).
bool checkstone(const Stone& stone, std::ostream& out = std::cout);

// Closure of one facet while `cuttingFacet` is being cut, ignoring edges and
// vertices that the cut removes. Returns false when a vertex of the facet
// meets other than two of its edges.
bool checkFacetClosure(const Stone& stone, int32_t facet, int32_t cuttingFacet,
                       std::ostream& out = std::cout);

}  // namespace brevix
