// A pebble: a sphere whose radius swells and dips in a few broad lumps and
// a fine noise, stretched to a flattened oval. Every direction meets the
// surface once, so the mesh is always closed and never folds through
// itself.
#include "rough/pebble.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "rough/sphere_grid.h"

namespace brevix::rough {

namespace {
constexpr int PEBBLE_LUMPS = 7;
constexpr double PEBBLE_LUMP_HEIGHT = 0.12;  // of the radius
constexpr double PEBBLE_NOISE = 0.01;        // of the radius
}  // namespace

Mesh pebbleMesh(uint64_t seed, int triangles, double sizeMm) {
    // A sphere of s stacks and 2s slices has 4s(s - 1) triangles.
    const int stacks = std::max(3, static_cast<int>(std::lround(std::sqrt(std::max(triangles, 24) / 4.0))));
    const int slices = 2 * stacks;
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    struct Lump {
        Vec3 towards;
        double height, sharpness;
    };
    std::vector<Lump> lumps;
    for (int i = 0; i < PEBBLE_LUMPS; ++i) {
        Vec3 d{unit(random), unit(random), unit(random)};
        const double l = std::max(1e-9, length(d));
        lumps.push_back({d * (1 / l), PEBBLE_LUMP_HEIGHT * unit(random), 2 + 3 * (unit(random) + 1)});
    }
    const Vec3 stretch{0.5 * sizeMm, 0.4 * sizeMm, 0.32 * sizeMm};
    auto surfacePoint = [&](Vec3 d) {
        double r = 1 + PEBBLE_NOISE * unit(random);
        for (const Lump& lump : lumps) r += lump.height * std::exp(lump.sharpness * (dot(d, lump.towards) - 1));
        return Vec3{d.x * r * stretch.x, d.y * r * stretch.y, d.z * r * stretch.z};
    };
    return sphereGridMesh(stacks, slices, surfacePoint);
}

}  // namespace brevix::rough
