#include "rough/ray_caster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brevix::rough {

namespace {

constexpr uint32_t RAY_LEAF_TRIANGLES = 4;

double axisOf(Vec3 p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

Vec3 lowest(Vec3 a, Vec3 b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
Vec3 highest(Vec3 a, Vec3 b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }

// Where the ray enters the box, or infinity when it misses it.
double boxEntry(Vec3 lo, Vec3 hi, Vec3 from, Vec3 inverse) {
    double near = 0, far = std::numeric_limits<double>::infinity();
    for (int axis = 0; axis < 3; ++axis) {
        const double o = axisOf(from, axis), inv = axisOf(inverse, axis);
        double t0 = (axisOf(lo, axis) - o) * inv, t1 = (axisOf(hi, axis) - o) * inv;
        if (t0 > t1) std::swap(t0, t1);
        // A direction along the box's face gives NaN: that axis limits nothing.
        if (t0 == t0) near = std::max(near, t0);
        if (t1 == t1) far = std::min(far, t1);
    }
    return near <= far ? near : std::numeric_limits<double>::infinity();
}

bool boxesWithin(Vec3 lo1, Vec3 hi1, Vec3 lo2, Vec3 hi2, double margin) {
    return lo1.x <= hi2.x + margin && lo2.x <= hi1.x + margin && lo1.y <= hi2.y + margin &&
           lo2.y <= hi1.y + margin && lo1.z <= hi2.z + margin && lo2.z <= hi1.z + margin;
}

double boxSpan(Vec3 lo, Vec3 hi) { return (hi.x - lo.x) + (hi.y - lo.y) + (hi.z - lo.z); }

}  // namespace

RayCaster::RayCaster(const Mesh& mesh) : mesh_(mesh) {
    const uint32_t n = static_cast<uint32_t>(mesh.triangles.size());
    std::vector<Vec3> centres(n);
    order_.resize(n);
    for (uint32_t t = 0; t < n; ++t) {
        const auto& c = mesh.triangles[t];
        centres[t] = (mesh.points[c[0]] + mesh.points[c[1]] + mesh.points[c[2]]) * (1.0 / 3);
        order_[t] = t;
    }
    nodes_.reserve(2 * (n / RAY_LEAF_TRIANGLES + 1));
    if (n == 0) return;
    nodes_.resize(1);
    build(0, 0, n, centres);
}

void RayCaster::build(uint32_t index, uint32_t begin, uint32_t end, const std::vector<Vec3>& centres) {
    Vec3 lo = mesh_.points[mesh_.triangles[order_[begin]][0]], hi = lo;
    Vec3 centreLo = centres[order_[begin]], centreHi = centreLo;
    for (uint32_t i = begin; i < end; ++i) {
        for (uint32_t corner : mesh_.triangles[order_[i]]) {
            lo = lowest(lo, mesh_.points[corner]);
            hi = highest(hi, mesh_.points[corner]);
        }
        centreLo = lowest(centreLo, centres[order_[i]]);
        centreHi = highest(centreHi, centres[order_[i]]);
    }
    nodes_[index].lo = lo;
    nodes_[index].hi = hi;
    if (end - begin <= RAY_LEAF_TRIANGLES) {
        nodes_[index].first = begin;
        nodes_[index].count = end - begin;
        return;
    }
    const Vec3 spread = centreHi - centreLo;
    const int axis = spread.x >= spread.y && spread.x >= spread.z ? 0 : spread.y >= spread.z ? 1 : 2;
    const uint32_t middle = begin + (end - begin) / 2;
    std::nth_element(order_.begin() + begin, order_.begin() + middle, order_.begin() + end,
                     [&](uint32_t a, uint32_t b) { return axisOf(centres[a], axis) < axisOf(centres[b], axis); });
    // The two children follow each other, so one index finds both.
    const uint32_t children = static_cast<uint32_t>(nodes_.size());
    nodes_.resize(nodes_.size() + 2);
    nodes_[index].first = children;
    build(children, begin, middle, centres);
    build(children + 1, middle, end, centres);
}

std::optional<RayCaster::Hit> RayCaster::firstHit(Vec3 from, Vec3 direction) const {
    if (nodes_.empty()) return std::nullopt;
    const Vec3 inverse{1 / direction.x, 1 / direction.y, 1 / direction.z};
    Hit best{std::numeric_limits<double>::infinity(), 0};
    // Nodes still to walk with where the ray enters them; the tree is
    // balanced, so its depth (and this stack) stays small.
    struct Pending {
        uint32_t node;
        double entry;
    } stack[128];
    int depth = 0;
    stack[depth++] = {0, boxEntry(nodes_[0].lo, nodes_[0].hi, from, inverse)};
    while (depth > 0) {
        const Pending pending = stack[--depth];
        if (!(pending.entry < best.distance)) continue;
        const Node& node = nodes_[pending.node];
        if (node.count > 0) {
            for (uint32_t i = node.first; i < node.first + node.count; ++i) {
                const auto& t = mesh_.triangles[order_[i]];
                const Vec3 a = mesh_.points[t[0]], e1 = mesh_.points[t[1]] - a, e2 = mesh_.points[t[2]] - a;
                const Vec3 h = cross(direction, e2);
                const double det = dot(e1, h);
                if (det == 0) continue;
                const Vec3 s = from - a;
                const double u = dot(s, h) / det;
                if (u < 0 || u > 1) continue;
                const Vec3 q = cross(s, e1);
                const double v = dot(direction, q) / det;
                if (v < 0 || u + v > 1) continue;
                const double distance = dot(e2, q) / det;
                if (distance > 0 && distance < best.distance) best = {distance, order_[i]};
            }
            continue;
        }
        const uint32_t left = node.first, right = node.first + 1;
        const double dl = boxEntry(nodes_[left].lo, nodes_[left].hi, from, inverse);
        const double dr = boxEntry(nodes_[right].lo, nodes_[right].hi, from, inverse);
        // The nearer child is walked first: pushed last.
        if (depth + 2 > 128) continue;
        if (dl <= dr) {
            stack[depth++] = {right, dr};
            stack[depth++] = {left, dl};
        } else {
            stack[depth++] = {left, dl};
            stack[depth++] = {right, dr};
        }
    }
    if (best.distance == std::numeric_limits<double>::infinity()) return std::nullopt;
    return best;
}

void RayCaster::forEachNearbyLeafPair(double margin, const LeafPairVisit& visit, unsigned share,
                                      unsigned shares) const {
    if (nodes_.empty()) return;
    auto leafOf = [](const Node& node) { return LeafRange{node.first, node.count}; };
    // Pairs of nodes still to walk, with their depth; a node paired with
    // itself stands for the pairs within it. Every share walks the first
    // levels, then takes every shares-th of the pairs found at the depth
    // where the work divides finely enough.
    struct PendingPair {
        uint32_t a, b, depth;
    };
    constexpr uint32_t SHARED_DEPTH = 8;
    uint32_t dealt = 0;
    std::vector<PendingPair> pending{{0, 0, 0}};
    while (!pending.empty()) {
        const auto [i, j, depth] = pending.back();
        pending.pop_back();
        const Node& a = nodes_[i];
        const Node& b = nodes_[j];
        if (i != j && !boxesWithin(a.lo, a.hi, b.lo, b.hi, margin)) continue;
        const bool visits = a.count > 0 && (i == j || b.count > 0);
        if (shares > 1 && (depth == SHARED_DEPTH || (depth < SHARED_DEPTH && visits)) && dealt++ % shares != share)
            continue;
        const uint32_t next = depth + 1;
        if (i == j) {
            if (a.count > 0) {
                visit(leafOf(a), leafOf(a));
            } else {
                pending.push_back({a.first, a.first + 1, next});
                pending.push_back({a.first + 1, a.first + 1, next});
                pending.push_back({a.first, a.first, next});
            }
        } else if (a.count > 0 && b.count > 0) {
            visit(leafOf(a), leafOf(b));
        } else if (b.count > 0 || (a.count == 0 && boxSpan(a.lo, a.hi) >= boxSpan(b.lo, b.hi))) {
            pending.push_back({a.first + 1, j, next});
            pending.push_back({a.first, j, next});
        } else {
            pending.push_back({i, b.first + 1, next});
            pending.push_back({i, b.first, next});
        }
    }
}

}  // namespace brevix::rough
