#pragma once
// The geometric queries the fit asks of a rough, answered by CGAL's AABB
// tree over its triangles. CGAL stays behind this plain interface: its
// headers take long to compile and nothing else needs them.
#include <memory>

#include "rough/rough_fit.h"

namespace brevix::rough {

class RoughGeometry {
public:
    // `mesh` must be closed and oriented outward; it must outlive this.
    explicit RoughGeometry(const Mesh& mesh);
    ~RoughGeometry();
    RoughGeometry(const RoughGeometry&) = delete;
    RoughGeometry& operator=(const RoughGeometry&) = delete;

    // False when the surface could not take every triangle: two sheets of
    // it meet in a single point. The queries below need it true.
    bool complete() const;
    // Strictly inside: a point on the surface is not.
    bool inside(Vec3 point) const;
    // Inside or on the surface.
    bool within(Vec3 point) const;
    double squaredDistance(Vec3 point) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace brevix::rough
