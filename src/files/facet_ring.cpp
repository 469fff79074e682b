#include "files/facet_ring.h"

#include <utility>

namespace brevix {

void facetRing(const Stone& stone, int32_t facet, std::vector<int32_t>& ring) {
    thread_local std::vector<std::pair<int32_t, int32_t>> pairs;
    pairs.clear();
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if (e.f[0] == facet) pairs.emplace_back(e.v[0], e.v[1]);
        if (e.f[1] == facet) pairs.emplace_back(e.v[1], e.v[0]);
    }
    const size_t n = pairs.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t k = i + 1; k < n; ++k) {
            if (pairs[k].first == pairs[i].second) {
                std::swap(pairs[i + 1], pairs[k]);
                break;
            }
        }
    }
    ring.clear();
    for (const auto& p : pairs) ring.push_back(p.first);
}

std::vector<int32_t> facetRing(const Stone& stone, int32_t facet) {
    std::vector<int32_t> ring;
    facetRing(stone, facet, ring);
    return ring;
}

}  // namespace brevix
