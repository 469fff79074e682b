#include "intent/point_resolution.h"

#include <algorithm>
#include <cmath>

#include "design/measures.h"
#include "intent/tier_planes.h"
#include "platform/strformat.h"

namespace brevix {

namespace {


// The facet of the stone with exactly this plane, or -1.
int32_t facetWithPlane(const Stone& stone, const Plane& p) {
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) return i;
    }
    return -1;
}

std::optional<Vec3> resolveMeet(const PointDef& point, PointContext& context, std::string& why) {
    std::vector<Plane> planes;
    for (const FacetRef& ref : point.facets) {
        const std::optional<Plane> plane = planeOfRef(ref, context.intent, context.gear);
        if (!plane || ref.tier >= context.tierBeingCut) {
            why = "names a facet that is not cut before it";
            return std::nullopt;
        }
        planes.push_back(*plane);
    }
    double residual = 0;
    const std::optional<Vec3> p = meetOfPlanes(planes, &residual);
    if (!p || residual > context.meetTolerance) {
        why = "its facets no longer meet in one point";
        return std::nullopt;
    }
    const Stone& stone = context.stone;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.a * p->x + f.b * p->y + f.c * p->z - f.d > context.meetTolerance) {
            why = "its facets no longer meet on the stone";
            return std::nullopt;
        }
    }
    return p;
}

// The stone's width W, the unit of fractions "of W".
double widthOf(Stone& stone) {
    computeBounds(stone);
    return stone.stats.W > EPS ? stone.stats.W : 1.0;
}

Vec3 along(Vec3 from, Vec3 to, double fraction, bool ofWidth, Stone& stone) {
    const Vec3 d = to - from;
    const double len = length(d);
    if (!ofWidth) return from + d * fraction;
    if (len < 1e-300) return from;
    return from + d * (fraction * widthOf(stone) / len);
}

std::optional<Vec3> resolveEdge(const PointDef& point, PointContext& context, std::string& why) {
    if (point.facets.size() != 2 || point.parts.size() != 1) {
        why = "the edge is not named by two facets and an end";
        return std::nullopt;
    }
    const Stone& stone = context.stone;
    int32_t ends[2] = {-1, -1};
    for (int k = 0; k < 2; ++k) {
        const std::optional<Plane> plane = planeOfRef(point.facets[k], context.intent, context.gear);
        if (plane) ends[k] = facetWithPlane(stone, *plane);
        if (ends[k] < 0) {
            why = "a facet of its edge is no longer on the stone";
            return std::nullopt;
        }
    }
    int32_t edge = -1;
    for (int32_t j = 0; j < stone.nEdge && edge < 0; ++j) {
        const Edge& e = stone.edges[j];
        if ((e.f[0] == ends[0] && e.f[1] == ends[1]) || (e.f[0] == ends[1] && e.f[1] == ends[0])) edge = j;
    }
    if (edge < 0) {
        why = "its facets no longer share an edge";
        return std::nullopt;
    }
    // The near end is the end that lies on the facets recorded for it.
    const Vec3 a = stone.edgeEnd(edge, 0), b = stone.edgeEnd(edge, 1);
    double offA = 0, offB = 0;
    for (const FacetRef& ref : point.parts[0].facets) {
        const std::optional<Plane> plane = planeOfRef(ref, context.intent, context.gear);
        if (!plane) continue;
        offA += std::fabs(plane->offsetOf(a));
        offB += std::fabs(plane->offsetOf(b));
    }
    const bool aNear = point.parts[0].facets.empty() ? true : offA <= offB;
    return along(aNear ? a : b, aNear ? b : a, point.fraction, point.ofWidth, context.stone);
}

}  // namespace

double outlineWidth(const Stone& stone) {
    if (stone.nVertex == 0) return 0;
    double minX = stone.vertices[0].x, maxX = minX, minY = stone.vertices[0].y, maxY = minY;
    for (int32_t i = 1; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    const double alongX = maxX - minX, alongY = maxY - minY;
    return alongY - EPS < alongX ? alongY : alongX;
}

double meetToleranceOf(const Stone& stone, double share) {
    const double tolerance = share * outlineWidth(stone);
    return std::isfinite(tolerance) && tolerance > MEET_TOLERANCE ? tolerance : MEET_TOLERANCE;
}

std::optional<Plane> planeOfRef(const FacetRef& ref, const DesignIntent& intent, int32_t gear) {
    if (ref.tier < 0 || ref.tier >= int32_t(intent.tiers.size())) return std::nullopt;
    const TierIntent& tier = intent.tiers[ref.tier];
    const int32_t k = positionInTier(tier, ref.index, gear);
    if (k < 0 || k >= int32_t(tier.planes.size())) return std::nullopt;
    return tier.planes[k];
}

std::optional<Vec3> meetOfPlanes(const std::vector<Plane>& planes, double* residual) {
    if (planes.size() < 3) return std::nullopt;
    // Normal equations of the least-squares point; exact when the planes meet.
    double m[3][4] = {};
    for (const Plane& p : planes) {
        const double n[3] = {p.a, p.b, p.c};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) m[r][c] += n[r] * n[c];
            m[r][3] += n[r] * p.d;
        }
    }
    for (int col = 0; col < 3; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 3; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        if (std::fabs(m[pivot][col]) < 1e-12) return std::nullopt;
        if (pivot != col)
            for (int c = 0; c < 4; ++c) std::swap(m[col][c], m[pivot][c]);
        for (int r = 0; r < 3; ++r) {
            if (r == col) continue;
            const double f = m[r][col] / m[col][col];
            for (int c = col; c < 4; ++c) m[r][c] -= f * m[col][c];
        }
    }
    Vec3 p{m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
    double worst = 0;
    for (const Plane& q : planes) worst = std::max(worst, std::fabs(q.offsetOf(p)));
    if (residual) *residual = worst;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
    return p;
}

std::optional<Vec3> resolvePoint(const PointDef& point, PointContext& context, std::string& why) {
    switch (point.kind) {
    case PointKind::Meet:
        return resolveMeet(point, context, why);
    case PointKind::OnEdge:
        return resolveEdge(point, context, why);
    case PointKind::Between: {
        if (point.parts.size() != 2) {
            why = "a point between two points needs both";
            return std::nullopt;
        }
        const std::optional<Vec3> a = resolvePoint(point.parts[0], context, why);
        if (!a) return std::nullopt;
        const std::optional<Vec3> b = resolvePoint(point.parts[1], context, why);
        if (!b) return std::nullopt;
        return along(*a, *b, point.fraction, point.ofWidth, context.stone);
    }
    case PointKind::Pierce:
        return point.at;
    case PointKind::Centre:
        return Vec3{0, 0, point.at.z};
    case PointKind::ZIntercept: {
        if (point.facets.size() != 1) {
            why = "an axis point needs its facet";
            return std::nullopt;
        }
        const std::optional<Plane> plane = planeOfRef(point.facets[0], context.intent, context.gear);
        if (!plane || point.facets[0].tier >= context.tierBeingCut) {
            why = "names a facet that is not cut before it";
            return std::nullopt;
        }
        if (std::fabs(plane->c) < EPS) {
            why = "its facet no longer meets the axis";
            return std::nullopt;
        }
        return Vec3{0, 0, plane->d / plane->c};
    }
    }
    why = "unknown point";
    return std::nullopt;
}

}  // namespace brevix
