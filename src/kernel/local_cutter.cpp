// Finding the cap a plane cuts off: the walk uphill to the corner farthest
// out and the flood from there; entering and leaving the slots.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/cut_steps.h"
#include "kernel/local_cutter.h"

namespace brevix::local_cut {

bool localCutPlaneUsable(const PlaneToCut& p) {
    return std::isfinite(p.a) && std::isfinite(p.b) && std::isfinite(p.c) && std::isfinite(p.d) &&
           !(p.a * p.a + p.b * p.b + p.c * p.c < 0.25);
}

std::array<int, 2> localCutCellsOf(double x, double y, double z) {
    const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
    int face;
    double u, v, major;
    if (ax >= ay && ax >= az) {
        face = x < 0 ? 1 : 0;
        major = ax, u = y, v = z;
    } else if (ay >= az) {
        face = y < 0 ? 3 : 2;
        major = ay, u = x, v = z;
    } else {
        face = z < 0 ? 5 : 4;
        major = az, u = x, v = y;
    }
    auto cell = [&](int cells) {
        auto step = [&](double w) {
            const int k = static_cast<int>((w / major + 1) * 0.5 * cells);
            return std::clamp(k, 0, cells - 1);
        };
        return (face * cells + step(u)) * cells + step(v);
    };
    return {cell(LOCAL_CUT_COARSE_CELLS),
            6 * LOCAL_CUT_COARSE_CELLS * LOCAL_CUT_COARSE_CELLS + cell(LOCAL_CUT_FINE_CELLS)};
}

int LocalCutter::cut(PlaneToCut& plane) {
    if (!localCutPlaneUsable(plane)) return -1;
    // Planes a local cut leaves to newFacet (points within a tolerance of
    // each other) come in runs: one that gives way leaves the next few to
    // newFacet as well, so that such runs cost little more than newFacet.
    const int32_t vertices = entered_ ? liveVertices_ : s_.nVertex;
    if (vertices < smallestStone_ || skip_ > 0) {
        if (skip_ > 0) --skip_;
        return cutByNewFacet(plane);
    }
    if (!entered_) enter();
    int removed = -1;
    if (entered_ && cutLocally(plane, removed)) {
        misses_ = 0;
        ++counts_.local;
    } else {
        ++counts_.refused;
        misses_ = std::min(misses_ + 1, 4);
        skip_ = (1 << misses_) - 1;
        return cutByNewFacet(plane);
    }
    // Removed records are compacted away once they outnumber the rest.
    if (s_.nVertex > 2 * liveVertices_ + 64) leave();
    return removed;
}

void LocalCutter::leave() {
    if (!entered_) return;
    entered_ = false;
    if (lastCutWasLocal_) {
        for (int32_t i = 0; i < s_.nVertex; ++i)
            if (vertexAlive_[i]) s_.vertices[i].status = ST_PRESENT;
        for (int32_t j = 0; j < s_.nEdge; ++j)
            if (edgeAlive_[j] && edgeCommitted_[j] != lastCutGeneration_) s_.edges[j].status = ST_PRESENT;
    }
    vertexMap_.assign(static_cast<size_t>(s_.nVertex), -1);
    int32_t kept = 0;
    for (int32_t i = 0; i < s_.nVertex; ++i) {
        if (!vertexAlive_[i]) continue;
        if (kept != i) s_.vertices[kept] = s_.vertices[i];
        vertexMap_[i] = kept++;
    }
    s_.nVertex = kept;
    for (int32_t& hint : startHints_) hint = hint < 0 ? -1 : vertexMap_[hint];
    walkFrom_ = vertexMap_[walkFrom_] < 0 ? 0 : vertexMap_[walkFrom_];

    facetMap_.assign(static_cast<size_t>(s_.nFacet), -1);
    kept = 0;
    for (int32_t i = 0; i < s_.nFacet; ++i) {
        if (!facetAlive_[i]) continue;
        s_.facets[kept].takeRecord(s_.facets[i]);
        facetMap_[i] = kept++;
    }
    for (int32_t i = kept; i < s_.nFacet; ++i) {
        s_.facets[i].name.clear();
        s_.facets[i].instruction.clear();
    }
    s_.nFacet = kept;

    kept = 0;
    for (int32_t j = 0; j < s_.nEdge; ++j) {
        if (!edgeAlive_[j]) continue;
        Edge e = s_.edges[j];
        e.v = {vertexMap_[e.v[0]], vertexMap_[e.v[1]]};
        e.f = {facetMap_[e.f[0]], facetMap_[e.f[1]]};
        s_.edges[kept++] = e;
    }
    s_.nEdge = kept;
    lastCutWasLocal_ = false;
}

void LocalCutter::enter() {
    const int32_t nV = s_.nVertex, nE = s_.nEdge, nF = s_.nFacet;
    entered_ = nV > 0 && nF > 0 && s_.eulerSum() == 2;
    for (int32_t j = 0; entered_ && j < nE; ++j) {
        const Edge& e = s_.edges[j];
        for (int k = 0; k < 2; ++k)
            if (e.v[k] < 0 || e.v[k] >= nV || e.f[k] < 0 || e.f[k] >= nF) entered_ = false;
    }
    lastCutWasLocal_ = false;
    entered_ = entered_ && !tooSmallToCutLocally();
    if (!entered_) return;
    vertexAlive_.assign(static_cast<size_t>(nV), 1);
    edgeAlive_.assign(static_cast<size_t>(nE), 1);
    facetAlive_.assign(static_cast<size_t>(nF), 1);
    liveVertices_ = nV;
    liveEdges_ = nE;
    liveFacets_ = nF;
    vertexSeen_.assign(static_cast<size_t>(nV), 0);
    onPlaneIndex_.assign(static_cast<size_t>(nV), -1);
    edgeSeen_.assign(static_cast<size_t>(nE), 0);
    edgePoint_.assign(static_cast<size_t>(nE), -1);
    edgeCommitted_.assign(static_cast<size_t>(nE), 0);
    facetSeen_.assign(static_cast<size_t>(nF), 0);
    facetSlot_.assign(static_cast<size_t>(nF), -1);
    generation_ = 0;
    lastCutGeneration_ = 0;
    firstIncident_.assign(static_cast<size_t>(nV), 0);
    incidentCount_.assign(static_cast<size_t>(nV), 0);
    for (int32_t j = 0; j < nE; ++j)
        for (int k = 0; k < 2; ++k) ++incidentCount_[s_.edges[j].v[k]];
    int32_t at = 0;
    for (int32_t i = 0; i < nV; ++i) {
        firstIncident_[i] = at;
        at += incidentCount_[i];
        if (incidentCount_[i] == 0) entered_ = false;
    }
    incident_.assign(static_cast<size_t>(at), -1);
    std::vector<int32_t> fill(firstIncident_);
    for (int32_t j = 0; j < nE; ++j)
        for (int k = 0; k < 2; ++k) incident_[fill[s_.edges[j].v[k]]++] = j;
    lastFacet_ = nF - 1;
    if (walkFrom_ >= nV) walkFrom_ = 0;
    startHints_.resize(LOCAL_CUT_HINTS, -1);
}

bool LocalCutter::tooSmallToCutLocally() const { return !(s_.largestWidth() >= LOCAL_CUT_SMALLEST_EXTENT); }

int LocalCutter::cutByNewFacet(PlaneToCut& plane) {
    ++counts_.byNewFacet;
    leave();
    // newFacet renumbers as it likes: the hints no longer name vertices.
    startHints_.assign(startHints_.size(), -1);
    walkFrom_ = 0;
    return s_.newFacet(plane.a, plane.b, plane.c, plane.d, std::move(plane.name), std::move(plane.instruction));
}

bool LocalCutter::cutLocally(PlaneToCut& plane, int& removed) {
    const double a = plane.a, b = plane.b, c = plane.c, d = plane.d;
    auto distanceOf = [&](int32_t i) {
        const Vertex& v = s_.vertices[i];
        return a * v.x + b * v.y + c * v.z - d;
    };

    // Uphill to the vertex farthest out: a linear function on a convex
    // polyhedron has no other local maximum.
    int32_t top = walkFrom_;
    double topDistance = distanceOf(top);
    const std::array<int, 2> cells = localCutCellsOf(a, b, c);
    for (int cell : cells)
        if (const int32_t hint = startHints_[cell]; hint >= 0 && vertexAlive_[hint]) {
            const double hintDistance = distanceOf(hint);
            if (hintDistance > topDistance) {
                top = hint;
                topDistance = hintDistance;
            }
        }
    for (;;) {
        int32_t better = -1;
        double betterDistance = topDistance;
        forIncident(top, [&](int32_t edge) {
            const int32_t w = otherEnd(edge, top);
            const double dw = distanceOf(w);
            if (dw > betterDistance) {
                better = w;
                betterDistance = dw;
            }
        });
        // Where points cluster within rounding of one corner, they need not
        // lie convex among themselves: the walk can stop on such a plateau
        // with the way up leaving it from another of its points.
        if (better < 0) better = wayOffPlateau(top, topDistance, distanceOf, betterDistance);
        if (better < 0) break;
        top = better;
        topDistance = betterDistance;
    }
    if (!std::isfinite(topDistance)) return false;
    removed = -1;
    // A plane the walk finds clear of the stone is checked against every
    // corner: a stone whose points came out far off their planes (a tiny
    // one cut to slivers) need not be convex enough for the walk. Planes
    // that cut nothing are few, so this costs little.
    if (topDistance < EPS - LOCAL_CUT_REACH) return noCornerOutside(distanceOf);

    // The cap and the vertices just below it.
    ++generation_;
    visited_.clear();
    stack_.clear();
    auto visit = [&](int32_t i) {
        vertexSeen_[i] = generation_;
        Vertex& v = s_.vertices[i];
        v.dist = distanceOf(i);
        v.status = cut::vertexStatus(cut::sideOfDistance(v.dist));
        visited_.push_back(i);
        if (v.dist > -LOCAL_CUT_REACH) stack_.push_back(i);
    };
    visit(top);
    while (!stack_.empty()) {
        const int32_t u = stack_.back();
        stack_.pop_back();
        forIncident(u, [&](int32_t edge) {
            const int32_t w = otherEnd(edge, u);
            if (vertexSeen_[w] != generation_) visit(w);
        });
    }
    // A plane that only touches the stone cuts nothing; one whose walk
    // stopped short of a corner outside is beyond a local cut.
    if (topDistance <= EPS) {
        for (int32_t i : visited_) {
            if (s_.vertices[i].status == ST_OUT) return false;
            s_.vertices[i].status = ST_PRESENT;
        }
        return noCornerOutside(distanceOf);
    }
    // Vertices near enough the plane for a merge or a note to weigh
    // them, and those on it, which stay and join the new outline.
    near_.clear();
    onPlane_.clear();
    int32_t verticesOut = 0;
    for (int32_t i : visited_) {
        const Vertex& v = s_.vertices[i];
        if (!std::isfinite(v.dist)) return false;
        if (v.status == ST_OUT) ++verticesOut;
        if (std::fabs(v.dist) > 2 * EPS) continue;
        near_.push_back(i);
        if (v.status == ST_ON) {
            onPlaneIndex_[i] = static_cast<int32_t>(onPlane_.size());
            onPlane_.push_back(i);
        }
    }

    if (!classifyCap()) return false;
    const int32_t pointCount = static_cast<int32_t>(points_.size());
    if (!pointsApart()) return false;
    int32_t closing = 0;
    if (!ringIsWhole(pointCount, closing)) return false;

    int32_t facetsOut = 0, edgesOut = 0;
    for (int32_t fate : fates_) facetsOut += fate == ST_OUT;
    for (int32_t cls : edgeClass_) edgesOut += cls == ST_OUT;
    const int32_t facetsAfter = liveFacets_ - facetsOut + 1;
    const int32_t verticesAfter = liveVertices_ - verticesOut + pointCount;
    const int32_t edgesAfter = liveEdges_ - edgesOut + closing;
    if (facetsAfter + verticesAfter - edgesAfter != 2) return false;

    removed = commit(plane, verticesOut, edgesOut, facetsOut, closing);
    return true;
}

}  // namespace brevix::local_cut
