#pragma once
// Cutting a whole list of planes into a stone at a cost that follows what
// each cut changes rather than the size of the stone. A cut only ever
// removes a cap of the polyhedron around the vertex farthest out along the
// plane's normal, so it is found by walking the vertex graph uphill and
// flooding the cap from there; removed records stay in their slots until
// the list is done and are compacted once. The result, notes included, is
// the one cutting the planes one by one with newFacet gives: any cut that
// comes near a vertex, an edge or a tolerance is handed to newFacet itself.
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

struct PlaneToCut {
    double a = 0, b = 0, c = 0, d = 0;
    std::string name, instruction;
};

// Cuts the planes into the stone in their order, as newFacet one by one
// would. While the stone has fewer than `smallestStone` vertices, newFacet
// cuts them itself: the walk and the slots pay only on larger stones.
inline constexpr int32_t LOCAL_CUT_SMALLEST_STONE = 160;
void cutPlanesInTurn(Stone& stone, std::vector<PlaneToCut>& planes,
                     int32_t smallestStone = LOCAL_CUT_SMALLEST_STONE);

}  // namespace brevix
