#pragma once
// Solving for the missing values of the pending facet from the points it
// must pass through. Each solver notes why in `notes` on failure and then
// gives a distance of 0; the caller decides whether to show it.
#include "facet_placement/new_facet_info.h"
#include "kernel/stone.h"
#include "platform/diagnostics.h"

namespace brevix {

// A plane found through points: its distance from the centre (0 = failed),
// its facet angle (degrees, folded) and its index on the stone's gear.
struct PlaneSolution {
    double d = 0;
    double angle = 0;
    double index = 0;
};

// Depth of the plane at the info's angle and index through point 1. A table
// has no azimuth, so its index is zeroed first.
double cedThroughPoint(NewFacetInfo& info, const Stone& stone, Diagnostics& notes);
// Angle (degrees) of the plane at the info's index and depth through point 1;
// a point nearer the centre than the depth pulls the depth in to it.
double angleThroughPoint(NewFacetInfo& info, const Stone& stone, Diagnostics& notes);
// Plane through points 1 and 2 at the info's index: finds angle and depth.
PlaneSolution planeThrough2PointsAtIndex(const NewFacetInfo& info, const Stone& stone, Diagnostics& notes);
// Plane through points 1 and 2 at the info's angle: finds index and depth.
PlaneSolution planeThrough2PointsAtAngle(const NewFacetInfo& info, const Stone& stone, Diagnostics& notes);
// Plane through three points: finds angle, index and depth.
PlaneSolution planeThrough3Points(Vec3 p1, Vec3 p2, Vec3 p3, const Stone& stone, Diagnostics& notes);

// Index of the horizontal direction (kx, ky) on the stone's gear, brought
// into 0..|gear|.
double indexOfDirection(double kx, double ky, const Stone& stone);

}  // namespace brevix
