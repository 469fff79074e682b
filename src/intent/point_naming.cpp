#include "intent/point_naming.h"

#include <cmath>

#include "intent/point_resolution.h"
#include "intent/tier_planes.h"

namespace brevix {

namespace {

// Picked points are the vertices' own coordinates or points computed on an
// edge; anything farther than this from them was not picked there.
constexpr double SAME_POINT = 1e-9;

bool refOfFacet(const Stone& stone, const DesignIntent& intent, int32_t facet, FacetRef& ref) {
    const Facet& f = stone.facets[facet];
    const Plane p = f.plane();
    for (size_t t = 0; t < intent.tiers.size(); ++t)
        for (size_t k = 0; k < intent.tiers[t].planes.size(); ++k)
            if (intent.tiers[t].planes[k] == p) {
                ref = {int32_t(t), intent.tiers[t].indexes[k]};
                return true;
            }
    return false;
}

}  // namespace

std::vector<FacetRef> facetsMeetingAt(const Stone& stone, const DesignIntent& intent, Vec3 p) {
    std::vector<FacetRef> refs;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (std::fabs(f.a * p.x + f.b * p.y + f.c * p.z - f.d) > MEET_TOLERANCE) continue;
        FacetRef ref;
        if (f.isRough() || !refOfFacet(stone, intent, i, ref)) return {};
        refs.push_back(ref);
    }
    return refs;
}

PointDef namePoint(const Stone& stone, const DesignIntent& intent, Vec3 p) {
    PointDef def;
    def.at = p;
    for (int32_t v = 0; v < stone.nVertex; ++v) {
        if (length(stone.vertices[v].pos() - p) > SAME_POINT) continue;
        std::vector<FacetRef> refs = facetsMeetingAt(stone, intent, p);
        if (refs.size() >= 3) {
            def.kind = PointKind::Meet;
            def.facets = std::move(refs);
            return def;
        }
    }
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Vec3 a = stone.edgeEnd(j, 0), b = stone.edgeEnd(j, 1);
        const Vec3 d = b - a;
        const double len2 = dot(d, d);
        if (len2 < 1e-24) continue;
        const double t = dot(p - a, d) / len2;
        if (t <= 0 || t >= 1 || length(a + d * t - p) > SAME_POINT) continue;
        FacetRef fa, fb;
        const Edge& e = stone.edges[j];
        if (!refOfFacet(stone, intent, e.f[0], fa) || !refOfFacet(stone, intent, e.f[1], fb)) break;
        const bool aNear = t <= 0.5;
        const std::vector<FacetRef> nearEnd = facetsMeetingAt(stone, intent, aNear ? a : b);
        if (nearEnd.size() < 3) break;
        def.kind = PointKind::OnEdge;
        def.facets = {fa, fb};
        PointDef end;
        end.kind = PointKind::Meet;
        end.facets = nearEnd;
        def.parts = {end};
        def.fraction = aNear ? t : 1 - t;
        return def;
    }
    def.kind = std::fabs(p.x) < 1e-12 && std::fabs(p.y) < 1e-12 ? PointKind::Centre : PointKind::Pierce;
    return def;
}

}  // namespace brevix
