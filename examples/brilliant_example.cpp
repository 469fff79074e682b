// Cuts a standard round brilliant from its angles and indexes and prints the
// facet table and the counts.
#include <cstdio>

#include "design/sample_designs.h"

int main() {
    using namespace brevix;
    Stone stone = makeRoundBrilliant();
    std::printf("%-4s %4s %9s %9s   %s\n", "name", "tier", "angle", "index", "plane (a, b, c, d)");
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        std::printf("%-4s %4d %9.4f %9.4f   %10.7f %10.7f %10.7f %10.7f\n", f.name.c_str(), f.tier,
                    stone.facetAngleOf(i), stone.facetIndexOf(i), f.a, f.b, f.c, f.d);
    }
    std::printf("\n%d facets, %d vertices, %d edges (F + V - E = %d); %d girdle facets, "
                "%d faces of the rough block left; gear %d\n",
                stone.nFacet, stone.nVertex, stone.nEdge, stone.eulerSum(), stone.nGirdle,
                stone.nRough, stone.gear);
    return stone.nFacet == 73 && stone.eulerSum() == 2 ? 0 : 1;
}
