#include "live/cut_preview.h"

#include <algorithm>
#include <cmath>

#include "facet_placement/placement.h"
#include "kernel/kernel_error.h"
#include "live/tier_names.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

bool planeOnStone(const Stone& stone, const Facet& f) {
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& g = stone.facets[i];
        if (!g.isRough() && g.a == f.a && g.b == f.b && g.c == f.c && g.d == f.d) return true;
    }
    return false;
}

}  // namespace

std::vector<Vec3> facetOutline(const Stone& stone, int32_t facet) {
    std::vector<int32_t> corners;
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        if (e.f[0] != facet && e.f[1] != facet) continue;
        for (int32_t v : e.v)
            if (std::find(corners.begin(), corners.end(), v) == corners.end()) corners.push_back(v);
    }
    std::vector<Vec3> points;
    if (corners.empty()) return points;
    Vec3 centre;
    for (int32_t v : corners) centre = centre + stone.vertices[v].pos();
    centre = centre * (1.0 / double(corners.size()));
    const Facet& f = stone.facets[facet];
    const Vec3 n = f.normal();
    // Two directions in the facet's plane to measure the corners' turn by.
    const Vec3 u0 = std::fabs(n.z) < 0.9 ? cross(n, Vec3{0, 0, 1}) : cross(n, Vec3{1, 0, 0});
    const Vec3 u = u0 * (1 / length(u0));
    const Vec3 w = cross(n, u);
    std::vector<std::pair<double, Vec3>> turned;
    for (int32_t v : corners) {
        const Vec3 d = stone.vertices[v].pos() - centre;
        turned.emplace_back(std::atan2(dot(d, w), dot(d, u)), stone.vertices[v].pos());
    }
    std::sort(turned.begin(), turned.end(), [](const auto& p, const auto& q) { return p.first < q.first; });
    for (const auto& t : turned) points.push_back(t.second);
    return points;
}

CutPreview previewCut(const Stone& stone, const NewFacetInfo& info) {
    CutPreview out;
    if (!info.complete() || stone.gear == 0 || std::fabs(info.ced) < EPS) return out;
    out.stone = stone;
    try {
        const CutCounts counts = cutFacetSet(out.stone, info);
        out.made = counts.made;
        out.missed = counts.missed;
        out.cutOff = counts.cutOff;
    } catch (const KernelError& error) {
        out.notes.push_back(std::string("Cannot show the new facets: ") + error.what());
        return out;
    }
    out.ready = out.made > 0;
    if (depthBeyondCentre(info))
        out.notes.push_back(strprintf("The point gives depth %.4f: the facet would lie beyond the centre", info.ced));
    // Cutting appends: the new planes are the last ones that are not the
    // stone's own.
    for (int32_t i = 0; i < out.stone.nFacet; ++i)
        if (!out.stone.facets[i].isRough() && !planeOnStone(stone, out.stone.facets[i])) out.added.push_back(i);

    if (out.missed > 0)
        out.notes.push_back(strprintf("%d new facet%s would miss the stone", out.missed, out.missed > 1 ? "s" : ""));
    if (out.cutOff > 0) {
        const std::vector<int32_t> tierOf = tierOfEachFacet(stone);
        const int32_t tiers = tierOf.empty() ? 0 : *std::max_element(tierOf.begin(), tierOf.end()) + 1;
        for (int32_t t = 0; t < tiers; ++t) {
            bool left = false;
            for (int32_t i = 0; i < stone.nFacet && !left; ++i)
                left = tierOf[i] == t && planeOnStone(out.stone, stone.facets[i]);
            if (!left) out.cutAway.push_back(tierName(stone, tierOf, t));
        }
        for (const std::string& name : out.cutAway) out.notes.push_back("Would cut away " + name + " entirely");
        if (out.cutAway.empty())
            out.notes.push_back(
                strprintf("Would cut off %d facet%s", out.cutOff, out.cutOff > 1 ? "s" : ""));
    }
    return out;
}

}  // namespace brevix
