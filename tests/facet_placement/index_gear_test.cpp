#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "facet_placement/index_gear.h"

namespace brevix {
namespace {

TEST(IndexGearDialog, NamedLocationsFollowTheDirection) {
    IndexGearDialog dialog = IndexGearDialog::open(96, 0);
    EXPECT_EQ(dialog.location, GearLocation::Bottom);
    dialog.selectLocation(GearLocation::Right);
    EXPECT_EQ(dialog.offset, 72);
    dialog.toggleClockwise();
    EXPECT_EQ(dialog.teeth, -96);
    EXPECT_EQ(dialog.offset, 24);
    EXPECT_EQ(dialog.location, GearLocation::Right);
    EXPECT_TRUE(dialog.clockwise());
    EXPECT_EQ(dialog.teethText(), "96");
    EXPECT_EQ(dialog.offsetText(), "24.0");
    dialog.selectLocation(GearLocation::Top);
    EXPECT_EQ(dialog.offset, 48);
    dialog.selectLocation(GearLocation::Bottom);
    EXPECT_EQ(dialog.offset, 0);
    // Bottom stays 0 through a change of direction.
    dialog.toggleClockwise();
    EXPECT_EQ(dialog.offset, 0);
}

TEST(IndexGearDialog, QuarterOffsetsOfAnOddQuarter) {
    IndexGearDialog dialog = IndexGearDialog::open(90, 0);
    dialog.selectLocation(GearLocation::Left);
    EXPECT_EQ(dialog.offset, 22.5);
    dialog.toggleClockwise();
    dialog.selectLocation(GearLocation::Right);
    EXPECT_EQ(dialog.offset, 22.5);
    EXPECT_EQ(dialog.offsetText(), "22.5");
}

TEST(IndexGearDialog, TypedOffsetDerivesTheLocation) {
    IndexGearDialog dialog = IndexGearDialog::open(96, 0);
    dialog.selectLocation(GearLocation::Other);
    EXPECT_EQ(dialog.offset, 0);  // Other only selects
    dialog.offsetEdited("48.0000001");
    EXPECT_EQ(dialog.location, GearLocation::Top);
    dialog.offsetEdited("48.1");
    EXPECT_EQ(dialog.location, GearLocation::Other);
    dialog.offsetEdited("junk");
    EXPECT_EQ(dialog.offset, 48.1);
    // Other keeps its offset through a refresh.
    dialog.refresh();
    EXPECT_EQ(dialog.offset, 48.1);
}

TEST(IndexGearDialog, ToothCountTakesTheDirectionOfTheBox) {
    IndexGearDialog dialog = IndexGearDialog::open(-96, 72);
    EXPECT_EQ(dialog.location, GearLocation::Left);
    dialog.teethEdited("120");
    EXPECT_EQ(dialog.teeth, -120);
    EXPECT_EQ(dialog.offset, 90);  // Left of a clockwise 120
    dialog.teethEdited("oops");
    EXPECT_EQ(dialog.teeth, -120);
    // A gear no design file could hold (its indexes would print as wide as
    // its count of teeth) is not taken either.
    dialog.teethEdited("100001");
    EXPECT_EQ(dialog.teeth, -120);
    dialog.teethEdited("-2147483648");
    EXPECT_EQ(dialog.teeth, -120);
    dialog.teethEdited("100000");
    EXPECT_EQ(dialog.teeth, -100000);
    dialog.teethEdited("120");
    dialog = IndexGearDialog::open(96, 0);
    dialog.teethEdited("-64");
    EXPECT_TRUE(dialog.clockwise());
    EXPECT_EQ(dialog.teethText(), "64");
}

TEST(GearLocation, OffsetsPutTheLastNotchWhereNamed) {
    // Index M (same as 0) at azimuth 2*pi*(M - offset)/N: -y for Top, -x
    // for Left, +x for Right, +y for Bottom, whichever way the gear runs.
    for (int gear : {96, -96, 90, -90}) {
        const double m = gear < 0 ? -gear : gear;
        const auto direction = [&](GearLocation where) {
            const double az = 6.283185307179586 * (m - locationOffset(where, gear)) / gear;
            return std::pair<long, long>{std::lround(std::sin(az)), std::lround(std::cos(az))};
        };
        EXPECT_EQ(direction(GearLocation::Top), std::make_pair(0L, -1L)) << gear;
        EXPECT_EQ(direction(GearLocation::Left), std::make_pair(-1L, 0L)) << gear;
        EXPECT_EQ(direction(GearLocation::Right), std::make_pair(1L, 0L)) << gear;
        EXPECT_EQ(direction(GearLocation::Bottom), std::make_pair(0L, 1L)) << gear;
    }
}

}  // namespace
}  // namespace brevix
