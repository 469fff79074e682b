#pragma once
// Machine error as a cutter meets it: every tier is cut a little off the
// angle, the index and the depth it was meant to have, and whatever is cut
// to a meet point is cut to that meet again at its wrong angle and index
// (the cutter stops when the facets meet, not at a depth). So a design with
// its errors is its intent with the fixed values moved, re-cut by intent.
//
// The errors of a sample are drawn from a generator seeded by the seed and
// the sample's number alone, through a mapping to [-1, 1) of our own: the
// same seed gives the same errors on every platform, thread and order.
#include <cstdint>
#include <optional>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix::tolerance {

// The largest error of each kind; each is drawn uniformly within plus or
// minus its value.
struct MachineError {
    double angleDegrees = 0.1;  // off the angle the tier was meant to have
    double indexDegrees = 0.1;  // turned about the stone's axis
    double depthShare = 0.001;  // a tier cut to a depth: off by this share of W
};

// One tier's error in one sample: degrees of shown angle (+ steeper),
// degrees about the axis, and a share of W (+ deeper into the stone).
struct TierError {
    double angle = 0, index = 0, depth = 0;
};

// The errors of every tier of sample `sample`.
std::vector<TierError> drawTierErrors(size_t tiers, const MachineError& error, uint64_t seed, uint64_t sample);

// The intent with the errors added to what the cutter fixed. A level tier
// (the table, a culet) tilted below level is tilted the other way round the
// axis; a tier's angle or index that its points fix takes no error (its
// points fix it again), nor does a tier's depth that its points fix.
DesignIntent intentWithErrors(const Stone& design, const DesignIntent& intent, const std::vector<TierError>& errors);

// How far (a share of W) the facets of a meet may miss one another, or
// the point miss the stone, and still be cut to: turned and tilted tiers
// no longer meet exactly, and a cutter cuts to the corner they make.
double meetToleranceFor(const MachineError& error);

// The design cut with the errors, re-cut by intent from the first tier on
// with meets kept within `meetTolerance` (a share of W); none when the
// re-cut cannot keep every tier's intent.
std::optional<Stone> cutWithErrors(const Stone& design, const DesignIntent& intent,
                                   const std::vector<TierError>& errors, double meetTolerance);

}  // namespace brevix::tolerance
