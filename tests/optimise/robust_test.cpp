// Robust scoring: a candidate scored over copies cut with machine error.
// Without error the copies are the candidate, so the score is the plain
// one; with error it differs, and repeats, since every candidate is cut
// with the same drawn errors.
#include <gtest/gtest.h>

#include "brilliant_at.h"
#include "optimise/evaluator.h"

namespace brevix::optimise {
namespace {

using namespace testing;

TEST(RobustScoring, IsThePlainScoreWithoutErrorAndRepeatsWithIt) {
    const DesignWithIntent deep = deepBrilliant();
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(deep.intent, defaultTiers(deep.intent), {}, Limits{}, 1.54, error);
    ASSERT_FALSE(vars.empty()) << error;
    std::vector<double> x;
    for (const TierVariable& v : vars) x.push_back(v.start);
    Scoring scoring;
    scoring.size = 32;
    const Evaluation plain = Evaluator(deep.stone, deep.intent, vars, Limits{}, scoring, GoalWeights{}).evaluate(x);
    ASSERT_TRUE(plain.accepted) << plain.why;

    scoring.robustSamples = 3;
    scoring.machineError = {0, 0, 0};
    const Evaluation still =
        Evaluator(deep.stone, deep.intent, vars, Limits{}, scoring, GoalWeights{}).evaluate(x);
    ASSERT_TRUE(still.accepted) << still.why;
    EXPECT_NEAR(still.score, plain.score, 1e-9);

    scoring.machineError = {0.5, 0.5, 0.002};
    const Evaluator robust(deep.stone, deep.intent, vars, Limits{}, scoring, GoalWeights{});
    const Evaluation off = robust.evaluate(x);
    ASSERT_TRUE(off.accepted) << off.why;
    EXPECT_NE(off.score, plain.score);
    EXPECT_EQ(robust.evaluate(x).score, off.score);
}

}  // namespace
}  // namespace brevix::optimise
