#include "design/sample_designs.h"

#include <gtest/gtest.h>

#include <set>

#include "design_test_util.h"
#include "platform/messages.h"

namespace brevix {
namespace {

struct Sample {
    const char* heading;
    Stone (*make)();
    std::vector<TierSetting> (*tiers)();
    int32_t symmetry;
};

class SampleDesign : public ::testing::TestWithParam<Sample> {};

// Every sample must be a closed, clean polyhedron in which every planned
// facet survived: a facet that a later tier swallows means the proportions
// are wrong, not the kernel.
TEST_P(SampleDesign, IsAClosedPolyhedronWithEveryPlannedFacet) {
    const Sample& sample = GetParam();
    Stone stone = sample.make();
    EXPECT_TRUE(stone.diagnostics().empty()) << stone.diagnostics()[0].text;
    EXPECT_TRUE(test::soundStone(stone));
    EXPECT_EQ(stone.nRough, 0);
    int planned = 0, girdle = 0;
    for (const TierSetting& t : sample.tiers()) {
        const int n = t.angle == 0 ? 1 : static_cast<int>(t.indexes.size());
        planned += n;
        if (t.angle == 90) girdle += n;
    }
    EXPECT_EQ(stone.nFacet, planned);
    EXPECT_EQ(stone.nGirdle, girdle);
    EXPECT_EQ(stone.heading[0], sample.heading);
    EXPECT_EQ(stone.symmetry, sample.symmetry);
    // One tier per row of settings, each named and with its instruction.
    std::set<int32_t> tiers;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        EXPECT_FALSE(stone.facets[i].name.empty()) << i;
        EXPECT_FALSE(stone.instructionOf(i).empty()) << i;
        tiers.insert(stone.facets[i].tier);
    }
    EXPECT_EQ(tiers.size(), sample.tiers().size());
}

INSTANTIATE_TEST_SUITE_P(
    All, SampleDesign,
    ::testing::Values(Sample{"Standard Round Brilliant", makeRoundBrilliant, roundBrilliantTiers, 8},
                      Sample{"Oval Brilliant", makeOvalBrilliant, ovalBrilliantTiers, 2},
                      Sample{"Emerald Cut", makeEmeraldCut, emeraldCutTiers, 2},
                      Sample{"Square Step Cut", makeSquareStepCut, squareStepCutTiers, 4}));

}  // namespace
}  // namespace brevix
