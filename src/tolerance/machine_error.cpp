#include "tolerance/machine_error.h"

#include <cmath>
#include <cstdlib>
#include <random>

#include "intent/point_resolution.h"
#include "intent/recut.h"

namespace brevix::tolerance {

namespace {

// Spreads the seed and the sample's number over the generator's state, so
// that neighbouring samples and seeds draw unrelated errors.
uint64_t mixed(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Uniform in [-1, 1) from the top 53 bits: the same on every platform,
// which std::uniform_real_distribution does not promise.
double unitDraw(std::mt19937_64& rng) { return double(rng() >> 11) * 0x1.0p-52 - 1.0; }

// Later tiers name a turned tier's facets by their new indexes.
void followTurns(PointDef& point, const std::vector<double>& turns) {
    for (FacetRef& ref : point.facets)
        if (ref.tier >= 0 && size_t(ref.tier) < turns.size()) ref.index += turns[ref.tier];
    for (PointDef& part : point.parts) followTurns(part, turns);
}

}  // namespace

std::vector<TierError> drawTierErrors(size_t tiers, const MachineError& error, uint64_t seed, uint64_t sample) {
    std::mt19937_64 rng(mixed(mixed(seed) ^ sample));
    std::vector<TierError> errors(tiers);
    for (TierError& e : errors) {
        // Always three draws a tier, so that a zero error of one kind does
        // not change the draws of the others.
        e.angle = error.angleDegrees * unitDraw(rng);
        e.index = error.indexDegrees * unitDraw(rng);
        e.depth = error.depthShare * unitDraw(rng);
    }
    return errors;
}

DesignIntent intentWithErrors(const Stone& design, const DesignIntent& intent, const std::vector<TierError>& errors) {
    DesignIntent out = intent;
    const double notchesPerDegree = std::abs(design.gear) / 360.0;
    const double width = outlineWidth(design);
    std::vector<double> turns(out.tiers.size(), 0.0);
    for (size_t t = 0; t < out.tiers.size() && t < errors.size(); ++t) {
        TierIntent& tier = out.tiers[t];
        const TierError& e = errors[t];
        double turn = tier.indexFromPoints ? 0.0 : e.index * notchesPerDegree;
        if (!tier.angleFromPoints && e.angle != 0) {
            // The shown angle moves and the tier keeps its side of the girdle;
            // below level it leans the other way, half the gear round.
            const double side = tier.angle < 0 ? -1.0 : 1.0;
            const double shown = std::fabs(tier.angle) + e.angle;
            tier.angle = side * std::fabs(shown);
            if (shown < 0) turn += std::abs(design.gear) / 2.0;
        }
        if (turn != 0) {
            tier.index += turn;
            for (double& v : tier.indexes) v += turn;
            turns[t] = turn;
        }
        if (tier.depth != DepthRule::Points && e.depth != 0 && width > 0) {
            // Deeper is nearer the centre; a level facet facing down carries
            // its depth with a negative sign.
            const double sign = tier.ced < 0 ? -1.0 : 1.0;
            tier.ced -= sign * e.depth * width;
        }
    }
    for (TierIntent& tier : out.tiers)
        for (PointDef& point : tier.points) followTurns(point, turns);
    return out;
}

double meetToleranceFor(const MachineError& error) {
    // A facet turned or tilted by a small angle moves by about that angle
    // in radians times W at the girdle; twice that, and twice the depth
    // error, covers two facets that each moved.
    const double turn = std::fabs(error.angleDegrees) + std::fabs(error.indexDegrees);
    return DEFAULT_MEET_TOLERANCE_W + 2 * turn * PI / 180 + 2 * std::fabs(error.depthShare);
}

std::optional<Stone> cutWithErrors(const Stone& design, const DesignIntent& intent,
                                   const std::vector<TierError>& errors, double meetTolerance) {
    RecutResult cut =
        recutByIntent(design, intentWithErrors(design, intent, errors), std::nullopt, meetTolerance);
    if (cut.refused || !cut.ok()) return std::nullopt;
    return std::move(cut.stone);
}

}  // namespace brevix::tolerance
