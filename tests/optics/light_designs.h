#pragma once
// Small designs whose light the tests can reason about by hand.
#include <cmath>

#include "kernel/geometry.h"
#include "kernel/stone.h"

namespace brevix::optics::testing {

inline double radians(double degrees) { return degrees / DEG_PER_RAD; }

// A plain brilliant on a round girdle of radius 1: sixteen girdle facets,
// eight pavilion mains at `pavilionDegrees` meeting at a culet, eight crown
// mains at `crownDegrees` and a table at `tableHeight`.
inline Stone simpleBrilliant(double pavilionDegrees, double crownDegrees = 35, double tableHeight = 0.3) {
    Stone stone;
    for (int i = 0; i < 16; ++i) {
        const double az = TWO_PI * (i + 0.5) / 16;
        stone.newFacet(std::sin(az), std::cos(az), 0, 1.0);
    }
    const double p = radians(pavilionDegrees), c = radians(crownDegrees);
    for (int i = 0; i < 8; ++i) {
        const double az = TWO_PI * i / 8;
        stone.newFacet(std::sin(p) * std::sin(az), std::sin(p) * std::cos(az), -std::cos(p), std::sin(p));
        stone.newFacet(std::sin(c) * std::sin(az), std::sin(c) * std::cos(az), std::cos(c), std::sin(c));
    }
    stone.newFacet(0, 0, 1, tableHeight);
    return stone;
}

}  // namespace brevix::optics::testing
