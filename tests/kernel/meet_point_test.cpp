// Meet points: many planes through one point, planes through vertices and
// along edges, their numbers rounded to 6 or 8 decimals. Whatever the
// rounding leaves, no two vertices may be closer than EPS (the check calls
// them one point), the polyhedron stays whole, and it is the solid that a
// brute-force intersection of the same planes gives.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/checks.h"
#include "kernel/merge_points.h"
#include "kernel/stone.h"
#include "platform/messages.h"
#include "stone_invariants.h"
#include "support/meet_point_generator.h"
#include "support/triple_oracle.h"

namespace brevix {
namespace {

using testing::stoneIsValid;

// The closest two vertices of the stone.
double closestPair(const Stone& s) {
    double closest = 1e9;
    for (int32_t i = 0; i < s.nVertex; ++i)
        for (int32_t j = i + 1; j < s.nVertex; ++j)
            closest = std::min(closest, length(s.vertices[i].pos() - s.vertices[j].pos()));
    return closest;
}

// The planes of a design text in long double, straight from its numbers.
std::vector<testing::TriplePlane> planesOf(const std::string& text) {
    constexpr long double PI_L = 3.141592653589793238462643383279L;
    std::vector<testing::TriplePlane> planes;
    std::istringstream tokens(text);
    std::string token;
    long double gear = 96, angle = 0, depth = 0;
    bool tier = false;
    tokens >> token >> token;
    while (tokens >> token) {
        const char key = token[0];
        if (key == 'g') {
            tokens >> gear >> token;
        } else if (key == 'y') {
            tokens >> token >> token;
        } else if (key == 'I') {
            tokens >> token;
        } else if (key == 'a') {
            tokens >> angle >> depth;
            tier = true;
        } else if ((key == '-' || (key >= '0' && key <= '9')) && tier) {
            const long double index = angle == 0 ? 0 : std::stold(token);
            const long double az = 2 * index * PI_L / gear, t = angle * PI_L / 180;
            const long double sign = angle < 0 ? -1 : 1;
            planes.push_back({sign * std::sin(az) * std::sin(t), sign * std::cos(az) * std::sin(t),
                              sign * std::cos(t), std::fabs(depth) * 0.9L});
        }
    }
    return planes;
}

// Cuts the text, then holds the stone against the oracle and the checks;
// does the same after a rebuild from the planes.
void expectOnePointEach(const std::string& text, const std::string& label) {
    SCOPED_TRACE(label);
    Stone stone;
    testing::cutDesignText(stone, text);
    const testing::TripleOracle oracle(planesOf(text), ROUGH_HALF);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "cut" : "rebuilt");
        ASSERT_TRUE(stoneIsValid(stone));
        EXPECT_GE(closestPair(stone), EPS);
        std::ostringstream report;
        EXPECT_TRUE(checkstone(stone, report)) << report.str();
        EXPECT_EQ(report.str().find("coincide"), std::string::npos) << report.str();

        // Each solid bounds the other: every vertex inside every plane, every
        // corner of the oracle inside every facet. (Positions alone would not
        // do: where planes are all but parallel, a rounding of 1e-8 in a plane
        // moves their meet point by far more.)
        for (int32_t i = 0; i < stone.nVertex; ++i) {
            const Vertex& v = stone.vertices[i];
            EXPECT_LE(oracle.outsideBy(v.x, v.y, v.z), 3e-8L) << "vertex " << i;
        }
        for (const testing::TriplePoint& q : oracle.corners())
            for (int32_t f = 0; f < stone.nFacet; ++f) {
                const Facet& p = stone.facets[f];
                ASSERT_LE(p.a * q.x + p.b * q.y + p.c * q.z - p.d, 3e-8L) << "facet " << f;
            }
        double volume = 0;
        for (int32_t f = 0; f < stone.nFacet; ++f) volume += stone.facets[f].d * stone.facetArea(f) / 3;
        EXPECT_NEAR(volume, oracle.volume(), 1e-7L * oracle.volume());
        // A face of any real size is a facet of the stone.
        for (size_t p = 6; p < oracle.planes().size(); ++p) {
            if (oracle.faceArea(p) < 1e-6L) continue;
            const testing::TriplePlane& pl = oracle.planes()[p];
            bool found = false;
            for (int32_t f = 0; f < stone.nFacet && !found; ++f) {
                const Facet& g = stone.facets[f];
                found = std::fabs(g.a - pl.a) < 1e-12 && std::fabs(g.b - pl.b) < 1e-12 &&
                        std::fabs(g.c - pl.c) < 1e-12 && std::fabs(g.d - pl.d) < 1e-12;
            }
            EXPECT_TRUE(found) << "plane " << p << " with a face of area " << double(oracle.faceArea(p));
        }
        if (::testing::Test::HasFatalFailure()) return;
        stone.regenerate();
    }
    for (const auto& m : stone.diagnostics().texts()) EXPECT_EQ(m.find("Internal error"), std::string::npos) << m;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MeetPoints, DesignsThatLeftTwoPointsApartBecomeOnePoint) {
    // Each of these once kept two vertices closer than 1e-8 apart.
    const auto dir = std::filesystem::path(BREVIX_SOURCE_DIR) / "tests/files/meet_points";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("coincide")) continue;
        expectOnePointEach(fileText(entry.path()), name);
        ++files;
    }
    EXPECT_GE(files, 3);
}

TEST(MeetPoints, GeneratedDesignsAtSixAndEightDecimals) {
    for (unsigned seed = 1; seed <= 60; ++seed)
        for (int decimals : {6, 8}) {
            const std::string text = testing::designText(testing::hardDesign(seed, decimals), decimals);
            expectOnePointEach(text, "seed " + std::to_string(seed) + " at " + std::to_string(decimals) + "\n" + text);
            if (::testing::Test::HasFatalFailure()) return;
        }
}

TEST(MeetPoints, ANeedleTipCutShorterThanEpsAcrossLeavesNoFacet) {
    // Four steep planes make a needle whose tip is a single vertex; a level
    // plane 1.5e-8 below the tip meets its four edges less than EPS apart.
    Stone s;
    const double tilt = 85 * PI / 180;
    for (int k = 0; k < 4; ++k) {
        const double az = k * PI / 2;
        ASSERT_GE(s.newFacet(std::sin(az) * std::sin(tilt), std::cos(az) * std::sin(tilt), std::cos(tilt),
                             0.9 * std::cos(tilt)),
                  0);
    }
    ASSERT_TRUE(stoneIsValid(s));
    double top = -1;
    for (int32_t i = 0; i < s.nVertex; ++i) top = std::max(top, s.vertices[i].z);
    const Stone before(s);
    EXPECT_EQ(s.newFacet(0, 0, 1, top - 1.5e-8), -1);  // no facet of its own
    EXPECT_TRUE(stoneIsValid(s));
    EXPECT_EQ(s.nFacet, before.nFacet);
    EXPECT_EQ(s.nVertex, before.nVertex);
    EXPECT_GE(closestPair(s), EPS);
    double newTop = -1;
    for (int32_t i = 0; i < s.nVertex; ++i) newTop = std::max(newTop, s.vertices[i].z);
    EXPECT_NEAR(newTop, top - 1.5e-8, 1e-8);
    EXPECT_TRUE(s.diagnostics().empty());
}

TEST(MeetPoints, AMergeThatWouldBreakTheSolidIsRefused) {
    Stone s;
    // Corner 7 pulled next to corner 6: joining them would leave corner 7's
    // facets without the points that lie on them.
    s.vertices[7].z = s.vertices[6].z + 5e-9;
    const Stone before(s);
    const std::vector<int32_t> all;
    const PointMerge merge = mergeCoincidentPoints(s, all);
    EXPECT_FALSE(merge.merged());
    EXPECT_TRUE(merge.refused);
    EXPECT_TRUE(testing::sameStone(s, before));
}

TEST(MeetPoints, ACutThatMeetsAMeetPointSaysNothing) {
    // The design that raised a short-edge warning on reading.
    const auto path = std::filesystem::path(BREVIX_SOURCE_DIR) / "tests/files/meet_points/coincide-regenerate.asc";
    Stone stone;
    testing::cutDesignText(stone, fileText(path));
    EXPECT_TRUE(stone.diagnostics().empty()) << (stone.diagnostics().empty() ? "" : stone.diagnostics()[0].text);
    stone.regenerate();
    EXPECT_TRUE(stone.diagnostics().empty());
}

}  // namespace
}  // namespace brevix
