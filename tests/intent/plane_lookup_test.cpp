#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "intent/plane_lookup.h"

namespace brevix {
namespace {

std::vector<int32_t> valuesOf(const PlaneLookup& lookup, const Plane& p) {
    std::vector<int32_t> values;
    lookup.forEach(p, [&values](int32_t v) { values.push_back(v); });
    return values;
}

TEST(PlaneLookup, FindsExactlyThePlanesThatCompareEqual) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Plane p{0.6, -0.8, 0.0, 1.0};
    const PlaneLookup lookup({{Plane{0.6, -0.8, 0.0, 1.0}, 9},
                              {Plane{0, 0, 1, 0.32}, 1},
                              {Plane{0.6, -0.8, -0.0, 1.0}, 4},  // the same plane again: both, in order
                              {Plane{nan, 0, 0, 1}, 2},
                              {Plane{0.6, -0.8, 0.0, 0.5}, 7}});
    EXPECT_EQ(valuesOf(lookup, p), (std::vector<int32_t>{9, 4}));
    EXPECT_EQ(lookup.first(p), 9);
    // -0 equals 0 as the planes compare.
    EXPECT_EQ(lookup.first(Plane{-0.0, -0.0, 1, 0.32}), 1);
    EXPECT_EQ(lookup.first(Plane{0.6, -0.8, 0.0, 0.5}), 7);
    // A plane one unit in the last place off is another plane.
    EXPECT_EQ(lookup.first(Plane{0.6, -0.8, 0.0, std::nextafter(1.0, 2.0)}), -1);
    EXPECT_EQ(lookup.first(Plane{0.6, 0.8, 0.0, 1.0}), -1);
    // NaN equals nothing, not even itself.
    EXPECT_EQ(lookup.first(Plane{nan, 0, 0, 1}), -1);
    EXPECT_TRUE(valuesOf(PlaneLookup({}), p).empty());
}

}  // namespace
}  // namespace brevix
