// Writing a judged cap into the stone: the new points, facet and closing
// edges in the order newFacet makes them, and the vertex graph after them.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/cut_steps.h"
#include "kernel/local_cutter.h"

namespace brevix::local_cut {

int LocalCutter::commit(PlaneToCut& plane, int32_t verticesOut, int32_t edgesOut, int32_t facetsOut, int32_t closing) {
    Stone& s = s_;
    int removed = 0;
    if (s.nFacet >= s.maxFacet) s.growFacets(s.nFacet);
    const int32_t n = s.nFacet;
    {
        const Facet& last = s.facets[lastFacet_];
        const int32_t tier =
            std::fabs(plane.c - last.c) <= EPS && std::fabs(plane.d - last.d) <= EPS ? last.tier : last.tier + 1;
        Facet& f = s.facets[n];
        f.init(plane.a, plane.b, plane.c, plane.d, tier, false);
        f.flags = 0;
        f.name = std::move(plane.name);
        f.instruction = std::move(plane.instruction);
    }

    // The points, in the order of their edges; edges wholly outside go,
    // edges in the plane pass to the new facet.
    const int32_t firstPoint = s.nVertex;
    size_t next = 0;
    for (size_t k = 0; k < edgesCut_.size(); ++k) {
        const int32_t j = edgesCut_[k];
        Edge& e = s.edges[j];
        edgeCommitted_[j] = generation_;
        switch (edgeClass_[k]) {
            case ST_OUT:
                e.status = ST_OUT;
                edgeAlive_[j] = 0;
                continue;
            case ST_TOUCH:
                e.status = ST_TOUCH;
                continue;
            case ST_ON:
                e.f[fates_[facetSlot_[e.f[0]]] == ST_OUT ? 0 : 1] = n;
                e.status = ST_PRESENT;
                continue;
            default:
                break;
        }
        const bool out0 = s.vertices[e.v[0]].status == ST_OUT;
        e.status = ST_CUT;
        if (s.nVertex + 1 >= s.maxVertex) s.growVertices(s.nVertex + 1);
        Vertex& v = s.vertices[s.nVertex];
        v = Vertex{};
        v.x = points_[next].x;
        v.y = points_[next].y;
        v.z = points_[next].z;
        v.status = ST_PRESENT;
        e.v[out0 ? 0 : 1] = s.nVertex++;
        ++next;
    }

    // The vertex graph: a new point meets its crossing edge and two
    // closing edges; a point on the plane drops the edges that went and
    // makes room for its two on the new outline.
    growTo<int32_t>(incidentCount_, static_cast<size_t>(s.nVertex), 0);
    growTo<int32_t>(firstIncident_, static_cast<size_t>(s.nVertex), 0);
    for (int32_t p = firstPoint; p < s.nVertex; ++p) {
        firstIncident_[p] = static_cast<int32_t>(incident_.size());
        incidentCount_[p] = 1;
        incident_.push_back(-1);
        incident_.push_back(-1);
        incident_.push_back(-1);
    }
    for (size_t k = 0; k < edgesCut_.size(); ++k) {
        if (edgeClass_[k] != ST_CUT) continue;
        const Edge& e = s.edges[edgesCut_[k]];
        const int32_t p = e.v[0] >= firstPoint ? e.v[0] : e.v[1];
        incident_[firstIncident_[p]] = edgesCut_[k];
    }
    for (int32_t v : onPlane_) {
        kept_.clear();
        forIncident(v, [&](int32_t edge) {
            if (edgeAlive_[edge]) kept_.push_back(edge);
        });
        firstIncident_[v] = static_cast<int32_t>(incident_.size());
        incidentCount_[v] = static_cast<int32_t>(kept_.size());
        incident_.insert(incident_.end(), kept_.begin(), kept_.end());
        incident_.push_back(-1);
        incident_.push_back(-1);
    }

    // The facets, in index order: cut away, or closed by a new edge.
    facetOrder_.assign(facetsCut_.begin(), facetsCut_.end());
    std::sort(facetOrder_.begin(), facetOrder_.end());
    for (int32_t f : facetOrder_) {
        Facet& facet = s.facets[f];
        const int32_t slotIndex = facetSlot_[f];
        const int32_t fate = fates_[slotIndex];
        if (fate == ST_PRESENT) continue;
        if (fate == ST_OUT) {
            facetAlive_[f] = 0;
            facet.status = ST_OUT;
            if (facet.isRough())
                --s.nRough;
            else if (std::fabs(facet.c) < EPS)
                --s.nGirdle;
            if (!facet.isRough()) ++removed;
            facet.name.clear();
            facet.instruction.clear();
            continue;
        }
        facet.status = ST_PRESENT;
        facet.flags &= ROUGH;
        const auto& slot = crossings_[slotIndex];
        appendClosingEdge(endOnPlane(slot[0], firstPoint), endOnPlane(slot[1], firstPoint), f, n);
    }
    if (std::fabs(plane.c) < EPS) ++s.nGirdle;
    s.facets[n].status = ST_PRESENT;
    ++s.nFacet;

    for (int32_t i : visited_)
        if (s.vertices[i].status == ST_OUT) {
            vertexAlive_[i] = 0;
        } else {
            s.vertices[i].status = ST_PRESENT;
        }
    const int32_t pointCount = s.nVertex - firstPoint;
    growTo<uint8_t>(vertexAlive_, static_cast<size_t>(s.nVertex), 1);
    growTo<uint32_t>(vertexSeen_, static_cast<size_t>(s.nVertex), 0);
    growTo<int32_t>(onPlaneIndex_, static_cast<size_t>(s.nVertex), -1);
    growTo<uint8_t>(facetAlive_, static_cast<size_t>(s.nFacet), 1);
    growTo<uint32_t>(facetSeen_, static_cast<size_t>(s.nFacet), 0);
    growTo<int32_t>(facetSlot_, static_cast<size_t>(s.nFacet), -1);
    liveVertices_ += pointCount - verticesOut;
    liveEdges_ += closing - edgesOut;
    liveFacets_ += 1 - facetsOut;
    lastFacet_ = n;
    walkFrom_ = pointCount > 0 ? firstPoint : onPlane_[0];
    for (int cell : localCutCellsOf(plane.a, plane.b, plane.c)) startHints_[cell] = walkFrom_;
    lastCutGeneration_ = generation_;
    lastCutWasLocal_ = true;
    return removed;
}

int32_t LocalCutter::endOnPlane(int32_t crossingEdge, int32_t firstPoint) const {
    const Edge& e = s_.edges[crossingEdge];
    return e.v[0] >= firstPoint || s_.vertices[e.v[0]].status == ST_ON ? e.v[0] : e.v[1];
}

void LocalCutter::appendClosingEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb) {
    Stone& s = s_;
    if (s.nEdge >= s.maxEdge) s.growEdges(s.nEdge);
    const Vec3 pa = s.vertices[va].pos(), pb = s.vertices[vb].pos();
    const Vec3 axis = cross(s.facets[fa].normal(), s.facets[fb].normal());
    Edge& e = s.edges[s.nEdge];
    e = Edge{};
    if (dot(pb - pa, axis) >= 0)
        e.v = {va, vb};
    else
        e.v = {vb, va};
    e.f = {fa, fb};
    e.status = ST_ON;
    const int32_t j = s.nEdge++;
    edgeAlive_.push_back(1);
    edgeSeen_.push_back(0);
    edgePoint_.push_back(-1);
    edgeCommitted_.push_back(generation_);
    for (int32_t v : {va, vb}) incident_[firstIncident_[v] + incidentCount_[v]++] = j;
}

}  // namespace brevix::local_cut
