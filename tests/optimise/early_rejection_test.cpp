// Refusing a candidate before its re-cut: only what the re-cut and the
// limit checks would refuse anyway, so that the search is the same.
#include <gtest/gtest.h>

#include "brilliant_at.h"
#include "intent/stepped_round_intent.h"
#include "optimise/evaluator.h"
#include "optimise/limit_checks.h"

namespace brevix::optimise {
namespace {

using namespace testing;

// The candidate's intent re-cut as the evaluator cuts it.
RecutResult cutAt(const DesignWithIntent& d, const std::vector<TierVariable>& vars, const std::vector<double>& x) {
    DesignIntent intent = d.intent;
    for (size_t i = 0; i < vars.size(); ++i) intent.tiers[vars[i].tier].angle = vars[i].pavilion ? -x[i] : x[i];
    TierChange change;
    change.tier = vars.front().tier;
    change.setAngle = true;
    change.angle = intent.tiers[change.tier].angle;
    return recutByIntent(d.stone, intent, change);
}

TEST(EarlyRejection, SwappedTiersAreOnlyThoseTheChecksWouldRefuse) {
    for (const DesignWithIntent& d : {deepBrilliant(), cutSteppedRound(SteppedRound{4, 3, 8})}) {
        const Limits limits;
        std::string error;
        const std::vector<TierVariable> vars =
            variablesFor(d.intent, defaultTiers(d.intent), {}, limits, 1.54, error);
        ASSERT_FALSE(vars.empty()) << error;
        const LimitChecks checks(d.stone, d.intent, limits, 1.54);
        int swapped = 0, kept = 0;
        // Each varied tier in turn pushed far up and far down its range.
        for (size_t i = 0; i < vars.size(); ++i)
            for (double to : {vars[i].low, vars[i].high}) {
                std::vector<double> x;
                for (const TierVariable& v : vars) x.push_back(std::clamp(v.start, v.low, v.high));
                x[i] = to;
                const std::optional<std::string> early = checks.swapped(d.stone, d.intent, vars, x);
                const RecutResult cut = cutAt(d, vars, x);
                if (early) {
                    ++swapped;
                    EXPECT_NE(early->find("turns flatter than"), std::string::npos) << *early;
                    // The re-cut design is refused all the same.
                    EXPECT_TRUE(!cut.ok() || checks.broken(cut.stone, cut.intent)) << *early;
                } else if (cut.ok()) {
                    // Nothing refused early that the re-cut design keeps in order.
                    const std::optional<std::string> broken = checks.broken(cut.stone, cut.intent);
                    EXPECT_TRUE(!broken || broken->find("turns flatter than") == std::string::npos) << *broken;
                    ++kept;
                }
            }
        EXPECT_GT(swapped, 0);
        EXPECT_GT(kept, 0);
    }
}

TEST(EarlyRejection, ATierPlacedThroughThreePointsIsLeftToTheRecut) {
    const DesignWithIntent deep = deepBrilliant();
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(deep.intent, defaultTiers(deep.intent), {}, Limits{}, 1.54, error);
    ASSERT_EQ(vars.size(), 5u) << error;
    const LimitChecks checks(deep.stone, deep.intent, Limits{}, 1.54);
    // P2 (45) turned flatter than P1 (43): refused as it stands...
    std::vector<double> x;
    for (const TierVariable& v : vars) x.push_back(std::clamp(v.start, v.low, v.high));
    x[1] = 42;
    ASSERT_TRUE(checks.swapped(deep.stone, deep.intent, vars, x));
    // ...but not when three points fix P2's angle whatever the candidate says.
    DesignIntent threePoints = deep.intent;
    threePoints.tiers[P2].depth = DepthRule::Points;
    threePoints.tiers[P2].points.resize(3);
    EXPECT_FALSE(checks.swapped(deep.stone, threePoints, vars, x));
    // And a candidate that keeps the order is not refused.
    x[1] = 44;
    EXPECT_FALSE(checks.swapped(deep.stone, deep.intent, vars, x));
}

TEST(EarlyRejection, TheEvaluatorRefusesSwappedTiersWithTheirNames) {
    const DesignWithIntent deep = deepBrilliant();
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(deep.intent, defaultTiers(deep.intent), {}, Limits{}, 1.54, error);
    const Evaluator evaluator(deep.stone, deep.intent, vars, Limits{}, Scoring{}, GoalWeights{});
    std::vector<double> x;
    for (const TierVariable& v : vars) x.push_back(std::clamp(v.start, v.low, v.high));
    x[1] = 42;
    const Evaluation e = evaluator.evaluate(x);
    EXPECT_FALSE(e.accepted);
    EXPECT_EQ(e.why, "P2 turns flatter than P1");
}

}  // namespace
}  // namespace brevix::optimise
