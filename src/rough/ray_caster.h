#pragma once
// The first triangle a ray from inside the rough meets, many thousand
// times a second: a bounding-volume hierarchy over the triangles, walked
// nearest box first, with the plain double-precision ray-triangle test.
// The search asks this for every corner of every pose it tries; CGAL's
// exact-predicate tree, which answers the inside tests and checks the
// answer, took some twenty times as long for the same rays.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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

    // The triangles in the order the tree's leaves hold them: neighbours in
    // space lie near each other in it.
    std::span<const uint32_t> leafOrder() const { return order_; }
    // Every two leaves of the tree whose boxes come within `margin` of each
    // other, each such pair once and each leaf with itself, as the ranges of
    // leafOrder() they hold; the same pairs in the same order every time.
    // Triangles that may touch are always in one of them.
    struct LeafRange {
        uint32_t first, count;
    };
    // Split into `shares`, share number `share` visits its part of the
    // pairs only, so that threads can share the walk.
    using LeafPairVisit = std::function<void(LeafRange, LeafRange)>;
    void forEachNearbyLeafPair(double margin, const LeafPairVisit& visit, unsigned share = 0,
                               unsigned shares = 1) const;

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
