// Cutting a list of planes locally must give the stone, notes and working
// marks included, that cutting them one by one with newFacet gives. The
// input steers planes at the stone's own corners: through one, two or three
// of them, along a facet's own plane, and a hair off on either side of
// every tolerance, which is where a local cut has to judge as newFacet does.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_support.h"
#include "kernel/geometry.h"
#include "kernel/kernel_error.h"
#include "kernel/local_cut.h"
#include "kernel/record_difference.h"
#include "kernel/stone.h"

namespace {

using brevix::Plane;
using brevix::Stone;
using brevix::Vec3;

constexpr double kOffsets[16] = {0,      0,       0,      4e-9,   -4e-9, 9.9e-9, -9.9e-9, 1.05e-8,
                                 1.2e-8, -1.2e-8, 1.9e-8, 2.1e-8, 3e-8,  -3e-8,  1e-7,    1e-3};

// One of 256 directions spread over the sphere (a spiral).
Vec3 directionOf(uint8_t k) {
    const double z = 1 - (k + 0.5) / 128.0;
    const double r = std::sqrt(std::fmax(0.0, 1 - z * z));
    const double turn = k * 2.399963229728653;
    return {r * std::cos(turn), r * std::sin(turn), z};
}

Vec3 cornerOf(const Stone& s, uint8_t k) { return s.vertices[k % s.nVertex].pos(); }

// Planes through corners cut a stone down fast; one cut to a few
// thousandths across is left to newFacet alone, so aiming on is pointless.
bool designSized(const Stone& s) { return s.nVertex > 0 && s.largestWidth() > 0.1; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brevix::fuzz::installQuietSink();
    Stone truth;
    std::vector<Plane> planes;
    auto cut = [&](const Plane& p) {
        planes.push_back(p);
        truth.newFacet(p.a, p.b, p.c, p.d);
    };
    try {
        for (int k = 0; k < 24; ++k) {  // a rough ball to aim at
            const Vec3 n = directionOf(static_cast<uint8_t>(k * 37 + 11));
            cut({n.x, n.y, n.z, 0.9});
        }
        for (size_t at = 0; at + 6 <= size && planes.size() < 300 && designSized(truth); at += 6) {
            const uint8_t* b = data + at;
            const Vec3 p = cornerOf(truth, b[1]);
            Vec3 n = directionOf(b[4]);
            switch (b[0] % 4) {
                case 1: {  // along p and q
                    const Vec3 along = cornerOf(truth, b[2]) - p;
                    if (length(along) > 1e-9) n = n - along * (dot(n, along) / dot(along, along));
                    break;
                }
                case 2: {  // through p, q and r
                    const Vec3 across = cross(cornerOf(truth, b[2]) - p, cornerOf(truth, b[3]) - p);
                    if (length(across) > 1e-12) n = across;
                    break;
                }
                case 3: {  // a facet's own plane again
                    const brevix::Facet& f = truth.facets[b[2] % truth.nFacet];
                    cut({f.a, f.b, f.c, f.d + kOffsets[b[5] % 16]});
                    continue;
                }
                default:
                    break;
            }
            if (!(length(n) > 1e-12)) continue;
            n = n * (1 / length(n));
            if (dot(n, p) < 0) n = n * -1.0;
            cut({n.x, n.y, n.z, dot(n, p) + kOffsets[b[5] % 16]});
        }
    } catch (const brevix::KernelError&) {
        return 0;  // the one-by-one way gave up: nothing to compare with
    }
    Stone local;
    std::vector<brevix::PlaneToCut> cuts;
    for (const Plane& p : planes) cuts.push_back({p.a, p.b, p.c, p.d, {}, {}});
    brevix::cutPlanesInTurn(local, cuts, 0);
    if (!brevix::firstRecordDifference(truth, local).empty()) std::abort();
    return 0;
}
