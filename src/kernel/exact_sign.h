#pragma once
// Exact signs of small determinants of doubles, for the decisions of a cut
// that must agree with each other whatever the rounding. A determinant is
// first evaluated in double with an error bound; only when the bound cannot
// settle the sign is it summed exactly as a floating-point expansion (sums of
// non-overlapping doubles, with the exact product from fma).
#include <array>

#include "kernel/plane.h"

namespace brevix::exact {

// The point where three planes meet, as the four 3x3 minors of their rows:
// x = dx / dn, y = dy / dn, z = dz / dn. `bound*` are the sums of absolute
// values of the same products, which scale the rounding error.
struct MeetPoint {
    std::array<int, 3> planes{};
    double dx = 0, dy = 0, dz = 0, dn = 0;
    double boundX = 0, boundY = 0, boundZ = 0, boundN = 0;
};

MeetPoint meetPoint(const Plane* table, int p, int q, int r);

// -1, 0 or +1: the sign of a*x + b*y + c*z - d at the exact meet point of
// its three planes (+1 = outside the plane).
int sideOf(const Plane* table, const MeetPoint& point, const Plane& plane);

// The same, but a point within `snap` of the plane counts as on it (0).
// Decisions then agree with sideOf everywhere but in that narrow band.
int sideOfSnapped(const Plane* table, const MeetPoint& point, const Plane& plane, double snap);

// Exact sign of the 3x3 determinant of the planes' normals.
int normalsSign(const Plane* table, int p, int q, int r);

// The meet point in long double, from the minors.
void position(const MeetPoint& point, long double& x, long double& y, long double& z);

}  // namespace brevix::exact
