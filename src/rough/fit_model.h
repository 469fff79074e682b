#pragma once
// The stone and its pose as the fit works with them: the design's corners
// and facet planes about a point inside it, and how large the stone can
// grow about that point, placed at `centre` and turned by `rotation`,
// before it meets the rough's surface, the margin or a sphere to avoid.
#include <array>
#include <vector>

#include "rough/rough_internal.h"

namespace brevix::rough {

using Matrix = std::array<std::array<double, 3>, 3>;

inline Vec3 times(const Matrix& m, Vec3 p) {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z, m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z};
}

struct StoneShape {
    Vec3 reference;             // a design point well inside, the centroid
    std::vector<Vec3> corners;  // about the reference, design units
    std::vector<Vec3> normals;  // outward, unit
    std::vector<double> offsets;  // of each plane from the reference, > 0
    double width = 0, length = 0, depth = 0, volume = 0;  // design units
};
// Nothing worth fitting (no corners, no volume) gives a shape without corners.
StoneShape stoneShape(const Stone& stone);

struct Pose {
    Matrix rotation{};
    Vec3 centre;  // where the reference goes, mm
};

// The largest millimetres per design unit for the pose; 0 or less when
// none (the less, the farther the centre lies outside the rough or inside
// a sphere, which leads a search back). `everyFeature` tests every point
// and edge of the surface, not only those where it folds inward: slower,
// for checking the answer.
double largestScale(const StoneShape& shape, const Rough& rough, const Pose& pose, const FitOptions& options,
                    bool everyFeature);

}  // namespace brevix::rough
