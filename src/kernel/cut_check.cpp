// The cheap check after a cut, before its records are compacted: only the
// facets the cut shrank and the new facet have new outlines, so only their
// rings and the vertices on the plane need a look. An untouched facet keeps
// the ring it had.
#include <vector>

#include "kernel/stone.h"

namespace brevix {

bool Stone::cutLeftRingsWhole() {
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

    // The new facet's outline is one ring: every vertex on it met by exactly
    // two of its edges, and a walk from the first edge comes back through all.
    if (static_cast<int32_t>(ringSlots_.size()) < nVertex) ringSlots_.resize(nVertex);
    size_t ringEdges = 0;
    int32_t first = -1;
    for (int32_t j : onNewFacet_) {
        const Edge& e = edges[j];
        if (e.status == ST_OUT) continue;
        ringSlots_[e.v[0]] = {-1, -1};
        ringSlots_[e.v[1]] = {-1, -1};
    }
    for (int32_t j : onNewFacet_) {
        const Edge& e = edges[j];
        if (e.status == ST_OUT) continue;
        for (int k = 0; k < 2; ++k) {
            auto& slot = ringSlots_[e.v[k]];
            if (slot[0] < 0)
                slot[0] = j;
            else if (slot[1] < 0)
                slot[1] = j;
            else
                return false;  // a third edge
        }
        if (first < 0) first = j;
        ++ringEdges;
    }
    if (ringEdges < 3) return false;
    size_t walked = 0;
    int32_t edge = first, vertex = edges[first].v[0];
    do {
        vertex = edges[edge].v[0] == vertex ? edges[edge].v[1] : edges[edge].v[0];
        const auto& slot = ringSlots_[vertex];
        if (slot[1] < 0) return false;  // a loose end
        edge = slot[0] == edge ? slot[1] : slot[0];
        ++walked;
    } while (edge != first && walked <= ringEdges);
    if (walked != ringEdges) return false;

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
