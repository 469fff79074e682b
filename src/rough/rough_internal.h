#pragma once
// What a prepared rough holds, for the fit: the mesh, its volume and the
// features the growing stone can first touch.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "rough/rough_fit.h"
#include "rough/ray_caster.h"
#include "rough/rough_geometry.h"

namespace brevix::rough {

class Rough {
public:
    Mesh mesh;
    double volume = 0;
    Vec3 centroid;                  // of the solid
    std::array<Vec3, 2> bounds{};   // lowest and highest corner
    std::array<Vec3, 3> axes{};     // principal axes, longest spread first
    // Every edge once, and those where the surface folds inward: only
    // there, and at the points on them, can the surface reach into a
    // growing convex stone between its corners.
    std::vector<std::array<uint32_t, 2>> edges;
    std::vector<uint32_t> foldedPoints;
    std::vector<std::array<uint32_t, 2>> foldedEdges;  // indices into foldedPoints
    std::unique_ptr<RoughGeometry> geometry;
    std::unique_ptr<RayCaster> rays;

    double extent() const {
        const Vec3 d = bounds[1] - bounds[0];
        return std::max(d.x, std::max(d.y, d.z));
    }
};

}  // namespace brevix::rough
