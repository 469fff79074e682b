#include "files/mesh_facets.h"

#include <algorithm>
#include <limits>

#include "files/facet_ring.h"

namespace brevix {

void outwardRing(const Stone& stone, int32_t facet, std::vector<int32_t>& ring) {
    facetRing(stone, facet, ring);
    if (ring.size() < 3) return;
    // Newell's sum: twice the polygon's area along its own normal, whatever
    // way round the ring goes.
    Vec3 normal;
    for (size_t k = 0; k < ring.size(); ++k) {
        const Vec3 p = stone.vertices[ring[k]].pos();
        const Vec3 q = stone.vertices[ring[(k + 1) % ring.size()]].pos();
        normal = normal + cross(p, q);
    }
    if (dot(normal, stone.facets[facet].normal()) < 0) std::reverse(ring.begin(), ring.end());
}

size_t fanApex(const Stone& stone, const std::vector<int32_t>& ring) {
    const size_t n = ring.size();
    if (n <= 3) return 0;
    size_t best = 0;
    double bestSmallest = -1;
    for (size_t apex = 0; apex < n; ++apex) {
        const Vec3 a = stone.vertices[ring[apex]].pos();
        double smallest = std::numeric_limits<double>::infinity();
        for (size_t k = 1; k + 1 < n; ++k) {
            const Vec3 p = stone.vertices[ring[(apex + k) % n]].pos();
            const Vec3 q = stone.vertices[ring[(apex + k + 1) % n]].pos();
            smallest = std::min(smallest, length(cross(p - a, q - a)));
        }
        // Ties keep the earliest corner, so a clean ring fans from its first.
        if (smallest > bestSmallest * (1 + 1e-9)) {
            bestSmallest = smallest;
            best = apex;
        }
    }
    return best;
}

std::vector<int32_t> weldShortEdges(const Stone& stone, double fraction) {
    std::vector<int32_t> root(stone.nVertex);
    for (int32_t i = 0; i < stone.nVertex; ++i) root[i] = i;
    if (stone.nVertex == 0) return root;
    const double tolerance = fraction * stone.largestWidth();
    auto find = [&root](int32_t v) {
        while (root[v] != v) v = root[v] = root[root[v]];
        return v;
    };
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if (length(stone.vertices[e.v[1]].pos() - stone.vertices[e.v[0]].pos()) >= tolerance) continue;
        const int32_t p = find(e.v[0]), q = find(e.v[1]);
        if (p != q) root[std::max(p, q)] = std::min(p, q);
    }
    for (int32_t i = 0; i < stone.nVertex; ++i) root[i] = find(i);
    return root;
}

void weldRing(std::vector<int32_t>& ring, const std::vector<int32_t>& standsFor) {
    size_t kept = 0;
    for (int32_t v : ring) {
        const int32_t w = standsFor[v];
        if (kept == 0 || ring[kept - 1] != w) ring[kept++] = w;
    }
    while (kept > 1 && ring[kept - 1] == ring[0]) --kept;
    ring.resize(kept);
}

}  // namespace brevix
