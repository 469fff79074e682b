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
};

// Facets meeting in one point must do so within this distance.
constexpr double MEET_TOLERANCE = 1e-7;

// The point, or none with the reason in `why`.
std::optional<Vec3> resolvePoint(const PointDef& point, PointContext& context, std::string& why);

// The plane a facet reference names (from its tier's current planes).
std::optional<Plane> planeOfRef(const FacetRef& ref, const DesignIntent& intent, int32_t gear);

// The point where three or more planes meet (least squares), and the
// largest distance of it from any of them; none when they are nearly parallel.
std::optional<Vec3> meetOfPlanes(const std::vector<Plane>& planes, double* residual = nullptr);

}  // namespace brevix
