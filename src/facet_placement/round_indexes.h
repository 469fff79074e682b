#pragma once
// Moving every facet of a stretched design onto a whole notch of its gear
// while keeping the stone closed and its proportions.
#include "kernel/stone.h"

namespace brevix {

// Turns each facet's azimuth to the nearest notch of the stone's gear, then
// relaxes the vertices onto the turned planes and refits the planes to the
// vertices (tier by tier) for a fixed number of steps, and regenerates.
// Returns 0 on success; nonzero when the stone grew or shrank by more than
// 10 % or a vertex drifted too far, and the stone is then left as it came
// out, for the caller to throw away.
int roundIndexes(Stone& stone);

}  // namespace brevix
