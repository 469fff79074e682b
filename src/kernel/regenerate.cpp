// Rebuilding the derived vertices and edges from the planes, which are the design.
#include <vector>

#include "kernel/local_cut.h"
#include "kernel/stone.h"

namespace brevix {

void Stone::regenerate() { regenerate(ROUGH_HALF); }

void Stone::regenerate(double halfSize) {
    // The planes, names and instructions are taken straight out of the
    // slots that makeRough then clears: no copy of the whole stone.
    std::vector<PlaneToCut> cuts;
    cuts.reserve(static_cast<size_t>(nFacet));
    for (int32_t i = 0; i < nFacet; ++i) {
        Facet& f = facets[i];
        if (!f.isRough()) cuts.push_back({f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction)});
        f.name.clear();
        f.instruction.clear();
    }
    makeRough(halfSize);
    cutPlanesInTurn(*this, cuts);
}

void Stone::rebuildWithout() {
    std::vector<Facet> records(facets.begin(), facets.begin() + nFacet);
    for (int32_t i = 0; i < nFacet; ++i) {
        facets[i].name.clear();
        facets[i].instruction.clear();
    }
    makeRough(ROUGH_HALF);
    std::vector<PlaneToCut> cuts;
    cuts.reserve(records.size());
    for (Facet& f : records) {
        if (f.status == ST_DELETE || f.isRough()) continue;
        cuts.push_back({f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction)});
    }
    cutPlanesInTurn(*this, cuts);
}

}  // namespace brevix
