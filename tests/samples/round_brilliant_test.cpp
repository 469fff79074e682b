// The sample designs are built from angles and indexes; they must come out
// as the stones a cutter knows.
#include <gtest/gtest.h>

#include <cmath>

#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "platform/messages.h"
#include "../kernel/stone_invariants.h"

namespace brevix {
namespace {

using testing::stoneIsValid;

TEST(RoundBrilliant, HasItsSeventyThreeFacets) {
    RecordingSink sink;
    ScopedMessageSink guard(sink);
    Stone s = makeRoundBrilliant();
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(s.nFacet, 73);
    EXPECT_EQ(s.nRough, 0);
    EXPECT_EQ(s.nGirdle, 16);
    EXPECT_TRUE(stoneIsValid(s));
    int table = 0, crown = 0, pavilion = 0;
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const double index = s.facetIndexOf(i);
        EXPECT_NEAR(index, std::round(index), 1e-9) << "facet " << i << " off its notch";
        const double angle = s.facetAngleOf(i);
        table += angle == 0;
        crown += angle > 0 && angle < 90;
        pavilion += angle < 0;
    }
    EXPECT_EQ(table, 1);
    EXPECT_EQ(crown, 32);
    EXPECT_EQ(pavilion, 24);
    EXPECT_EQ(s.facets[72].tier, 7);
}

}  // namespace
}  // namespace brevix
