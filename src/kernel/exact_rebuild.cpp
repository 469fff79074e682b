#include "kernel/exact_rebuild.h"

#include <algorithm>
#include <cmath>

#include "kernel/cut_steps.h"
#include "kernel/exact_sign.h"
#include "kernel/kernel_error.h"
#include "kernel/merge_points.h"

namespace brevix {

namespace {

using exact::MeetPoint;

struct XVertex {
    MeetPoint point;
    int32_t status = ST_PRESENT;
};

struct XFacet {
    int32_t plane = 0;   // index into the plane table
    int32_t record = -1; // index into the caller's records, -1 for a cube face
    uint32_t flags = 0;
    int32_t status = ST_PRESENT;
};

struct XEdge {
    int32_t v[2];
    int32_t f[2];
    int32_t status;
};

// The ordinary cut's steps, on vertices that are meet points of planes.
class ExactBuilder {
public:
    ExactBuilder(double s, double snap) : snap_(snap) {
        for (auto& n : cut::ROUGH_NORMALS) planes_.push_back({n[0], n[1], n[2], s});
        for (int32_t i = 0; i < 6; ++i) facets_.push_back({i, -1, ROUGH, ST_PRESENT});
        for (int32_t i = 0; i < 8; ++i)
            vertices_.push_back({exact::meetPoint(planes_.data(), cut::roughCornerFace(i, 0),
                                                  cut::roughCornerFace(i, 1), cut::roughCornerFace(i, 2)),
                                 ST_PRESENT});
        for (auto& e : cut::ROUGH_EDGES) edges_.push_back({{e[0], e[1]}, {e[2], e[3]}, ST_PRESENT});
    }

    // Cuts the plane; false when no part of the solid lies outside it.
    bool cut(const Facet& record, int32_t recordIndex) {
        planes_.push_back(record.plane());
        const int32_t p = static_cast<int32_t>(planes_.size()) - 1;
        const Plane plane = planes_.back();

        bool anyOutside = false;
        for (XVertex& v : vertices_) {
            const int side = exact::sideOfSnapped(planes_.data(), v.point, plane, snap_);
            v.status = cut::vertexStatus(side);
            anyOutside = anyOutside || side > 0;
        }
        if (!anyOutside) {
            planes_.pop_back();
            return false;
        }

        const int32_t n = static_cast<int32_t>(facets_.size());
        for (XFacet& f : facets_) f.flags &= ~uint32_t(KEEP | LOSE);
        const size_t edgeCount = edges_.size();
        std::vector<int32_t> touching;
        for (size_t j = 0; j < edgeCount; ++j) {
            XEdge& e = edges_[j];
            const int32_t s0 = vertices_[e.v[0]].status;
            const cut::EdgeClass cls = cut::classifyEdge(s0, vertices_[e.v[1]].status);
            e.status = cls.status;
            facets_[e.f[0]].flags |= cls.flags;
            facets_[e.f[1]].flags |= cls.flags;
            if (e.status == ST_CUT) {
                const MeetPoint point = exact::meetPoint(planes_.data(), facets_[e.f[0]].plane,
                                                         facets_[e.f[1]].plane, p);
                vertices_.push_back({point, ST_ON});
                e.v[s0 == ST_OUT ? 0 : 1] = static_cast<int32_t>(vertices_.size()) - 1;
            }
            if (e.status == ST_CUT || e.status == ST_TOUCH) touching.push_back(static_cast<int32_t>(j));
        }

        facets_.push_back({p, recordIndex, 0, ST_PRESENT});
        for (int32_t i = 0; i < n; ++i) {
            XFacet& f = facets_[i];
            f.status = cut::facetFate(f.flags);
            if (f.status == ST_OUT)
                cut::handOverInPlaneEdges(edges_, static_cast<int32_t>(edgeCount), i, n, [](int32_t) {});
            else if (f.status == ST_CUT)
                closeCutFacet(i, n, touching);
        }
        compact();
        return true;
    }

    // Moves the result into the stone.
    void store(Stone& stone, std::vector<Facet>& records) const {
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            stone.facets[i].name.clear();
            stone.facets[i].instruction.clear();
        }
        const auto nF = static_cast<int32_t>(facets_.size());
        const auto nV = static_cast<int32_t>(vertices_.size());
        const auto nE = static_cast<int32_t>(edges_.size());
        if (stone.maxFacet <= nF) stone.growFacets(nF);
        if (stone.maxVertex <= nV) stone.growVertices(nV);
        if (stone.maxEdge <= nE) stone.growEdges(nE);
        stone.nRough = 0;
        stone.nGirdle = 0;
        for (int32_t i = 0; i < nF; ++i) {
            const XFacet& x = facets_[i];
            const Plane& pl = planes_[x.plane];
            Facet& f = stone.facets[i];
            const bool rough = x.record < 0;
            f.init(pl.a, pl.b, pl.c, pl.d, rough ? 0 : records[x.record].tier, rough);
            f.flags = rough ? uint32_t(ROUGH) : 0u;
            f.name = rough ? std::string() : std::move(records[x.record].name);
            f.instruction = rough ? std::string() : std::move(records[x.record].instruction);
            if (rough)
                ++stone.nRough;
            else if (std::fabs(pl.c) < EPS)
                ++stone.nGirdle;
        }
        for (int32_t i = nF; i < stone.maxFacet; ++i) {
            stone.facets[i].name.clear();
            stone.facets[i].instruction.clear();
        }
        std::vector<std::vector<int32_t>> around(nV);
        for (const XEdge& e : edges_)
            for (int k = 0; k < 2; ++k)
                for (int m = 0; m < 2; ++m) around[e.v[k]].push_back(facets_[e.f[m]].plane);
        const Plane& last = planes_.back();
        for (int32_t i = 0; i < nV; ++i) {
            Vertex& v = stone.vertices[i];
            v = Vertex{};
            placeVertex(vertices_[i].point, around[i], v);
            v.dist = last.a * v.x + last.b * v.y + last.c * v.z - last.d;
        }
        for (int32_t j = 0; j < nE; ++j) {
            Edge& e = stone.edges[j];
            e = Edge{};
            e.v = {edges_[j].v[0], edges_[j].v[1]};
            e.f = {edges_[j].f[0], edges_[j].f[1]};
            e.status = edges_[j].status;
        }
        stone.nFacet = nF;
        stone.nVertex = nV;
        stone.nEdge = nE;
    }

    std::vector<int32_t> recordsKept() const {
        std::vector<int32_t> kept;
        for (const XFacet& f : facets_) kept.push_back(f.record);
        return kept;
    }

private:
    // The new edge closing a shrunk facet joins the two meet points where its
    // outline leaves the plane. It is oriented from the facet's outline, so
    // that no rounding of positions can turn it round on a tiny edge: on the
    // facet's ring the kept chain runs from one of the two points to the
    // other, and the new edge runs back.
    void closeCutFacet(int32_t facet, int32_t n, const std::vector<int32_t>& touching) {
        int32_t ends[2] = {-1, -1};
        bool endIsHead[2] = {false, false};
        int found = 0;
        for (int32_t j : touching) {
            const XEdge& e = edges_[j];
            if (e.f[0] != facet && e.f[1] != facet) continue;
            for (int k = 0; k < 2; ++k) {
                if (vertices_[e.v[k]].status != ST_ON) continue;
                if (found == 2) throw KernelError("Internal error: exact cut found a third meet point");
                ends[found] = e.v[k];
                // On this facet's ring the edge runs v0 -> v1 when the facet is f[0].
                endIsHead[found] = (e.f[0] == facet) == (k == 1);
                ++found;
            }
        }
        if (found != 2 || ends[0] == ends[1] || endIsHead[0] == endIsHead[1])
            throw KernelError("Internal error: exact cut could not close a facet");
        // The ring reaches `head` last and leaves from `tail`: the new edge
        // runs head -> tail on this facet, which is its f[0].
        const int32_t head = endIsHead[0] ? ends[0] : ends[1];
        const int32_t tail = endIsHead[0] ? ends[1] : ends[0];
        edges_.push_back({{head, tail}, {facet, n}, ST_ON});
    }

    void compact() {
        std::vector<int32_t> vertexMap(vertices_.size(), -1), facetMap(facets_.size(), -1);
        size_t kept = 0;
        for (size_t i = 0; i < vertices_.size(); ++i) {
            if (vertices_[i].status == ST_OUT) continue;
            vertices_[kept] = vertices_[i];
            vertices_[kept].status = ST_PRESENT;
            vertexMap[i] = static_cast<int32_t>(kept++);
        }
        vertices_.resize(kept);
        kept = 0;
        for (size_t i = 0; i < facets_.size(); ++i) {
            if (facets_[i].status == ST_OUT) continue;
            facets_[kept] = facets_[i];
            facets_[kept].status = ST_PRESENT;
            facetMap[i] = static_cast<int32_t>(kept++);
        }
        facets_.resize(kept);
        kept = 0;
        for (size_t j = 0; j < edges_.size(); ++j) {
            XEdge e = edges_[j];
            if (e.status == ST_OUT) continue;
            for (int k = 0; k < 2; ++k) {
                e.v[k] = vertexMap[e.v[k]];
                e.f[k] = facetMap[e.f[k]];
                if (e.v[k] < 0 || e.f[k] < 0)
                    throw KernelError("Internal error: exact cut kept an edge on a removed record");
            }
            edges_[kept++] = e;
        }
        edges_.resize(kept);
        if (facets_.size() + vertices_.size() != edges_.size() + 2)
            throw KernelError("Internal error: exact cut flunked Euler-Descartes test");
    }

    // The position from the best-conditioned three of the planes through the
    // vertex, in extended precision: a meet point of many nearly dependent
    // planes then sits on all of them as closely as doubles allow.
    void placeVertex(const MeetPoint& point, std::vector<int32_t>& planes, Vertex& v) const {
        std::sort(planes.begin(), planes.end());
        planes.erase(std::unique(planes.begin(), planes.end()), planes.end());
        int32_t best[3] = {point.planes[0], point.planes[1], point.planes[2]};
        if (planes.size() > 3) {
            auto normal = [&](int32_t p) { return Vec3{planes_[p].a, planes_[p].b, planes_[p].c}; };
            const int32_t first = planes[0];
            int32_t second = planes[1];
            double bestCross = -1;
            for (int32_t p : planes) {
                const double c = length(cross(normal(first), normal(p)));
                if (c > bestCross) bestCross = c, second = p;
            }
            const Vec3 axis = cross(normal(first), normal(second));
            int32_t third = point.planes[2];
            double bestDet = -1;
            for (int32_t p : planes) {
                const double det = std::fabs(dot(axis, normal(p)));
                if (det > bestDet) bestDet = det, third = p;
            }
            if (bestDet > 0) best[0] = first, best[1] = second, best[2] = third;
        }
        const Plane& u = planes_[best[0]];
        const Plane& w = planes_[best[1]];
        const Plane& t = planes_[best[2]];
        using L = long double;
        auto det = [](L a0, L a1, L a2, L b0, L b1, L b2, L c0, L c1, L c2) {
            return a0 * (b1 * c2 - b2 * c1) - a1 * (b0 * c2 - b2 * c0) + a2 * (b0 * c1 - b1 * c0);
        };
        const L n = det(u.a, u.b, u.c, w.a, w.b, w.c, t.a, t.b, t.c);
        v.x = static_cast<double>(det(u.d, u.b, u.c, w.d, w.b, w.c, t.d, t.b, t.c) / n);
        v.y = static_cast<double>(det(u.a, u.d, u.c, w.a, w.d, w.c, t.a, t.d, t.c) / n);
        v.z = static_cast<double>(det(u.a, u.b, u.d, w.a, w.b, w.d, t.a, t.b, t.d) / n);
    }

    double snap_;
    std::vector<Plane> planes_;
    std::vector<XFacet> facets_;
    std::vector<XVertex> vertices_;
    std::vector<XEdge> edges_;
};

}  // namespace

// Meet points of planes that agree only up to rounding (tiers cut from
// angles through a common point) are first taken as one point: within this
// distance a vertex is on a plane. Far below what a cutter or a file can
// mean, far above the rounding of the meet points themselves.
constexpr double ROUNDING_SNAP = 1e-13;

std::vector<int32_t> rebuildExactly(Stone& stone, std::vector<Facet>& records, double roughHalf) {
    // Snapping can in rare cases split a cluster of vertices across its
    // threshold and contradict itself; the exact decisions alone never do.
    for (double snap : {ROUNDING_SNAP, 0.0}) {
        try {
            ExactBuilder builder(roughHalf, snap);
            for (size_t i = 0; i < records.size(); ++i) {
                const Facet& f = records[i];
                if (f.isRough()) continue;
                builder.cut(f, static_cast<int32_t>(i));
            }
            builder.store(stone, records);
            std::vector<int32_t> kept = builder.recordsKept();
            // Exact meet points a few billionths apart are one point to
            // every check that follows.
            const PointMerge merge = mergeCoincidentPoints(stone, {});
            if (merge.merged()) {
                std::vector<int32_t> left;
                for (size_t i = 0; i < kept.size(); ++i)
                    if (merge.facetMap[i] >= 0) left.push_back(kept[i]);
                kept = std::move(left);
            }
            return kept;
        } catch (const KernelError&) {
            if (snap == 0) throw;
        }
    }
    return {};
}

}  // namespace brevix
