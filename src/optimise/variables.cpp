#include "optimise/variables.h"

#include <algorithm>
#include <cmath>

#include "kernel/geometry.h"
#include "platform/strformat.h"

namespace brevix::optimise {

double criticalAngle(double refractiveIndex) {
    return refractiveIndex > 1 ? std::asin(1.0 / refractiveIndex) * DEG_PER_RAD : 90.0;
}

bool canVary(const TierIntent& tier) {
    const double shown = std::fabs(tier.angle);
    return shown > 1e-6 && shown < 90 - 1e-6 && !tier.angleFromPoints && tier.failure.empty() &&
           !tier.planes.empty();
}

std::vector<int32_t> defaultTiers(const DesignIntent& intent) {
    std::vector<int32_t> tiers;
    for (size_t t = 0; t < intent.tiers.size(); ++t)
        if (canVary(intent.tiers[t])) tiers.push_back(int32_t(t));
    return tiers;
}

std::vector<TierVariable> variablesFor(const DesignIntent& intent, const std::vector<int32_t>& tiers,
                                       const std::vector<RangeSetting>& ranges, const Limits& limits,
                                       double refractiveIndex, std::string& error) {
    std::vector<TierVariable> out;
    const double critical = criticalAngle(refractiveIndex) + limits.criticalMargin;
    std::vector<int32_t> sorted = tiers;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int32_t t : sorted) {
        if (t < 0 || t >= int32_t(intent.tiers.size())) {
            error = strprintf("there is no tier %d", t + 1);
            return {};
        }
        const TierIntent& tier = intent.tiers[t];
        if (!canVary(tier)) {
            error = strprintf("tier %d cannot be varied: %s", t + 1,
                              tier.angleFromPoints ? "its points fix its angle"
                              : !tier.failure.empty() ? "it did not keep its intent"
                                                      : "the table and the girdle keep their angles");
            return {};
        }
        TierVariable v;
        v.tier = t;
        v.start = std::fabs(tier.angle);
        v.pavilion = tier.angle < 0;
        v.low = std::max(0.5, v.start - limits.angleSpan);
        v.high = std::min(89.5, v.start + limits.angleSpan);
        for (const RangeSetting& r : ranges)
            if (r.tier == t) v.low = r.low, v.high = r.high;
        if (!v.pavilion && v.start >= limits.leastCrownAngle) v.low = std::max(v.low, limits.leastCrownAngle);
        if (v.pavilion) v.low = std::max(v.low, critical);
        if (!(v.low <= v.high)) {
            error = v.pavilion && v.high < critical
                        ? strprintf("tier %d cannot reach the critical angle + %g within its range", t + 1,
                                    limits.criticalMargin)
                        : strprintf("tier %d has no angle left within its limits", t + 1);
            return {};
        }
        out.push_back(v);
    }
    if (out.empty()) error = "no tier to vary";
    return out;
}

}  // namespace brevix::optimise
