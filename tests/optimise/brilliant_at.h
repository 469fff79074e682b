#pragma once
// The round brilliant of the intent tests cut at other angles, its culet
// moved with the mains so that they still reach the girdle where the
// sample's do (0.03 below the girdle corner's height on their line).
#include <cmath>

#include "intent/brilliant_intent.h"
#include "intent/recut.h"

namespace brevix::optimise::testing {

enum { G, P1, P2, C1, T, C2, C3 };

inline DesignWithIntent brilliantAt(double p1, double p2, double c1, double c2, double c3, bool* ok = nullptr) {
    DesignIntent intent = roundBrilliantIntent();
    const double corner = 1 / std::cos(PI / 16);  // the girdle's corner on a main's line
    intent.tiers[P1].angle = -p1;
    intent.tiers[P1].points[0].at.z = -(corner * std::tan(p1 * PI / 180) + 0.03);
    intent.tiers[P2].angle = -p2;
    intent.tiers[C1].angle = c1;
    intent.tiers[C2].angle = c2;
    intent.tiers[C3].angle = c3;
    Stone rough;
    rough.gear = 96;
    rough.symmetry = 8;
    rough.mirror = 1;
    rough.heading[0] = "Round brilliant";
    RecutResult cut = recutByIntent(rough, intent, std::nullopt);
    if (ok) *ok = cut.ok();
    static const char* const names[] = {"G", "P1", "P2", "C1", "T", "C2", "C3"};
    for (size_t t = 0; t < cut.intent.tiers.size() && t < 7; ++t) nameTier(cut.stone, cut.intent.tiers[t], names[t]);
    return {std::move(cut.stone), std::move(cut.intent)};
}

// The deep brilliant: pavilion 43/45, crown 42/47, stars 27.
inline DesignWithIntent deepBrilliant(bool* ok = nullptr) { return brilliantAt(43, 45, 42, 27, 47, ok); }

}  // namespace brevix::optimise::testing
