#include "optimise/limit_checks.h"

#include <algorithm>
#include <cmath>

#include "intent/intent_words.h"
#include "intent/plane_lookup.h"
#include "live/girdle_measure.h"
#include "platform/strformat.h"

namespace brevix::optimise {

namespace {

// How close to a limit a result is held by it: the search stops within a
// few hundredths of a degree of a bound it presses against.
constexpr double HELD_DEGREES = 0.1;
constexpr double HELD_SHARE = 0.03;

bool sloped(const TierIntent& tier) {
    const double shown = std::fabs(tier.angle);
    return shown > 1e-6 && shown < 90 - 1e-6 && !tier.planes.empty();
}

std::string label(const Stone& stone, const DesignIntent& intent, int32_t tier) {
    return tierLabel(stone, intent, tier);
}

std::string number(double value) {
    std::string text = strprintf("%.2f", value);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// Pairs of tiers on one side whose start angles differ by at least `gap`:
// (the steeper, the flatter).
std::vector<std::pair<int32_t, int32_t>> orderedPairs(const std::vector<double>& angles, double gap) {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (size_t i = 0; i < angles.size(); ++i)
        for (size_t j = 0; j < angles.size(); ++j) {
            const double a = angles[i], b = angles[j];
            if (a == 0 || b == 0 || (a < 0) != (b < 0)) continue;
            if (std::fabs(a) - std::fabs(b) >= gap) pairs.push_back({int32_t(i), int32_t(j)});
        }
    return pairs;
}

std::vector<double> signedAngles(const DesignIntent& intent) {
    std::vector<double> out;
    for (const TierIntent& tier : intent.tiers) out.push_back(sloped(tier) ? tier.angle : 0.0);
    return out;
}

}  // namespace

LimitChecks::LimitChecks(const Stone& design, const DesignIntent& intent, const Limits& limits,
                         double refractiveIndex)
    : limits_(limits), refractiveIndex_(refractiveIndex) {
    leastPavilion_ = criticalAngle(refractiveIndex) + limits.criticalMargin;
    areas_ = areasOf(design, intent);
    angles_ = signedAngles(intent);
    girdle_ = girdleShare(design);
    if (limits.noNewWarnings) warnings_ = warningKeys(design, intent);
}

std::map<LimitChecks::Ref, double> LimitChecks::areasOf(const Stone& stone, const DesignIntent& intent) const {
    // Every tier's planes, each under its place in the list of all of them.
    std::vector<PlaneLookup::Entry> entries;
    std::vector<Ref> refs;
    for (size_t t = 0; t < intent.tiers.size(); ++t) {
        const std::vector<Plane>& planes = intent.tiers[t].planes;
        for (size_t k = 0; k < planes.size(); ++k) {
            entries.push_back({planes[k], int32_t(refs.size())});
            refs.push_back({int32_t(t), int32_t(k)});
        }
    }
    const PlaneLookup places(std::move(entries));
    std::map<Ref, double> areas;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() || f.status != ST_PRESENT) continue;
        places.forEach(Plane{f.a, f.b, f.c, f.d},
                       [&](int32_t place) { areas[refs[size_t(place)]] = stone.facetArea(i); });
    }
    return areas;
}

std::optional<double> LimitChecks::girdleShare(const Stone& stone) const {
    const GirdleMeasure g = measureGirdle(stone);
    if (!g.thinnest) return std::nullopt;
    double minX = 1e300, maxX = -1e300;
    for (int32_t v = 0; v < stone.nVertex; ++v) {
        if (stone.vertices[v].status != ST_PRESENT) continue;
        minX = std::min(minX, stone.vertices[v].x);
        maxX = std::max(maxX, stone.vertices[v].x);
    }
    if (!(maxX > minX)) return std::nullopt;
    return g.thinnest->height / (maxX - minX);
}

std::vector<std::string> LimitChecks::warningKeys(const Stone& stone, const DesignIntent& intent) const {
    // The window check judges by the stone's own index: the candidate is
    // judged in the material it is optimised for.
    Stone judged(stone);
    judged.refractiveIndex = refractiveIndex_;
    std::vector<std::string> keys;
    for (const DesignWarning& w : designWarnings(judged, &intent)) {
        std::string key = std::to_string(int(w.kind));
        for (const std::string& t : w.tiers) key += "|" + t;
        keys.push_back(std::move(key));
    }
    return keys;
}

std::optional<std::string> LimitChecks::broken(const Stone& stone, const DesignIntent& intent) const {
    const std::vector<double> angles = signedAngles(intent);
    for (size_t t = 0; t < angles.size(); ++t)
        if (angles[t] < 0 && -angles[t] < leastPavilion_ - 1e-9)
            return strprintf("%s is below the critical angle + %s", label(stone, intent, int32_t(t)).c_str(),
                             number(limits_.criticalMargin).c_str());
    if (limits_.minFacetShare > 0) {
        const std::map<Ref, double> areas = areasOf(stone, intent);
        for (const auto& [ref, was] : areas_) {
            const auto now = areas.find(ref);
            const double area = now == areas.end() ? 0.0 : now->second;
            if (area < limits_.minFacetShare * was)
                return strprintf("a facet of %s shrinks below %s %% of its area",
                                 label(stone, intent, ref.first).c_str(), number(100 * limits_.minFacetShare).c_str());
        }
    }
    if (angles.size() == angles_.size())
        for (const auto& [steep, flat] : orderedPairs(angles_, limits_.orderGap))
            if (std::fabs(angles[steep]) < std::fabs(angles[flat]) - 1e-9)
                return strprintf("%s turns flatter than %s", label(stone, intent, steep).c_str(),
                                 label(stone, intent, flat).c_str());
    if (girdle_ && limits_.minGirdleShare > 0) {
        const std::optional<double> now = girdleShare(stone);
        if (!now || *now < limits_.minGirdleShare * *girdle_ - 1e-12)
            return strprintf("the girdle thins below %s %% of its start", number(100 * limits_.minGirdleShare).c_str());
    }
    if (limits_.noNewWarnings)
        for (const std::string& key : warningKeys(stone, intent))
            if (std::find(warnings_.begin(), warnings_.end(), key) == warnings_.end())
                return std::string("a design warning the start did not have");
    return std::nullopt;
}

std::optional<std::string> LimitChecks::swapped(const Stone& design, const DesignIntent& intent,
                                                const std::vector<TierVariable>& variables,
                                                const std::vector<double>& angles) const {
    // The shown angle each varied tier will have, NaN for the rest.
    std::vector<double> shown(angles_.size(), std::nan(""));
    for (size_t i = 0; i < variables.size() && i < angles.size(); ++i) {
        const size_t t = size_t(variables[i].tier);
        if (t >= shown.size() || t >= intent.tiers.size()) continue;
        const TierIntent& tier = intent.tiers[t];
        // Three points fix the angle whatever the candidate gives it.
        if (tier.depth == DepthRule::Points && tier.points.size() == 3) continue;
        shown[t] = angles[i];
    }
    for (const auto& [steep, flat] : orderedPairs(angles_, limits_.orderGap)) {
        const double a = shown[size_t(steep)], b = shown[size_t(flat)];
        if (std::isnan(a) || std::isnan(b)) continue;
        if (a < b - 1e-9)
            return strprintf("%s turns flatter than %s", label(design, intent, steep).c_str(),
                             label(design, intent, flat).c_str());
    }
    return std::nullopt;
}

std::vector<std::string> LimitChecks::bounding(const Stone& stone, const DesignIntent& intent,
                                               const std::vector<TierVariable>& variables,
                                               const std::vector<double>& chosen) const {
    std::vector<std::string> out;
    const std::vector<double> angles = signedAngles(intent);
    for (size_t t = 0; t < angles.size(); ++t)
        if (angles[t] < 0 && -angles[t] < leastPavilion_ + HELD_DEGREES)
            out.push_back(strprintf("%s held at the critical angle + %s", label(stone, intent, int32_t(t)).c_str(),
                                    number(limits_.criticalMargin).c_str()));
    for (size_t i = 0; i < variables.size() && i < chosen.size(); ++i) {
        const TierVariable& v = variables[i];
        const std::string name = label(stone, intent, v.tier);
        if (v.pavilion && std::fabs(v.low - leastPavilion_) < 1e-9) {
            // Named above.
        } else if (!v.pavilion && std::fabs(v.low - limits_.leastCrownAngle) < 1e-9 &&
                   chosen[i] < v.low + HELD_DEGREES) {
            out.push_back(strprintf("%s held at the least crown angle %s", name.c_str(),
                                    number(limits_.leastCrownAngle).c_str()));
        } else if (chosen[i] < v.low + HELD_DEGREES) {
            out.push_back(strprintf("%s held at the low end of its range (%.2f)", name.c_str(), v.low));
        }
        if (chosen[i] > v.high - HELD_DEGREES)
            out.push_back(strprintf("%s held at the high end of its range (%.2f)", name.c_str(), v.high));
    }
    if (limits_.minFacetShare > 0) {
        const std::map<Ref, double> areas = areasOf(stone, intent);
        std::vector<int32_t> tiers;
        for (const auto& [ref, was] : areas_) {
            const auto now = areas.find(ref);
            if (now != areas.end() && now->second < (limits_.minFacetShare + HELD_SHARE) * was &&
                std::find(tiers.begin(), tiers.end(), ref.first) == tiers.end())
                tiers.push_back(ref.first);
        }
        for (int32_t t : tiers)
            out.push_back(strprintf("%s held at %s %% of its area", label(stone, intent, t).c_str(),
                                    number(100 * limits_.minFacetShare).c_str()));
    }
    if (angles.size() == angles_.size())
        for (const auto& [steep, flat] : orderedPairs(angles_, limits_.orderGap))
            if (std::fabs(angles[steep]) < std::fabs(angles[flat]) + HELD_DEGREES)
                out.push_back(strprintf("%s held at the angle of %s", label(stone, intent, steep).c_str(),
                                        label(stone, intent, flat).c_str()));
    if (girdle_ && limits_.minGirdleShare > 0) {
        const std::optional<double> now = girdleShare(stone);
        if (now && *now < (limits_.minGirdleShare + HELD_SHARE) * *girdle_)
            out.push_back(strprintf("the girdle held at %s %% of its start", number(100 * limits_.minGirdleShare).c_str()));
    }
    return out;
}

}  // namespace brevix::optimise
