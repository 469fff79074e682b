#pragma once
// Cutting a whole list of planes into a stone at a cost that follows what
// each cut changes rather than the size of the stone. A cut only ever
// removes a cap of the polyhedron around the vertex farthest out along the
// plane's normal, so it is found by walking the vertex graph uphill and
// flooding the cap from there; removed records stay in their slots until
// the list is done and are compacted once. The result, notes included, is
// the one cutting the planes one by one with newFacet gives. A plane
// through corners keeps them on the new outline as newFacet does; any cut
// that would bring points within a tolerance of each other, or that
// newFacet would not find whole, is handed to newFacet itself.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

struct PlaneToCut {
    double a = 0, b = 0, c = 0, d = 0;
    std::string name, instruction;
};

// How a list of planes was cut: locally, or by newFacet (of which
// `refused` were planes a local cut looked at and left to it).
struct LocalCutCounts {
    int32_t local = 0, byNewFacet = 0, refused = 0;
};

// Cuts the planes into the stone in their order, as newFacet one by one
// would. While the stone has fewer than `smallestStone` vertices, newFacet
// cuts them itself. Since planes through corners are cut locally as well,
// even the first cuts into the block are cheaper so.
inline constexpr int32_t LOCAL_CUT_SMALLEST_STONE = 0;
LocalCutCounts cutPlanesInTurn(Stone& stone, std::vector<PlaneToCut>& planes,
                               int32_t smallestStone = LOCAL_CUT_SMALLEST_STONE);

// Cuts planes one at a time, each with newFacet's result, for a reader that
// names the new facet, adds notes or takes a preform between cuts. Until
// finish(), the arrays may keep removed records in their slots: only the
// stone's own fields and its newest facet (nFacet - 1, which is always
// alive) may be read or set, unless compact() says the arrays are whole.
struct PlaneCutSessionState;
class PlaneCutSession {
public:
    explicit PlaneCutSession(Stone& stone, int32_t smallestStone = LOCAL_CUT_SMALLEST_STONE);
    ~PlaneCutSession();  // finishes
    PlaneCutSession(const PlaneCutSession&) = delete;
    PlaneCutSession& operator=(const PlaneCutSession&) = delete;

    // newFacet's result: the facets the plane removed, or -1.
    int cut(PlaneToCut& plane);
    bool compact() const;
    LocalCutCounts counts() const;
    // Compacts the arrays; every later plane goes to newFacet. The last
    // plane should come after this, so that the stone keeps the working
    // marks newFacet leaves.
    void finish();
    // The stone was put back from elsewhere: forget it without touching it.
    void abandon();

private:
    Stone& stone_;
    std::unique_ptr<PlaneCutSessionState> state_;
};

}  // namespace brevix
