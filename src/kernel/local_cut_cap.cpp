// Judging a cap as newFacet would: which edges and facets it cuts, where
// the new points fall, and whether the new outline is one ring, with
// nothing close enough for a merge or a note.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/cut_steps.h"
#include "kernel/local_cutter.h"

namespace brevix::local_cut {

bool LocalCutter::classifyCap() {
    edgesCut_.clear();
    for (int32_t i : visited_) {
        const int32_t status = s_.vertices[i].status;
        if (status != ST_OUT && status != ST_ON) continue;
        forIncident(i, [&](int32_t edge) {
            if (edgeSeen_[edge] == generation_) return;
            edgeSeen_[edge] = generation_;
            edgesCut_.push_back(edge);
        });
    }
    std::sort(edgesCut_.begin(), edgesCut_.end());

    edgeClass_.clear();
    facetsCut_.clear();
    crossings_.clear();
    facetFlags_.clear();
    inPlane_.clear();
    touches_.assign(onPlane_.size(), 0);
    for (int32_t j : edgesCut_) {
        const Edge& e = s_.edges[j];
        const int32_t s0 = s_.vertices[e.v[0]].status, s1 = s_.vertices[e.v[1]].status;
        const cut::EdgeClass cls = cut::classifyEdge(s0, s1);
        edgeClass_.push_back(cls.status);
        if (cls.status == ST_ON) inPlane_.push_back(j);
        if (cls.status == ST_TOUCH) ++touches_[onPlaneIndex_[e.v[s0 == ST_ON ? 0 : 1]]];
        const bool crossing = cls.status == ST_CUT || cls.status == ST_TOUCH;
        for (int k = 0; k < 2; ++k) {
            const int32_t f = e.f[k];
            if (facetSeen_[f] != generation_) {
                facetSeen_[f] = generation_;
                facetSlot_[f] = static_cast<int32_t>(crossings_.size());
                crossings_.push_back({-1, -1, 0});
                facetFlags_.push_back(0);
                facetsCut_.push_back(f);
            }
            const int32_t slotIndex = facetSlot_[f];
            facetFlags_[slotIndex] |= cls.flags;
            if (!crossing) continue;
            std::array<int32_t, 3>& slot = crossings_[slotIndex];
            if (slot[2] < 2) slot[slot[2]] = j;
            ++slot[2];
        }
    }
    // A shrunk facet leaves the plane at exactly two points; a facet
    // wholly in the plane is beyond a local cut.
    fates_.clear();
    for (size_t k = 0; k < crossings_.size(); ++k) {
        const int32_t fate = cut::facetFate(facetFlags_[k]);
        if (fate == ST_CUT && crossings_[k][2] != 2) return false;
        fates_.push_back(fate);
    }
    // An edge in the plane passes from the facet cut away to the new
    // one; it must part a facet cut away from one the plane only touches.
    for (int32_t j : inPlane_) {
        const Edge& e = s_.edges[j];
        const int32_t f0 = fates_[facetSlot_[e.f[0]]], f1 = fates_[facetSlot_[e.f[1]]];
        if (!((f0 == ST_OUT && f1 == ST_PRESENT) || (f0 == ST_PRESENT && f1 == ST_OUT))) return false;
    }
    // Every vertex on the plane keeps an edge into the stone.
    for (int32_t count : touches_)
        if (count < 1) return false;

    points_.clear();
    for (size_t k = 0; k < edgesCut_.size(); ++k) {
        if (edgeClass_[k] != ST_CUT) continue;
        const int32_t j = edgesCut_[k];
        const Edge& e = s_.edges[j];
        const Vertex& v0 = s_.vertices[e.v[0]];
        const Vertex& v1 = s_.vertices[e.v[1]];
        const double t = v0.dist / (v0.dist - v1.dist);
        edgePoint_[j] = static_cast<int32_t>(points_.size());
        points_.push_back({(1 - t) * v0.x + t * v1.x, (1 - t) * v0.y + t * v1.y, (1 - t) * v0.z + t * v1.z});
    }
    return true;
}

bool LocalCutter::pointsApart() {
    apart_.assign(points_.begin(), points_.end());
    for (int32_t i : near_) apart_.push_back(s_.vertices[i].pos());
    order_.resize(apart_.size());
    for (size_t k = 0; k < order_.size(); ++k) order_[k] = static_cast<int32_t>(k);
    std::sort(order_.begin(), order_.end(), [&](int32_t p, int32_t q) { return apart_[p].x < apart_[q].x; });
    for (size_t i = 0; i < order_.size(); ++i) {
        if (!std::isfinite(apart_[order_[i]].x + apart_[order_[i]].y + apart_[order_[i]].z)) return false;
        for (size_t j = i + 1; j < order_.size(); ++j) {
            const Vec3 p = apart_[order_[i]], q = apart_[order_[j]];
            if (q.x - p.x >= 2 * EPS) break;
            if (length(p - q) < 2 * EPS) return false;
        }
    }
    return true;
}

int32_t LocalCutter::ringVertexOf(int32_t edge, int32_t pointCount) const {
    const Edge& e = s_.edges[edge];
    const int32_t s0 = s_.vertices[e.v[0]].status, s1 = s_.vertices[e.v[1]].status;
    if (s0 == ST_OUT || s1 == ST_OUT) return edgePoint_[edge];
    return pointCount + onPlaneIndex_[e.v[s0 == ST_ON ? 0 : 1]];
}

Vec3 LocalCutter::ringPosition(int32_t ringVertex, int32_t pointCount) const {
    return ringVertex < pointCount ? points_[ringVertex] : s_.vertices[onPlane_[ringVertex - pointCount]].pos();
}

bool LocalCutter::ringIsWhole(int32_t pointCount, int32_t& closing) {
    ringEnds_.assign(points_.size() + onPlane_.size(), {-1, -1});
    ringEdges_.clear();
    auto link = [&](int32_t p, int32_t q) {
        const int32_t edge = static_cast<int32_t>(ringEdges_.size());
        for (int32_t end : {p, q}) {
            auto& ends = ringEnds_[end];
            if (ends[0] < 0)
                ends[0] = edge;
            else if (ends[1] < 0)
                ends[1] = edge;
            else
                return false;
        }
        ringEdges_.push_back({p, q});
        return true;
    };
    closing = 0;
    for (size_t k = 0; k < crossings_.size(); ++k) {
        if (fates_[k] != ST_CUT) continue;
        const int32_t p = ringVertexOf(crossings_[k][0], pointCount);
        const int32_t q = ringVertexOf(crossings_[k][1], pointCount);
        if (p == q) return false;
        const Vec3 delta = ringPosition(q, pointCount) - ringPosition(p, pointCount);
        if (std::fabs(delta.x) + std::fabs(delta.y) + std::fabs(delta.z) < EPS3) return false;
        if (!link(p, q)) return false;
        ++closing;
    }
    for (int32_t j : inPlane_) {
        const Edge& e = s_.edges[j];
        if (!link(pointCount + onPlaneIndex_[e.v[0]], pointCount + onPlaneIndex_[e.v[1]])) return false;
    }
    const size_t count = ringEdges_.size();
    if (count < 3 || count != ringEnds_.size()) return false;
    for (const auto& ends : ringEnds_)
        if (ends[1] < 0) return false;
    size_t walked = 0;
    int32_t edge = 0, point = ringEdges_[0][0];
    do {
        const auto& ends = ringEdges_[edge];
        point = ends[0] == point ? ends[1] : ends[0];
        const auto& at = ringEnds_[point];
        edge = at[0] == edge ? at[1] : at[0];
        ++walked;
    } while (edge != 0 && walked <= count);
    return walked == count;
}

}  // namespace brevix::local_cut
