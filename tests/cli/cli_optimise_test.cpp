// brevix-cli optimize and retarget as a script uses them: the start and the
// result in the lines of `light`, the changed angles, a result that keeps
// its intent, repeatable runs, exit 1 when nothing met the limits.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::string MEETS = std::string("'") + BREVIX_SOURCE_DIR + "/samples/round_brilliant_meets.brx'";
// The deep brilliant: pavilion 43/45, crown 42/47, stars 27.
const std::string DEEP = std::string("'") + BREVIX_SOURCE_DIR + "/tests/optimise/deep_brilliant.brx'";
// Few small candidates: the figures are not the point here.
const std::string QUICK = " --evaluations 20 --starts 2 --size 24";

class CliOptimise : public CliFolderTest {};

TEST_F(CliOptimise, PrintsStartResultAndChangedAnglesAndWritesADesignThatKeepsItsIntent) {
    const CliRun r = run("optimize " + DEEP + " better.brx" + QUICK);
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string light = "ISO brightness: [0-9.]+%\nCOS brightness: [0-9.]+%\n(-?[0-9]+\\.[0-9] .*\n){5}"
                              "Windowing: .*\nExtinction: .*\nContrast: .*\n(Tilt average .*\n){5}";
    EXPECT_TRUE(std::regex_match(r.out, std::regex("Limits: .*\nStart\n" + light + "Result\n" + light +
                                                   "Bound by: .*\n((P1|P2|C1|C2|C3) [0-9]+\\.[0-9]{2} -> [0-9]+\\.[0-9]{2}\n)+")))
        << r.out;
    // The crown mains never flatter than the least crown angle.
    std::smatch crown;
    if (std::regex_search(r.out, crown, std::regex("\nC1 42\\.00 -> ([0-9.]+)\n"))) {
        EXPECT_GE(std::stod(crown[1]), 25.0) << r.out;
    }
    // The result is a design whose every tier kept its intent.
    const CliRun intent = run("intent better.brx");
    EXPECT_EQ(intent.code, 0) << intent.err;

    // The same seed gives the same result; only some tiers when asked.
    EXPECT_EQ(run("optimize " + DEEP + " again.brx" + QUICK).out, r.out);
    EXPECT_EQ(readAll(folder_ / "again.brx"), readAll(folder_ / "better.brx"));
    const CliRun some = run("optimize " + DEEP + " some.asc --vary P1,C1 --range P1=41:44" + QUICK);
    ASSERT_EQ(some.code, 0) << some.err;
    EXPECT_TRUE(std::regex_search(some.out, std::regex("Result\n(.*\n)+((P1|C1) .*\n)+$"))) << some.out;
    EXPECT_EQ(some.out.find("\nP2 "), std::string::npos);
    EXPECT_TRUE(fs::exists(folder_ / "some.asc"));
}

TEST_F(CliOptimise, ExitsOneWhenNothingMeetsTheLimits) {
    // A crown this steep leaves no table within 15 per cent of the start's.
    const CliRun r = run("optimize " + MEETS + " none.brx --vary C1 --range C1=60:65" + QUICK);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("no candidate met the limits"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(folder_ / "none.brx"));
    const CliRun tier = run("optimize " + MEETS + " none.brx --vary X9" + QUICK);
    EXPECT_EQ(tier.code, 1);
    EXPECT_NE(tier.err.find("no tier X9"), std::string::npos) << tier.err;
    const CliRun table = run("optimize " + MEETS + " none.brx --vary T" + QUICK);
    EXPECT_EQ(table.code, 1);
    EXPECT_NE(table.err.find("table and the girdle"), std::string::npos) << table.err;
}

TEST_F(CliOptimise, RetargetsToDiamond) {
    const CliRun r = run("retarget " + MEETS + " diamond.brx --material diamond" + QUICK);
    ASSERT_EQ(r.code, 0) << r.err;
    // The limits in the new material come first: diamond's critical angle + 0.5.
    EXPECT_EQ(r.out.rfind("Limits: pavilion at least the critical angle + 0.5 (24.91\xC2\xB0), ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nStart\nISO brightness: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nResult\nISO brightness: "), std::string::npos) << r.out;
    EXPECT_NE(readAll(folder_ / "diamond.brx").find("\nri 2.42\n"), std::string::npos);
}

TEST_F(CliOptimise, TheMeetsBrilliantInQuartzKeepsItsPavilionAboveTheCriticalAngle) {
    // P1 starts at 40.75, below 40.49 + 0.5: the result holds it at the limit
    // and says so, and the pair of pictures is written.
    const CliRun r = run("optimize " + MEETS + " held.brx --compare pair.png --goal sparkle" + QUICK);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\nBound by: P1 held at the critical angle + 0.5"), std::string::npos) << r.out;
    std::smatch p1;
    ASSERT_TRUE(std::regex_search(r.out, p1, std::regex("\nP1 40\\.75 -> ([0-9.]+)\n"))) << r.out;
    EXPECT_GE(std::stod(p1[1]), 40.99);
    EXPECT_EQ(readAll(folder_ / "pair.png").rfind("\x89PNG", 0), 0u);
    const CliRun figures = run("figures held.brx");
    EXPECT_EQ(figures.out.find("Warning: "), std::string::npos) << figures.out;
}

TEST_F(CliOptimise, BadCommandLinesAreUsageErrors) {
    const struct {
        std::string arguments, says;
    } cases[] = {
        {"optimize " + MEETS + " x.brx --range P1=50", "--range takes TIER=MIN:MAX"},
        {"optimize " + MEETS + " x.brx --range P1=44:41", "--range takes TIER=MIN:MAX"},
        {"optimize " + MEETS + " x.brx --ri 1.6 --material diamond", "either --ri or --material"},
        {"optimize " + MEETS + " x.txt", "must end in .brx, .gem or .asc"},
        {"optimize " + MEETS + " x.brx --seconds 0", "--seconds takes"},
        {"retarget " + MEETS + " x.brx", "--material is missing"},
        {"retarget " + MEETS + " x.brx --material glass", "unknown material 'glass'"},
        {"optimize " + MEETS + " x.brx --goal shiny", "--goal"},
        {"optimize " + MEETS + " x.brx --min-facet-share 2", "--min-facet-share takes"},
        {"optimize " + MEETS + " x.brx --min-girdle-share -1", "--min-girdle-share takes"},
        {"optimize " + MEETS + " x.brx --critical-margin 50", "--critical-margin takes"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, 2) << c.arguments;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.arguments << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.arguments;
    }
    EXPECT_FALSE(fs::exists(folder_ / "x.brx"));
}

}  // namespace
