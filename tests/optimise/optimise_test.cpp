// The optimiser on the brilliants: it improves a deep one without losing a
// meet or flattening the crown, repeats itself for a seed, stops when told,
// leaves a design at its best angle there, and keeps to its limits.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>

#include "brilliant_at.h"
#include "optimise/optimiser.h"
#include "quick_settings.h"

namespace brevix::optimise {
namespace {

using namespace testing;

// Every set of four or more facets (by tier and place in the tier) meeting
// at a corner of `before` meets at a corner of `after`.
bool meetsKept(const Stone& before, const DesignIntent& was, const Stone& after, const DesignIntent& now) {
    auto through = [](const Plane& p, const Vertex& v) {
        return std::fabs(p.a * v.x + p.b * v.y + p.c * v.z - p.d) < 1e-7;
    };
    for (int32_t v = 0; v < before.nVertex; ++v) {
        std::vector<std::pair<size_t, size_t>> set;
        for (size_t t = 0; t < was.tiers.size(); ++t)
            for (size_t k = 0; k < was.tiers[t].planes.size(); ++k)
                if (through(was.tiers[t].planes[k], before.vertices[v])) set.push_back({t, k});
        if (set.size() < 4) continue;
        bool found = false;
        for (int32_t w = 0; w < after.nVertex && !found; ++w) {
            found = true;
            for (auto [t, k] : set) found = found && through(now.tiers[t].planes[k], after.vertices[w]);
        }
        if (!found) return false;
    }
    return true;
}

TEST(Optimiser, DeepBrilliantImprovesWithItsMeetsAndCrownKept) {
    bool ok = false;
    const DesignWithIntent deep = deepBrilliant(&ok);
    ASSERT_TRUE(ok);
    const OptimiseResult r = optimiseDesign(deep.stone, deep.intent, quick(2, 80));
    ASSERT_TRUE(r.error.empty()) << r.error;
    ASSERT_EQ(r.variables.size(), 5u);  // P1, P2, C1, C2, C3: not the girdle or the table
    ASSERT_TRUE(r.start.accepted) << r.start.why;
    ASSERT_TRUE(r.best);
    // Deep pavilions leak light at the sides: the tilt-averaged score rises
    // by a large margin.
    EXPECT_GT(r.best->score, r.start.score + 15) << r.start.score << " -> " << r.best->score;
    EXPECT_GT(r.best->figures.light.iso, r.start.figures.light.iso);
    const Stone& best = *r.best->stone;
    EXPECT_TRUE(meetsKept(deep.stone, deep.intent, best, r.best->intent));
    for (const TierIntent& tier : r.best->intent.tiers) EXPECT_TRUE(tier.failure.empty()) << tier.failure;
    EXPECT_GE(r.best->intent.tiers[C1].angle, 25.0);
    for (size_t i = 0; i < r.variables.size(); ++i) {
        EXPECT_GE(r.best->angles[i], r.variables[i].low);
        EXPECT_LE(r.best->angles[i], r.variables[i].high);
    }
    // Runners-up are other designs: half a degree apart somewhere.
    ASSERT_FALSE(r.runnersUp.empty());
    for (const Evaluation& e : r.runnersUp) {
        EXPECT_LE(e.score, r.best->score);
        double apart = 0;
        for (size_t i = 0; i < e.angles.size(); ++i) apart = std::max(apart, std::fabs(e.angles[i] - r.best->angles[i]));
        EXPECT_GE(apart, 0.5);
        EXPECT_TRUE(meetsKept(deep.stone, deep.intent, *e.stone, e.intent));
    }
}

TEST(Optimiser, SameSeedSameResultOnAnyThreadsAndStopGivesTheBestSoFar) {
    const DesignWithIntent deep = deepBrilliant();
    OptimiseSettings s = quick(3, 25);
    s.threads = 1;
    const OptimiseResult one = optimiseDesign(deep.stone, deep.intent, s);
    s.threads = 3;
    const OptimiseResult three = optimiseDesign(deep.stone, deep.intent, s);
    ASSERT_TRUE(one.best && three.best);
    EXPECT_EQ(one.best->angles, three.best->angles);
    EXPECT_EQ(one.best->score, three.best->score);
    EXPECT_EQ(one.evaluations, three.evaluations);
    s.seed = 2;
    const OptimiseResult other = optimiseDesign(deep.stone, deep.intent, s);
    ASSERT_TRUE(other.best);

    std::atomic<bool> cancel{false};
    int seen = 0;
    s.cancel = &cancel;
    s.progress = [&](const Progress& p) {
        seen = p.evaluations;
        if (p.evaluations >= 12) cancel = true;
    };
    const OptimiseResult stopped = optimiseDesign(deep.stone, deep.intent, s);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_LT(stopped.evaluations, 20);
    EXPECT_GE(seen, 12);
    ASSERT_TRUE(stopped.best);
    EXPECT_GE(stopped.best->score, stopped.start.score);
}

TEST(Optimiser, NoCandidateStartsThatWouldEndPastTheTimeLimit) {
    const DesignWithIntent deep = deepBrilliant();
    OptimiseSettings s = quick(1, 100);
    s.threads = 1;
    // A clock that moves one second with each candidate counted, none with
    // the start's evaluation: every candidate takes a second, on average
    // a little less. With 3.5 seconds the third candidate ends at 3 and a
    // fourth would end past the limit, so it is not started.
    std::atomic<int> counted{0};
    s.progress = [&](const Progress&) { ++counted; };
    s.clock = [&] { return std::chrono::steady_clock::time_point(std::chrono::seconds(counted.load())); };
    s.seconds = 3.5;
    const OptimiseResult r = optimiseDesign(deep.stone, deep.intent, s);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.evaluations, 3);
    EXPECT_EQ(counted.load(), 3);
    // What was kept has its design without being scored again.
    ASSERT_TRUE(r.best);
    ASSERT_TRUE(r.best->stone);
    EXPECT_EQ(designFacetCount(*r.best->stone), designFacetCount(deep.stone));
}

TEST(Optimiser, ADesignAtItsBestAngleStaysThere) {
    // One variable, its best angle found on a fine grid.
    const DesignWithIntent round = brilliantAt(40.75, 42, 34.5, 21.5, 40);
    OptimiseSettings s = quick(1, 40);
    s.tiers = {P1};
    std::string error;
    const std::vector<TierVariable> vars = variablesFor(round.intent, s.tiers, {}, s.limits, 1.54, error);
    ASSERT_EQ(vars.size(), 1u) << error;
    const Evaluator evaluator(round.stone, round.intent, vars, s.limits, s.scoring, s.weights);
    double bestAngle = 0, bestScore = -1e9;
    for (double a = vars[0].low; a <= vars[0].high; a += 0.125) {
        const Evaluation e = evaluator.evaluate({a});
        if (e.accepted && e.score > bestScore) bestScore = e.score, bestAngle = a;
    }
    ASSERT_GT(bestScore, -1e9);
    // The design at that angle, its later tiers re-cut to it.
    const Evaluation atBest = evaluator.evaluate({bestAngle}, true);
    ASSERT_TRUE(atBest.stone);
    s.ranges = {{P1, bestAngle - 2, bestAngle + 2}};
    const OptimiseResult r = optimiseDesign(*atBest.stone, atBest.intent, s);
    ASSERT_TRUE(r.best);
    EXPECT_NEAR(r.best->angles[0], bestAngle, 0.5);
    EXPECT_NEAR(r.best->score, bestScore, 1.0);
}

TEST(Optimiser, LimitsNarrowTheRangesAndRejectWhatLeavesThem) {
    const DesignWithIntent round = brilliantAt(40.75, 42, 34.5, 21.5, 40);
    Limits limits;
    limits.angleSpan = 15;
    limits.criticalMargin = 0.1;  // the mains' 40.75 degrees are above 40.49 + 0.1
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(round.intent, defaultTiers(round.intent), {}, limits, 1.54, error);
    ASSERT_EQ(vars.size(), 5u) << error;
    // The crown mains stop at the least crown angle; the stars, below it
    // from the start, are not held to it; the pavilion stays above 40.49 + 0.1.
    EXPECT_EQ(vars[2].tier, C1);
    EXPECT_DOUBLE_EQ(vars[2].low, 25.0);
    EXPECT_DOUBLE_EQ(vars[3].low, 21.5 - 15);
    EXPECT_NEAR(vars[0].low, std::asin(1 / 1.54) * 180 / PI + 0.1, 1e-9);
    // A pavilion that starts below the limit is held to it all the same.
    limits.criticalMargin = 0.5;
    EXPECT_NEAR(variablesFor(round.intent, {P1}, {}, limits, 1.54, error)[0].low,
                std::asin(1 / 1.54) * 180 / PI + 0.5, 1e-9);
    limits.criticalMargin = 0.1;
    EXPECT_DOUBLE_EQ(vars[1].high, 57.0);

    EXPECT_TRUE(variablesFor(round.intent, {T}, {}, limits, 1.54, error).empty());
    EXPECT_NE(error.find("table and the girdle"), std::string::npos) << error;
    EXPECT_TRUE(variablesFor(round.intent, {P1}, {{P1, 30, 35}}, limits, 1.54, error).empty())
        << "a range wholly below the critical angle";

    const Evaluator evaluator(round.stone, round.intent, vars, limits, Scoring{}, GoalWeights{});
    const std::vector<double> start = {40.75, 42, 34.5, 21.5, 40};
    const Evaluation same = evaluator.evaluate(start);
    ASSERT_TRUE(same.accepted) << same.why;
    std::vector<double> outside = start;
    outside[2] = 24;
    EXPECT_FALSE(evaluator.evaluate(outside).accepted);
    // A steep crown shrinks the table past its limit.
    std::vector<double> steep = start;
    steep[2] = 48;
    steep[4] = 52;
    const Evaluation e = evaluator.evaluate(steep);
    EXPECT_FALSE(e.accepted);
    EXPECT_FALSE(e.why.empty());
}

TEST(Optimiser, NoAcceptedCandidateLosesAMeetOrAFacet) {
    // Wide ranges and no proportion limit: the meets alone decide.
    const DesignWithIntent round = brilliantAt(40.75, 42, 34.5, 21.5, 40);
    Limits limits;
    limits.angleSpan = 20;
    limits.proportionSpan = 100;
    limits.leastCrownAngle = 0;
    limits.criticalMargin = 0;
    std::string error;
    const std::vector<TierVariable> vars =
        variablesFor(round.intent, defaultTiers(round.intent), {}, limits, 1.54, error);
    ASSERT_EQ(vars.size(), 5u) << error;
    Scoring small;
    small.size = 16;
    small.tilts = {0, 0, 1};
    const Evaluator evaluator(round.stone, round.intent, vars, limits, small, GoalWeights{});
    int accepted = 0, rejected = 0;
    for (double p2 : {41.0, 46.0, 52.0, 57.0, 62.0})
        for (double c1 : {15.0, 34.5, 54.0})
            for (double c3 : {21.0, 40.0, 59.0}) {
                const Evaluation e = evaluator.evaluate({40.75, p2, c1, 21.5, c3}, true);
                if (!e.accepted) {
                    ++rejected;
                    EXPECT_FALSE(e.why.empty());
                    continue;
                }
                ++accepted;
                EXPECT_TRUE(meetsKept(round.stone, round.intent, *e.stone, e.intent)) << p2 << " " << c1 << " " << c3;
                EXPECT_EQ(designFacetCount(*e.stone), designFacetCount(round.stone));
            }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(rejected, 0);
}

TEST(Optimiser, GoalAndCharacterAddUpAsDocumented) {
    Figures f;
    f.light = {70, 60, 10, 20, 40};  // ISO, COS, windowing, extinction, contrast
    f.character = 3;
    EXPECT_DOUBLE_EQ(goalScore(GoalWeights{}, f, false), 70 + 60 + 0.25 * 40 - 10 - 0.5 * 20);
    EXPECT_DOUBLE_EQ(goalScore(GoalWeights{}, f, true), 70 + 60 + 0.25 * 40 - 10 - 0.5 * 20 - 3);
    // Proportions 10 % off each, and angles a degree and three off.
    const CharacterTarget target{{0.5, 0.2, 0.4}, {40, 30}};
    EXPECT_NEAR(characterDistance(target, {0.55, 0.18, 0.44}, {41, 27}), 10 + 2, 1e-9);
    EXPECT_NEAR(characterDistance(target, {0.5, 0.2, 0.4}, {40, 30}), 0, 1e-12);
}

TEST(Optimiser, RetargetsQuartzToDiamond) {
    const DesignWithIntent round = brilliantAt(40.75, 42, 34.5, 21.5, 40);
    OptimiseSettings s = quick(2, 30);
    s.scoring.refractiveIndex = 2.42;
    const std::optional<RetargetStart> start = retargetStart(round.stone, round.intent, 1.54, s);
    ASSERT_TRUE(start);
    // Of the whole turn (to 24.4 - 40.5 degrees), half of it and none.
    const double full = criticalAngle(2.42) - criticalAngle(1.54);
    EXPECT_TRUE(start->turn == full || start->turn == full / 2 || start->turn == 0) << start->turn;
    const OptimiseResult r = retargetDesign(round.stone, round.intent, 1.54, s);
    ASSERT_TRUE(r.best) << r.error;
    EXPECT_GE(r.best->score, r.start.score);
    EXPECT_TRUE(meetsKept(start->stone, start->intent, *r.best->stone, r.best->intent));
    // Close to the design's character: the table within its limit.
    EXPECT_NEAR(r.best->figures.proportions.table, r.start.figures.proportions.table,
                0.15 * r.start.figures.proportions.table + 1e-9);
}

}  // namespace
}  // namespace brevix::optimise
