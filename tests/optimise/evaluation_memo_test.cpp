// Candidates handed back by their exact angles: a search must never be
// given another candidate's evaluation, nor keep a design it did not ask for.
#include <gtest/gtest.h>

#include <cmath>

#include "optimise/evaluation_memo.h"

namespace brevix::optimise {
namespace {

Evaluation scoredAt(std::vector<double> angles, double score) {
    Evaluation e;
    e.accepted = true;
    e.angles = std::move(angles);
    e.score = score;
    e.stone = Stone();
    e.intent.tiers.resize(2);
    return e;
}

TEST(EvaluationMemo, HandsBackOnlyTheVerySameAnglesWithoutTheirDesign) {
    EvaluationMemo memo;
    EXPECT_FALSE(memo.find({40.0, 42.0}));
    memo.keep(scoredAt({40.0, 42.0}, 7.5));
    Evaluation rejected;
    rejected.angles = {40.0, 43.0};
    rejected.why = "a facet was cut away";
    memo.keep(rejected);

    const std::optional<Evaluation> found = memo.find({40.0, 42.0});
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->accepted);
    EXPECT_EQ(found->score, 7.5);
    EXPECT_FALSE(found->stone) << "a design is given again by re-cutting, not kept for every candidate";
    EXPECT_TRUE(found->intent.tiers.empty());
    const std::optional<Evaluation> refused = memo.find({40.0, 43.0});
    ASSERT_TRUE(refused);
    EXPECT_FALSE(refused->accepted);
    EXPECT_EQ(refused->why, "a facet was cut away");

    // Angles a rounding apart, of another count or signed zero are other candidates.
    EXPECT_FALSE(memo.find({40.0, std::nextafter(42.0, 43.0)}));
    EXPECT_FALSE(memo.find({40.0}));
    EXPECT_FALSE(memo.find({40.0, 42.0, 0.0}));
    memo.keep(scoredAt({0.0}, 1));
    EXPECT_FALSE(memo.find({-0.0}));
    // What was found first stays: an evaluation is the same however often it is made.
    memo.keep(scoredAt({40.0, 42.0}, 9));
    EXPECT_EQ(memo.find({40.0, 42.0})->score, 7.5);
}

}  // namespace
}  // namespace brevix::optimise
