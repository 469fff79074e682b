#include "design/real_size.h"

#include <gtest/gtest.h>

#include <cmath>

#include "design/measures.h"
#include "design/sample_designs.h"

namespace brevix {
namespace {

TEST(RealSize, TenMillimetreCubeOfQuartzWeighsThirteenAndAQuarterCarats) {
    Stone cube;
    const auto size = realSizeOf(cube, SizeBasis::Width, 10);
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->length, 10, 1e-12);
    EXPECT_NEAR(size->width, 10, 1e-12);
    EXPECT_NEAR(size->height, 10, 1e-12);
    EXPECT_NEAR(size->volume, 1000, 1e-9);
    EXPECT_NEAR(caratsOf(size->volume, 2.65), 13.25, 1e-12);
    EXPECT_EQ(weightLine(*size, "Quartz", 2.65), "Weight: 13.250 ct (Quartz, SG 2.65)");
    EXPECT_EQ(weightLine(*size, "", 2.65), "Weight: 13.250 ct (SG 2.65)");
    // The rough block has neither table nor culet: its faces do not count.
    EXPECT_FALSE(size->table.present());
    EXPECT_FALSE(size->culet.present());
}

TEST(RealSize, RoundBrilliantAtSixAndAHalfMillimetresInDiamond) {
    Stone brilliant = makeRoundBrilliant();
    computeBounds(brilliant);
    const double W = brilliant.stats.W;
    const double ratio = computeVolume(brilliant) / (W * W * W);  // the statistics' Vol./W³

    const auto size = realSizeOf(brilliant, SizeBasis::Width, 6.5);
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->millimetresPerUnit, 6.5 / W, 1e-12);
    EXPECT_NEAR(size->volume, ratio * 6.5 * 6.5 * 6.5, 1e-9);
    EXPECT_NEAR(caratsOf(size->volume, 3.52), ratio * 6.5 * 6.5 * 6.5 * 3.52 / 200, 1e-12);
    EXPECT_NEAR(size->width, 6.5, 1e-12);
    EXPECT_NEAR(size->length, 6.5, 1e-9);  // round: L/W = 1
    EXPECT_NEAR(size->height, (brilliant.stats.maxZ - brilliant.stats.minZ) * 6.5 / W, 1e-12);
    EXPECT_EQ(sizeLine(*size), "Size: 6.50 x 6.50 x 3.92 mm");
    EXPECT_EQ(volumeLine(*size), "Volume: 55.73 mm\xC2\xB3");
    EXPECT_EQ(weightLine(*size, "Diamond", 3.52), "Weight: 0.981 ct (Diamond, SG 3.52)");

    // The table is the octagon's width across; a point culet has no size.
    computeBounds(brilliant);
    const Stats& s = brilliant.stats;
    ASSERT_TRUE(size->table.present());
    EXPECT_NEAR(size->table.length, std::max(s.tableMaxY - s.tableMinY, s.tableMaxX - s.tableMinX) * 6.5 / W, 1e-9);
    EXPECT_FALSE(size->culet.present());
}

TEST(RealSize, LengthBasisAndAFlatCulet) {
    Stone oval = makeOvalBrilliant();
    computeBounds(oval);
    const double L = oval.stats.L, W = oval.stats.W;
    ASSERT_GT(L / W, 1.3);
    const auto byLength = realSizeOf(oval, SizeBasis::Length, 8);
    ASSERT_TRUE(byLength);
    EXPECT_NEAR(byLength->length, 8, 1e-12);
    EXPECT_NEAR(byLength->width, 8 * W / L, 1e-12);
    // The same stone by its width gives the same proportions.
    const auto byWidth = realSizeOf(oval, SizeBasis::Width, byLength->width);
    ASSERT_TRUE(byWidth);
    EXPECT_NEAR(byWidth->volume, byLength->volume, 1e-9);

    // Polishing a small flat at the bottom of the brilliant makes a culet.
    Stone brilliant = makeRoundBrilliant();
    computeBounds(brilliant);
    const double bottom = -brilliant.stats.minZ;
    ASSERT_GT(brilliant.newFacet(0, 0, -1, bottom - 0.01), -1);
    const auto size = realSizeOf(brilliant, SizeBasis::Width, 6.5);
    ASSERT_TRUE(size);
    ASSERT_TRUE(size->culet.present());
    EXPECT_GT(size->culet.width, 0);
    EXPECT_LT(size->culet.length, 0.2);  // a small culet, well inside the stone
    EXPECT_GE(size->culet.length, size->culet.width);
}

TEST(RealSize, SizesOutsideTheLimitsAndStonesWithoutAWidthGiveNothing) {
    Stone cube;
    EXPECT_FALSE(realSizeOf(cube, SizeBasis::Width, 0));
    EXPECT_FALSE(realSizeOf(cube, SizeBasis::Width, -3));
    EXPECT_FALSE(realSizeOf(cube, SizeBasis::Width, MAX_SIZE_MM * 2));
    EXPECT_FALSE(realSizeOf(cube, SizeBasis::Width, std::nan("")));
    EXPECT_FALSE(realSizeOf(cube, SizeBasis::Length, INFINITY));
    EXPECT_TRUE(realSizeOf(cube, SizeBasis::Width, MIN_SIZE_MM));

    Stone empty;
    empty.nVertex = 0;
    empty.nEdge = 0;
    EXPECT_FALSE(realSizeOf(empty, SizeBasis::Width, 5));
}

}  // namespace
}  // namespace brevix
