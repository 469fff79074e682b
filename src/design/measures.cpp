#include "design/measures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {

namespace {
constexpr double kUnsetMin = 1e37, kUnsetMax = -1e37;
}

Stats boundsOf(const Stone& stone) {
    Stats s = stone.stats;
    s.minX = s.minY = s.minZ = kUnsetMin;
    s.maxX = s.maxY = s.maxZ = kUnsetMax;
    s.tableMaxX = s.tableMinX = s.tableMinY = s.tableMaxY = 0;
    s.xPlusMin = s.yPlusMin = s.crownBottom = kUnsetMin;
    s.xMinusMax = s.yMinusMax = s.pavilionTop = kUnsetMax;

    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        if (v.x < s.minX) s.minX = v.x;
        if (v.y < s.minY) s.minY = v.y;
        if (v.z < s.minZ) s.minZ = v.z;
        if (v.x > s.maxX) s.maxX = v.x;
        if (v.y > s.maxY) s.maxY = v.y;
        if (v.z > s.maxZ) s.maxZ = v.z;
    }

    // The table fields start at 0, so an off-centre table still reaches the axis.
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        for (int k = 0; k < 2; ++k) {
            const Facet& f = stone.facets[e.f[k]];
            for (int m = 0; m < 2; ++m) {
                const Vertex& v = stone.vertices[e.v[m]];
                if (f.c > NEAR_ONE && !f.isRough()) {
                    s.tableMinX = std::min(s.tableMinX, v.x);
                    s.tableMaxX = std::max(s.tableMaxX, v.x);
                    s.tableMinY = std::min(s.tableMinY, v.y);
                    s.tableMaxY = std::max(s.tableMaxY, v.y);
                }
                if (f.c > EPS) s.crownBottom = std::min(s.crownBottom, v.z);
                if (f.c < -EPS) s.pavilionTop = std::max(s.pavilionTop, v.z);
                if (f.b > EPS) s.yPlusMin = std::min(s.yPlusMin, v.y);
                if (f.b < -EPS) s.yMinusMax = std::max(s.yMinusMax, v.y);
                if (f.a > EPS) s.xPlusMin = std::min(s.xPlusMin, v.x);
                if (f.a < -EPS) s.xMinusMax = std::max(s.xMinusMax, v.x);
            }
        }
    }

    s.L = s.maxY - s.minY;
    s.W = s.maxX - s.minX;
    if (s.L - EPS < s.W) std::swap(s.L, s.W);
    return s;
}

void computeBounds(Stone& stone) { stone.stats = boundsOf(stone); }

namespace {

// Sums the fan triangles of every facet, each fanned from the first vertex
// of its first edge, which `anchors` receives.
VolumeAndCentroid fanVolume(const Stone& stone, std::vector<int32_t>& anchors) {
    anchors.assign(stone.facets.size(), -1);
    double total = 0;
    Vec3 sum;
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        const Vec3 p0 = stone.vertices[e.v[0]].pos(), p1 = stone.vertices[e.v[1]].pos();
        for (int k = 0; k < 2; ++k) {
            int32_t& anchor = anchors[e.f[k]];
            if (anchor < 0) {
                anchor = e.v[0];
                continue;
            }
            const Vec3 a = stone.vertices[anchor].pos();
            const double w = std::fabs(dot(p0, cross(p1, a)));
            total += w;
            sum = sum + (p0 + p1 + a) * (w / 4);
        }
    }
    VolumeAndCentroid out;
    if (total > 0) out.centroid = {sum.x / total, sum.y / total, sum.z / total};
    out.volume = total / 6;
    return out;
}

}  // namespace

VolumeAndCentroid volumeOf(const Stone& stone) {
    std::vector<int32_t> anchors;
    return fanVolume(stone, anchors);
}

double computeVolume(Stone& stone) {
    std::vector<int32_t> anchors;
    const VolumeAndCentroid v = fanVolume(stone, anchors);
    for (size_t i = 0; i < anchors.size(); ++i)
        if (static_cast<int32_t>(i) < stone.nFacet || anchors[i] >= 0) stone.facets[i].anchor = anchors[i];
    Stats& s = stone.stats;
    s.centroidX = v.centroid.x;
    s.centroidY = v.centroid.y;
    s.centroidZ = v.centroid.z;
    s.volume = v.volume;
    return s.volume;
}

Proportions proportionsOf(const Stats& s) {
    Proportions p;
    p.L = s.maxY - s.minY;
    p.W = s.maxX - s.minX;
    p.T = s.tableMaxY - s.tableMinY;
    p.U = s.tableMaxX - s.tableMinX;
    if (p.L - EPS < p.W) std::swap(p.L, p.W);
    if (p.T - EPS < p.U) std::swap(p.T, p.U);
    if (s.pavilionTop > s.crownBottom) {
        p.overlapping = true;
        p.H = s.maxZ - s.minZ;
    } else {
        p.P = s.pavilionTop - s.minZ;
        p.C = s.maxZ - s.crownBottom;
    }
    return p;
}

double lengthToWidth(const Stone& stone) {
    const Stats s = boundsOf(stone);
    const double L = s.L, W = s.W;
    if (L == 0 || W == 0) return -1;
    const double ratio = L / W;
    return ratio < 1 ? W / L : ratio;
}

void FacetLabelCenters(Stone& stone) {
    std::vector<Vec3> sums(stone.nFacet);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& f = stone.facets[i];
        if (f.name.empty()) continue;
        f.anchor = -1;
        f.labelCenter = {};
        f.labelArea = 0;
    }
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        for (int k = 0; k < 2; ++k) {
            Facet& f = stone.facets[e.f[k]];
            if (f.name.empty()) continue;
            if (f.anchor < 0) {
                f.anchor = e.v[0];
                continue;
            }
            if (f.anchor == e.v[0] || f.anchor == e.v[1]) continue;
            if (f.anchor >= stone.nVertex) {
                stone.addNote(DiagKind::Warning, DiagCode::DesignLabelVertexOutOfBounds, "Vertex out of bounds in FacetLabelCenters()");
                return;
            }
            const Vec3 a = stone.vertices[f.anchor].pos();
            const Vec3 p0 = stone.vertices[e.v[0]].pos(), p1 = stone.vertices[e.v[1]].pos();
            const double s01 = length(p1 - p0), sA1 = length(p1 - a), sA0 = length(p0 - a);
            const double perimeter = s01 + sA1 + sA0;
            const double w = length(cross(p0 - a, p1 - a));
            if (perimeter > EPS3) {
                const Vec3 incentre = (a * s01 + p0 * sA1 + p1 * sA0) * (1 / perimeter);
                sums[e.f[k]] = sums[e.f[k]] + incentre * w;
            }
            f.labelArea += w;
        }
    }
    // Every coordinate is the plain weighted mean, also along an axis the
    // facet's normal does not lean on, so the label lies inside the facet.
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& f = stone.facets[i];
        if (f.name.empty()) continue;
        if (f.labelArea > 0)
            f.labelCenter = sums[i] * (1 / f.labelArea);
        else if (f.anchor >= 0)
            f.labelCenter = stone.vertices[f.anchor].pos();
    }
}

}  // namespace brevix
