#include "live/girdle_measure.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "live/tier_names.h"

namespace brevix {

namespace {

// Positions along a girdle facet closer than this are the same place.
constexpr double SAME_PLACE = 1e-9;

// The horizontal direction along a vertical facet.
Vec3 alongGirdle(const Facet& f) {
    const double h = std::hypot(f.a, f.b);
    return h > 0 ? Vec3{-f.b / h, f.a / h, 0} : Vec3{1, 0, 0};
}

struct FacetCorners {
    std::vector<std::vector<int32_t>> vertices;  // of every facet, each once
    std::vector<std::vector<int32_t>> neighbours;
};

FacetCorners cornersOf(const Stone& stone) {
    FacetCorners c;
    c.vertices.resize(stone.nFacet);
    c.neighbours.resize(stone.nFacet);
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        for (int k = 0; k < 2; ++k) {
            std::vector<int32_t>& list = c.vertices[e.f[k]];
            for (int m = 0; m < 2; ++m)
                if (std::find(list.begin(), list.end(), e.v[m]) == list.end()) list.push_back(e.v[m]);
            c.neighbours[e.f[k]].push_back(e.f[1 - k]);
        }
    }
    return c;
}

// A girdle facet lying between cut facets of both sides.
bool measurable(const Stone& stone, const FacetCorners& corners, int32_t g) {
    bool above = false, below = false;
    for (int32_t n : corners.neighbours[g]) {
        const Facet& f = stone.facets[n];
        if (f.isRough()) return false;
        above = above || f.c > EPS;
        below = below || f.c < -EPS;
    }
    return above && below;
}

GirdleEnd endAt(const Stone& stone, int32_t g, Vec3 p) {
    GirdleEnd end;
    end.facet = g;
    end.at = p;
    if (const auto extent = girdleExtentAt(stone, g, p)) {
        end.height = extent->second - extent->first;
        end.at.z = extent->first;
    }
    return end;
}

// The mains of one side (+1 crown, -1 pavilion) and the least girdle height
// at their tips.
std::optional<double> mainTips(const Stone& stone, const FacetCorners& corners,
                               const std::vector<bool>& onGirdle, const std::vector<int32_t>& girdleOf,
                               int side, std::vector<int32_t>& mains) {
    const std::vector<int32_t> tierOf = tierOfEachFacet(stone);
    // The mains are cut first on their side, before the halves and stars
    // that are placed against them.
    int32_t tier = -1;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() || std::fabs(f.c) <= EPS || std::fabs(f.c) > NEAR_ONE || (f.c > 0) != (side > 0))
            continue;
        bool touches = false;
        for (int32_t v : corners.vertices[i]) touches = touches || onGirdle[v];
        if (touches && (tier < 0 || tierOf[i] < tier)) tier = tierOf[i];
    }
    if (tier < 0) return std::nullopt;
    std::optional<double> least;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        if (tierOf[i] != tier) continue;
        mains.push_back(i);
        int32_t tip = -1;
        for (int32_t v : corners.vertices[i]) {
            if (!onGirdle[v]) continue;
            if (tip < 0 || side * stone.vertices[v].z < side * stone.vertices[tip].z) tip = v;
        }
        if (tip < 0) continue;
        const GirdleEnd at = endAt(stone, girdleOf[tip], stone.vertices[tip].pos());
        if (!least || at.height < *least) least = at.height;
    }
    return least;
}

}  // namespace

bool isGirdleFacet(const Facet& f) { return !f.isRough() && std::fabs(f.c) <= EPS; }

std::optional<std::pair<double, double>> girdleExtentAt(const Stone& stone, int32_t facet, Vec3 p) {
    const Vec3 t = alongGirdle(stone.facets[facet]);
    const double s = dot(p, t);
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if (e.f[0] != facet && e.f[1] != facet) continue;
        const Vec3 p0 = stone.vertices[e.v[0]].pos(), p1 = stone.vertices[e.v[1]].pos();
        const double s0 = dot(p0, t), s1 = dot(p1, t);
        if (s < std::min(s0, s1) - SAME_PLACE || s > std::max(s0, s1) + SAME_PLACE) continue;
        if (std::fabs(s1 - s0) <= SAME_PLACE) {
            low = std::min({low, p0.z, p1.z});
            high = std::max({high, p0.z, p1.z});
            continue;
        }
        const double k = std::clamp((s - s0) / (s1 - s0), 0.0, 1.0);
        const double z = p0.z + k * (p1.z - p0.z);
        low = std::min(low, z);
        high = std::max(high, z);
    }
    if (low > high) return std::nullopt;
    return std::make_pair(low, high);
}

GirdleMeasure measureGirdle(const Stone& stone) {
    GirdleMeasure m;
    const FacetCorners corners = cornersOf(stone);
    std::vector<bool> onGirdle(stone.nVertex, false);
    std::vector<int32_t> girdleOf(stone.nVertex, -1);
    for (int32_t g = 0; g < stone.nFacet; ++g) {
        if (!isGirdleFacet(stone.facets[g]) || !measurable(stone, corners, g)) continue;
        ++m.measured;
        const Vec3 t = alongGirdle(stone.facets[g]);
        int32_t first = -1, last = -1;
        for (int32_t v : corners.vertices[g]) {
            onGirdle[v] = true;
            if (girdleOf[v] < 0) girdleOf[v] = g;
            const double s = dot(stone.vertices[v].pos(), t);
            if (first < 0 || s < dot(stone.vertices[first].pos(), t)) first = v;
            if (last < 0 || s > dot(stone.vertices[last].pos(), t)) last = v;
        }
        if (first < 0) continue;
        for (int32_t v : {first, last}) {
            const GirdleEnd end = endAt(stone, g, stone.vertices[v].pos());
            if (!m.thinnest || end.height < m.thinnest->height) m.thinnest = end;
            if (end.height > GIRDLE_THROUGH) continue;
            // Two girdle facets share a corner: it is one place.
            const bool known = std::any_of(m.cutThrough.begin(), m.cutThrough.end(), [&](const GirdleEnd& e) {
                return length(e.at - end.at) <= GIRDLE_THROUGH;
            });
            if (!known) m.cutThrough.push_back(end);
        }
    }
    if (m.measured == 0) return m;
    const std::optional<double> crown = mainTips(stone, corners, onGirdle, girdleOf, +1, m.crownMains);
    const std::optional<double> pavilion = mainTips(stone, corners, onGirdle, girdleOf, -1, m.pavilionMains);
    if (crown && pavilion)
        m.atMainTips = std::min(*crown, *pavilion);
    else
        m.atMainTips = crown ? crown : pavilion;
    return m;
}

}  // namespace brevix
