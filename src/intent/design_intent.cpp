#include "intent/design_intent.h"

#include <cmath>
#include <cstdlib>

#include "intent/inference.h"
#include "intent/intent_words.h"

namespace brevix {

DesignIntent intentOf(const Stone& stone, const DesignIntent* recorded, double meetTolerance) {
    if (recorded) return reconcileIntent(stone, *recorded, meetTolerance);
    return inferIntent(stone, meetTolerance);
}

int32_t intentTierOfFacet(const Stone& stone, const DesignIntent& intent, int32_t facet) {
    if (facet < 0 || facet >= stone.nFacet) return -1;
    const Facet& f = stone.facets[facet];
    const Plane p = f.plane();
    for (size_t t = 0; t < intent.tiers.size(); ++t)
        for (const Plane& q : intent.tiers[t].planes)
            if (q == p) return int32_t(t);
    return -1;
}

int32_t findTier(const Stone& stone, const DesignIntent& intent, const std::string& name) {
    for (size_t t = 0; t < intent.tiers.size(); ++t)
        if (tierLabel(stone, intent, int32_t(t)) == name) return int32_t(t);
    char* end = nullptr;
    const long number = std::strtol(name.c_str(), &end, 10);
    if (!name.empty() && end && *end == '\0' && number >= 1 && number <= long(intent.tiers.size()))
        return int32_t(number - 1);
    return -1;
}

RecutResult recutTierAngle(const Stone& stone, const DesignIntent& intent, int32_t tier,
                           double shownAngle, double meetTolerance) {
    TierChange change;
    change.tier = tier;
    change.setAngle = true;
    change.angle = shownAngle;
    if (tier >= 0 && tier < int32_t(intent.tiers.size()) && intent.tiers[tier].angle < 0)
        change.angle = -std::fabs(shownAngle);
    return recutByIntent(stone, intent, change, meetTolerance);
}

}  // namespace brevix
