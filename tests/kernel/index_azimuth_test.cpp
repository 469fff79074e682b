// The azimuth of an index and the index of an azimuth: every notch of
// several gears, turned and not, cut as a facet and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "kernel/index_azimuth.h"
#include "kernel/stone.h"

namespace brevix {
namespace {

TEST(IndexAzimuth, NotchZeroAlongYAQuarterAlongXAndANegativeGearTheOtherWay) {
    EXPECT_EQ(azimuthOf(0, 96, 0), 0);
    EXPECT_DOUBLE_EQ(azimuthOf(24, 96, 0), PI / 2);
    EXPECT_DOUBLE_EQ(azimuthOf(24, -96, 0), -PI / 2);
    EXPECT_DOUBLE_EQ(azimuthOf(26, 96, 2), PI / 2) << "the offset turns the gear";
    EXPECT_DOUBLE_EQ(indexAtAzimuth(PI / 2, 96, 2), 26);
    // The size of the most negative gear is no overflow.
    EXPECT_DOUBLE_EQ(azimuthOf(1, std::fabs(double(INT32_MIN)), 0), TWO_PI / 2147483648.0);
}

// Each notch cut into a fresh stone at 45 degrees reads back as itself
// (notch 0 as the whole gear), whatever the gear, its direction and offset.
TEST(IndexAzimuth, EveryNotchOfSeveralGearsIsCutAndReadBackAsItself) {
    for (const int gear : {64, 72, 77, 80, 96, 120, -96}) {
        for (const double offset : {0.0, 0.5, -3.25}) {
            const double notches = std::abs(gear);
            for (int i = 0; i < notches; ++i) {
                const double index = i + offset;  // a notch of the turned gear
                Stone stone;
                stone.gear = gear;
                stone.indexOffset = offset;
                ASSERT_GE(stone.cutByAngle(azimuthOf(index, gear, offset), PI / 4, 0.8, false), 0);
                double read = stone.facetIndexOf(stone.nFacet - 1);
                double expected = std::fmod(index, notches);
                if (expected < 0) expected += notches;
                if (expected < 1e-9) expected += gear;
                EXPECT_NEAR(read, expected, 1e-9) << "gear " << gear << " offset " << offset << " notch " << i;

                const Facet& f = stone.facets[stone.nFacet - 1];
                double back = indexAtAzimuth(std::atan2(f.a, f.b), gear, offset);
                back = std::fmod(back - index, notches);
                EXPECT_NEAR(std::min(std::fabs(back), notches - std::fabs(back)), 0, 1e-9);
            }
        }
    }
}

}  // namespace
}  // namespace brevix
