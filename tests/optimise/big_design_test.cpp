// The optimiser on a big design by intent: the stepped round of 21 tiers
// and 321 facets, every ring meeting the one before it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "intent/recut.h"
#include "intent/stepped_round_intent.h"
#include "kernel/checks.h"
#include "optimise/optimiser.h"
#include "quick_settings.h"

namespace brevix::optimise {
namespace {

// How many sets of four or more facets meet at a corner of `before`, and how
// many of them (by tier and place in the tier) still meet at a corner of `after`.
std::pair<int, int> meetsKeptOfStepped(const Stone& before, const DesignIntent& was, const Stone& after,
                              const DesignIntent& now) {
    auto through = [](const Plane& p, const Vertex& v) {
        return std::fabs(p.a * v.x + p.b * v.y + p.c * v.z - p.d) < 1e-7;
    };
    int meets = 0, kept = 0;
    for (int32_t v = 0; v < before.nVertex; ++v) {
        std::vector<std::pair<size_t, size_t>> set;
        for (size_t t = 0; t < was.tiers.size(); ++t)
            for (size_t k = 0; k < was.tiers[t].planes.size(); ++k)
                if (through(was.tiers[t].planes[k], before.vertices[v])) set.push_back({t, k});
        if (set.size() < 4) continue;
        ++meets;
        bool found = false;
        for (int32_t w = 0; w < after.nVertex && !found; ++w) {
            found = true;
            for (auto [t, k] : set) found = found && through(now.tiers[t].planes[k], after.vertices[w]);
        }
        kept += found ? 1 : 0;
    }
    return {meets, kept};
}

TEST(Optimiser, TheSteppedRoundOfTwentyOneTiersImprovesWithEveryMeetKept) {
    bool ok = false;
    const DesignWithIntent d = cutSteppedRound(SteppedRound{}, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(d.intent.tiers.size(), 21u);
    ASSERT_EQ(d.stone.nFacet, 321);
    const OptimiseResult r = optimiseDesign(d.stone, d.intent, quick(2, 40));
    ASSERT_TRUE(r.error.empty()) << r.error;
    // Every ring varies; the girdle and the table keep their angles.
    ASSERT_EQ(r.variables.size(), 19u);
    ASSERT_TRUE(r.start.accepted) << r.start.why;
    ASSERT_TRUE(r.best);
    EXPECT_GT(r.best->score, r.start.score);
    EXPECT_LE(r.evaluations, 80);

    const Stone& best = *r.best->stone;
    const DesignIntent& found = r.best->intent;
    std::ostringstream why;
    EXPECT_TRUE(checkstone(best, why)) << why.str();
    EXPECT_TRUE(intentMatches(best, found));
    EXPECT_EQ(designFacetCount(best), 321);
    const auto [meets, kept] = meetsKeptOfStepped(d.stone, d.intent, best, found);
    EXPECT_EQ(meets, 16 * 19 + 1);
    EXPECT_EQ(kept, meets);
    for (size_t i = 0; i < r.variables.size(); ++i) {
        const TierVariable& v = r.variables[i];
        EXPECT_GE(r.best->angles[i], v.low - 1e-9);
        EXPECT_LE(r.best->angles[i], v.high + 1e-9);
        EXPECT_NEAR(std::fabs(found.tiers[v.tier].angle), r.best->angles[i], 1e-12);
    }
}

}  // namespace
}  // namespace brevix::optimise
