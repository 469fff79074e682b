#pragma once
// The stone checks as they were before they learnt to sort: every pair of
// vertices, facets and edges compared, every edge scanned for every facet.
// Kept for the tests only, as the truth the faster checks must repeat.
#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <vector>

#include "kernel/stone.h"
#include "platform/strformat.h"

namespace brevix::reference {



// Writes the vertex lines of the closure report and returns whether every
// vertex of the facet is met by exactly two of its edges. `cutting` >= 0
// adds the line naming the facet being cut before each complaint; a
// `shownStatus` is reported instead of each vertex's own.
inline bool reportClosureByEveryPair(const Stone& stone, int32_t facet, int32_t cutting, bool skipRemoved,
                   std::ostream& out, std::optional<int32_t> shownStatus = std::nullopt) {
    std::vector<int32_t> seen;    // vertices in the order the edges reach them
    std::vector<int32_t> counts;  // edges of the facet ending at each of them
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if (e.f[0] != facet && e.f[1] != facet) continue;
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


inline bool checkstoneByEveryPair(const Stone& stone, std::ostream& out) {
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

    for (int32_t i = 0; i < stone.nVertex; ++i)
        for (int32_t j = i + 1; j < stone.nVertex; ++j) {
            const Vertex &p = stone.vertices[i], &q = stone.vertices[j];
            if (length(p.pos() - q.pos()) >= EPS) continue;
            out << strprintf("Vertex %d and %d coincide\n", i, j);
            out << strprintf("(%.6f %.6f %.6f) = (%.6f %.6f %.6f)\n", p.x, p.y, p.z, q.x, q.y, q.z);
        }

    for (int32_t i = 0; i < stone.nFacet; ++i)
        for (int32_t j = i + 1; j < stone.nFacet; ++j) {
            const Facet &p = stone.facets[i], &q = stone.facets[j];
            if (std::fabs(p.a - q.a) >= EPS || std::fabs(p.b - q.b) >= EPS ||
                std::fabs(p.c - q.c) >= EPS || std::fabs(p.d - q.d) >= EPS)
                continue;
            out << strprintf("Facet %d and %d coincide\n", i, j);
            out << strprintf("(%.6f %.6f %.6f %.6f) = (%.6f %.6f %.6f %.6f)\n", p.a, p.b, p.c, p.d,
                             q.a, q.b, q.c, q.d);
        }

    for (int32_t i = 0; i < stone.nEdge; ++i)
        for (int32_t j = i + 1; j < stone.nEdge; ++j) {
            const Edge &p = stone.edges[i], &q = stone.edges[j];
            if ((p.f[0] == q.f[0] && p.f[1] == q.f[1]) || (p.f[0] == q.f[1] && p.f[1] == q.f[0]))
                out << strprintf("Edges %d and %d coincide (facets)\n", i, j);
            if ((p.v[0] == q.v[0] && p.v[1] == q.v[1]) || (p.v[0] == q.v[1] && p.v[1] == q.v[0]))
                out << strprintf("Edges %d and %d coincide (vertices)\n", i, j);
        }

    // Every vertex reads as present here, as between cuts: a working mark
    // some command left behind is no fault of the topology.
    bool closed = true;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        closed = reportClosureByEveryPair(stone, i, -1, false, out, ST_PRESENT) && closed;
    if (!closed) return false;

    out << "Exiting checkstone()\n";
    return sum == 2;
}

inline bool checkFacetClosureByEveryPair(const Stone& stone, int32_t facet, int32_t cuttingFacet, std::ostream& out) {
    return reportClosureByEveryPair(stone, facet, cuttingFacet, true, out);
}

}  // namespace brevix::reference
