#pragma once
// The optimiser's variables: the angles of the tiers it may turn, each with
// the range the cutter allows, and the limits that keep the design's
// character and keep it cuttable (no flattened crown, no pavilion that
// leaks, table and crown close to where they were, no slivers, tiers in
// their order, the girdle kept; optimise/limit_checks.h checks the last
// ones on every candidate).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"

namespace brevix::optimise {

struct Limits {
    double angleSpan = 8.0;         // default range of a tier: its start angle, give or take this (degrees)
    double leastCrownAngle = 25.0;  // a crown tier starting at or above this may not go below it
    double proportionSpan = 0.15;   // table size and crown height: within this share of their start
    double criticalMargin = 0.5;    // degrees every pavilion tier keeps above the critical angle
    double minFacetShare = 0.4;     // no facet below this share of its area at the start (0 = off)
    // Tiers of one side (crown or pavilion) whose angles differed by this
    // many degrees or more at the start keep their order.
    double orderGap = 0.5;
    double minGirdleShare = 0.8;    // the thinnest girdle at least this share of the start's (0 = off)
    bool noNewWarnings = true;      // no design warning the start did not have
};

// A range the cutter set for one tier (shown degrees, 0 to 90).
struct RangeSetting {
    int32_t tier = 0;
    double low = 0, high = 0;
};

struct TierVariable {
    int32_t tier = 0;
    double start = 0;  // shown degrees
    double low = 0, high = 0;
    bool pavilion = false;
};

// The critical angle of a material (degrees from the normal).
double criticalAngle(double refractiveIndex);

// Whether the optimiser may turn the tier: not the table, not the girdle,
// an angle the cutter fixed (not one its points fix) and an intent that was
// kept.
bool canVary(const TierIntent& tier);
// Every tier that can vary, in cutting order.
std::vector<int32_t> defaultTiers(const DesignIntent& intent);

// The variables for `tiers` with their ranges: a setting's range, else the
// start give or take the span; then the least crown angle narrows them (a
// crown tier that starts below it is not held to it) and the critical angle
// plus its margin narrows every pavilion tier, wherever it started: a
// pavilion that leaks is the fault the limit is there to prevent. Empty with the reason in `error` when a tier cannot vary or
// a range is empty.
std::vector<TierVariable> variablesFor(const DesignIntent& intent, const std::vector<int32_t>& tiers,
                                       const std::vector<RangeSetting>& ranges, const Limits& limits,
                                       double refractiveIndex, std::string& error);

}  // namespace brevix::optimise
