#pragma once
// The standard round brilliant as a cutter places it, through its meet
// points rather than by depths: the benchmarks' and tests' design with a
// recorded intent, and the guide's example.
#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// Girdle G (16 at 90°), pavilion mains P1 (8 at 40.75°) to the centre
// point, pavilion halves P2 (16 at 42°) through the G/P1 meets at the
// mains' own corners of the girdle, crown mains
// C1 (8 at 34.5°) leaving a level girdle 0.03 W thick, table T, stars C2
// (8 at 21.5°) meeting C1 halfway along the table line, so that the mains
// touch the table in a point, upper halves C3 (16 at 40°) meeting girdle
// and C1. 73 facets on a 96 gear.
DesignIntent roundBrilliantIntent();

// The design cut from that intent alone, named tier by tier.
struct DesignWithIntent {
    Stone stone;
    DesignIntent intent;
};
DesignWithIntent cutRoundBrilliantByIntent();

// Gives every facet of the tier the name.
void nameTier(Stone& stone, const TierIntent& tier, const std::string& name);

}  // namespace brevix
