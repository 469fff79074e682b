#pragma once
// Where an index of the gear points, and back: every place that turns a
// notch into a direction (placing a tier, reading a design, re-cutting by
// intent, drawing the gear's numbers, rounding indexes) or a direction into
// a notch asks here, so that the same notch is the same plane bit for bit
// wherever it comes from.
#include "kernel/geometry.h"

namespace brevix {

// Azimuth in radians of `index` on a gear of `gear` notches turned by
// `indexOffset`: 0 along +y, a quarter of the gear along +x. A negative gear
// turns the other way. The gear is a double so that callers may pass its
// size (|gear|) even for the most negative int.
inline double azimuthOf(double index, double gear, double indexOffset) {
    return TWO_PI * (index - indexOffset) / gear;
}

// The index, not yet brought into 0..|gear|, that points at `azimuth`
// (radians from +y towards +x, as atan2(x, y) gives it).
inline double indexAtAzimuth(double azimuth, double gear, double indexOffset) {
    return azimuth * gear / TWO_PI + indexOffset;
}

}  // namespace brevix
