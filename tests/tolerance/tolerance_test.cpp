// The tolerance of machine error: samples that repeat bit for bit whatever
// the threads, a report that collapses onto the design when there is no
// error, and sensitivities that are the central differences a cutter
// would measure by re-cutting one tier and rendering.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "intent/brilliant_intent.h"
#include "intent/design_intent.h"
#include "intent/recut.h"
#include "optics/face_up.h"
#include "tolerance/tolerance.h"
#include "tolerance/well_cut_brilliant.h"

namespace brevix::tolerance {
namespace {

ToleranceOptions quick(int samples, int size) {
    ToleranceOptions o;
    o.samples = samples;
    o.light.size = size;
    o.light.refractiveIndex = 1.54;
    return o;
}

void expectSameReport(const ToleranceReport& a, const ToleranceReport& b) {
    EXPECT_EQ(a.nominalIso, b.nominalIso);
    EXPECT_EQ(a.nominalCos, b.nominalCos);
    EXPECT_EQ(a.samples, b.samples);
    for (auto [x, y] : {std::pair{a.iso, b.iso}, std::pair{a.cos, b.cos}}) {
        EXPECT_EQ(x.mean, y.mean);
        EXPECT_EQ(x.p5, y.p5);
        EXPECT_EQ(x.p95, y.p95);
    }
    ASSERT_EQ(a.tiers.size(), b.tiers.size());
    for (size_t t = 0; t < a.tiers.size(); ++t) {
        EXPECT_EQ(a.tiers[t].isoPerDegree, b.tiers[t].isoPerDegree);
        EXPECT_EQ(a.tiers[t].cosPerDegree, b.tiers[t].cosPerDegree);
    }
    EXPECT_EQ(a.mostSensitive, b.mostSensitive);
}

TEST(Tolerance, WithoutErrorEverySampleIsTheDesign) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    ToleranceOptions o = quick(12, 48);
    o.error = {0, 0, 0};
    const ToleranceReport r = analyseTolerance(built.stone, built.intent, o);
    ASSERT_TRUE(r.error.empty()) << r.error;
    EXPECT_EQ(r.samples, 12);
    EXPECT_EQ(r.iso.mean, r.nominalIso);
    EXPECT_EQ(r.cos.mean, r.nominalCos);
    EXPECT_EQ(r.iso.p5, r.iso.p95);
    EXPECT_EQ(r.cos.p5, r.cos.p95);
    // The nominal figure is the design's own picture.
    optics::FaceUpOptions light = o.light;
    light.threads = 1;
    EXPECT_EQ(r.nominalIso, optics::renderFaceUp(built.stone, light).isoBrightness);
}

TEST(Tolerance, TheSameSeedGivesTheSameReportOnAnyNumberOfThreads) {
    const DesignWithIntent built = cutRoundBrilliantByIntent();
    ToleranceOptions o = quick(16, 32);
    o.threads = 1;
    const ToleranceReport one = analyseTolerance(built.stone, built.intent, o);
    ASSERT_TRUE(one.error.empty()) << one.error;
    // Turned and tilted tiers still meet where they were cut to.
    EXPECT_EQ(one.failedSamples, 0);
    EXPECT_LT(one.iso.p5, one.iso.p95);
    for (int threads : {2, 3}) {
        o.threads = threads;
        expectSameReport(analyseTolerance(built.stone, built.intent, o), one);
    }
    o.seed = 2;
    EXPECT_NE(analyseTolerance(built.stone, built.intent, o).iso.mean, one.iso.mean);
}

TEST(Tolerance, DrawnErrorsStayWithinTheMachinesAndRepeat) {
    const MachineError error{0.2, 0.05, 0.002};
    const std::vector<TierError> a = drawTierErrors(7, error, 5, 3);
    EXPECT_EQ(a.size(), 7u);
    bool differ = false;
    for (size_t t = 0; t < a.size(); ++t) {
        EXPECT_LE(std::fabs(a[t].angle), 0.2);
        EXPECT_LE(std::fabs(a[t].index), 0.05);
        EXPECT_LE(std::fabs(a[t].depth), 0.002);
        differ = differ || a[t].angle != a[0].angle;
    }
    EXPECT_TRUE(differ);
    const std::vector<TierError> again = drawTierErrors(7, error, 5, 3);
    for (size_t t = 0; t < a.size(); ++t) EXPECT_EQ(a[t].angle, again[t].angle);
    EXPECT_NE(drawTierErrors(7, error, 5, 4)[0].angle, a[0].angle);
}

// One side of a tier's central difference the way the window takes it: the
// tier re-cut at the changed shown angle, every later one by its intent.
double isoWithAngle(const DesignWithIntent& d, int32_t tier, double delta, const optics::FaceUpOptions& light) {
    const RecutResult cut = recutTierAngle(d.stone, d.intent, tier, std::fabs(d.intent.tiers[tier].angle) + delta);
    EXPECT_TRUE(cut.ok()) << "tier " << tier;
    return optics::renderFaceUp(cut.stone, light).isoBrightness;
}

TEST(Tolerance, OnTheWellCutBrilliantEachSensitivityIsTheCentralDifferenceAndTheHalvesMatterMost) {
    const DesignWithIntent well = testing::wellCutBrilliant();
    ASSERT_NEAR(testing::tableShare(well.stone), 0.546, 1e-6);
    const ToleranceOptions o = quick(8, 64);
    const ToleranceReport r = analyseTolerance(well.stone, well.intent, o);
    ASSERT_TRUE(r.error.empty()) << r.error;
    optics::FaceUpOptions light = o.light;
    light.threads = 1;
    const double e = o.error.angleDegrees;
    ASSERT_EQ(r.tiers.size(), well.intent.tiers.size());
    for (const TierSensitivity& s : r.tiers) {
        ASSERT_TRUE(s.isoPerDegree) << s.name;
        // A level tier tilted below level leans the other way round the
        // axis, which a change of angle alone cannot say.
        if (well.intent.tiers[s.tier].angle == 0) continue;
        const double direct =
            (isoWithAngle(well, s.tier, e, light) - isoWithAngle(well, s.tier, -e, light)) / (2 * e);
        EXPECT_NEAR(*s.isoPerDegree, direct, 1e-9) << s.name;
    }
    using optimise::testing::C2;
    using optimise::testing::P2;
    using optimise::testing::T;
    EXPECT_EQ(r.tiers[P2].name, "P2");
    // A quarter of a degree of P2 moves ISO by points: it sits on a cliff
    // of light return, the stars do not.
    EXPECT_GT(std::fabs(*r.tiers[P2].isoPerDegree), 10.0);
    EXPECT_GT(std::fabs(*r.tiers[P2].isoPerDegree), 10 * std::fabs(*r.tiers[C2].isoPerDegree));
    EXPECT_EQ(r.mostSensitive, P2);
    // Tilting the table only moves the stars cut to its edge.
    EXPECT_LT(std::fabs(*r.tiers[T].isoPerDegree), 0.05 * std::fabs(*r.tiers[P2].isoPerDegree));
}

TEST(Tolerance, TheJudgedBrightnessIsTheMeanOrTheWorstOfTheLightings) {
    const DesignWithIntent built = testing::wellCutBrilliant();
    ToleranceOptions o = quick(12, 48);
    const ToleranceReport iso = analyseTolerance(built.stone, built.intent, o);
    ASSERT_TRUE(iso.error.empty()) << iso.error;
    EXPECT_EQ(iso.nominalJudged, iso.nominalIso) << "ISO alone judges by ISO";
    EXPECT_EQ(iso.judged.mean, iso.iso.mean);

    o.lightings = {optics::Environment::Iso, optics::Environment::Cos};
    const ToleranceReport both = analyseTolerance(built.stone, built.intent, o);
    EXPECT_NEAR(both.nominalJudged, (both.nominalIso + both.nominalCos) / 2, 1e-9);
    o.worstLighting = true;
    const ToleranceReport worst = analyseTolerance(built.stone, built.intent, o);
    EXPECT_EQ(worst.nominalJudged, std::min(worst.nominalIso, worst.nominalCos));
    EXPECT_EQ(worst.iso.mean, iso.iso.mean) << "the ISO figures do not move";

    o.lightings = {optics::Environment::Iso, optics::Environment::Spot};
    const ToleranceReport spot = analyseTolerance(built.stone, built.intent, o);
    EXPECT_NE(spot.nominalJudged, spot.nominalIso);
    for (const TierSensitivity& s : spot.tiers) EXPECT_TRUE(s.judgedPerDegree.has_value()) << s.name;
}

TEST(Tolerance, PercentilesAreNearestRank) {
    std::vector<double> values;
    for (int i = 20; i >= 1; --i) values.push_back(i);
    EXPECT_EQ(nearestRankPercentile(values, 5), 1);
    EXPECT_EQ(nearestRankPercentile(values, 95), 19);
    EXPECT_EQ(nearestRankPercentile(values, 100), 20);
    EXPECT_EQ(nearestRankPercentile({7, 3, 5}, 5), 3);
    EXPECT_EQ(nearestRankPercentile({7, 3, 5}, 95), 7);
    EXPECT_EQ(nearestRankPercentile({}, 50), 0);
    EXPECT_EQ(meanOf({0.1, 0.1, 0.1}), 0.1);
    EXPECT_DOUBLE_EQ(meanOf({1, 2, 6}), 3);
}

}  // namespace
}  // namespace brevix::tolerance
