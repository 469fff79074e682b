#pragma once
// The steps of cutting one plane that the ordinary cut (on positions) and
// the exact rebuild (on meet points of planes) share: the rough block they
// start from, how a vertex's side of the plane and an edge's two ends
// classify the edge and mark its facets, and what a facet's marks make of
// it. Only how a vertex's side is found differs between them.
#include <cstdint>

#include "kernel/kernel_error.h"
#include "kernel/stone.h"

namespace brevix::cut {

// ---- the rough block --------------------------------------------------
// Outward normals of its six faces, in facet order, each face at the
// block's half-size from the centre.
inline constexpr double ROUGH_NORMALS[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
// Corner i lies on the + side of x when bit 4 is set, of y for bit 2, of z
// for bit 1; these are its x, y and z faces.
inline constexpr int32_t roughCornerFace(int32_t corner, int axis) {
    return (corner & (4 >> axis)) ? axis : axis + 3;
}
// Its twelve edges: two corners, then the two faces (oriented as every edge).
inline constexpr int32_t ROUGH_EDGES[12][4] = {{0, 1, 3, 4}, {2, 0, 3, 5}, {0, 4, 4, 5}, {3, 1, 2, 3},
                                               {1, 5, 2, 4}, {2, 3, 1, 3}, {6, 2, 1, 5}, {3, 7, 1, 2},
                                               {5, 4, 0, 4}, {4, 6, 0, 5}, {7, 5, 0, 2}, {6, 7, 0, 1}};

// ---- classify ------------------------------------------------------------
// A vertex's status from its side of the plane (+1 outside, 0 on, -1 inside).
inline int32_t vertexStatus(int side) { return side > 0 ? ST_OUT : side == 0 ? ST_ON : ST_PRESENT; }

// The side of a signed distance, within EPS of the plane counting as on it.
inline int sideOfDistance(double dist) { return dist < -EPS ? -1 : dist <= EPS ? 0 : 1; }

// Edge status from the statuses of its two ends, and the facet flags it sets.
struct EdgeClass {
    int32_t status;
    uint32_t flags;
};

// Out of line, so that the classification itself inlines into every loop.
[[noreturn]] void throwIllegalStatus(int end);

inline bool legalVertexStatus(int32_t s) { return s == ST_ON || s == ST_OUT || s == ST_PRESENT; }

inline EdgeClass classifyEdge(int32_t s0, int32_t s1) {
    if (!legalVertexStatus(s0)) [[unlikely]]
        throwIllegalStatus(0);
    if (!legalVertexStatus(s1)) [[unlikely]]
        throwIllegalStatus(1);
    if (s0 == ST_ON && s1 == ST_ON) return {ST_ON, 0};
    if (s0 == ST_OUT || s1 == ST_OUT) {
        if (s0 == ST_PRESENT || s1 == ST_PRESENT) return {ST_CUT, KEEP | LOSE};
        return {ST_OUT, LOSE};
    }
    if (s0 == ST_ON || s1 == ST_ON) return {ST_TOUCH, KEEP};
    return {ST_PRESENT, KEEP};
}

// ---- keep or lose --------------------------------------------------------
// What the marks of its edges make of a facet: cut away (only losing),
// untouched (only keeping) or shrunk (both).
inline int32_t facetFate(uint32_t flags) {
    const bool keep = flags & KEEP, lose = flags & LOSE;
    if (lose && !keep) return ST_OUT;
    if (keep && !lose) return ST_PRESENT;
    return ST_CUT;
}

// A facet cut away hands the edges it had in the plane over to the new
// facet `n`; `handed` hears of each by its index.
template <class EdgeList, class Handed>
void handOverInPlaneEdges(EdgeList& edges, int32_t count, int32_t facet, int32_t n, Handed handed) {
    for (int32_t j = 0; j < count; ++j) {
        auto& e = edges[j];
        if (e.status != ST_ON) continue;
        if (e.f[0] == facet) {
            e.f[0] = n;
            e.status = ST_PRESENT;
            handed(j);
        } else if (e.f[1] == facet) {
            e.f[1] = n;
            e.status = ST_PRESENT;
            handed(j);
        }
    }
}

}  // namespace brevix::cut
