#pragma once
// The first triangle a ray from inside the rough meets, many thousand
// times a second: a bounding-volume hierarchy over the triangles, walked
// nearest box first, with the plain double-precision ray-triangle test.
// The search asks this for every corner of every pose it tries; CGAL's
// exact-predicate tree, which answers the inside tests and checks the
// answer, took some twenty times as long for the same rays.
#include <cstdint>
#include <optional>
#include <vector>

#include "rough/rough_fit.h"

namespace brevix::rough {

class RayCaster {
public:
    explicit RayCaster(const Mesh& mesh);

    struct Hit {
        double distance = 0;
        uint32_t triangle = 0;
    };
    // Along the unit `direction`; nothing when the ray leaves without
    // meeting a triangle.
    std::optional<Hit> firstHit(Vec3 from, Vec3 direction) const;

private:
    struct Node {
        Vec3 lo, hi;
        uint32_t first = 0;  // first child (inner node) or first triangle in order_ (leaf)
        uint32_t count = 0;  // triangles of a leaf; 0 for an inner node
    };
    void build(uint32_t index, uint32_t begin, uint32_t end, const std::vector<Vec3>& centres);

    const Mesh& mesh_;
    std::vector<Node> nodes_;
    std::vector<uint32_t> order_;
};

}  // namespace brevix::rough
