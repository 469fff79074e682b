#pragma once
// The one plane type of the program: a·x + b·y + c·z = d with a unit outward
// normal (a, b, c), d its distance from the origin. A facet is such a plane;
// the intent, the exact cut and the renderer all speak of the same four numbers.
#include "kernel/geometry.h"

namespace brevix {

struct Plane {
    double a = 0, b = 0, c = 0, d = 0;

    Vec3 normal() const { return {a, b, c}; }
    // How far `p` lies outside the plane (negative: inside).
    double offsetOf(Vec3 p) const { return a * p.x + b * p.y + c * p.z - d; }
    bool operator==(const Plane&) const = default;
};

}  // namespace brevix
