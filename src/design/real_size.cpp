#include "design/real_size.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "design/measures.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// The extent across x and y of the corners of the flat facets on one side:
// the table (normal straight up) or the culet (straight down). Measured on
// the facets' own corners: a table off the centre is as large as its corners
// say, wherever it lies.
FlatSize flatExtent(const Stone& stone, bool top, double scale) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    double minX = inf, maxX = -inf, minY = inf, maxY = -inf;
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        for (int k = 0; k < 2; ++k) {
            const Facet& f = stone.facets[e.f[k]];
            if (f.isRough() || (top ? f.c <= NEAR_ONE : f.c >= -NEAR_ONE)) continue;
            for (int m = 0; m < 2; ++m) {
                const Vertex& v = stone.vertices[e.v[m]];
                minX = std::min(minX, v.x);
                maxX = std::max(maxX, v.x);
                minY = std::min(minY, v.y);
                maxY = std::max(maxY, v.y);
            }
        }
    }
    FlatSize size;
    if (minX > maxX) return size;
    size.length = std::max(maxX - minX, maxY - minY) * scale;
    size.width = std::min(maxX - minX, maxY - minY) * scale;
    return size;
}

}  // namespace

std::optional<RealSize> realSizeOf(const Stone& stone, SizeBasis basis, double millimetres) {
    if (!(millimetres >= MIN_SIZE_MM && millimetres <= MAX_SIZE_MM)) return std::nullopt;
    const Stats s = boundsOf(stone);
    const double fixedBy = basis == SizeBasis::Width ? s.W : s.L;
    if (stone.nVertex == 0 || !(fixedBy > EPS) || !(s.W > EPS)) return std::nullopt;
    RealSize size;
    const double k = millimetres / fixedBy;
    size.millimetresPerUnit = k;
    size.length = s.L * k;
    size.width = s.W * k;
    size.height = (s.maxZ - s.minZ) * k;
    size.table = flatExtent(stone, true, k);
    size.culet = flatExtent(stone, false, k);
    size.volume = volumeOf(stone).volume * k * k * k;
    return size;
}

std::string sizeLine(const RealSize& size) {
    return strprintf("Size: %.2f x %.2f x %.2f mm", size.length, size.width, size.height);
}

std::string volumeLine(const RealSize& size) {
    return strprintf("Volume: %.2f mm\xC2\xB3", size.volume);
}

std::string weightLine(const RealSize& size, const std::string& material, double specificGravity) {
    const double carats = caratsOf(size.volume, specificGravity);
    if (material.empty()) return strprintf("Weight: %.3f ct (SG %.2f)", carats, specificGravity);
    return strprintf("Weight: %.3f ct (%s, SG %.2f)", carats, material.c_str(), specificGravity);
}

}  // namespace brevix
