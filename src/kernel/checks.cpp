#include "kernel/checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/strformat.h"

namespace brevix {

namespace {

// Writes the vertex lines of the closure report and returns whether every
// vertex of the facet is met by exactly two of its edges. `cutting` >= 0
// adds the line naming the facet being cut before each complaint; a
// `shownStatus` is reported instead of each vertex's own.
// `facetEdges` lists the facet's edges in index order.
struct ClosureScratch {
    std::vector<int32_t> seen;    // vertices in the order the edges reach them
    std::vector<int32_t> counts;  // edges of the facet ending at each of them
};

bool reportClosure(const Stone& stone, int32_t facet, std::span<const int32_t> facetEdges, int32_t cutting,
                   bool skipRemoved, std::ostream& out, ClosureScratch& scratch,
                   std::optional<int32_t> shownStatus = std::nullopt) {
    std::vector<int32_t>& seen = scratch.seen;
    std::vector<int32_t>& counts = scratch.counts;
    seen.clear();
    counts.clear();
    for (int32_t j : facetEdges) {
        const Edge& e = stone.edges[j];
        if (skipRemoved && e.status == ST_OUT) continue;
        for (int k = 0; k < 2; ++k) {
            const int32_t v = e.v[k];
            if (skipRemoved && stone.vertices[v].status == ST_OUT) continue;
            size_t at = 0;
            while (at < seen.size() && seen[at] != v) ++at;
            if (at == seen.size()) {
                seen.push_back(v);
                counts.push_back(0);
            }
            ++counts[at];
        }
    }
    bool closed = true;
    const Facet& f = stone.facets[facet];
    for (size_t at = 0; at < seen.size(); ++at) {
        if (counts[at] == 2) continue;
        closed = false;
        if (cutting >= 0) out << strprintf("In checkFacetClosure cutting facet %d\n", cutting);
        if (counts[at] == 1)
            out << strprintf("vertex %d is singly connected on facet %d\n", seen[at], facet);
        else
            out << strprintf("vertex %d is connected by %d edges on facet %d\n", seen[at], counts[at],
                             facet);
        const Vertex& v = stone.vertices[seen[at]];
        out << strprintf("%.4f %.4f %.4f\n", v.x, v.y, v.z);
        out << strprintf("status = %d\n", shownStatus.value_or(v.status));
        out << strprintf("dist = %.4e\n", v.dist);
        if (!f.name.empty()) out << strprintf("named %s\n", f.name.c_str());
        if (f.isRough()) out << "Rough cube facet\n";
    }
    return closed;
}


// Pairs (i < j) of records whose keys lie within `window` of each other,
// found by a sweep along the sorted keys instead of comparing every pair;
// records with a number that is not finite pair with every record, as the
// comparisons of such numbers need not rule a pair out. `close` decides.
template <class Key, class Finite, class Close>
std::vector<std::pair<int32_t, int32_t>> checkSweepPairs(int32_t count, double window, Key key, Finite finite,
                                                         Close close) {
    std::vector<int32_t> order, odd;
    order.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i) (finite(i) ? order : odd).push_back(i);
    std::sort(order.begin(), order.end(), [&](int32_t p, int32_t q) { return key(p) < key(q); });
    std::vector<std::pair<int32_t, int32_t>> pairs;
    auto consider = [&](int32_t p, int32_t q) {
        if (close(std::min(p, q), std::max(p, q))) pairs.emplace_back(std::min(p, q), std::max(p, q));
    };
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t j = i + 1; j < order.size() && key(order[j]) - key(order[i]) < window; ++j)
            consider(order[i], order[j]);
    for (size_t k = 0; k < odd.size(); ++k) {
        for (int32_t i : order) consider(odd[k], i);
        for (size_t m = k + 1; m < odd.size(); ++m) consider(odd[k], odd[m]);
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

// Pairs (i < j) of edges that join the same two records (facets or
// vertices), in index order.
std::vector<std::pair<int32_t, int32_t>> checkSharedEnds(const Stone& stone, bool byFacets) {
    auto endsOf = [&](int32_t j) -> const std::array<int32_t, 2>& {
        return byFacets ? stone.edges[j].f : stone.edges[j].v;
    };
    // Lower end, higher end and edge packed into one number sort as the
    // triple would, several times faster, when each fits in 21 bits.
    constexpr int32_t packable = 1 << 21;
    bool packed = stone.nEdge < packable;
    for (int32_t j = 0; packed && j < stone.nEdge; ++j)
        for (int32_t end : endsOf(j)) packed = packed && end >= 0 && end < packable;
    std::vector<std::array<int32_t, 3>> keyed;  // lower end, higher end, edge
    keyed.reserve(static_cast<size_t>(std::max(stone.nEdge, 0)));
    if (packed) {
        std::vector<uint64_t> keys;
        keys.reserve(keyed.capacity());
        for (int32_t j = 0; j < stone.nEdge; ++j) {
            const auto& ends = endsOf(j);
            keys.push_back(uint64_t(std::min(ends[0], ends[1])) << 42 | uint64_t(std::max(ends[0], ends[1])) << 21 |
                           uint64_t(j));
        }
        std::sort(keys.begin(), keys.end());
        const uint64_t mask = packable - 1;
        for (uint64_t k : keys) keyed.push_back({int32_t(k >> 42), int32_t(k >> 21 & mask), int32_t(k & mask)});
    } else {
        for (int32_t j = 0; j < stone.nEdge; ++j) {
            const auto& ends = endsOf(j);
            keyed.push_back({std::min(ends[0], ends[1]), std::max(ends[0], ends[1]), j});
        }
        std::sort(keyed.begin(), keyed.end());
    }
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (size_t i = 0; i < keyed.size(); ++i)
        for (size_t j = i + 1; j < keyed.size() && keyed[j][0] == keyed[i][0] && keyed[j][1] == keyed[i][1]; ++j)
            pairs.emplace_back(keyed[i][2], keyed[j][2]);
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

}  // namespace

bool checkstone(const Stone& stone, std::ostream& out) {
    out << "Entering checkstone()\n";
    const int32_t sum = stone.eulerSum();
    if (sum != 2)
        out << strprintf("Failed: %d Facets + %d vertices - %d Edges = %d not 2\n", stone.nFacet,
                         stone.nVertex, stone.nEdge, sum);
    else
        out << strprintf("Passed: %d Facets + %d vertices - %d Edges = 2\n", stone.nFacet,
                         stone.nVertex, stone.nEdge);

    // How many edge ends reach each facet and vertex.
    std::vector<int32_t> facetUses(static_cast<size_t>(std::max(stone.nFacet, 0)), 0);
    std::vector<int32_t> vertexUses(static_cast<size_t>(std::max(stone.nVertex, 0)), 0);
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        for (int k = 0; k < 2; ++k) {
            // A negative index is as much "no such vertex" as one past the end.
            if (e.v[k] < 0 || e.v[k] >= stone.nVertex) {
                out << strprintf("Edge %d->v[%d]: No such Vertex %d >= %d\n", j, k, e.v[k],
                                 stone.nVertex);
                return false;
            }
            ++vertexUses[static_cast<size_t>(e.v[k])];
            if (e.f[k] < 0 || e.f[k] >= stone.nFacet) {
                out << strprintf("Edge %d->f[%d]: No such Facet %d >= %d\n", j, k, e.f[k],
                                 stone.nFacet);
                return false;
            }
            ++facetUses[static_cast<size_t>(e.f[k])];
        }
    }
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (facetUses[static_cast<size_t>(i)] == 0) out << strprintf("Warning: Facet %d orphaned: status = 0\n", i);
    for (int32_t i = 0; i < stone.nVertex; ++i)
        if (vertexUses[static_cast<size_t>(i)] == 0) {
            out << strprintf("Vertex %d orphaned\n", i);
            return false;
        }

    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        for (int k = 0; k < 2; ++k)
            for (int m = 0; m < 2; ++m) {
                const Facet& f = stone.facets[e.f[k]];
                const Vertex& v = stone.vertices[e.v[m]];
                if (std::fabs(f.plane().offsetOf(v.pos())) <= EPS3) continue;
                out << strprintf("Vertex %d of Edge %d not on Facet %d\n", e.v[m], j, e.f[k]);
                out << strprintf("Vertex %.3f %.3f %.3f\n", v.x, v.y, v.z);
                out << strprintf("Facet %.3f %.3f %.3f %.3f\n", f.a, f.b, f.c, f.d);
                out << "Exiting\n";
                return false;
            }
    }

    // Coincidence is tested pair by pair as before, but only for pairs whose
    // first coordinates lie close: a scan of every pair grows with the square
    // of the stone. The window is twice the tolerance so that rounding of the
    // distance can never hide a pair the full scan would report.
    const auto vertexPairs = checkSweepPairs(
        stone.nVertex, 2 * EPS, [&](int32_t i) { return stone.vertices[i].x; },
        [&](int32_t i) {
            const Vertex& v = stone.vertices[i];
            return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
        },
        [&](int32_t i, int32_t j) {
            return !(length(stone.vertices[i].pos() - stone.vertices[j].pos()) >= EPS);
        });
    for (const auto& [i, j] : vertexPairs) {
        const Vertex &p = stone.vertices[i], &q = stone.vertices[j];
        out << strprintf("Vertex %d and %d coincide\n", i, j);
        out << strprintf("(%.6f %.6f %.6f) = (%.6f %.6f %.6f)\n", p.x, p.y, p.z, q.x, q.y, q.z);
    }

    const auto facetPairs = checkSweepPairs(
        stone.nFacet, 2 * EPS, [&](int32_t i) { return stone.facets[i].a; },
        [&](int32_t i) {
            const Facet& f = stone.facets[i];
            return std::isfinite(f.a) && std::isfinite(f.b) && std::isfinite(f.c) && std::isfinite(f.d);
        },
        [&](int32_t i, int32_t j) {
            const Facet &p = stone.facets[i], &q = stone.facets[j];
            return !(std::fabs(p.a - q.a) >= EPS || std::fabs(p.b - q.b) >= EPS ||
                     std::fabs(p.c - q.c) >= EPS || std::fabs(p.d - q.d) >= EPS);
        });
    for (const auto& [i, j] : facetPairs) {
        const Facet &p = stone.facets[i], &q = stone.facets[j];
        out << strprintf("Facet %d and %d coincide\n", i, j);
        out << strprintf("(%.6f %.6f %.6f %.6f) = (%.6f %.6f %.6f %.6f)\n", p.a, p.b, p.c, p.d,
                         q.a, q.b, q.c, q.d);
    }

    // Both kinds of coincidence of one pair are reported together, pairs in index order.
    const auto sameFacets = checkSharedEnds(stone, true), sameVertices = checkSharedEnds(stone, false);
    for (size_t f = 0, v = 0; f < sameFacets.size() || v < sameVertices.size();) {
        const bool facetFirst = v == sameVertices.size() || (f < sameFacets.size() && sameFacets[f] <= sameVertices[v]);
        const std::pair<int32_t, int32_t> pair = facetFirst ? sameFacets[f] : sameVertices[v];
        if (f < sameFacets.size() && sameFacets[f] == pair) {
            out << strprintf("Edges %d and %d coincide (facets)\n", pair.first, pair.second);
            ++f;
        }
        if (v < sameVertices.size() && sameVertices[v] == pair) {
            out << strprintf("Edges %d and %d coincide (vertices)\n", pair.first, pair.second);
            ++v;
        }
    }

    // Every vertex reads as present here, as between cuts: a working mark
    // some command left behind is no fault of the topology.
    // Each facet's edges in index order, gathered once for all facets.
    std::vector<int32_t> firstEdge(static_cast<size_t>(stone.nFacet) + 1, 0), byFacet;
    auto forEachFacetOf = [&](const Edge& e, auto visit) {
        visit(e.f[0]);
        if (e.f[1] != e.f[0]) visit(e.f[1]);
    };
    for (int32_t j = 0; j < stone.nEdge; ++j)
        forEachFacetOf(stone.edges[j], [&](int32_t f) { ++firstEdge[static_cast<size_t>(f) + 1]; });
    for (size_t i = 1; i < firstEdge.size(); ++i) firstEdge[i] += firstEdge[i - 1];
    byFacet.resize(static_cast<size_t>(firstEdge.back()));
    std::vector<int32_t> fill(firstEdge.begin(), firstEdge.end() - 1);
    for (int32_t j = 0; j < stone.nEdge; ++j)
        forEachFacetOf(stone.edges[j], [&](int32_t f) { byFacet[static_cast<size_t>(fill[static_cast<size_t>(f)]++)] = j; });
    bool closed = true;
    ClosureScratch scratch;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const std::span<const int32_t> ring(byFacet.data() + firstEdge[static_cast<size_t>(i)],
                                            byFacet.data() + firstEdge[static_cast<size_t>(i) + 1]);
        closed = reportClosure(stone, i, ring, -1, false, out, scratch, ST_PRESENT) && closed;
    }
    if (!closed) return false;

    out << "Exiting checkstone()\n";
    return sum == 2;
}

bool checkFacetClosure(const Stone& stone, int32_t facet, int32_t cuttingFacet, std::ostream& out) {
    std::vector<int32_t> facetEdges;
    for (int32_t j = 0; j < stone.nEdge; ++j)
        if (stone.edges[j].f[0] == facet || stone.edges[j].f[1] == facet) facetEdges.push_back(j);
    ClosureScratch scratch;
    return reportClosure(stone, facet, facetEdges, cuttingFacet, true, out, scratch);
}

}  // namespace brevix
