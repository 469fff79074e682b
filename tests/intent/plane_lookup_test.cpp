#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "intent/plane_lookup.h"

namespace brevix {
namespace {

TEST(PlaneLookup, FindsExactlyThePlanesThatCompareEqual) {
    PlaneLookup lookup;
    const Plane p{0.6, -0.8, 0.0, 1.0};
    lookup.add(p, 4);
    lookup.add(Plane{0.6, -0.8, 0.0, 1.0}, 9);  // the same plane again: both, in order
    lookup.add(Plane{0, 0, 1, 0.32}, 1);
    const std::vector<int32_t>* both = lookup.find(p);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(*both, (std::vector<int32_t>{4, 9}));
    // -0 equals 0 as the planes compare.
    const std::vector<int32_t>* level = lookup.find(Plane{-0.0, -0.0, 1, 0.32});
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(*level, std::vector<int32_t>{1});
    // A plane one unit in the last place off is another plane.
    EXPECT_EQ(lookup.find(Plane{0.6, -0.8, 0.0, std::nextafter(1.0, 2.0)}), nullptr);
    EXPECT_EQ(lookup.find(Plane{0.6, 0.8, 0.0, 1.0}), nullptr);
    // NaN equals nothing, not even itself.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    lookup.add(Plane{nan, 0, 0, 1}, 2);
    EXPECT_EQ(lookup.find(Plane{nan, 0, 0, 1}), nullptr);
}

}  // namespace
}  // namespace brevix
