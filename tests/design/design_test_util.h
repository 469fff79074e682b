#pragma once
// Shared checks of the design tests.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "kernel/checks.h"
#include "kernel/stone.h"

namespace brevix::test {

// Largest distance of a vertex from a plane of one of its edges' facets.
inline double worstPlaneOffset(const Stone& s) {
    double worst = 0;
    for (int32_t j = 0; j < s.nEdge; ++j)
        for (int k = 0; k < 2; ++k)
            for (int m = 0; m < 2; ++m) {
                const Facet& f = s.facets[s.edges[j].f[k]];
                const Vertex& v = s.vertices[s.edges[j].v[m]];
                worst = std::max(worst, std::fabs(f.a * v.x + f.b * v.y + f.c * v.z - f.d));
            }
    return worst;
}

// Euler, the full diagnostic check and vertices on their planes.
inline ::testing::AssertionResult soundStone(Stone& s) {
    std::ostringstream report;
    if (!checkstone(s, report)) return ::testing::AssertionFailure() << report.str();
    const double off = worstPlaneOffset(s);
    if (off > 3e-8) return ::testing::AssertionFailure() << "vertex " << off << " off its plane";
    const std::string text = report.str();
    if (text.find("coincide") != std::string::npos || text.find("orphaned") != std::string::npos)
        return ::testing::AssertionFailure() << text;
    return ::testing::AssertionSuccess();
}

}  // namespace brevix::test
