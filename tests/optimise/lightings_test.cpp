// Judging candidates under several lightings: ISO alone is the plain
// score; the mean and the worst are the mean and the least of the goals
// under each lighting, each the goal of the figures judged under it.
#include <gtest/gtest.h>

#include <algorithm>

#include "brilliant_at.h"
#include "optimise/evaluator.h"

namespace brevix::optimise {
namespace {

using namespace testing;
using optics::Environment;

TEST(Lightings, TheMeanOrTheWorstOfTheGoalsUnderEachDecides) {
    const DesignWithIntent deep = deepBrilliant();
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(deep.intent, defaultTiers(deep.intent), {}, Limits{}, 1.54, error);
    ASSERT_FALSE(vars.empty()) << error;
    std::vector<double> x;
    for (const TierVariable& v : vars) x.push_back(v.start);
    Scoring scoring;
    scoring.size = 32;
    auto evaluate = [&](const Scoring& s) {
        return Evaluator(deep.stone, deep.intent, vars, Limits{}, s, GoalWeights{}).evaluate(x);
    };
    const Evaluation plain = evaluate(scoring);
    ASSERT_TRUE(plain.accepted) << plain.why;
    ASSERT_EQ(plain.figures.lightingScores.size(), 1u);
    EXPECT_EQ(plain.figures.lightingScores[0], plain.score);

    scoring.lightings = {Environment::Iso, Environment::Spot, Environment::Office};
    const Evaluation mean = evaluate(scoring);
    ASSERT_TRUE(mean.accepted) << mean.why;
    const std::vector<double>& under = mean.figures.lightingScores;
    ASSERT_EQ(under.size(), 3u);
    EXPECT_EQ(under[0], plain.score) << "ISO is judged as it always was";
    EXPECT_NE(under[1], under[2]);
    EXPECT_NEAR(mean.score, (under[0] + under[1] + under[2]) / 3, 1e-9);
    EXPECT_NEAR(goalScore(GoalWeights{}, mean.figures, false), mean.score, 1e-9);

    scoring.worstLighting = true;
    const Evaluation worst = evaluate(scoring);
    ASSERT_TRUE(worst.accepted) << worst.why;
    EXPECT_EQ(worst.figures.lightingScores, under);
    EXPECT_EQ(worst.score, *std::min_element(under.begin(), under.end()));
    EXPECT_LE(worst.score, mean.score);

    // A room's goal is taken of its own brightness, contrast and
    // scintillation: the spot's goal is the one of the figures judged
    // under it.
    scoring.lightings = {Environment::Spot};
    scoring.worstLighting = false;
    const Evaluation spot = evaluate(scoring);
    ASSERT_TRUE(spot.accepted) << spot.why;
    EXPECT_EQ(spot.score, under[1]);
    EXPECT_EQ(spot.figures.light.iso, spot.figures.light.scene);
    EXPECT_EQ(spot.figures.light.contrast, spot.figures.light.sceneContrast);
}

}  // namespace
}  // namespace brevix::optimise
