#pragma once
// Where a recorded point lies on the stone as it stands now: the planes of
// the facets it names, the edges between them, the stone's width.
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// What a point is resolved against: the stone just before the tier is cut
// and the planes of every tier placed so far (tier ordinal -> planes).
struct PointContext {
    Stone& stone;
    const DesignIntent& intent;
    int32_t gear = 96;
    int32_t tierBeingCut = 0;
    // How far apart the facets of a recorded meet may lie and still be taken
    // as meeting: a design read from a file that was not cut exactly keeps
    // its meets until a re-cut places them again.
    double meetTolerance = 1e-7;
};

// Facets meeting in one point must do so within this distance.
constexpr double MEET_TOLERANCE = 1e-7;
// A legacy design (written with few decimals, by hand or by another
// program) misses its meets by up to this share of its width W; within it
// a plane is still taken as cut to the meet.
constexpr double DEFAULT_MEET_TOLERANCE_W = 1e-4;

// The stone's width W as the statistics take it (the smaller extent of its outline).
double outlineWidth(const Stone& stone);
// `share` of the stone's W as a distance, never below MEET_TOLERANCE.
double meetToleranceOf(const Stone& stone, double share);

// The point, or none with the reason in `why`.
std::optional<Vec3> resolvePoint(const PointDef& point, PointContext& context, std::string& why);

// The plane a facet reference names (from its tier's current planes).
std::optional<Plane> planeOfRef(const FacetRef& ref, const DesignIntent& intent, int32_t gear);

// The point where three or more planes meet (least squares), and the
// largest distance of it from any of them; none when they are nearly parallel.
std::optional<Vec3> meetOfPlanes(const std::vector<Plane>& planes, double* residual = nullptr);

}  // namespace brevix
