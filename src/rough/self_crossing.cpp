// Two triangles cross when one reaches through the other's plane inside
// the other's outline. The tree's leaf pairs bring together the triangles
// that may meet; each pair is tested against the plane of the one of them
// with the better-defined plane, which alone decides.
#include "rough/self_crossing.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace brevix::rough {

namespace {

// Within this fraction of the rough's size a point lies on a triangle's
// plane: it only absorbs the rounding of the arithmetic here, so that the
// corners two neighbours share are never seen on either side of either.
constexpr double CROSSING_FLAT_FRACTION = 1e-10;
// A crossing must reach this fraction of the rough's size into the other
// triangle. Files keep coordinates to a few figures (floats in STL, three
// decimals in some OBJ), and rounding them can tip a sliver of a flat scan
// over its neighbour by as much as the rounding: a tip that shallow is the
// file's, not the stone's. This lies above the rounding of floats, and of
// three decimals on a stone of a centimetre, and well below the finest
// detail a scanner resolves.
constexpr double CROSSING_DEPTH_FRACTION = 1e-4;
// Triangles' boxes are kept as floats, whose rounding this covers.
constexpr double CROSSING_BOX_FRACTION = 1e-6;
constexpr size_t CROSSING_TRIANGLES_PER_THREAD = 50000;

struct CrossingPlane {
    Vec3 normal;     // unit; zero for a triangle without area
    double offset;   // of the plane along the normal
    double inradius; // how well the plane is defined, and how deep anything can reach into it
};

struct CrossingBox {
    float lo[3], hi[3];
};

CrossingBox crossingBoxOf(Vec3 a, Vec3 b, Vec3 c) {
    return {{static_cast<float>(std::min({a.x, b.x, c.x})), static_cast<float>(std::min({a.y, b.y, c.y})),
             static_cast<float>(std::min({a.z, b.z, c.z}))},
            {static_cast<float>(std::max({a.x, b.x, c.x})), static_cast<float>(std::max({a.y, b.y, c.y})),
             static_cast<float>(std::max({a.z, b.z, c.z}))}};
}

bool boxesMeet(const CrossingBox& a, const CrossingBox& b, float margin) {
    for (int k = 0; k < 3; ++k)
        if (a.lo[k] > b.hi[k] + margin || b.lo[k] > a.hi[k] + margin) return false;
    return true;
}

// Leaves hold a handful of triangles.
constexpr uint32_t CROSSING_LEAF_MOST = 16;

// The triangles of leaf `from` (of at most CROSSING_LEAF_MOST) whose boxes
// meet the box around leaf `to`.
uint32_t trianglesNear(const std::vector<CrossingBox>& boxes, RayCaster::LeafRange from, RayCaster::LeafRange to,
                       float margin, uint32_t* near) {
    CrossingBox around = boxes[to.first];
    for (uint32_t j = to.first + 1; j < to.first + to.count; ++j)
        for (int k = 0; k < 3; ++k) {
            around.lo[k] = std::min(around.lo[k], boxes[j].lo[k]);
            around.hi[k] = std::max(around.hi[k], boxes[j].hi[k]);
        }
    uint32_t count = 0;
    for (uint32_t i = from.first; i < from.first + from.count; ++i)
        if (boxesMeet(boxes[i], around, margin)) near[count++] = i;
    return count;
}

struct CrossingTolerances {
    double flat, depth;
};

CrossingPlane crossingPlaneOf(Vec3 a, Vec3 b, Vec3 c) {
    const Vec3 n = cross(b - a, c - a);
    const double twiceArea = length(n);
    const double perimeter = length(b - a) + length(c - b) + length(a - c);
    if (!(twiceArea > 0) || !(perimeter > 0)) return {{}, 0, 0};
    const Vec3 unit = n * (1 / twiceArea);
    return {unit, dot(unit, a), twiceArea / perimeter};
}

// The points of the polygon on the inner side of the line through p and q
// (for a counter-clockwise outline, `turn` 1; clockwise, -1), at least
// `depth` from it. 2D points as {x, y} in a Vec3 whose z is unused.
std::vector<Vec3> clipInsideEdge(const std::vector<Vec3>& polygon, Vec3 p, Vec3 q, double turn, double depth) {
    const double lengthPq = std::hypot(q.x - p.x, q.y - p.y);
    if (!(lengthPq > 0)) return {};
    auto inside = [&](Vec3 x) { return turn * ((q.x - p.x) * (x.y - p.y) - (q.y - p.y) * (x.x - p.x)) / lengthPq - depth; };
    std::vector<Vec3> kept;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Vec3 from = polygon[i], to = polygon[(i + 1) % polygon.size()];
        const double f = inside(from), g = inside(to);
        if (f >= 0) kept.push_back(from);
        if ((f >= 0) != (g >= 0)) kept.push_back(from + (to - from) * (f / (f - g)));
    }
    return kept;
}

// Two triangles in one plane overlap when some point lies deeper than
// `depth` inside both outlines: neighbours side by side share no more than
// a line, however the rounding falls.
std::optional<Vec3> flatOverlap(const std::array<Vec3, 3>& r, const CrossingPlane& plane, const std::array<Vec3, 3>& o,
                                double depth) {
    const Vec3 u = (r[1] - r[0]) * (1 / length(r[1] - r[0]));
    const Vec3 w = cross(plane.normal, u);
    auto flat = [&](Vec3 p) { return Vec3{dot(p - r[0], u), dot(p - r[0], w), 0}; };
    const std::array<Vec3, 3> r2{flat(r[0]), flat(r[1]), flat(r[2])};
    const std::array<Vec3, 3> o2{flat(o[0]), flat(o[1]), flat(o[2])};
    const double oTurn = (o2[1].x - o2[0].x) * (o2[2].y - o2[0].y) - (o2[1].y - o2[0].y) * (o2[2].x - o2[0].x);
    if (oTurn == 0) return std::nullopt;
    std::vector<Vec3> polygon(r2.begin(), r2.end());
    for (int i = 0; i < 3 && !polygon.empty(); ++i) polygon = clipInsideEdge(polygon, r2[i], r2[(i + 1) % 3], 1, depth);
    for (int i = 0; i < 3 && !polygon.empty(); ++i)
        polygon = clipInsideEdge(polygon, o2[i], o2[(i + 1) % 3], oTurn > 0 ? 1 : -1, depth);
    if (polygon.empty()) return std::nullopt;
    Vec3 middle;
    for (const Vec3& p : polygon) middle = middle + p;
    middle = middle * (1.0 / static_cast<double>(polygon.size()));
    return r[0] + u * middle.x + w * middle.y;
}

// Where triangle o meets triangle r, whose plane is the better defined,
// deeper than the tolerance; nothing when it does not.
template <class CornersOfR>
std::optional<Vec3> crossingOfPair(const CornersOfR& cornersOfR, const CrossingPlane& plane, const std::array<Vec3, 3>& o,
                                   const CrossingTolerances& tolerance) {
    std::array<double, 3> height{};
    int above = 0, below = 0;
    for (int i = 0; i < 3; ++i) {
        height[i] = dot(plane.normal, o[i]) - plane.offset;
        above += height[i] > tolerance.flat;
        below += height[i] < -tolerance.flat;
    }
    // A triangle that only touches the plane from one side does not pass
    // through it; where the surface really crosses, a neighbour does.
    if ((above == 0) != (below == 0)) return std::nullopt;
    const std::array<Vec3, 3> r = cornersOfR();
    if (above == 0) return flatOverlap(r, plane, o, tolerance.depth);
    // Where o meets the plane: a corner on it and the crossing of the
    // opposite edge, or the crossings of two edges.
    std::array<Vec3, 2> ends;
    int found = 0;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        if (std::abs(height[i]) <= tolerance.flat && found < 2) ends[found++] = o[i];
        if (((height[i] > tolerance.flat && height[j] < -tolerance.flat) ||
             (height[i] < -tolerance.flat && height[j] > tolerance.flat)) &&
            found < 2)
            ends[found++] = o[i] + (o[j] - o[i]) * (height[i] / (height[i] - height[j]));
    }
    if (found < 2) return std::nullopt;
    // That segment, cut to the part deeper than the tolerance inside r.
    double from = 0, to = 1;
    for (int i = 0; i < 3; ++i) {
        const Vec3 edge = r[(i + 1) % 3] - r[i];
        const Vec3 inward = cross(plane.normal, edge) * (1 / length(edge));
        const double f = dot(inward, ends[0] - r[i]) - tolerance.depth;
        const double g = dot(inward, ends[1] - r[i]) - tolerance.depth;
        if (f < 0 && g < 0) return std::nullopt;
        if (f < 0) from = std::max(from, f / (f - g));
        if (g < 0) to = std::min(to, f / (f - g));
    }
    if (from > to) return std::nullopt;
    return ends[0] + (ends[1] - ends[0]) * ((from + to) / 2);
}

}  // namespace

std::optional<Vec3> findSelfCrossing(const Mesh& mesh, const RayCaster& tree) {
    if (mesh.points.empty()) return std::nullopt;
    // Rounding in a file follows the size of the coordinates, which for a
    // scan far from its origin can be larger than the rough itself.
    Vec3 lo = mesh.points.front(), hi = lo;
    double farthest = 0;
    for (const Vec3& p : mesh.points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        farthest = std::max({farthest, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    }
    const double size = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z, farthest});
    const CrossingTolerances tolerance{CROSSING_FLAT_FRACTION * size, CROSSING_DEPTH_FRACTION * size};
    // Boxes kept in floats, widened by more than their rounding.
    const float boxMargin = static_cast<float>(CROSSING_BOX_FRACTION * size);

    // Kept in the tree's order, so that a leaf's triangles lie together.
    const std::span<const uint32_t> order = tree.leafOrder();
    std::vector<CrossingBox> boxes(order.size());
    std::vector<CrossingPlane> planes(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const auto& t = mesh.triangles[order[i]];
        boxes[i] = crossingBoxOf(mesh.points[t[0]], mesh.points[t[1]], mesh.points[t[2]]);
        planes[i] = crossingPlaneOf(mesh.points[t[0]], mesh.points[t[1]], mesh.points[t[2]]);
    }
    auto corners = [&](uint32_t t) {
        const auto& c = mesh.triangles[t];
        return std::array<Vec3, 3>{mesh.points[c[0]], mesh.points[c[1]], mesh.points[c[2]]};
    };

    // Each thread keeps the first crossing of its share of the pairs; the
    // first of those is the first of all, on any number of threads.
    struct Found {
        uint64_t pair = UINT64_MAX;
        Vec3 where;
    };
    auto search = [&](unsigned share, unsigned shares, Found& found) {
        auto test = [&](uint32_t i, uint32_t j) {
            if (!boxesMeet(boxes[i], boxes[j], boxMargin)) return;
            const uint32_t t1 = order[i], t2 = order[j];
            const uint64_t pair = uint64_t(std::min(t1, t2)) << 32 | std::max(t1, t2);
            if (pair >= found.pair) return;
            const bool firstDecides = planes[i].inradius > planes[j].inradius ||
                                      (planes[i].inradius == planes[j].inradius && t1 < t2);
            const uint32_t r = firstDecides ? i : j, o = firstDecides ? j : i;
            // Nothing can reach deeper than the tolerance into a triangle
            // thinner than that; nor into its partner, which is no thicker.
            if (!(planes[r].inradius > tolerance.depth)) return;
            if (const auto at = crossingOfPair([&] { return corners(order[r]); }, planes[r], corners(order[o]), tolerance))
                found = {pair, *at};
        };
        tree.forEachNearbyLeafPair(
            CROSSING_BOX_FRACTION * size,
            [&](RayCaster::LeafRange a, RayCaster::LeafRange b) {
                if (a.first == b.first) {
                    for (uint32_t i = a.first; i < a.first + a.count; ++i)
                        for (uint32_t j = i + 1; j < a.first + a.count; ++j) test(i, j);
                    return;
                }
                if (a.count > CROSSING_LEAF_MOST || b.count > CROSSING_LEAF_MOST) {
                    for (uint32_t i = a.first; i < a.first + a.count; ++i)
                        for (uint32_t j = b.first; j < b.first + b.count; ++j) test(i, j);
                    return;
                }
                // Two leaves overlap at their edges: only the triangles of
                // each that reach into the other's box can meet.
                uint32_t nearA[CROSSING_LEAF_MOST], nearB[CROSSING_LEAF_MOST];
                const uint32_t countA = trianglesNear(boxes, a, b, boxMargin, nearA);
                if (countA == 0) return;
                const uint32_t countB = trianglesNear(boxes, b, a, boxMargin, nearB);
                for (uint32_t x = 0; x < countA; ++x)
                    for (uint32_t y = 0; y < countB; ++y) test(nearA[x], nearB[y]);
            },
            share, shares);
    };
    // A small rough is searched at once; threads pay off on a large scan.
    const unsigned shares =
        order.size() < CROSSING_TRIANGLES_PER_THREAD ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<Found> found(shares);
    std::vector<std::thread> pool;
    for (unsigned share = 1; share < shares; ++share)
        pool.emplace_back([&, share] { search(share, shares, found[share]); });
    search(0, shares, found[0]);
    for (std::thread& t : pool) t.join();
    const Found first = *std::min_element(found.begin(), found.end(),
                                          [](const Found& a, const Found& b) { return a.pair < b.pair; });
    if (first.pair == UINT64_MAX) return std::nullopt;
    return first.where;
}

}  // namespace brevix::rough
