#pragma once
// A round design of many steps, made by intent alone: a girdle, rings of
// pavilion tiers stepping down to the culet and rings of crown tiers
// stepping up to the table, every ring cut through a point on the ridge of
// the ring before it, so that each meets the previous at the ridges. Its
// size is chosen by the caller: the big design the optimiser's speed is
// measured and tested on, scaled from a handful of tiers to dozens.
#include <string>

#include "intent/brilliant_intent.h"
#include "intent/intent.h"

namespace brevix {

struct SteppedRound {
    int pavilionTiers = 10;
    int crownTiers = 9;
    int facetsPerTier = 16;  // 8 or 16 on a 96 gear
    // Signed degrees of the first ring (at the girdle) and the last; the
    // rings between step evenly, flatter towards the culet and the table.
    double pavilionFirst = -46, pavilionLast = -41.5;
    double crownFirst = 40, crownLast = 24;
    double table = 0.55;   // the table's corners as a share of the girdle's
    double girdle = 0.03;  // girdle thickness at its facets' middles, share of W
};

// The intent: tier 0 the girdle, then the pavilion rings, the crown rings
// and the table. Each ring's rings are equally wide across the start.
DesignIntent steppedRoundIntent(const SteppedRound& shape);

// The design cut from that intent alone, named tier by tier (G, P1..., C1...,
// T); `ok` says whether every tier kept its intent.
DesignWithIntent cutSteppedRound(const SteppedRound& shape, bool* ok = nullptr);

}  // namespace brevix
