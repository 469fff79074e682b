#include "intent/intent_words.h"

#include <cmath>

#include "intent/tier_planes.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// The middle dot of the code page the core keeps its texts in.
constexpr const char* DOT = "\xB7";

std::string indexWords(double index) {
    const double f = index - std::floor(index);
    return f < 0.01 || f > 0.99 ? strprintf("%.0f", index) : strprintf("%.2f", index);
}

}  // namespace

std::string tierLabel(const Stone& stone, const DesignIntent& intent, int32_t tier) {
    if (tier >= 0 && tier < int32_t(intent.tiers.size())) {
        for (const Plane& p : intent.tiers[tier].planes)
            for (int32_t i = 0; i < stone.nFacet; ++i) {
                const Facet& f = stone.facets[i];
                if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d && !f.name.empty()) return f.name;
            }
        // A tier that later tiers cut away entirely goes by the name it was cut with.
        for (const std::string& name : intent.tiers[tier].names)
            if (!name.empty()) return name;
    }
    return strprintf("tier %d", tier + 1);
}

std::string facetWords(const Stone& stone, const DesignIntent& intent, const FacetRef& ref) {
    const double angle = ref.tier >= 0 && ref.tier < int32_t(intent.tiers.size())
                             ? intent.tiers[ref.tier].angle
                             : 0.0;
    return tierLabel(stone, intent, ref.tier) + " " + indexWords(shownIndex(angle, ref.index, stone.gear));
}

std::string pointWords(const Stone& stone, const DesignIntent& intent, const PointDef& point) {
    const auto facets = [&](const std::vector<FacetRef>& refs) {
        std::string text;
        for (size_t k = 0; k < refs.size(); ++k) {
            if (k > 0) text += DOT;
            text += facetWords(stone, intent, refs[k]);
        }
        return text;
    };
    const std::string fraction = point.ofWidth ? strprintf("%.4f W", point.fraction)
                                               : strprintf("%.4f of its length", point.fraction);
    switch (point.kind) {
    case PointKind::Meet:
        return "meets " + facets(point.facets);
    case PointKind::OnEdge: {
        std::string text = "on edge " + facets(point.facets) + ", " + fraction;
        if (!point.parts.empty()) text += " from " + facets(point.parts[0].facets);
        return text;
    }
    case PointKind::Between:
        if (point.parts.size() != 2) return "between two points";
        return "between (" + pointWords(stone, intent, point.parts[0]) + ") and (" +
               pointWords(stone, intent, point.parts[1]) + "), " + fraction;
    case PointKind::Pierce:
        return strprintf("through %.4f %.4f %.4f", point.at.x, point.at.y, point.at.z);
    case PointKind::ZIntercept:
        return "through the axis point of " + facets(point.facets);
    case PointKind::Centre:
        return strprintf("to the centre point at z %.4f", point.at.z);
    }
    return {};
}

std::string intentWords(const Stone& stone, const DesignIntent& intent, int32_t tier) {
    if (tier < 0 || tier >= int32_t(intent.tiers.size())) return {};
    const TierIntent& t = intent.tiers[tier];
    std::string text;
    switch (t.depth) {
    case DepthRule::Typed:
        text = strprintf("depth %.8f", t.ced);
        break;
    case DepthRule::FirstDefault:
        text = "first facet's depth";
        break;
    case DepthRule::Points:
        for (size_t k = 0; k < t.points.size(); ++k) {
            if (k > 0) text += " and ";
            text += pointWords(stone, intent, t.points[k]);
        }
        if (t.angleFromPoints && t.indexFromPoints)
            text += " (angle and index from the points)";
        else if (t.angleFromPoints)
            text += " (angle from the points)";
        else if (t.indexFromPoints)
            text += " (index from the points)";
        break;
    }
    if (t.inferred) text += ", inferred";
    // A meet the planes only came near: the next re-cut closes the gap.
    if (t.depth == DepthRule::Points && t.gap > 0) text += strprintf(", gap %.6f W", t.gap);
    if (!t.failure.empty()) text += "; not kept: " + t.failure;
    return text;
}

}  // namespace brevix
