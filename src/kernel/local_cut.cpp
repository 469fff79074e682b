#include "kernel/local_cut.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/cut_steps.h"

namespace brevix {

namespace {

// Vertices farther inside than this cannot be reached by a cut. The flood
// of a cap spreads through every vertex above it, so that neither rounding
// nor points a merge left up to EPS3 off their planes can cut a cap in two.
constexpr double LOCAL_CUT_REACH = 1e-6;

// newFacet ignores such a plane outright.
bool localCutPlaneUsable(const PlaneToCut& p) {
    return std::isfinite(p.a) && std::isfinite(p.b) && std::isfinite(p.c) && std::isfinite(p.d) &&
           !(p.a * p.a + p.b * p.b + p.c * p.c < 0.25);
}

// Directions on the sphere, in cells of a cube around it: a cut leaves its
// new points far out along its normal, so the points of the last cut in a
// cell start the walk of the next plane with a nearby normal. Coarse cells
// are met again soon; fine ones start nearer when they are.
constexpr int LOCAL_CUT_COARSE_CELLS = 2, LOCAL_CUT_FINE_CELLS = 4;
constexpr int LOCAL_CUT_HINTS = 6 * (LOCAL_CUT_COARSE_CELLS * LOCAL_CUT_COARSE_CELLS + LOCAL_CUT_FINE_CELLS * LOCAL_CUT_FINE_CELLS);

// The coarse cell of a direction and then its fine cell, as indexes of the hints.
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

// Grows a working array by a few slots without the library's general fill.
template <class T>
void growTo(std::vector<T>& v, size_t size, T value) {
    while (v.size() < size) v.push_back(value);
}

}  // namespace

// Named rather than anonymous: the session's state holds one.
namespace local_cut {

class LocalCutter {
public:
    LocalCutter(Stone& stone, int32_t smallestStone) : s_(stone), smallestStone_(smallestStone) {}

    // newFacet's result: the facets the plane removed, -1 when it cut nothing.
    int cut(PlaneToCut& plane) {
        if (!localCutPlaneUsable(plane)) return -1;
        // A small stone is cut as quickly by newFacet; and where planes meet
        // at vertices, one local attempt that gives way leaves the next few
        // planes to newFacet, so that meets cost little more than before.
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

    // The arrays hold no removed records: every part of the program may read them.
    bool compact() const { return !entered_; }
    const LocalCutCounts& counts() const { return counts_; }

    // Compacts the slots into the arrays every other part of the program
    // reads, with the working marks a cut by newFacet would have left.
    void leave() {
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

private:
    // Takes the compacted arrays as they are: every record alive, the
    // vertex graph gathered from the edges.
    void enter() {
        const int32_t nV = s_.nVertex, nE = s_.nEdge, nF = s_.nFacet;
        entered_ = nV > 0 && nF > 0 && s_.eulerSum() == 2;
        for (int32_t j = 0; entered_ && j < nE; ++j) {
            const Edge& e = s_.edges[j];
            for (int k = 0; k < 2; ++k)
                if (e.v[k] < 0 || e.v[k] >= nV || e.f[k] < 0 || e.f[k] >= nF) entered_ = false;
        }
        lastCutWasLocal_ = false;
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

    int cutByNewFacet(PlaneToCut& plane) {
        ++counts_.byNewFacet;
        leave();
        // newFacet renumbers as it likes: the hints no longer name vertices.
        startHints_.assign(startHints_.size(), -1);
        walkFrom_ = 0;
        return s_.newFacet(plane.a, plane.b, plane.c, plane.d, std::move(plane.name), std::move(plane.instruction));
    }

    int32_t otherEnd(int32_t edge, int32_t vertex) const {
        const Edge& e = s_.edges[edge];
        return e.v[0] == vertex ? e.v[1] : e.v[0];
    }

    template <class Visit>
    void forIncident(int32_t vertex, Visit visit) const {
        const int32_t first = firstIncident_[vertex];
        for (int32_t k = 0; k < incidentCount_[vertex]; ++k) visit(incident_[first + k]);
    }

    // The cut of one plane, vertices on it (meets) included: false (with the
    // records as they were, but for working marks newFacet sets anew) when
    // it comes near enough anything for a merge, a note or a judgement of
    // newFacet's own, and must be left to newFacet.
    bool cutLocally(PlaneToCut& plane, int& removed) {
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
            if (better < 0) break;
            top = better;
            topDistance = betterDistance;
        }
        if (!std::isfinite(topDistance)) return false;
        removed = -1;
        if (topDistance < EPS - LOCAL_CUT_REACH) return true;  // misses the stone

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
            return true;
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

    // Classifies the edges with an end outside or on the plane, in index
    // order, and their facets as newFacet does; gathers where the crossing
    // edges meet the plane. False where newFacet would not come out whole
    // or would note something.
    bool classifyCap() {
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

    // No two points near the plane, old or new, closer than a merge or a
    // note would find them.
    bool pointsApart() {
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

    // The ring vertex where a crossing edge meets the plane: its new point,
    // or its end on the plane (numbered after the new points).
    int32_t ringVertexOf(int32_t edge, int32_t pointCount) const {
        const Edge& e = s_.edges[edge];
        const int32_t s0 = s_.vertices[e.v[0]].status, s1 = s_.vertices[e.v[1]].status;
        if (s0 == ST_OUT || s1 == ST_OUT) return edgePoint_[edge];
        return pointCount + onPlaneIndex_[e.v[s0 == ST_ON ? 0 : 1]];
    }

    Vec3 ringPosition(int32_t ringVertex, int32_t pointCount) const {
        return ringVertex < pointCount ? points_[ringVertex] : s_.vertices[onPlane_[ringVertex - pointCount]].pos();
    }

    // The new facet's outline, its closing edges (one per shrunk facet, none
    // short enough for a note) and the edges it takes over from the plane,
    // is one ring through every point on the plane.
    bool ringIsWhole(int32_t pointCount, int32_t& closing) {
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

    // The facets removed, rough faces of the block not counted (as newFacet counts).
    int commit(PlaneToCut& plane, int32_t verticesOut, int32_t edgesOut, int32_t facetsOut, int32_t closing) {
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

    // The end of a crossing edge on the plane: its new point, or the old
    // vertex the plane passes through (still marked on it).
    int32_t endOnPlane(int32_t crossingEdge, int32_t firstPoint) const {
        const Edge& e = s_.edges[crossingEdge];
        return e.v[0] >= firstPoint || s_.vertices[e.v[0]].status == ST_ON ? e.v[0] : e.v[1];
    }

    // As newFacet closes a shrunk facet: the edge runs along the normals'
    // cross product, and its new end points know it.
    void appendClosingEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb) {
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

    Stone& s_;
    int32_t smallestStone_;
    LocalCutCounts counts_;
    // Slots and the vertex graph are in use; the arrays are not compacted.
    bool entered_ = false, lastCutWasLocal_ = false;
    int32_t misses_ = 0, skip_ = 0;
    std::vector<uint8_t> vertexAlive_, edgeAlive_, facetAlive_;
    int32_t liveVertices_ = 0, liveEdges_ = 0, liveFacets_ = 0;
    std::vector<uint32_t> vertexSeen_, edgeSeen_, edgeCommitted_, facetSeen_;
    std::vector<int32_t> facetSlot_;
    uint32_t generation_ = 0, lastCutGeneration_ = 0;
    // The vertex graph: incident_[firstIncident_[v] + k] for k < incidentCount_[v].
    std::vector<int32_t> firstIncident_, incidentCount_, incident_;
    int32_t lastFacet_ = 0, walkFrom_ = 0;
    std::vector<int32_t> startHints_;  // by localCutCellsOf, a vertex slot or -1
    // Working lists of one cut.
    std::vector<int32_t> visited_, stack_, near_, onPlane_, edgesCut_, edgeClass_, inPlane_, facetsCut_, order_;
    std::vector<int32_t> onPlaneIndex_;  // by vertex slot: its place in onPlane_ during a cut
    std::vector<int32_t> touches_;       // per vertex on the plane: its edges kept into the stone
    std::vector<std::array<int32_t, 3>> crossings_;  // two crossing edges and their count, per facet cut
    std::vector<uint32_t> facetFlags_;
    std::vector<int32_t> fates_;  // per facet cut: newFacet's status for it
    std::vector<Vec3> points_, apart_;
    std::vector<std::array<int32_t, 2>> ringEnds_, ringEdges_;
    std::vector<int32_t> kept_, facetOrder_;
    std::vector<int32_t> edgePoint_;  // by edge slot: the point a crossing edge gives during a cut
    std::vector<int32_t> vertexMap_, facetMap_;
};

}  // namespace local_cut

using local_cut::LocalCutter;

LocalCutCounts cutPlanesInTurn(Stone& stone, std::vector<PlaneToCut>& planes, int32_t smallestStone) {
    // The last plane newFacet would not ignore is cut by newFacet itself, so
    // that every working mark it leaves is the one the stone always had.
    size_t last = planes.size();
    LocalCutCounts counts;
    while (last > 0 && !localCutPlaneUsable(planes[last - 1])) --last;
    if (last > 0) {
        LocalCutter cutter(stone, smallestStone);
        for (size_t i = 0; i + 1 < last; ++i) cutter.cut(planes[i]);
        cutter.leave();
        counts = cutter.counts();
        --last;
    }
    for (size_t i = last; i < planes.size(); ++i) {
        PlaneToCut& p = planes[i];
        stone.newFacet(p.a, p.b, p.c, p.d, std::move(p.name), std::move(p.instruction));
        ++counts.byNewFacet;
    }
    return counts;
}

struct PlaneCutSessionState {
    LocalCutter cutter;
};

PlaneCutSession::PlaneCutSession(Stone& stone, int32_t smallestStone)
    : stone_(stone), state_(std::make_unique<PlaneCutSessionState>(PlaneCutSessionState{{stone, smallestStone}})) {}

PlaneCutSession::~PlaneCutSession() { finish(); }

int PlaneCutSession::cut(PlaneToCut& plane) {
    if (state_) return state_->cutter.cut(plane);
    return stone_.newFacet(plane.a, plane.b, plane.c, plane.d, std::move(plane.name), std::move(plane.instruction));
}

bool PlaneCutSession::compact() const { return !state_ || state_->cutter.compact(); }

LocalCutCounts PlaneCutSession::counts() const { return state_ ? state_->cutter.counts() : LocalCutCounts{}; }

void PlaneCutSession::finish() {
    if (state_) state_->cutter.leave();
    state_.reset();
}

void PlaneCutSession::abandon() { state_.reset(); }

}  // namespace brevix
