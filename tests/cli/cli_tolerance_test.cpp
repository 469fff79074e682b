// brevix-cli tolerance and batch tolerance as a script uses them: one JSON
// object with the report's keys, runs that repeat for a seed, a table cut
// last that no tilt of it can move, error lines that never stop a batch,
// and wrong usage.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/cli_run.h"

namespace {

using namespace brevix::clitest;

const std::string SAMPLES = std::string(BREVIX_SOURCE_DIR) + "/samples";
const std::string GEM = quoted(SAMPLES + "/round_brilliant.gem");
const std::string QUICK = " --samples 12 --size 32";

class CliTolerance : public CliFolderTest {};

void expectReport(const nlohmann::json& j) {
    for (const char* key : {"nominal", "samples", "iso", "cos", "tiers", "most_sensitive"})
        EXPECT_TRUE(j.contains(key)) << key << " in " << j.dump();
    EXPECT_TRUE(j["nominal"]["iso"].is_number());
    EXPECT_TRUE(j["nominal"]["cos"].is_number());
    for (const char* figure : {"iso", "cos"}) {
        const auto& s = j[figure];
        EXPECT_LE(s["p5"].get<double>(), s["mean"].get<double>());
        EXPECT_LE(s["mean"].get<double>(), s["p95"].get<double>());
    }
    bool named = false;
    for (const auto& t : j["tiers"]) {
        EXPECT_TRUE(t["iso_per_degree"].is_number()) << t.dump();
        EXPECT_TRUE(t["cos_per_degree"].is_number()) << t.dump();
        named = named || t["tier"] == j["most_sensitive"];
    }
    EXPECT_TRUE(named) << j.dump();
}

TEST_F(CliTolerance, JsonIsOneObjectWithTheReportsKeysAndRepeatsForASeed) {
    const CliRun r = run("tolerance " + GEM + " --json" + QUICK);
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_TRUE(j.is_object());
    EXPECT_EQ(j.size(), 6u);
    EXPECT_EQ(j["samples"], 12);
    expectReport(j);
    // The .gem's inferred intent cuts the table last: tilted either way it
    // is the same stone turned half round, and nothing else moves.
    bool table = false;
    for (const auto& t : j["tiers"])
        if (t["tier"] == "T") {
            table = true;
            EXPECT_EQ(t["iso_per_degree"], 0) << t.dump();
        }
    EXPECT_TRUE(table);
    EXPECT_EQ(run("tolerance " + GEM + " --json" + QUICK).out, r.out);
    EXPECT_NE(run("tolerance " + GEM + " --json --seed 9" + QUICK).out, r.out);

    const CliRun text = run("tolerance " + GEM + QUICK);
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Nominal ISO brightness: ", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("\nMost sensitive: " + j["most_sensitive"].get<std::string>() + "\n"),
              std::string::npos)
        << text.out;
}

TEST_F(CliTolerance, LightingsAddAJudgedBrightnessAndLeaveTheRestAsItWas) {
    const CliRun plain = run("tolerance " + GEM + " --json" + QUICK);
    const CliRun judged = run("tolerance " + GEM + " --json --lighting iso,spot --worst" + QUICK);
    ASSERT_EQ(judged.code, 0) << judged.err;
    const auto a = nlohmann::json::parse(plain.out), b = nlohmann::json::parse(judged.out);
    EXPECT_FALSE(a.contains("judged"));
    for (const char* key : {"nominal", "samples", "iso", "cos", "most_sensitive"}) EXPECT_EQ(a[key], b[key]) << key;
    const auto& j = b["judged"];
    EXPECT_EQ(j["lightings"], nlohmann::json::array({"iso", "spot"}));
    EXPECT_EQ(j["worst"], true);
    EXPECT_LE(j["nominal"].get<double>(), b["nominal"]["iso"].get<double>()) << "the worst is at most ISO's";
    EXPECT_LE(j["p5"].get<double>(), j["mean"].get<double>());
    EXPECT_LE(j["mean"].get<double>(), j["p95"].get<double>());
    for (const auto& t : b["tiers"]) EXPECT_TRUE(t.contains("judged_per_degree")) << t.dump();

    const CliRun text = run("tolerance " + GEM + " --lighting spot" + QUICK);
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("\nJudged under Spot: nominal "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\nPoints per degree of angle (ISO, COS, judged):\n"), std::string::npos);
    const CliRun worst = run("tolerance " + GEM + " --lighting iso,spot,office --worst" + QUICK);
    EXPECT_NE(worst.out.find("\nJudged under the worst of ISO, Spot, Office: "), std::string::npos) << worst.out;
}

TEST_F(CliTolerance, BadFilesAndOptionsAreTold) {
    const CliRun missing = run("tolerance nothing.gem" + QUICK);
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("nothing.gem"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());
    const struct {
        std::string arguments, says;
    } cases[] = {
        {"tolerance " + GEM + " --samples 0", "--samples takes"},
        {"tolerance " + GEM + " --angle-error -1", "--angle-error takes"},
        {"tolerance " + GEM + " --depth-error 1", "--depth-error takes"},
        {"tolerance " + GEM + " --ri 1.6 --material diamond", "either --ri or --material"},
        {"tolerance " + GEM + " --lighting sun", "'sun' is not a lighting"},
        {"tolerance " + GEM + " --lighting iso,spot,iso", "the lighting iso is named twice"},
        {"tolerance " + GEM + " --worst", "--worst needs two or more lightings"},
        {"batch tolerance " + GEM + " --lighting spot --worst", "--worst needs two or more lightings"},
        {"optimize " + GEM + " x.brx --lighting spot --worst", "--worst needs two or more lightings"},
        {"light " + GEM + " --lighting aset,spot", "--lighting takes one lighting here"},
        {"light " + GEM + " --lighting aset --model cos", "excludes"},
        {"tolerance", "FILE is missing"},
        {"batch tolerance " + GEM + " --seed x", "--seed takes"},
        {"optimize " + GEM + " x.brx --samples 4", "--samples goes with --robust"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.arguments);
        EXPECT_EQ(r.code, 2) << c.arguments;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.arguments << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.arguments;
    }
    // A refused optimisation writes no design.
    EXPECT_FALSE(fs::exists(folder_ / "x.brx"));
}

TEST_F(CliTolerance, BatchGivesALinePerDesignAndAnErrorLineForABadOne) {
    std::ofstream(path("broken.gem")) << "not a design";
    const CliRun r = run("batch tolerance broken.gem " + GEM + " --jobs 2" + QUICK);
    EXPECT_EQ(r.code, 1);
    std::istringstream in(r.out);
    std::string first, second, more;
    ASSERT_TRUE(std::getline(in, first) && std::getline(in, second)) << r.out;
    EXPECT_FALSE(std::getline(in, more));
    auto bad = nlohmann::json::parse(first), good = nlohmann::json::parse(second);
    if (good.contains("error")) std::swap(bad, good);
    EXPECT_EQ(bad["file"], "broken.gem");
    EXPECT_TRUE(bad["error"].is_string());
    EXPECT_FALSE(good.contains("error")) << second;
    expectReport(good);
    // The same figures as the command on its own.
    auto alone = nlohmann::json::parse(run("tolerance " + GEM + " --json" + QUICK).out);
    alone["file"] = good["file"];
    EXPECT_EQ(good, alone);
}

}  // namespace
