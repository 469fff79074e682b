#include "live/design_warnings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <cmath>
#include <map>
#include <numeric>

#include "intent/intent_words.h"
#include "intent/point_resolution.h"
#include "intent/recut.h"
#include "kernel/kernel_error.h"
#include "live/girdle_measure.h"
#include "live/tier_names.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr const char* DEGREE = "\xB0";

std::string placesWords(int places) { return places > 1 ? strprintf(" at %d places", places) : std::string(); }

// Warnings with the same tiers are one warning with several places.
void addGrouped(std::vector<DesignWarning>& out, DesignWarning w) {
    for (DesignWarning& known : out) {
        if (known.kind != w.kind || known.tiers != w.tiers) continue;
        ++known.places;
        known.gap = std::max(known.gap, w.gap);
        known.gapShare = std::max(known.gapShare, w.gapShare);
        known.angle = std::min(known.angle, w.angle);
        for (int32_t f : w.facets)
            if (std::find(known.facets.begin(), known.facets.end(), f) == known.facets.end())
                known.facets.push_back(f);
        return;
    }
    w.places = 1;
    out.push_back(std::move(w));
}

// Tier names in cutting order, each once.
std::vector<std::string> namesOf(const Stone& stone, const std::vector<int32_t>& tierOf,
                                 std::vector<int32_t> facets) {
    std::vector<int32_t> tiers;
    for (int32_t f : facets)
        if (tierOf[f] >= 0) tiers.push_back(tierOf[f]);
    std::sort(tiers.begin(), tiers.end());
    tiers.erase(std::unique(tiers.begin(), tiers.end()), tiers.end());
    std::vector<std::string> names;
    for (int32_t t : tiers) {
        std::string name = tierName(stone, tierOf, t);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    return names;
}

struct GirdlePlane {
    Plane plane;
    std::string tier;
    int32_t facet = -1;  // on the stone; -1 for a girdle facet cut away
};

// The outline of the vertical planes seen from above: a convex polygon.
std::vector<std::array<double, 2>> outlineOf(const std::vector<Plane>& sides) {
    std::vector<std::array<double, 2>> poly = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
    for (const Plane& p : sides) {
        const auto inside = [&](const std::array<double, 2>& q) { return p.a * q[0] + p.b * q[1] - p.d; };
        std::vector<std::array<double, 2>> next;
        for (size_t k = 0; k < poly.size(); ++k) {
            const auto& a = poly[k];
            const auto& b = poly[(k + 1) % poly.size()];
            const double da = inside(a), db = inside(b);
            if (da <= 0) next.push_back(a);
            if ((da < 0 && db > 0) || (da > 0 && db < 0)) {
                const double t = da / (da - db);
                next.push_back({a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])});
            }
        }
        poly = std::move(next);
        if (poly.empty()) break;
    }
    return poly;
}

// The girdle's height at every corner of its outline, from the planes: the
// lowest crown plane above the corner less the highest pavilion plane below
// it. Where crown and pavilion planes cross above the girdle the height is
// less than zero, and the girdle facet there is gone: a girdle cut away by
// the crown or the pavilion is cut through too.
void girdleWarnings(const Stone& stone, const std::vector<int32_t>& tierOf, const std::vector<GirdlePlane>& girdle,
                    std::vector<DesignWarning>& out) {
    if (girdle.empty()) return;
    std::vector<Plane> sides;
    for (const GirdlePlane& g : girdle) sides.push_back(g.plane);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() && std::fabs(f.c) <= EPS) sides.push_back(f.plane());
    }
    std::vector<DesignWarning> found;
    for (const auto& corner : outlineOf(sides)) {
        const double x = corner[0], y = corner[1];
        std::vector<int32_t> on;
        std::vector<std::string> onNames;
        for (const GirdlePlane& g : girdle) {
            if (std::fabs(g.plane.a * x + g.plane.b * y - g.plane.d) > 1e-9) continue;
            onNames.push_back(g.tier);
            if (g.facet >= 0) on.push_back(g.facet);
        }
        if (onNames.empty()) continue;
        double top = std::numeric_limits<double>::infinity(), bottom = -top;
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            const Facet& f = stone.facets[i];
            if (std::fabs(f.c) <= EPS) continue;
            const double z = (f.d - f.a * x - f.b * y) / f.c;
            if (f.c > 0) top = std::min(top, z);
            else bottom = std::max(bottom, z);
        }
        if (!(top - bottom <= GIRDLE_THROUGH)) continue;
        std::vector<int32_t> crown, pavilion;
        bool rough = false;
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            const Facet& f = stone.facets[i];
            if (std::fabs(f.c) <= EPS) continue;
            const double z = (f.d - f.a * x - f.b * y) / f.c;
            if (std::fabs(z - (f.c > 0 ? top : bottom)) > 1e-9) continue;
            rough = rough || f.isRough();
            (f.c > 0 ? crown : pavilion).push_back(i);
        }
        // A side still the rough block has no girdle to speak of.
        if (rough) continue;
        DesignWarning w;
        w.kind = WarningKind::GirdleCutThrough;
        const std::vector<std::string> above = namesOf(stone, tierOf, crown);
        const std::vector<std::string> below = namesOf(stone, tierOf, pavilion);
        std::vector<std::string> girdleNames;
        for (const std::string& n : onNames)
            if (std::find(girdleNames.begin(), girdleNames.end(), n) == girdleNames.end()) girdleNames.push_back(n);
        w.tiers = above;
        w.tiers.insert(w.tiers.end(), below.begin(), below.end());
        w.tiers.insert(w.tiers.end(), girdleNames.begin(), girdleNames.end());
        w.facets = crown;
        w.facets.insert(w.facets.end(), pavilion.begin(), pavilion.end());
        w.facets.insert(w.facets.end(), on.begin(), on.end());
        w.text = "Girdle cut through: " + namesInWords(above) + " meet" + (above.size() == 1 ? "s " : " ") +
                 namesInWords(below) + " on " + namesInWords(girdleNames);
        addGrouped(found, std::move(w));
    }
    for (DesignWarning& w : found) {
        w.text += placesWords(w.places);
        out.push_back(std::move(w));
    }
}

int32_t findRoot(std::vector<int32_t>& parent, int32_t v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
}

void nearMissWarnings(const Stone& stone, const std::vector<int32_t>& tierOf, double W,
                      std::vector<DesignWarning>& out) {
    if (!(W > EPS)) return;
    const double limit = NEAR_MISS_SHARE * W;
    std::vector<int32_t> parent(stone.nVertex);
    std::iota(parent.begin(), parent.end(), 0);
    bool any = false;
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        const double len = length(stone.vertices[e.v[0]].pos() - stone.vertices[e.v[1]].pos());
        if (len >= limit) continue;
        parent[findRoot(parent, e.v[0])] = findRoot(parent, e.v[1]);
        any = true;
    }
    if (!any) return;
    std::map<int32_t, std::vector<int32_t>> clusters;
    for (int32_t v = 0; v < stone.nVertex; ++v) clusters[findRoot(parent, v)].push_back(v);
    std::vector<DesignWarning> found;
    for (const auto& [root, members] : clusters) {
        if (members.size() < 2) continue;
        double gap = 0;
        for (size_t a = 0; a < members.size(); ++a)
            for (size_t b = a + 1; b < members.size(); ++b)
                gap = std::max(gap, length(stone.vertices[members[a]].pos() - stone.vertices[members[b]].pos()));
        if (gap <= MEET_GAP) continue;
        std::vector<int32_t> facets;
        bool rough = false;
        for (int32_t j = 0; j < stone.nEdge; ++j) {
            const Edge& e = stone.edges[j];
            if (findRoot(parent, e.v[0]) != root && findRoot(parent, e.v[1]) != root) continue;
            for (int32_t f : e.f) {
                rough = rough || stone.facets[f].isRough();
                if (std::find(facets.begin(), facets.end(), f) == facets.end()) facets.push_back(f);
            }
        }
        // The block's own corners are not the design's meets.
        if (rough) continue;
        DesignWarning w;
        w.kind = WarningKind::NearMiss;
        w.tiers = namesOf(stone, tierOf, facets);
        w.facets = facets;
        w.gap = gap;
        w.gapShare = gap / W;
        addGrouped(found, std::move(w));
    }
    for (DesignWarning& w : found) {
        w.text = strprintf("Near miss: %s miss one point by %.5f (%.3f%% of W)", namesInWords(w.tiers).c_str(),
                           w.gap, 100 * w.gapShare) +
                 placesWords(w.places);
        out.push_back(std::move(w));
    }
}

void windowWarnings(const Stone& stone, const std::vector<int32_t>& tierOf, std::vector<DesignWarning>& out) {
    if (!(stone.refractiveIndex > 1)) return;
    const double critical = criticalAngle(stone.refractiveIndex);
    std::vector<DesignWarning> found;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        // A culet is level on purpose; the warning is for the slopes.
        if (f.isRough() || f.c >= -EPS || f.c < -NEAR_ONE) continue;
        const double angle = std::acos(std::clamp(-f.c, -1.0, 1.0)) * DEG_PER_RAD;
        if (angle >= critical) continue;
        DesignWarning w;
        w.kind = WarningKind::Window;
        w.tiers = {tierName(stone, tierOf, tierOf[i])};
        w.facets = {i};
        w.angle = angle;
        w.critical = critical;
        addGrouped(found, std::move(w));
    }
    for (DesignWarning& w : found) {
        w.text = strprintf("Window: %s at %.2f%s is below the critical angle %.2f%s", w.tiers[0].c_str(), w.angle,
                           DEGREE, w.critical, DEGREE);
        out.push_back(std::move(w));
    }
}

// A tier's name on the stone, or where none of its facets is left, on the
// stone it was named on before.
std::string nameOfTier(const Stone& stone, const DesignIntent& intent, int32_t tier, const Stone* names) {
    const std::string label = tierLabel(stone, intent, tier);
    if (!names || label.rfind("tier ", 0) != 0) return label;
    for (const Plane& p : intent.tiers[tier].planes)
        for (int32_t i = 0; i < names->nFacet; ++i) {
            const Facet& f = names->facets[i];
            if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d && !f.name.empty()) return f.name;
        }
    return label;
}

// An intent that no longer describes every facet (the stone was scaled,
// turned, edited outside it) says nothing about what was cut away.
bool describes(const DesignIntent& intent, const Stone& stone) {
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough()) continue;
        const Plane p = f.plane();
        bool described = false;
        for (const TierIntent& tier : intent.tiers)
            described = described || std::find(tier.planes.begin(), tier.planes.end(), p) != tier.planes.end();
        if (!described) return false;
    }
    return true;
}

bool onStone(const Stone& stone, const Plane& p) {
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (!f.isRough() && f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) return true;
    }
    return false;
}

void cutAwayWarnings(const Stone& stone, const DesignIntent& intent, const Stone* names,
                     std::vector<DesignWarning>& out) {
    const int32_t count = int32_t(intent.tiers.size());

    std::vector<bool> gone(count, false);
    bool any = false;
    for (int32_t t = 0; t < count; ++t) {
        const std::vector<Plane>& planes = intent.tiers[t].planes;
        gone[t] = !planes.empty() && std::none_of(planes.begin(), planes.end(),
                                                  [&](const Plane& p) { return onStone(stone, p); });
        any = any || gone[t];
    }
    if (!any) return;
    // The cuts again in order, to see which tier took each one away.
    std::vector<int32_t> culprit(count, -1);
    // The replay's own kernel notes are not the cutter's business: they go
    // with the replay.
    try {
        Stone replay(roughHalfOf(stone));
        for (int32_t t = 0; t < count; ++t) {
            for (const Plane& p : intent.tiers[t].planes) replay.newFacet(p.a, p.b, p.c, p.d);
            for (int32_t k = 0; k < t; ++k) {
                if (!gone[k] || culprit[k] >= 0) continue;
                const std::vector<Plane>& planes = intent.tiers[k].planes;
                if (std::none_of(planes.begin(), planes.end(), [&](const Plane& p) { return onStone(replay, p); }))
                    culprit[k] = t;
            }
        }
    } catch (const KernelError&) {
        // Without the replay nothing can be said of what took a tier away.
    }
    // A tier no later cut took away was taken out on purpose (Uncut/Recut).
    for (int32_t t = 0; t < count; ++t) {
        if (!gone[t] || culprit[t] < 0) continue;
        DesignWarning w;
        w.kind = WarningKind::TierCutAway;
        w.places = 1;
        w.tiers = {nameOfTier(stone, intent, t, names), nameOfTier(stone, intent, culprit[t], names)};
        for (const Plane& p : intent.tiers[culprit[t]].planes)
            for (int32_t i = 0; i < stone.nFacet; ++i) {
                const Facet& f = stone.facets[i];
                if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) w.facets.push_back(i);
            }
        w.text = w.tiers[0] + " cut away entirely by " + w.tiers[1];
        out.push_back(std::move(w));
    }
}

}  // namespace

double criticalAngle(double refractiveIndex) {
    if (!(refractiveIndex > 1)) return 90;
    return std::asin(1 / refractiveIndex) * DEG_PER_RAD;
}

std::vector<DesignWarning> designWarnings(const Stone& stone, const DesignIntent* intent, const Stone* before,
                                          const Stone* names) {
    std::vector<DesignWarning> out;
    if (stone.nVertex == 0) return out;
    const std::vector<int32_t> tierOf = tierOfEachFacet(stone);
    const double W = outlineWidth(stone);
    if (intent && !describes(*intent, stone)) intent = nullptr;

    // The girdle as it is, and as it was where it is gone.
    std::vector<GirdlePlane> girdle;
    const auto known = [&](const Plane& p) {
        return std::any_of(girdle.begin(), girdle.end(), [&](const GirdlePlane& g) { return g.plane == p; });
    };
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (isGirdleFacet(f)) girdle.push_back({f.plane(), tierName(stone, tierOf, tierOf[i]), i});
    }
    if (intent)
        for (size_t t = 0; t < intent->tiers.size(); ++t)
            for (const Plane& p : intent->tiers[t].planes)
                if (std::fabs(p.c) <= EPS && !known(p)) girdle.push_back({p, nameOfTier(stone, *intent, int32_t(t), names), -1});
    if (before) {
        const std::vector<int32_t> beforeTiers = tierOfEachFacet(*before);
        for (int32_t i = 0; i < before->nFacet; ++i) {
            const Facet& f = before->facets[i];
            const Plane p = f.plane();
            if (isGirdleFacet(f) && !known(p)) girdle.push_back({p, tierName(*before, beforeTiers, beforeTiers[i]), -1});
        }
    }
    girdleWarnings(stone, tierOf, girdle, out);
    if (intent) cutAwayWarnings(stone, *intent, names, out);
    nearMissWarnings(stone, tierOf, W, out);
    windowWarnings(stone, tierOf, out);
    return out;
}

}  // namespace brevix
