// Cutting one plane into the polyhedron: classify, split crossing edges,
// close the hole with the new facet, drop what was cut away, renumber.
#include <algorithm>
#include <cmath>
#include <vector>

#include "kernel/cut_steps.h"
#include "kernel/exact_rebuild.h"
#include "kernel/kernel_error.h"
#include "kernel/merge_points.h"
#include "kernel/stone.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

void cut::throwIllegalStatus(int end) {
    throw KernelError(end == 0 ? "Internal error: v0->status illegal." : "Internal error: v1->status illegal.");
}

namespace {

using cut::classifyEdge;
using cut::EdgeClass;

// A whole cut can still leave the points where the plane met the stone
// within EPS of each other or of a vertex it passed by: they become one. The
// new facet is the last one; if it shrinks to a point, the plane did not cut
// a face of its own. `closeLeft` tells whether two points closer than EPS
// remain because they could not be made one.
int mergeAfterCut(Stone& stone, int removed, bool& closeLeft) {
    const int32_t cut = stone.nFacet - 1;
    const PointMerge merge = mergeCoincidentPoints(stone, verticesNearLastPlane(stone));
    closeLeft = merge.refused;
    if (!merge.merged()) return removed;
    if (merge.facetMap[cut] < 0) return -1;
    return removed + merge.designFacetsDropped;
}

}  // namespace

int Stone::newFacet(double a, double b, double c, double d, std::string name,
                    std::string instruction) {
    // A plane whose numbers over- or underflowed lies nowhere near the stone.
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d) ||
        a * a + b * b + c * c < 0.25)
        return -1;

    const int32_t before = nFacet;
    // A cut that is redone exactly says nothing of its failed first attempt.
    const size_t notesBefore = notes_.size();
    int removed = 0;
    bool whole = false;
    keepDropped_ = true;
    compacted_ = false;
    dropped_.clear();
    try {
        removed = cutAsSpecified(a, b, c, d, std::move(name), std::move(instruction));
        whole = removed < 0 || cutWhole_;
    } catch (const KernelError&) {
        whole = false;
    }
    keepDropped_ = false;
    if (whole) {
        dropped_.clear();
        // A stone that came out whole with no two points closer than EPS is
        // a meet point handled: the cutter hears nothing of it.
        bool closeLeft = false;
        if (removed >= 0) removed = mergeAfterCut(*this, removed, closeLeft);
        // Notes on points and edges closer than the tolerances were about
        // points the cut has since made one, or edges the stone keeps whole.
        if (!closeLeft)
            notes_.eraseFrom(notesBefore, [](const Diagnostic& note) {
                return note.text.starts_with("Internal warning: New vertex ") ||
                       note.text.starts_with("Internal warning: Short edge ");
            });
        return removed;
    }
    notes_.truncate(notesBefore);
    return recutExactly(before);
}

// Redoes a cut whose result was not whole from every plane the stone had
// before it and the new one, with decisions that cannot contradict each other.
int Stone::recutExactly(int32_t before) {
    std::vector<Facet> records;
    records.reserve(before + 1);
    if (compacted_) {
        size_t next = 0;
        for (int32_t i = 0; i <= before; ++i) {
            if (facetMap_[i] >= 0)
                records.push_back(std::move(facets[facetMap_[i]]));
            else
                records.push_back(std::move(dropped_[next++].second));
        }
    } else {
        for (int32_t i = 0; i <= before; ++i) records.push_back(std::move(facets[i]));
    }
    dropped_.clear();
    compacted_ = false;
    const std::vector<int32_t> kept = rebuildExactly(*this, records, roughHalf_);
    std::vector<bool> present(records.size(), false);
    for (int32_t record : kept)
        if (record >= 0) present[record] = true;
    if (!present[before]) return -1;
    int removed = 0;
    for (int32_t i = 0; i < before; ++i)
        if (!records[i].isRough() && !present[i]) ++removed;
    return removed;
}

int Stone::cutAsSpecified(double a, double b, double c, double d, std::string name,
                          std::string instruction) {
    if (nFacet >= maxFacet) growFacets(nFacet);
    const int32_t n = nFacet;
    {
        Facet& slot = facets[n];
        slot.init(a, b, c, d, tierForNewFacet(c, d), false);
        slot.flags = 0;
    }

    bool anyOutside = false;
    nearPlane_.clear();
    for (int32_t i = 0; i < nVertex; ++i) {
        Vertex& v = vertices[i];
        v.dist = a * v.x + b * v.y + c * v.z - d;
        v.status = cut::vertexStatus(cut::sideOfDistance(v.dist));
        anyOutside = anyOutside || v.status == ST_OUT;
        // A vertex within L1 distance EPS of a point on the plane is at most
        // EPS (plus rounding) from the plane: only these can be too close to
        // a crossing point.
        if (std::fabs(v.dist) <= 2 * EPS) nearPlane_.push_back(i);
    }
    if (!anyOutside) return -1;

    for (int32_t i = 0; i < nFacet; ++i) facets[i].flags &= ~uint32_t(KEEP | LOSE);
    facets[n].name = std::move(name);
    facets[n].instruction = std::move(instruction);

    crossing_.clear();
    onNewFacet_.clear();
    inPlane_.clear();
    cutFacets_.clear();
    for (int32_t j = 0; j < nEdge; ++j) {
        Edge& e = edges[j];
        const Vertex& v0 = vertices[e.v[0]];
        const Vertex& v1 = vertices[e.v[1]];
        const EdgeClass cls = classifyEdge(v0.status, v1.status);
        e.status = cls.status;
        facets[e.f[0]].flags |= cls.flags;
        facets[e.f[1]].flags |= cls.flags;
        if (cls.status == ST_CUT || cls.status == ST_TOUCH) crossing_.push_back(j);
        if (cls.status == ST_ON) inPlane_.push_back(j);
        if (cls.status == ST_CUT) {
            const double t = v0.dist / (v0.dist - v1.dist);
            const double x = (1 - t) * v0.x + t * v1.x;
            const double y = (1 - t) * v0.y + t * v1.y;
            const double z = (1 - t) * v0.z + t * v1.z;
            const int outsideEnd = v0.status == ST_OUT ? 0 : 1;
            for (int32_t near : nearPlane_) warnIfClose(x, y, z, vertices[near]);
            const int32_t created = appendVertex(x, y, z);  // may move the vertex array
            nearPlane_.push_back(created);
            edges[j].v[outsideEnd] = created;
        }
    }

    int removed = 0;
    const int32_t edgeCount = nEdge;
    for (int32_t i = 0; i < n; ++i) {
        Facet& f = facets[i];
        f.status = cut::facetFate(f.flags);
        if (f.status == ST_OUT) {
            if (!f.isRough()) ++removed;
            cut::handOverInPlaneEdges(edges, edgeCount, i, n, [this](int32_t j) { onNewFacet_.push_back(j); });
        } else if (f.status == ST_CUT) {
            cutFacets_.push_back(i);
            closeCutFacet(i, n);
        }
    }

    if (std::fabs(c) < EPS) ++nGirdle;
    ++nFacet;
    facets[n].status = ST_PRESENT;
    cutWhole_ = cutLeftRingsWhole() && compactCut();
    return removed;
}

// A facet that the plane shrinks gets one new edge, between the two points
// where its outline meets the plane.
void Stone::closeCutFacet(int32_t facet, int32_t n) {
    int32_t recorded[2] = {-1, -1};
    int l = 0;
    int nicked = 0;
    for (size_t k = 0; k < crossing_.size() && l < 2; ++k) {
        const Edge& e = edges[crossing_[k]];
        if (e.f[0] != facet && e.f[1] != facet) continue;
        if (e.f[0] == n || e.f[1] == n) notes_.add(DiagKind::InternalWarning, DiagCode::KernelBadEdge, "Internal warning: Bad edge");
        ++nicked;
        for (int end = 0; end < 2; ++end) {
            const int32_t v = e.v[end];
            if (vertices[v].status != ST_ON) continue;
            if (l >= 2)
                throw KernelError(strprintf("Internal error: Can't happen l = %d >= 2 in newFacet()", l));
            recorded[l++] = v;
        }
    }
    if (nicked != 0 && nicked != 2)
        throw KernelError(strprintf("Internal error: %d edges nicked in facet %d", nicked, facet));
    if (l < 2)
        throw KernelError(strprintf("Internal error: Can't happen l = %d < 2 in newFacet()", l));

    checkNewEdge(recorded[0], recorded[1], facet, n);
    // Only edges already on the new facet can duplicate this one; report
    // them in index order as a scan of the whole edge list would.
    std::vector<int32_t> duplicates;
    for (int32_t j : onNewFacet_) {
        const Edge& e = edges[j];
        if (e.status != ST_OUT && (e.f[0] == facet || e.f[1] == facet)) duplicates.push_back(j);
    }
    std::sort(duplicates.begin(), duplicates.end());
    for (size_t k = 0; k < duplicates.size(); ++k)
        notes_.add(DiagKind::InternalWarning, DiagCode::KernelDuplicateEdges, strprintf("Internal warning: Duplicate edges between facets %d and %d!", facet, n));
    onNewFacet_.push_back(nEdge);
    appendEdge(recorded[0], recorded[1], facet, n);
}

void Stone::warnIfClose(double x, double y, double z, const Vertex& v) {
    if (std::fabs(v.x - x) + std::fabs(v.y - y) + std::fabs(v.z - z) < EPS)
        notes_.add(DiagKind::InternalWarning, DiagCode::KernelCloseVertex, strprintf("Internal warning: New vertex %9.6f %9.6f %9.6f\nclose to %9.6f "
                              "%9.6f %9.6f",
                              x, y, z, v.x, v.y, v.z));
}

int32_t Stone::newVertex(double x, double y, double z) {
    for (int32_t i = 0; i < nVertex; ++i) warnIfClose(x, y, z, vertices[i]);
    return appendVertex(x, y, z);
}

int32_t Stone::appendVertex(double x, double y, double z) {
    if (nVertex + 1 >= maxVertex) growVertices(nVertex + 1);
    Vertex& v = vertices[nVertex];
    v = Vertex{};
    v.x = x;
    v.y = y;
    v.z = z;
    v.status = ST_ON;
    return nVertex++;
}

void Stone::checkNewEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb) const {
    if (va == vb)
        throw KernelError(strprintf("Internal error: New edge attempts to join Vertex %d to itself", va));
    if (fa == fb)
        throw KernelError(
            strprintf("Internal error: New edge attempted between Facet %d and itself", fa));
    if (fa >= nFacet)
        throw KernelError(strprintf("Internal error: Facet %d >= %d in newEdge()", fa, nFacet));
    if (fb > nFacet)
        throw KernelError(strprintf("Internal error: Facet %d > %d in newEdge()", fb, nFacet));
}

void Stone::newEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb) {
    checkNewEdge(va, vb, fa, fb);
    for (int32_t j = 0; j < nEdge; ++j) {
        const Edge& e = edges[j];
        if (e.status == ST_OUT) continue;
        if ((e.f[0] == fa && e.f[1] == fb) || (e.f[0] == fb && e.f[1] == fa))
            notes_.add(DiagKind::InternalWarning, DiagCode::KernelDuplicateEdges, strprintf("Internal warning: Duplicate edges between facets %d and %d!", fa, fb));
    }
    appendEdge(va, vb, fa, fb);
}

void Stone::appendEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb) {
    if (nEdge >= maxEdge) growEdges(nEdge);
    const Vec3 pa = vertices[va].pos(), pb = vertices[vb].pos();
    const Vec3 axis = cross(facets[fa].normal(), facets[fb].normal());
    Edge& e = edges[nEdge];
    e = Edge{};
    if (dot(pb - pa, axis) >= 0)
        e.v = {va, vb};
    else
        e.v = {vb, va};
    const Vec3 delta = pb - pa;
    if (std::fabs(delta.x) + std::fabs(delta.y) + std::fabs(delta.z) < EPS3)
        notes_.add(DiagKind::InternalWarning, DiagCode::KernelShortEdge, strprintf("Internal warning: Short edge from vertex %d to %d on facets %d and "
                              "%d on edge %d\n",
                              va, vb, fa, fb, nEdge));
    e.f = {fa, fb};
    e.status = ST_ON;
    ++nEdge;
}

void Stone::compact() {
    const int32_t dangling = compactRecords();
    // Planes all but equal to an existing facet can leave a kept edge on a
    // dropped vertex or facet; the Euler sum may still come out right, so
    // this must be caught here, before any later operation follows the index.
    if (dangling >= 0)
        throw KernelError(strprintf("Internal error: Edge %d kept on a vertex or facet the cut removed", dangling));
    const int32_t sum = eulerSum();
    if (sum != 2)
        notes_.add(DiagKind::InternalError, DiagCode::KernelEulerFailed, strprintf("Internal error: flunked Euler-Descartes test\n%d Facets + %d "
                              "vertices - %d Edges = %d, not 2",
                              nFacet, nVertex, nEdge, sum));
}

bool Stone::compactCut() { return compactRecords() < 0 && eulerSum() == 2; }

// Drops the records the cut removed and renumbers; returns the first kept
// edge left on a removed vertex or facet, or -1.
int32_t Stone::compactRecords() {
    if (static_cast<int32_t>(vertexMap_.size()) < nVertex) vertexMap_.resize(nVertex);
    if (static_cast<int32_t>(facetMap_.size()) < nFacet) facetMap_.resize(nFacet);

    int32_t kept = 0;
    for (int32_t i = 0; i < nVertex; ++i) {
        if (vertices[i].status == ST_OUT) {
            vertexMap_[i] = -1;
            continue;
        }
        if (kept != i) vertices[kept] = vertices[i];
        vertices[kept].status = ST_PRESENT;
        vertexMap_[i] = kept++;
    }
    nVertex = kept;

    compacted_ = true;
    kept = 0;
    for (int32_t i = 0; i < nFacet; ++i) {
        Facet& f = facets[i];
        if (f.status == ST_OUT) {
            if (f.isRough())
                --nRough;
            else if (std::fabs(f.c) < EPS)
                --nGirdle;
            if (keepDropped_) dropped_.emplace_back(i, std::move(f));
            f.name.clear();
            f.instruction.clear();
            facetMap_[i] = -1;
            continue;
        }
        facets[kept].takeRecord(f);
        facetMap_[i] = kept++;
    }
    for (int32_t i = kept; i < nFacet; ++i) {
        facets[i].name.clear();
        facets[i].instruction.clear();
    }
    nFacet = kept;

    kept = 0;
    int32_t dangling = -1;
    for (int32_t j = 0; j < nEdge; ++j) {
        if (edges[j].status == ST_OUT) continue;
        Edge e = edges[j];
        e.v = {vertexMap_[e.v[0]], vertexMap_[e.v[1]]};
        e.f = {facetMap_[e.f[0]], facetMap_[e.f[1]]};
        if (dangling < 0 && (e.v[0] < 0 || e.v[1] < 0 || e.f[0] < 0 || e.f[1] < 0)) dangling = j;
        edges[kept++] = e;
    }
    nEdge = kept;
    return dangling;
}

std::array<double, 4> Stone::planeByAngle(double azimuth, double tilt, double depth, bool foldNegative) {
    Vec3 n = {std::sin(azimuth) * std::sin(tilt) / depth, std::cos(azimuth) * std::sin(tilt) / depth,
              std::cos(tilt) / depth};
    const double k = 1 / length(n);
    n = n * k;
    if (foldNegative && tilt < 0) n = n * -1.0;
    return {n.x, n.y, n.z, k};
}

int Stone::cutByAngle(double azimuth, double tilt, double depth, bool foldNegative) {
    const std::array<double, 4> p = planeByAngle(azimuth, tilt, depth, foldNegative);
    return newFacet(p[0], p[1], p[2], p[3]);
}

}  // namespace brevix
