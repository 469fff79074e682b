#pragma once
// The planes a tier's settings give, and the settings a plane gives back,
// with the conventions of the faceting machine: index 0 along +y, a
// negative angle on the pavilion, a level facet facing down carrying its
// direction in a negative depth.
#include <cstdint>
#include <vector>

#include "intent/intent.h"

namespace brevix {

// The plane at `angle` (degrees) and `index` at distance `ced` from the
// centre; the same arithmetic as cutting by angle, so that a tier placed
// again with unchanged values gets its planes back bit for bit.
Plane planeOf(double angle, double index, double ced, int32_t gear, double indexOffset);
// Every plane of the tier at its current angle and depth, in index order.
std::vector<Plane> planesOfTier(const TierIntent& tier, int32_t gear, double indexOffset);

// The facet angle of a plane (degrees, negative on the pavilion, 0 level).
double angleOfPlane(const Plane& p);
// The index of a plane's direction on the gear, in (0, |gear|]; the gear
// itself for a level facet and 0 for no gear.
double indexOfPlane(const Plane& p, int32_t gear, double indexOffset);
// Whether two indexes name the same notch (within 0.001, round the gear).
bool sameIndex(double a, double b, int32_t gear);
// Position of `index` in the tier's index list, or -1.
int32_t positionInTier(const TierIntent& tier, double index, int32_t gear);

// The depth of the plane at `angle` and `index` through p.
double depthThrough(double angle, double index, Vec3 p, int32_t gear, double indexOffset);

// The index as the cut list shows it: the pavilion's counted the other way.
double shownIndex(double angle, double index, int32_t gear);

}  // namespace brevix
