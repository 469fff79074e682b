#include "facet_placement/symmetric_point.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "kernel/index_azimuth.h"

namespace brevix {

namespace {

// Corners of a symmetric design lie where their images are, up to the
// rounding of the cuts that made them.
constexpr double SAME_CORNER = 1e-6;

struct Image {
    double azimuth = 0;
    bool mirrored = false;
};

double reach(double azimuth, double tilt, Vec3 p) {
    Vec3 n{std::sin(azimuth) * std::sin(tilt), std::cos(azimuth) * std::sin(tilt), std::cos(tilt)};
    if (tilt < 0) n = n * -1.0;
    return dot(n, p);
}

}  // namespace

Vec3 pointAtBaseFacet(const Stone& stone, const NewFacetInfo& info, Vec3 p) {
    const int notches = std::abs(stone.gear);
    const double tilt = info.angle * PI / 180;
    if (notches == 0 || std::fabs(tilt) < EPS || (info.symmetry <= 1 && !info.mirror)) return p;
    // The tier's facets as the cut places them (see facetIndexList), each
    // with the symmetry that takes the base facet onto it.
    const int s = std::min(std::max(info.symmetry, 1), notches);
    const double step = double(notches) / s;
    const bool divides = notches % s == 0;
    const double base = azimuthOf(info.index, stone.gear, stone.indexOffset);
    std::vector<Image> images;
    double x = std::fmod(info.index, double(notches));
    if (x < 0) x += notches;
    for (int k = 0; k < s; ++k, x += step) {
        const double v = divides ? x : std::trunc(x + 0.5);
        images.push_back({azimuthOf(v, stone.gear, stone.indexOffset), false});
        if (info.mirror) images.push_back({azimuthOf(notches - v, stone.gear, stone.indexOffset), true});
    }
    const Image* farthest = nullptr;
    double most = reach(base, tilt, p);
    for (const Image& image : images) {
        const double r = reach(image.azimuth, tilt, p);
        if (r > most + 1e-12) {
            most = r;
            farthest = &image;
        }
    }
    if (!farthest) return p;
    // Azimuths run from +y towards +x: a point at azimuth phi lies at
    // (r·sin phi, r·cos phi).
    const double radius = std::hypot(p.x, p.y);
    const double phi = std::atan2(p.x, p.y);
    const double turned = farthest->mirrored ? base + farthest->azimuth - phi : phi - (farthest->azimuth - base);
    Vec3 image{radius * std::sin(turned), radius * std::cos(turned), p.z};
    for (int32_t v = 0; v < stone.nVertex; ++v)
        if (length(stone.vertices[v].pos() - image) < SAME_CORNER) return stone.vertices[v].pos();
    return image;
}

}  // namespace brevix
