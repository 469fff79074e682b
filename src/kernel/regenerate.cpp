// Rebuilding the derived vertices and edges from the planes, which are the design.
#include <vector>

#include "kernel/stone.h"

namespace brevix {

void Stone::regenerate() { regenerate(ROUGH_HALF); }

void Stone::regenerate(double halfSize) {
    Stone planes(*this);
    for (int32_t i = 0; i < nFacet; ++i) {
        facets[i].name.clear();
        facets[i].instruction.clear();
    }
    makeRough(halfSize);
    for (int32_t i = 0; i < planes.nFacet; ++i) {
        Facet& f = planes.facets[i];
        if (f.isRough()) continue;
        newFacet(f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction));
        f.name.clear();
        f.instruction.clear();
    }
}

void Stone::rebuildWithout() {
    std::vector<Facet> records(facets.begin(), facets.begin() + nFacet);
    for (int32_t i = 0; i < nFacet; ++i) {
        facets[i].name.clear();
        facets[i].instruction.clear();
    }
    makeRough(ROUGH_HALF);
    for (Facet& f : records) {
        if (f.status == ST_DELETE || f.isRough()) continue;
        newFacet(f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction));
    }
}

}  // namespace brevix
