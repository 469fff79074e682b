// The cheap check after a cut, before its records are compacted: only the
// facets the cut shrank and the new facet have new outlines, so only their
// rings and the vertices on the plane need a look. An untouched facet keeps
// the ring it had.
#include <algorithm>
#include <utility>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

namespace {

// True when the edges form one closed ring: every vertex met by exactly two
// of them, and a walk along them from the first comes back through all.
// `ends` holds (vertex, edge) for both ends of every edge, sorted.
bool formsOneRing(const std::vector<Edge>& edges,
                  const std::vector<std::pair<int32_t, int32_t>>& ends, size_t edgeCount) {
    if (edgeCount < 3) return false;
    for (size_t k = 0; k < ends.size(); k += 2)
        if (ends[k].first != ends[k + 1].first ||
            (k + 2 < ends.size() && ends[k + 2].first == ends[k].first))
            return false;
    auto nextEdge = [&](int32_t vertex, int32_t edge) {
        auto it = std::lower_bound(ends.begin(), ends.end(), std::make_pair(vertex, int32_t(-1)));
        return it->second == edge ? (it + 1)->second : it->second;
    };
    const int32_t start = ends[0].second;
    int32_t edge = start;
    int32_t vertex = ends[0].first;
    size_t walked = 0;
    do {
        const Edge& e = edges[edge];
        vertex = e.v[0] == vertex ? e.v[1] : e.v[0];
        edge = nextEdge(vertex, edge);
        ++walked;
    } while (edge != start && walked <= edgeCount);
    return walked == edgeCount;
}

}  // namespace

bool Stone::cutLeftRingsWhole() const {
    const int32_t n = nFacet - 1;

    // Every shrunk facet leaves the plane at exactly two points, each the end
    // of one kept edge of its outline.
    if (static_cast<int32_t>(facetCount_.size()) < nFacet) facetCount_.resize(nFacet);
    for (int32_t f : cutFacets_) facetCount_[f] = 0;
    for (int32_t j : crossing_)
        for (int k = 0; k < 2; ++k) {
            const int32_t f = edges[j].f[k];
            if (f < n && facets[f].status == ST_CUT) ++facetCount_[f];
        }
    for (int32_t f : cutFacets_)
        if (facetCount_[f] != 2) return false;

    // An edge lying in the plane belongs to the new facet or to facets the
    // plane only touches, never to a facet it shrinks.
    for (int32_t j : inPlane_) {
        const Edge& e = edges[j];
        if (e.status == ST_ON &&
            (facets[e.f[0]].status == ST_CUT || facets[e.f[1]].status == ST_CUT))
            return false;
    }

    // The new facet's outline is one ring.
    std::vector<std::pair<int32_t, int32_t>> ends;
    size_t ringEdges = 0;
    for (int32_t j : onNewFacet_) {
        const Edge& e = edges[j];
        if (e.status == ST_OUT) continue;
        ends.emplace_back(e.v[0], j);
        ends.emplace_back(e.v[1], j);
        ++ringEdges;
    }
    std::sort(ends.begin(), ends.end());
    if (!formsOneRing(edges, ends, ringEdges)) return false;

    // Every vertex left on the plane still meets three or more edges.
    if (static_cast<int32_t>(vertexCount_.size()) < nVertex) vertexCount_.resize(nVertex);
    for (int32_t v : nearPlane_) vertexCount_[v] = 0;
    auto countEnds = [&](const Edge& e) {
        for (int k = 0; k < 2; ++k)
            if (vertices[e.v[k]].status == ST_ON) ++vertexCount_[e.v[k]];
    };
    for (int32_t j : crossing_) countEnds(edges[j]);
    for (int32_t j : onNewFacet_)
        if (edges[j].status != ST_OUT) countEnds(edges[j]);
    for (int32_t j : inPlane_)
        if (edges[j].status == ST_ON) countEnds(edges[j]);
    for (int32_t v : nearPlane_)
        if (vertices[v].status == ST_ON && vertexCount_[v] < 3) return false;
    return true;
}

}  // namespace brevix
