#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "intent/intent_file.h"
#include "intent/point_resolution.h"
#include "intent/recut.h"
#include "intent/stepped_round_intent.h"
#include "intent_test_support.h"
#include "kernel/checks.h"

namespace brevix {
namespace {

// Radius from the axis of every meet of four or more facets at the top of a
// ridge of `tier` (a meet that names it and the tier before it).
std::vector<double> ridgeTopRadii(const Stone& stone, const DesignIntent& intent, int32_t tier, int32_t above) {
    std::vector<double> radii;
    for (const std::vector<FacetRef>& meet : meetsOfFour(stone, intent)) {
        int own = 0, before = 0;
        for (const FacetRef& f : meet) own += f.tier == tier, before += f.tier == above;
        if (own != 2 || before != 2) continue;
        std::vector<Plane> planes;
        for (const FacetRef& f : meet) planes.push_back(*planeOfRef(f, intent, 96));
        const Vec3 p = *meetOfPlanes(planes);
        radii.push_back(std::hypot(p.x, p.y));
    }
    return radii;
}

TEST(SteppedRound, EveryRingMeetsTheOneBeforeOnAClosedStoneOfEvenSteps) {
    struct Size {
        int pavilion, crown, facets;
    };
    for (const Size size : {Size{3, 2, 8}, Size{10, 9, 16}, Size{2, 1, 16}}) {
        SCOPED_TRACE(::testing::Message() << size.pavilion << "+" << size.crown << " x" << size.facets);
        SteppedRound shape;
        shape.pavilionTiers = size.pavilion;
        shape.crownTiers = size.crown;
        shape.facetsPerTier = size.facets;
        bool ok = false;
        const DesignWithIntent d = cutSteppedRound(shape, &ok);
        ASSERT_TRUE(ok);
        const int rings = size.pavilion + size.crown;
        ASSERT_EQ(int(d.intent.tiers.size()), rings + 2);
        EXPECT_EQ(d.stone.nRough, 0);  // nothing of the block is left
        EXPECT_EQ(d.stone.nFacet, size.facets * (rings + 1) + 1);
        EXPECT_TRUE(intentMatches(d.stone, d.intent));
        std::ostringstream why;
        EXPECT_TRUE(checkstone(d.stone, why)) << why.str();
        // A meet at every ridge between two rings (the girdle counts as
        // one), and the culet; the table meets the last crown ring in threes.
        EXPECT_EQ(meetsOfFour(d.stone, d.intent).size(), size_t(size.facets * rings + 1));

        // The pavilion rings step in evenly to the culet, the crown's to the table.
        const double corner = 1 / std::cos(PI / size.facets);
        for (int k = 1; k < size.pavilion; ++k) {
            const std::vector<double> r = ridgeTopRadii(d.stone, d.intent, k + 1, k);
            ASSERT_EQ(int(r.size()), size.facets);
            for (double radius : r) EXPECT_NEAR(radius, corner * (size.pavilion - k) / size.pavilion, 1e-9);
        }
        for (int k = 1; k < size.crown; ++k) {
            const int32_t tier = size.pavilion + k + 1;
            const std::vector<double> r = ridgeTopRadii(d.stone, d.intent, tier, tier - 1);
            ASSERT_EQ(int(r.size()), size.facets);
            for (double radius : r)
                EXPECT_NEAR(radius, corner * (1 - (1 - shape.table) * k / size.crown), 1e-9);
        }
        // The table reaches the corners it was drawn to.
        const int32_t table = d.stone.facetByPlane(0, 0, 1);
        ASSERT_GE(table, 0);
        double far = 0;
        for (int32_t v = 0; v < d.stone.nVertex; ++v)
            if (std::fabs(d.stone.vertices[v].z - d.stone.facets[table].d) < 1e-12)
                far = std::max(far, std::hypot(d.stone.vertices[v].x, d.stone.vertices[v].y));
        EXPECT_NEAR(far, corner * shape.table, 1e-9);
    }
}

TEST(SteppedRound, ATurnedRingCarriesEveryLaterRingWithIt) {
    const DesignWithIntent d = cutSteppedRound(SteppedRound{});
    const auto meets = meetsOfFour(d.stone, d.intent);
    for (int32_t tier : {3, 14}) {
        TierChange change;
        change.tier = tier;
        change.setAngle = true;
        change.angle = d.intent.tiers[tier].angle + (tier < 11 ? 0.3 : 0.7);
        const RecutResult cut = recutByIntent(d.stone, d.intent, change);
        ASSERT_TRUE(cut.ok()) << cut.problems.front();
        EXPECT_EQ(cut.stone.nFacet, d.stone.nFacet);
        EXPECT_LE(worstMeet(meets, cut.intent, 96), MEET_TOLERANCE);
        // Rings cut before it keep their planes; the next one moves.
        for (int32_t t = 0; t < tier; ++t) EXPECT_EQ(cut.intent.tiers[t].planes, d.intent.tiers[t].planes);
        EXPECT_NE(cut.intent.tiers[tier + 1].planes, d.intent.tiers[tier + 1].planes);
    }
}

// The benchmarks' sample is the generator's default design, as written.
TEST(SteppedRound, TheSampleIsTheDefaultDesign) {
    const DesignWithIntent d = cutSteppedRound(SteppedRound{});
    std::ifstream in(std::string(BREVIX_SOURCE_DIR) + "/bench/stepped_round.brx", std::ios::binary);
    ASSERT_TRUE(in);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), writeIntentText(d.stone, d.intent));
}

}  // namespace
}  // namespace brevix
