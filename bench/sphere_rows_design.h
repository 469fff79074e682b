#pragma once
// A 1010-facet design cut tier by tier like a real one: rows of planes
// tangent to the unit sphere, every other row turned by half a step, so that
// each plane stays a facet and its neighbours in a row meet at corners.
#include <string>

#include "design/sample_designs.h"
#include "kernel/stone.h"

namespace brevix::bench {

inline Stone sphereRowsDesign() {
    Stone s;
    const struct {
        double angle;
        int count;
    } rows[] = {{0, 1},    {10, 24},  {20, 48},  {35, 96},  {50, 96},  {65, 96},  {80, 96},
                {90, 96},  {-10, 24}, {-20, 48}, {-35, 96}, {-50, 96}, {-65, 96}, {-80, 96}};
    int row = 0;
    for (const auto& r : rows) {
        TierSetting tier{"S" + std::to_string(row), r.angle, 1.0, {}, ""};
        const double step = 96.0 / r.count, shift = (row % 2) * step / 2;
        for (int i = 1; i <= r.count; ++i) tier.indexes.push_back(i * step - shift);
        cutTier(s, tier);
        ++row;
    }
    s.newFacet(0, 0, -1, 1.0);  // culet
    return s;
}

}  // namespace brevix::bench
